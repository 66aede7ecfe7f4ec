#include "UI/BatchRun/processlistarchiver.h"
#include "UI/Operations/photolithographydialog.h"
#include "testmain.h"

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QImage>

using Ui::ProcessData;
using Ui::ProcessListArchiver;

namespace {

typedef QList<std::tuple<QString, QVariant, bool>> Parameters;

/// A record of every type with the parameters the options dialogs give it.
QList<ProcessData> everyType()
{
    const QVariant colour = QColor(QStringLiteral("#4c8066"));
    QList<ProcessData> list;
    auto add = [&](quint32 type, const Parameters &parameters) {
        ProcessData data(type);
        for (const auto &p : parameters)
            data.addParameter(std::get<0>(p), std::get<1>(p), std::get<2>(p));
        list.append(data);
    };
    const auto material = [&](const QString &prefix, quint32 id) {
        return Parameters{{prefix + "Id", id, false},
                          {prefix, "Poly-Si", true},
                          {prefix + "_Color", colour, false}};
    };
    add(4, material("Material", 16) + Parameters{{"Thickness", 2.5, true}});
    add(5, material("Material", 3) + Parameters{{"Depth", 0.75, true}});
    add(2, material("Material", 16) + Parameters{{"Thickness", 3u, true}});
    add(3, material("Material", 3) + Parameters{{"Depth", 2u, true}});
    add(12, material("Material", 4) + Parameters{{"Thickness", 1.25, true},
                                                 {"DepositOn", 3, false},
                                                 {"Deposit On", "On Top and Bottom", true},
                                                 {"Horizontal to Vertical Ratio", 0.5, true}});
    add(7, Parameters{{"Film Thickness", 2.0, true},
                      {"ConductingMaterialId", 5u, false},
                      {"Conducting Material", "Cu (bulk)", true},
                      {"Conducting Material_Color", colour, false},
                      {"DepositedMaterialId", 9u, false},
                      {"Deposited Material", "Au (bulk)", true},
                      {"Deposited Material_Color", colour, false}});
    add(8, Parameters{{"Doping Depth", 1.5f, true},
                      {"DopedMaterialId", 14u, true},
                      {"Doped Material", "N-doped Si (100)", true},
                      {"Doped Material_Color", colour, false}});
    add(14, Parameters{{"Annealing Distance", 0.5f, true},
                       {"Implantation Depth", 2.0f, true},
                       {"DopedMaterialId", 15u, true},
                       {"Doped Material", "P-doped Si (100)", true},
                       {"Doped Material_Color", colour, false}});
    add(0, material("Material", 11) +
               Parameters{
                   {"Top Mask", QVariant::fromValue(std::vector<bool>{1, 0, 0, 1, 1, 0}), false},
                   {"Top Mask File", "/masks/top.png", true},
                   {"Top Mask Height", 2u, true},
                   {"Top Mask Width", 3u, true},
                   {"Bottom Mask", QVariant::fromValue(std::vector<bool>()), false},
                   {"Bottom Mask File", "", true},
                   {"Bottom Mask Height", 0u, true},
                   {"Bottom Mask Width", 0u, true}});
    add(6, Parameters{{"Maximum Height", 12u, true}, {"Minimum Height", 2u, true}});
    add(9, material("Material", 11) + Parameters{{"Maximum Height", 7u, true}});
    add(13, material("Material", 3) + Parameters{{"Etch Depth", 4u, true},
                                                 {"EtchDirectionValue", 3, false},
                                                 {"Etch Direction", "From both sides", true}});
    add(1, Parameters{{"Depth", 20.0, true}});
    add(15, Parameters{{"Micron Conversion", 10.0, true},
                       {"Oxidation Pressure", 1.0, true},
                       {"Oxidation Temperature", 1373.15, true},
                       {"Oxidation Time", 1.5, true},
                       {"OxidationTimeSet", true, false},
                       {"Oxidation Thickness", 0.0, false},
                       {"OxidationThicknessSet", false, false}});
    add(10, Parameters{{"Filename", "/tmp/step 10.png", true}});
    add(11, material("Material", 1) +
                Parameters{{"Lower Left Front Corner",
                            QVariant::fromValue(Util::Vector3D(-1.5, 0.1, 1e-7)), true},
                           {"Volume Size X", 40u, true},
                           {"Volume Size Y", 30u, true},
                           {"Volume Size Z", 20u, true},
                           {"SphericalSubstrate", false, false},
                           {"Substrate Size X", 40u, true},
                           {"Substrate Size Y", 30u, true},
                           {"Substrate Size Z", 10u, true},
                           {"Substrate Delta X", 0u, true},
                           {"Substrate Delta Y", 0u, true},
                           {"Substrate Delta Z", 0u, true},
                           {"Substrate Center X", 0u, false},
                           {"Substrate Center Y", 0u, false},
                           {"Substrate Center Z", 0u, false},
                           {"Substrate Radius", 0u, false}});
    return list;
}

} // namespace

/// The process-list file: its exact text, a round trip of every step type, and files that
/// must load nothing.
class TestProcessListArchiver : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesTheExactText();
    void everyTypeReadsBackEqual();
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
}

void TestProcessListArchiver::everyTypeReadsBackEqual()
{
    const QList<ProcessData> written = everyType();
    QCOMPARE(written.size(), 16);
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
    QCOMPARE(read.at(8).getParameter("Top Mask").value<std::vector<bool>>(),
             (std::vector<bool>{1, 0, 0, 1, 1, 0}));
    QCOMPARE(read.at(15).getParameter("Lower Left Front Corner").value<Util::Vector3D>(),
             Util::Vector3D(-1.5, 0.1, 1e-7));
    QCOMPARE(read.at(6).getParameter("Doping Depth").toFloat(), 1.5f);
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
