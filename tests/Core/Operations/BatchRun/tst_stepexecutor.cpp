#include "Core/Operations/BatchRun/batchrun.h"
#include "Core/Operations/BatchRun/stepexecutor.h"
#include "Core/Operations/BatchRun/stepparameters.h"
#include "Core/Operations/createsubstrateoperation.h"
#include "Model/Materials/materialfactory.h"
#include "gdstestutil.h"
#include "processstepstestutil.h"
#include "testmain.h"
#include "workertestutil.h"

using namespace Core::Operations;
using Model::Automaton::TotalVolume;
using namespace Steps;

namespace {

/// Silicon under an uneven oxide, a positive resist slab over part of it and poly-Si pillars:
/// every process below finds something to work on. Wide enough to be split into strips.
quint32 structure(quint32 x, quint32 y, quint32 z)
{
    if (z < 3)
        return 1;
    if (z < 5 + (x * 7 + y * 3) % 3 && x % 8 > 1)
        return 3;
    if (z >= 8 && z < 10 && x < 16)
        return 11;
    if (x % 11 == 5 && y % 4 == 1 && z < 12)
        return 16;
    return 0;
}

/// Silicon under an oxide mask with a wide opening, away from the sides that hold the crystal
/// like a mask: a wet etch takes whole cells.
quint32 wafer(quint32 x, quint32 y, quint32 z)
{
    if (z < 8)
        return 1;
    const bool opening = x >= 4 && x < 20 && y >= 2 && y < 8;
    return z == 8 && !opening ? 3 : 0;
}

TotalVolume::Ptr volume(quint32 (*shape)(quint32, quint32, quint32) = structure)
{
    return WorkerTest::makeVolume(24, 10, 16, shape);
}

std::vector<bool> topMask()
{
    std::vector<bool> bits(24 * 10);
    for (size_t i = 0; i < bits.size(); ++i)
        bits[i] = (i / 10) % 3 == 0; // every third x column shielded
    return bits;
}

QVariant bits(const std::vector<bool> &b)
{
    return QVariant::fromValue(b);
}

/// A photolithography step of positive resist with a top mask only, as the dialog stores it.
QVariantMap maskStep(const std::vector<bool> &top, quint32 width, quint32 height)
{
    return QVariantMap{{"MaterialId", 11u},       {"Top Mask", bits(top)},
                       {"Top Mask Width", width}, {"Top Mask Height", height},
                       {"Bottom Mask", bits({})}, {"Bottom Mask Width", 0u},
                       {"Bottom Mask Height", 0u}};
}

} // namespace

/// The executors of the process-list steps: the same cells as the interactive operations, and
/// a reason instead of a silent skip for everything they cannot run.
class TestStepExecutor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Model::Materials::MaterialFactory::instance()->loadDefaultMaterials(); }
    void sameCellsAsTheInteractiveOperation_data();
    void sameCellsAsTheInteractiveOperation();
    void createSubstrateAsTheInteractiveOperation_data();
    void createSubstrateAsTheInteractiveOperation();
    void unusableStepsAreSkippedWithAReason_data();
    void unusableStepsAreSkippedWithAReason();
    void layoutMaskAsTheBitsItDraws();
    void latticeMarkedStaleForSiliconChanges();
};

