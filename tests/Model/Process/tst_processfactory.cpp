#include "Model/Materials/materialfactory.h"
#include "Model/Persistence/processarchiver.h"
#include "Model/Process/processfactory.h"
#include "catalogtestutil.h"
#include "testmain.h"

#include <QXmlStreamReader>

using Model::Persistence::ProcessArchiver;
using Model::Process::Process;
using Model::Process::ProcessFactory;

namespace {

const char catalogueFile[] = "Celvane/processes.xml";

Process readOne(const QByteArray &xml, bool *ok)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd() && !reader.isStartElement())
        reader.readNext();
    return ProcessArchiver::loadProcess(&reader, ok);
}

} // namespace

class TestProcessFactory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void firstRunWritesBuiltInTable();
    void builtInLists_data();
    void builtInLists();
    void writtenFileReadsBackEqual();
    void listText_data();
    void listText();
    void invalidProcessElements_data();
    void invalidProcessElements();
    void processWithoutListChild();
    void lookupByName();
    void addTwiceRemoveOnce();
    void unknownMaterialsAreNotOffered();
    void unreadableFileFallsBackAndIsKept();
    void setProcessRefusesIdZero();

private:
    QScopedPointer<TemporaryHome> home;
    ProcessFactory::Ptr factory;
};

void TestProcessFactory::init()
{
    home.reset(new TemporaryHome());
    factory = ProcessFactory::instance();
    Model::Materials::MaterialFactory::instance()->loadDefaultMaterials();
    factory->loadDefaultProcesses();
}

void TestProcessFactory::cleanup()
{
    home.reset();
}

void TestProcessFactory::firstRunWritesBuiltInTable()
{
    factory->initialize();
    const QList<Process> processes = factory->getProcesses();
    QCOMPARE(processes.size(), 14);
    for (int i = 0; i < 14; ++i)
        QCOMPARE(processes[i].getId(), quint32(i + 1));
    const QByteArray text = home->read(catalogueFile);
    QVERIFY(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    QCOMPARE(text.count("<Process "), 14);
    QVERIFY2(text.contains("<Process version=\"1\" name=\"CVD\" process-id=\"3\">"),
             text.constData());
    QVERIFY(text.contains("<CompatibleMaterials>3;16</CompatibleMaterials>"));
    // Planarization has no compatible material: its element is empty.
    const int at = text.indexOf("name=\"Planarization\"");
    QVERIFY(at > 0);
    const QByteArray planarization = text.mid(at, text.indexOf("</Process>", at) - at);
    QVERIFY2(planarization.contains("<CompatibleMaterials></CompatibleMaterials>") ||
                 planarization.contains("<CompatibleMaterials/>"),
             planarization.constData());
}

void TestProcessFactory::builtInLists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("id");
    QTest::addColumn<QList<quint32>>("materials");
    QTest::newRow("wet etching") << "Si Wet Etching" << 1u << QList<quint32>{1};
    QTest::newRow("PVD") << "PVD" << 4u << QList<quint32>{4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("spin coating") << "Spin Coating / Soft Lithography" << 8u
                                  << QList<quint32>{11, 12, 13};
    QTest::newRow("isotropic etching")
        << "Isotropic Etching" << 10u << QList<quint32>{1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    QTest::newRow("implantation") << "Ion Implantation" << 14u << QList<quint32>{1, 14, 15, 16};
}

void TestProcessFactory::builtInLists()
{
    QFETCH(QString, name);
    QFETCH(quint32, id);
    QFETCH(QList<quint32>, materials);
    const Process byName = factory->getProcess(name);
    QCOMPARE(byName.getId(), id);
    QCOMPARE(byName.getCompatibleMaterials(), materials);
    QCOMPARE(factory->getProcess(id).getName(), name);
}

void TestProcessFactory::writtenFileReadsBackEqual()
{
    factory->setProcess(Process(QStringLiteral("Odd & <name>"), 40, {7, 2, 3}));
    const QList<Process> before = factory->getProcesses();
    QVERIFY(factory->saveProcesses());
    factory->loadDefaultProcesses();
    QVERIFY(factory->loadProcesses());
    QCOMPARE(factory->getProcesses(), before);
}

void TestProcessFactory::listText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<quint32>>("expected");
    QTest::newRow("empty parts and a word") << QByteArray("3;;16;x;") << QList<quint32>{3, 16};
    QTest::newRow("repeats collapse to the first") << QByteArray("4;4;1;4") << QList<quint32>{4, 1};
    QTest::newRow("negative dropped") << QByteArray("-1;2") << QList<quint32>{2};
    QTest::newRow("only separators") << QByteArray(";;;") << QList<quint32>{};
}

void TestProcessFactory::listText()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<quint32>, expected);
    bool ok = false;
    const Process p = readOne("<Process version=\"1\" name=\"P\" process-id=\"20\">"
                              "<CompatibleMaterials>" +
                                  text + "</CompatibleMaterials></Process>",
                              &ok);
    QVERIFY(ok);
    QCOMPARE(p.getCompatibleMaterials(), expected);
}

