#include "UI/BatchRun/processlistarchiver.h"
#include "UI/Operations/photolithographydialog.h"
#include "filesizelimit.h"
#include "testmain.h"

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <cerrno>
#include <cstring>

using Ui::ProcessData;
using Ui::ProcessListArchiver;

namespace {

/// Steps holding every kind of value the options dialogs store, visible and hidden: the file
/// treats every step alike whatever its type, so each kind of value is there once.
QList<ProcessData> everyValueType()
{
    ProcessData film(12);
    film.addParameter("Thickness", 1.25, true);
    film.addParameter("DepositOn", 3, false);
    film.addParameter("Deposit On", "On Top and Bottom", true);
    film.addParameter("MaterialId", 16u, false);
    film.addParameter("Material_Color", QColor(QStringLiteral("#4c8066")), false);
    ProcessData doping(8);
    doping.addParameter("Doping Depth", 1.5f, true);
    ProcessData lithography(0);
    lithography.addParameter("Top Mask", QVariant::fromValue(std::vector<bool>{1, 0, 0, 1, 1, 0}),
                             false);
    lithography.addParameter("Bottom Mask", QVariant::fromValue(std::vector<bool>()), false);
    lithography.addParameter("Bottom Mask File", "", true);
    ProcessData oxidation(15);
    oxidation.addParameter("OxidationTimeSet", true, false);
    oxidation.addParameter("OxidationThicknessSet", false, false);
    ProcessData image(10);
    image.addParameter("Filename", "/tmp/step 10.png", true);
    ProcessData substrate(11);
    substrate.addParameter("Lower Left Front Corner",
                           QVariant::fromValue(Util::Vector3D(-1.5, 0.1, 1e-7)), true);
    return {film, doping, lithography, oxidation, image, substrate};
}

} // namespace

/// The process-list file: its exact text, a round trip of every step type, and files that
/// must load nothing.
class TestProcessListArchiver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesTheExactText();
    void everyValueTypeReadsBackEqual();
    void vectorData_data();
    void vectorData();
    void refusedFilesChangeNothing_data();
    void refusedFilesChangeNothing();
    void oddContentLoadsForTheRunToReport();
    void exampleMasksAreTheirImages_data();
    void exampleMasksAreTheirImages();

private:
    QTemporaryDir dir;
};