void TestStepExecutor::sameCellsAsTheInteractiveOperation_data()
{
    QTest::addColumn<Step>("interactive");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QVariantMap>("parameters");

    QTest::newRow("CVD") << isotropicDeposition(2.5f, 16) << 4u
                         << QVariantMap{{"Thickness", 2.5}, {"MaterialId", 16u}};
    QTest::newRow("isotropic etching")
        << isotropicEtching(1.5f, 3) << 5u << QVariantMap{{"Depth", 1.5}, {"MaterialId", 3u}};
    QTest::newRow("Moore deposition")
        << mooreDeposition(16, 2) << 2u << QVariantMap{{"Thickness", 2u}, {"MaterialId", 16u}};
    QTest::newRow("Moore etching")
        << mooreEtching(3, 1) << 3u << QVariantMap{{"Depth", 1u}, {"MaterialId", 3u}};
    QTest::newRow("PVD") << pvd(2.0f, 16, 0.5f, 3) << 12u
                         << QVariantMap{{"Thickness", 2.0},
                                        {"MaterialId", 16u},
                                        {"Horizontal to Vertical Ratio", 0.5},
                                        {"DepositOn", 3}};
    QTest::newRow("electroplating")
        << plating(1.0f, 9, 16) << 7u
        << QVariantMap{
               {"Film Thickness", 1.0}, {"ConductingMaterialId", 16u}, {"DepositedMaterialId", 9u}};
    QTest::newRow("doping") << doping(1.5f, 14) << 8u
                            << QVariantMap{{"Doping Depth", 1.5f}, {"DopedMaterialId", 14u}};
    QTest::newRow("ion implantation") << implantation(1.0f, 2.0f, 15) << 14u
                                      << QVariantMap{{"Annealing Distance", 1.0f},
                                                     {"Implantation Depth", 2.0f},
                                                     {"DopedMaterialId", 15u}};
    QTest::newRow("photolithography") << photolithography([](auto *op) {
        op->setMaterial(11);
        op->setBottomMask(std::vector<bool>(), 0, 0);
        op->setTopMask(topMask(), 24, 10);
        op->end();
    }) << 0u << maskStep(topMask(), 24, 10);
    QTest::newRow("planarization")
        << planarization(9, 1) << 6u << QVariantMap{{"Maximum Height", 9u}, {"Minimum Height", 1u}};
    QTest::newRow("spin coating") << spinCoating(11, 7) << 9u
                                  << QVariantMap{{"Maximum Height", 7u}, {"MaterialId", 11u}};
    QTest::newRow("simple RIE") << rie(2.0, 3) << 13u
                                << QVariantMap{{"Etch Depth", 2u},
                                               {"MaterialId", 3u},
                                               {"EtchDirectionValue", 1}};
    QTest::newRow("Si wet etching") << wetEtching(2.0) << 1u << QVariantMap{{"Depth", 2.0}};
    QTest::newRow("oxidation to a thickness") << oxidation(2.0, 1.5) << 15u
                                              << QVariantMap{{"OxidationTimeSet", false},
                                                             {"Micron Conversion", 2.0},
                                                             {"Oxidation Thickness", 1.5}};
    QTest::newRow("oxidation for a time") << oxidation(10.0, 0, 1.0, 1.0, 1373.0) << 15u
                                          << QVariantMap{{"OxidationTimeSet", true},
                                                         {"Micron Conversion", 10.0},
                                                         {"Oxidation Time", 1.0},
                                                         {"Oxidation Pressure", 1.0},
                                                         {"Oxidation Temperature", 1373.0}};
}

void TestStepExecutor::sameCellsAsTheInteractiveOperation()
{
    QFETCH(Step, interactive);
    QFETCH(quint32, type);
    QFETCH(QVariantMap, parameters);

    WorkspaceFixture f;
    const auto shape = type == 1 ? wafer : structure; // 1: the Si wet etching
    TotalVolume::Ptr byOperation = volume(shape);
    f.workspace.getDocument().addObject(byOperation);
    const std::vector<quint32> before = cellsOf(byOperation);
    run(f, byOperation, interactive);
    QVERIFY2(cellsOf(byOperation) != before, "the row must change something");

    StepContext context;
    context.volume = volume(shape);
    QString reason;
    QCOMPARE(StepExecutor::execute(type, parameters, context, &reason), StepExecutor::Ran);
    QVERIFY(reason.isEmpty());
    QVERIFY(cellsOf(context.volume) == cellsOf(byOperation));
}

void TestStepExecutor::createSubstrateAsTheInteractiveOperation_data()
{
    QTest::addColumn<bool>("ball");
    QTest::newRow("block") << false;
    QTest::newRow("ball") << true;
}