void TestProcessFactory::invalidProcessElements_data()
{
    QTest::addColumn<QByteArray>("element");
    QTest::newRow("non-numeric id") << QByteArray("<Process version=\"1\" name=\"A\" "
                                                  "process-id=\"x\">");
    QTest::newRow("non-numeric version") << QByteArray("<Process version=\"v1\" name=\"A\" "
                                                       "process-id=\"3\">");
    QTest::newRow("zero id") << QByteArray("<Process version=\"1\" name=\"A\" process-id=\"0\">");
    QTest::newRow("missing id") << QByteArray("<Process version=\"1\" name=\"A\">");
    QTest::newRow("empty name") << QByteArray("<Process version=\"1\" name=\"\" "
                                              "process-id=\"3\">");
}

void TestProcessFactory::invalidProcessElements()
{
    QFETCH(QByteArray, element);
    bool ok = true;
    const Process p =
        readOne(element + "<CompatibleMaterials>1</CompatibleMaterials></Process>", &ok);
    QVERIFY(!ok);
    QCOMPARE(p, Process());

    // In a file the bad element is skipped and the rest is read.
    QVERIFY(
        home->write(catalogueFile, "<Processes>" + element +
                                       "<CompatibleMaterials>1</CompatibleMaterials></Process>"
                                       "<Process version=\"1\" name=\"Good\" process-id=\"30\">"
                                       "<CompatibleMaterials>1;3</CompatibleMaterials></Process>"
                                       "</Processes>"));
    factory->loadDefaultProcesses();
    QVERIFY(factory->loadProcesses());
    QCOMPARE(factory->getProcesses().size(), 15);
    QCOMPARE(factory->getProcess(30).getCompatibleMaterials(), (QList<quint32>{1, 3}));
    QCOMPARE(factory->getProcess(3).getName(), QStringLiteral("CVD"));
}

void TestProcessFactory::processWithoutListChild()
{
    // The list reader stays inside its element: the next process is not swallowed.
    QVERIFY(home->write(catalogueFile, "<Processes>"
                                       "<Process version=\"1\" name=\"Bare\" process-id=\"31\"/>"
                                       "<Process version=\"1\" name=\"Next\" process-id=\"32\">"
                                       "<CompatibleMaterials>5</CompatibleMaterials></Process>"
                                       "</Processes>"));
    factory->loadDefaultProcesses();
    QVERIFY(factory->loadProcesses());
    QCOMPARE(factory->getProcess(31).getName(), QStringLiteral("Bare"));
    QVERIFY(factory->getProcess(31).getCompatibleMaterials().isEmpty());
    QCOMPARE(factory->getProcess(32).getCompatibleMaterials(), QList<quint32>{5});
}

void TestProcessFactory::lookupByName()
{
    QCOMPARE(factory->getProcess(QStringLiteral("CVD")).getId(), 3u);
    QCOMPARE(factory->getProcess(QStringLiteral("cvd")), Process()); // case counts
    QCOMPARE(factory->getProcess(99u), Process());
    // Two processes of one name: the lower id wins until it is renamed.
    factory->setProcess(Process(QStringLiteral("CVD"), 50, {1}));
    QCOMPARE(factory->getProcess(QStringLiteral("CVD")).getId(), 3u);
    factory->setProcess(Process(QStringLiteral("Renamed"), 3, {}));
    QCOMPARE(factory->getProcess(QStringLiteral("CVD")).getId(), 50u);
}

void TestProcessFactory::addTwiceRemoveOnce()
{
    Process p(QStringLiteral("P"), 1, {1, 4, 2});
    p.addCompatibleMaterial(4);
    p.addCompatibleMaterial(4);
    QCOMPARE(p.getCompatibleMaterials(), (QList<quint32>{1, 4, 2, 4, 4}));
    p.removeCompatibleMaterial(4);
    QCOMPARE(p.getCompatibleMaterials(), (QList<quint32>{1, 2}));
}

void TestProcessFactory::unknownMaterialsAreNotOffered()
{
    const Process p(QStringLiteral("P"), 60, {16, 2, 1, 999});
    const QList<Model::Materials::Material> offered = p.resolveCompatibleMaterials();
    QCOMPARE(offered.size(), 2);
    QCOMPARE(offered[0].getName(), QStringLiteral("Poly-Si"));
    QCOMPARE(offered[1].getName(), QStringLiteral("Si"));
    // The ids stay in the list.
    QCOMPARE(p.getCompatibleMaterials().size(), 4);
}

void TestProcessFactory::unreadableFileFallsBackAndIsKept()
{
    // Every kind of unreadable file takes the catalogue reader's one path, which the material
    // catalogue's test walks row by row; this one checks that a half-read process is dropped.
    const QByteArray truncated("<Processes><Process version=\"1\" name=\"A\" process-id=\"40\">"
                               "<CompatibleMaterials>1");
    QVERIFY(home->write(catalogueFile, truncated));
    factory->initialize();
    QCOMPARE(factory->getProcesses().size(), 14);
    QCOMPARE(factory->getProcess(40).getId(), 0u);
    QCOMPARE(home->read("Celvane/processes.xml.bak"), truncated);
    QCOMPARE(home->read(catalogueFile).count("<Process "), 14);
}

void TestProcessFactory::setProcessRefusesIdZero()
{
    QVERIFY(!factory->setProcess(Process(QStringLiteral("Zero"), 0)));
    QCOMPARE(factory->getProcesses().size(), 14);
    QVERIFY(factory->setProcess(Process(QStringLiteral("CVD"), 3, {1})));
    QCOMPARE(factory->getProcess(3).getCompatibleMaterials(), QList<quint32>{1});
}

CELVANE_TEST_MAIN(TestProcessFactory)
#include "tst_processfactory.moc"