void TestProcessListArchiver::writesTheExactText()
{
    ProcessData planarize(6);
    planarize.addParameter("Minimum Height", 2u, true);
    planarize.addParameter("Maximum Height", 12u, true);
    ProcessData cvd(4);
    cvd.addParameter("Thickness", 2.5, true);
    cvd.addParameter("MaterialId", 16u, false);
    cvd.addParameter("Material", "Poly-Si", true);
    cvd.addParameter("Material_Color", QColor(255, 128, 0), false);
    cvd.addParameter("Thickness", 0.25, true); // replaces the first value
    const QString path = dir.filePath("two.plst");
    ProcessListArchiver archiver;
    QVERIFY(archiver.saveProcessList(path, {planarize, cvd}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Process-List>\n"
        "    <Process-Data process-type=\"6\">\n"
        "        <Parameter parameter-name=\"Maximum Height\" parameter-type=\"uint\" "
        "parameter-data=\"12\" parameter-visibility=\"true\"/>\n"
        "        <Parameter parameter-name=\"Minimum Height\" parameter-type=\"uint\" "
        "parameter-data=\"2\" parameter-visibility=\"true\"/>\n"
        "    </Process-Data>\n"
        "    <Process-Data process-type=\"4\">\n"
        "        <Parameter parameter-name=\"Material\" parameter-type=\"QString\" "
        "parameter-data=\"Poly-Si\" parameter-visibility=\"true\"/>\n"
        "        <Parameter parameter-name=\"MaterialId\" parameter-type=\"uint\" "
        "parameter-data=\"16\" parameter-visibility=\"false\"/>\n"
        "        <Parameter parameter-name=\"Material_Color\" parameter-type=\"QColor\" "
        "parameter-data=\"#ff8000\" parameter-visibility=\"false\"/>\n"
        "        <Parameter parameter-name=\"Thickness\" parameter-type=\"double\" "
        "parameter-data=\"0.25\" parameter-visibility=\"true\"/>\n"
        "    </Process-Data>\n"
        "</Process-List>\n";
    QCOMPARE(file.readAll(), expected);
    file.close();
    // A save that the disk refuses part way (as when it is full) keeps the previous list.
    {
        FileSizeLimit limit(100);
        QVERIFY(!archiver.saveProcessList(path, {cvd, planarize}));
    }
    QCOMPARE(archiver.getError(), QString::fromLocal8Bit(strerror(EFBIG)));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected);
    QCOMPARE(QDir(dir.path()).entryList({"two.plst*"}, QDir::Files), QStringList{"two.plst"});
}

void TestProcessListArchiver::everyValueTypeReadsBackEqual()
{
    const QList<ProcessData> written = everyValueType();
    const QString path = dir.filePath("all.plst");
    ProcessListArchiver archiver;
    QVERIFY(archiver.saveProcessList(path, written));
    QList<ProcessData> read;
    QVERIFY2(archiver.loadProcessList(path, read), qPrintable(archiver.getError()));
    QCOMPARE(read.size(), written.size());
    for (int i = 0; i < read.size(); ++i) {
        const ProcessData &a = written.at(i);
        const ProcessData &b = read.at(i);
        QCOMPARE(b.getProcessType(), a.getProcessType());
        QCOMPARE(b.getVisibility(), a.getVisibility());
        QCOMPARE(b.getParameters().keys(), a.getParameters().keys());
        for (const QString &name : a.getParameters().keys()) {
            const QVariant x = a.getParameter(name);
            const QVariant y = b.getParameter(name);
            QCOMPARE(y.userType(), x.userType());
            QCOMPARE(ProcessListArchiver::parameterData(y), ProcessListArchiver::parameterData(x));
        }
        QVERIFY(b.getSerial() != a.getSerial());
    }
    // Values, not only their texts.
    QCOMPARE(read.at(2).getParameter("Top Mask").value<std::vector<bool>>(),
             (std::vector<bool>{1, 0, 0, 1, 1, 0}));
    QCOMPARE(read.at(5).getParameter("Lower Left Front Corner").value<Util::Vector3D>(),
             Util::Vector3D(-1.5, 0.1, 1e-7));
    QCOMPARE(read.at(1).getParameter("Doping Depth").toFloat(), 1.5f);
    QCOMPARE(read.at(0).getParameter("Material_Color").value<QColor>(), QColor("#4c8066"));
}

void TestProcessListArchiver::vectorData_data()
{
    QTest::addColumn<Util::Vector3D>("vector");
    QTest::addColumn<QString>("data");
    QTest::newRow("plain") << Util::Vector3D(1, -2.5, 0) << "1;-2.5;0";
    QTest::newRow("ten digits") << Util::Vector3D(1.0 / 3.0, 12345678901.0, 1e-7)
                                << "0.3333333333;1.23456789e+10;1e-07";
}

void TestProcessListArchiver::vectorData()
{
    QFETCH(Util::Vector3D, vector);
    QFETCH(QString, data);
    const QVariant value = QVariant::fromValue(vector);
    QCOMPARE(ProcessListArchiver::parameterType(value), QStringLiteral("Util::Vector3D"));
    QCOMPARE(ProcessListArchiver::parameterData(value), data);
}

void TestProcessListArchiver::refusedFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("another root") << QByteArray("<?xml version=\"1.0\"?><Document/>");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not well-formed")
        << QByteArray("<Process-List><Process-Data process-type=\"6\"></Process-List>");
    QTest::newRow("document type") << QByteArray(
        "<?xml version=\"1.0\"?><!DOCTYPE Process-List [<!ENTITY a \"aaaaaaaa\">]>"
        "<Process-List><Process-Data process-type=\"10\"><Parameter parameter-name=\"Filename\" "
        "parameter-type=\"QString\" parameter-data=\"&a;\" parameter-visibility=\"true\"/>"
        "</Process-Data></Process-List>");
}