void TestStepExecutor::createSubstrateAsTheInteractiveOperation()
{
    QFETCH(bool, ball);
    WorkspaceFixture f;
    CreateSubstrateOperation operation(f.workspace);
    const Util::Vector3D corner(1.5, -2.0, 0.25);
    if (ball)
        operation.setSphere(16, 12, 10, 8, corner, 6, 5, 3, 4);
    else
        operation.setBox(16, 12, 10, 8, corner, 2, 1, 0, 8, 7, 5);
    operation.execute();
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 1);
    const TotalVolume::Ptr byOperation =
        boost::dynamic_pointer_cast<TotalVolume>(f.workspace.getDocument().getObjects().first());

    Document document;
    StepContext context;
    context.document = &document;
    QVariantMap p{{"MaterialId", 16u},    {"Lower Left Front Corner", QVariant::fromValue(corner)},
                  {"Volume Size X", 12u}, {"Volume Size Y", 10u},
                  {"Volume Size Z", 8u},  {"SphericalSubstrate", ball}};
    if (ball)
        p.insert({{"Substrate Center X", 6u},
                  {"Substrate Center Y", 5u},
                  {"Substrate Center Z", 3u},
                  {"Substrate Radius", 4u}});
    else
        p.insert({{"Substrate Delta X", 2u},
                  {"Substrate Delta Y", 1u},
                  {"Substrate Delta Z", 0u},
                  {"Substrate Size X", 8u},
                  {"Substrate Size Y", 7u},
                  {"Substrate Size Z", 5u}});
    QCOMPARE(StepExecutor::execute(11, p, context), StepExecutor::Ran);
    QVERIFY(context.volume);
    QCOMPARE(document.getObjects().size(), 1);
    QVERIFY(document.contains(context.volume));
    QCOMPARE(context.volume->getPosition(), byOperation->getPosition());
    QVERIFY(cellsOf(context.volume) == cellsOf(byOperation));
}

void TestStepExecutor::unusableStepsAreSkippedWithAReason_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QVariantMap>("parameters");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing") << 4u << QVariantMap{{"MaterialId", 16u}}
                             << "parameter \"Thickness\" is missing";
    QTest::newRow("not a number") << 4u << QVariantMap{{"MaterialId", 16u}, {"Thickness", "2,5"}}
                                  << "parameter \"Thickness\" is not a number";
    QTest::newRow("negative count")
        << 2u << QVariantMap{{"MaterialId", 16u}, {"Thickness", "-3"}}
        << "parameter \"Thickness\" is not a whole number of at least 0";
    QTest::newRow("material not in the catalogue")
        << 9u << QVariantMap{{"MaterialId", 999u}, {"Maximum Height", 4u}}
        << "material 999 (\"MaterialId\") is not in the material catalogue";
    QTest::newRow("mask shorter than its size") << 0u << maskStep(std::vector<bool>(239), 24, 10)
                                                << "the top mask holds 239 bits, not 24 x 10";
    QTest::newRow("huge mask size") << 0u << maskStep({true}, 4294967295u, 4294967295u)
                                    << "the top mask holds 1 bits, not 4294967295 x 4294967295";
    QTest::newRow("unknown direction")
        << 13u << QVariantMap{{"MaterialId", 3u}, {"Etch Depth", 2u}, {"EtchDirectionValue", 7}}
        << "parameter \"EtchDirectionValue\" is not an etch direction";
    QTest::newRow("negative oxide")
        << 15u
        << QVariantMap{{"OxidationTimeSet", false},
                       {"Micron Conversion", 1.0},
                       {"Oxidation Thickness", -2.0}}
        << "parameter \"Oxidation Thickness\" is not a number of at least 0";
    QTest::newRow("no micron conversion")
        << 15u
        << QVariantMap{{"OxidationTimeSet", false},
                       {"Micron Conversion", 0.0},
                       {"Oxidation Thickness", 2.0}}
        << "parameter \"Micron Conversion\" is not a number above 0";
    QTest::newRow("unknown type") << 99u << QVariantMap() << "unknown process type 99";
    QTest::newRow("image without a view")
        << 10u << QVariantMap{{"Filename", "a.png"}} << "no picture of the view can be made here";
}

void TestStepExecutor::unusableStepsAreSkippedWithAReason()
{
    QFETCH(quint32, type);
    QFETCH(QVariantMap, parameters);
    QFETCH(QString, reason);
    StepContext context;
    context.volume = volume();
    const std::vector<quint32> before = cellsOf(context.volume);
    QString why;
    QCOMPARE(StepExecutor::execute(type, parameters, context, &why), StepExecutor::Skipped);
    QCOMPARE(why, reason);
    QVERIFY(cellsOf(context.volume) == before);
}

void TestStepExecutor::layoutMaskAsTheBitsItDraws()
{
    QTemporaryDir dir;
    const QString file = Gds::writeFile(dir, Gds::squareLAndRectangle());
    // Offset (-2, -1) microns, one micron per column: column (x, y) has its centre at
    // (x - 1.5, y - 0.5). The square [0,2]^2 covers x 2..3, y 1..2; the L [3,4]x[0,3] x 5,
    // y 1..3 and its foot [4,6]x[0,1] x 6..7, y 1.
    std::vector<bool> drawn(24 * 10);
    for (const QPoint &p : {QPoint(2, 1), QPoint(2, 2), QPoint(3, 1), QPoint(3, 2), QPoint(5, 1),
                            QPoint(5, 2), QPoint(5, 3), QPoint(6, 1), QPoint(7, 1)})
        drawn[size_t(p.x() * 10 + p.y())] = true;
    const QVariantMap byBits = maskStep(drawn, 24, 10);
    // As the dialog stores it: no image mask, the layout, its cell left to the top one.
    QVariantMap byLayout = maskStep({}, 0, 0);
    byLayout.insert({{"Top Mask Layout", file},
                     {"Top Mask Cell", QString()},
                     {"Top Mask Layer", 1},
                     {"Top Mask Scale", 1.0},
                     {"Top Mask Offset X", -2.0},
                     {"Top Mask Offset Y", -1.0}});
    StepContext expected, actual;
    expected.volume = volume();
    actual.volume = volume();
    const std::vector<quint32> before = cellsOf(actual.volume);
    QCOMPARE(StepExecutor::execute(0, byBits, expected), StepExecutor::Ran);
    QString why;
    QCOMPARE(StepExecutor::execute(0, byLayout, actual, &why), StepExecutor::Ran);
    QVERIFY(cellsOf(actual.volume) == cellsOf(expected.volume));
    QVERIFY(cellsOf(actual.volume) != before);

    // A layer the layout does not have: skipped with the reason, nothing changed.
    byLayout.insert("Top Mask Layer", 7);
    StepContext untouched;
    untouched.volume = volume();
    QCOMPARE(StepExecutor::execute(0, byLayout, untouched, &why), StepExecutor::Skipped);
    QCOMPARE(why, QStringLiteral("the mask \"%1\" cannot be used: the cell \"TOP\" holds no "
                                 "shape on layer 7")
                      .arg(file));
    QVERIFY(cellsOf(untouched.volume) == before);
}

void TestStepExecutor::latticeMarkedStaleForSiliconChanges()
{
    VolumeProcessRecord records;
    StepContext context;
    context.volume = volume();
    context.records = &records;
    const quint32 id = context.volume->getId();
    records.setLatticeStale(id, false);
    QCOMPARE(StepExecutor::execute(4, {{"Thickness", 1.0}, {"MaterialId", 16u}}, context),
             StepExecutor::Ran);
    QVERIFY(!records.isLatticeStale(id)); // poly-Si is not the crystal
    QCOMPARE(StepExecutor::execute(4, {{"Thickness", 1.0}, {"MaterialId", 1u}}, context),
             StepExecutor::Ran);
    QVERIFY(records.isLatticeStale(id));
    records.setLatticeStale(id, false);
    QCOMPARE(StepExecutor::execute(6, {{"Maximum Height", 12u}, {"Minimum Height", 0u}}, context),
             StepExecutor::Ran);
    QVERIFY(records.isLatticeStale(id));
}

CELVANE_TEST_MAIN(TestStepExecutor)
#include "tst_stepexecutor.moc"