void TestProcessListArchiver::refusedFilesChangeNothing()
{
    QFETCH(QByteArray, content);
    QBuffer buffer(&content);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QList<ProcessData> list{ProcessData(6)};
    ProcessListArchiver archiver;
    QVERIFY(!archiver.loadProcessList(buffer, list));
    QVERIFY(!archiver.getError().isEmpty());
    QCOMPARE(list.size(), 1);
    QVERIFY(!archiver.loadProcessList(dir.filePath("missing.plst"), list));
    QCOMPARE(list.size(), 1);
}

void TestProcessListArchiver::oddContentLoadsForTheRunToReport()
{
    QByteArray content(
        "<?xml version=\"1.0\"?>\n<Process-List>\n<Remark/>\n"
        "<Process-Data process-type=\"99\"/>\n"
        "<Process-Data process-type=\"2\">"
        "<Parameter parameter-name=\"Thickness\" parameter-type=\"uint\" parameter-data=\"-5\" "
        "parameter-visibility=\"true\"/>"
        "<Parameter parameter-name=\"Ratio\" parameter-type=\"double\" parameter-data=\"1,5\" "
        "parameter-visibility=\"yes\"/></Process-Data>\n</Process-List>\n");
    QBuffer buffer(&content);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QList<ProcessData> list;
    ProcessListArchiver archiver;
    QVERIFY(archiver.loadProcessList(buffer, list));
    QCOMPARE(list.size(), 2);
    QCOMPARE(list.at(0).getProcessType(), 99u);
    QCOMPARE(list.at(0).getParameters().size(), 0);
    // Values that do not convert stay texts: the executor names them when the step runs.
    QCOMPARE(list.at(1).getParameter("Thickness"), QVariant(QStringLiteral("-5")));
    QCOMPARE(list.at(1).getParameter("Ratio"), QVariant(QStringLiteral("1,5")));
    QVERIFY(!list.at(1).isVisible("Ratio"));
}

void TestProcessListArchiver::exampleMasksAreTheirImages_data()
{
    QTest::addColumn<QString>("list");
    QTest::newRow("cantilever") << CELVANE_SOURCE_DIR "/examples/cantilever.plst";
    QTest::newRow("membrane") << CELVANE_SOURCE_DIR "/examples/membrane.plst";
}

void TestProcessListArchiver::exampleMasksAreTheirImages()
{
    QFETCH(QString, list);
    QList<ProcessData> steps;
    ProcessListArchiver archiver;
    QVERIFY2(archiver.loadProcessList(list, steps), qPrintable(archiver.getError()));
    int masks = 0;
    for (const ProcessData &step : steps) {
        for (const QString side : {"Top", "Bottom"}) {
            const QString file = step.getParameter(side + " Mask File").toString();
            if (step.getProcessType() != 0 || file.isEmpty())
                continue;
            // What the photolithography dialog reads from the image is what the list holds.
            const QImage image(QFileInfo(list).absoluteDir().filePath(file));
            QVERIFY2(!image.isNull(), qPrintable(file));
            std::vector<bool> bits;
            quint32 width = 0, height = 0;
            Ui::Operations::PhotolithographyDialog::imageToMask(image, bits, width, height);
            QCOMPARE(step.getParameter(side + " Mask").value<std::vector<bool>>(), bits);
            QCOMPARE(step.getParameter(side + " Mask Width").toUInt(), width);
            QCOMPARE(step.getParameter(side + " Mask Height").toUInt(), height);
            ++masks;
        }
    }
    QVERIFY(masks >= 2);
}

CELVANE_TEST_MAIN(TestProcessListArchiver)
#include "tst_processlistarchiver.moc"
