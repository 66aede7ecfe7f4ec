#include "Core/Operations/Anisotropic/anisotropicfilmdepositionoperation.h"
#include "Core/Operations/Doping/dopingoperation.h"
#include "Core/Operations/Doping/ionimplantationoperation.h"
#include "Core/Operations/Electrodeposition/electrodepositionoperation.h"
#include "Core/Operations/Isotropic/isotropicfilmdepositionoperation.h"
#include "Core/Operations/SiOxidation/simplesioxidationoperation.h"
#include "Model/Process/processfactory.h"
#include "testmain.h"
#include "workspacetestutil.h"

#include <QTemporaryDir>

using namespace Core::Operations;
using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;

namespace {

/// A 6 x 5 x height volume: fill below z = level, empty above.
TotalVolume::Ptr substrate(WorkspaceFixture &f, quint32 level = 3, quint32 height = 8,
                           quint32 fill = 1)
{
    TotalVolume::Ptr v = TotalVolume::createFilled(6, 5, height, 1, 1, 1, Util::Vector3D(), 0);
    Voxel *c = v->lockCells();
    Voxel *n = v->lockNextCells();
    for (quint32 x = 0; x < 6; ++x)
        for (quint32 y = 0; y < 5; ++y)
            for (quint32 z = 0; z < level; ++z) {
                const quint64 i = v->getCellIndex(x, y, z);
                c[i].material = n[i].material = fill;
            }
    v->releaseNextCells();
    v->releaseCells();
    f.workspace.getDocument().addObject(v);
    return v;
}

void setCell(const TotalVolume::Ptr &v, quint32 x, quint32 y, quint32 z, quint32 material)
{
    Voxel *c = v->lockCells();
    Voxel *n = v->lockNextCells();
    c[v->getCellIndex(x, y, z)].material = n[v->getCellIndex(x, y, z)].material = material;
    v->releaseNextCells();
    v->releaseCells();
}

quint32 at(const TotalVolume::Ptr &v, quint32 x, quint32 y, quint32 z)
{
    return cellsOf(v)[v->getCellIndex(x, y, z)];
}

} // namespace

class TestFilmProcessOperations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void oxidationThicknessIsInMicrons();
    void oxidationWithoutConversionCountsOneUnitPerMicron();
    void oxidationForATime();
    void oxidationWithoutValidThicknessSaysSo_data();
    void oxidationWithoutValidThicknessSaysSo();
    void oxidationEndWithoutValuesWaitsSilently();
    void oxidationClassObserverOpensTheDialog();
    void dopingUndoRedo();
    void dopingNeedsMaterialAndDepth();
    void implantationIsNotUndoable();
    void implantationCancelText();
    void pvdUndoRedoAndSharedTag();
    void pvdRunsOnThreeInputs();
    void pvdSiliconMarksLatticeStale();
    void electroplatingUndoRedo();
    void electroplatingNeedsFourInputs();
    void electroplatingLeavesTheLattice();

private:
    QScopedPointer<QTemporaryDir> dir;
    QString previous;
};

void TestFilmProcessOperations::initTestCase()
{
    Model::Process::ProcessFactory::instance()->loadDefaultProcesses();
}

void TestFilmProcessOperations::init()
{
    previous = QDir::currentPath();
    dir.reset(new QTemporaryDir());
    QDir::setCurrent(dir->path()); // the state files go to the working directory
}

void TestFilmProcessOperations::cleanup()
{
    QDir::setCurrent(previous);
    dir.reset();
}

void TestFilmProcessOperations::oxidationThicknessIsInMicrons()
{
    // 0.05 um at 100 cell units per micron: X = 5. Silicon converts where (0.3 X)^2 = 2.25 >
    // d^2 (d = 0, 1: layers 4, 3), space where d < 0.56 X = 2.8 (d = 1, 2: layers 5, 6).
    // Handed over unconverted, 0.05 would be thinner than a cell and change nothing.
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f, 5, 10);
    f.workspace.getVolumeRecords().setLatticeStale(v->getId(), false);
    offer<SimpleSiOxidationOperation>(f, 26, [](SimpleSiOxidationOperation *op) {
        QCOMPARE(op->getInputCount(), 2);
        op->setConversion(100.0);
        op->setThickness(0.05);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(26);
    QCOMPARE(f.recorder->messages, (QStringList{"Simple Si Oxidation: Cell volume selected.",
                                                "Simple Si Oxidation: Operation finished."}));
    for (quint32 z = 0; z < 10; ++z)
        QCOMPARE(at(v, 2, 2, z), z < 3 ? 1u : (z < 7 ? 3u : 0u));
    QVERIFY(f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
    QCOMPARE(f.workspace.getHistory().undoCount(), 0); // not undoable
    QVERIFY(!f.workspace.getCurrentOperation());
}

void TestFilmProcessOperations::oxidationWithoutConversionCountsOneUnitPerMicron()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f, 5, 10);
    offer<SimpleSiOxidationOperation>(f, 26, [](SimpleSiOxidationOperation *op) {
        op->setThickness(5.0);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(26);
    for (quint32 z = 0; z < 10; ++z)
        QCOMPARE(at(v, 2, 2, z), z < 3 ? 1u : (z < 7 ? 3u : 0u));
}

void TestFilmProcessOperations::oxidationForATime()
{
    // 2 h, 1273 K, 1 atm, 100 units per micron: X = 10.5457 (see the worker's test): 4 layers of
    // silicon and 5 of space.
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f, 6, 14);
    offer<SimpleSiOxidationOperation>(f, 26, [](SimpleSiOxidationOperation *op) {
        op->setConversion(100.0);
        op->setTime(2.0);
        op->setPressure(1.0);
        op->setTemperature(1273.0);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(26);
    QCOMPARE(f.recorder->last(), QStringLiteral("Simple Si Oxidation: Operation finished."));
    for (quint32 z = 0; z < 14; ++z)
        QCOMPARE(at(v, 2, 2, z), z < 2 ? 1u : (z < 11 ? 3u : 0u));
}

void TestFilmProcessOperations::oxidationWithoutValidThicknessSaysSo_data()
{
    QTest::addColumn<double>("temperature");
    QTest::addColumn<double>("pressure");
    QTest::newRow("no pressure") << 1273.0 << 0.0;
    QTest::newRow("no temperature") << 0.0 << 1.0;
}

void TestFilmProcessOperations::oxidationWithoutValidThicknessSaysSo()
{
    QFETCH(double, temperature);
    QFETCH(double, pressure);
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f, 5, 10);
    const std::vector<quint32> before = cellsOf(v);
    offer<SimpleSiOxidationOperation>(f, 26, [=](SimpleSiOxidationOperation *op) {
        op->setConversion(100.0);
        op->setTime(2.0);
        op->setPressure(pressure);
        op->setTemperature(temperature);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(26);
    QCOMPARE(f.recorder->messages.size(), 3);
    QVERIFY2(f.recorder->messages[1].startsWith(
                 QLatin1String("Simple Si Oxidation: No oxide could be computed for ")),
             qPrintable(f.recorder->messages[1]));
    QCOMPARE(f.recorder->messages[2], QStringLiteral("Simple Si Oxidation: Operation finished."));
    QVERIFY(cellsOf(v) == before);
}

void TestFilmProcessOperations::oxidationEndWithoutValuesWaitsSilently()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    offer<SimpleSiOxidationOperation>(f, 26, [](SimpleSiOxidationOperation *op) {
        op->setConversion(100.0);
        op->setPressure(1.0);
        op->end(); // neither a time nor a thickness
    });
    f.pick(v);
    f.workspace.startOperation(26);
    QCOMPARE(f.recorder->last(), QStringLiteral("Simple Si Oxidation: Cell volume selected."));
    QVERIFY(f.workspace.getCurrentOperation()); // still waiting; Escape cancels it
    f.workspace.cancelCurrentOperation();
    QCOMPARE(f.recorder->last(), QStringLiteral("Simple Si Oxidation: Operation canceled."));
}

void TestFilmProcessOperations::oxidationClassObserverOpensTheDialog()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    int asked = 0;
    SimpleSiOxidationOperation::setClassObserver(
        Util::ObserverPtr(new CallbackObserver([&asked]() { ++asked; })));
    f.factory->extra = [&f](quint32 id) -> TestOperationFactory::OperationPtr {
        return id == 26
                   ? TestOperationFactory::OperationPtr(new SimpleSiOxidationOperation(f.workspace))
                   : TestOperationFactory::OperationPtr();
    };
    f.pick(v);
    f.workspace.startOperation(26);
    QCOMPARE(asked, 1);
    SimpleSiOxidationOperation::setClassObserver(Util::ObserverPtr());
}

void TestFilmProcessOperations::dopingUndoRedo()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    f.workspace.getVolumeRecords().setLatticeStale(v->getId(), false);
    const std::vector<quint32> before = cellsOf(v);
    offer<DopingOperation>(f, 17, [](DopingOperation *op) {
        op->setDepth(2.0f);
        op->setMaterial(14);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(17);
    QCOMPARE(f.recorder->last(), QStringLiteral("Doping: Operation finished."));
    QCOMPARE(count(v, 14), quint64(6 * 5 * 2)); // layers 1 and 2
    QVERIFY(f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
    const std::vector<quint32> after = cellsOf(v);
    QCOMPARE(QString::fromStdString(f.workspace.getHistory().undoTopName()),
             QStringLiteral("Doping"));
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == before);
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(cellsOf(v) == after);
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == before);
}

void TestFilmProcessOperations::dopingNeedsMaterialAndDepth()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    offer<DopingOperation>(f, 17, [](DopingOperation *op) {
        op->setDepth(2.0f);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(17);
    QCOMPARE(f.recorder->last(), QStringLiteral("Doping: Operation canceled."));
    QCOMPARE(count(v, 14), quint64(0));
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
}

void TestFilmProcessOperations::implantationIsNotUndoable()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    f.workspace.getVolumeRecords().setLatticeStale(v->getId(), false);
    offer<IonImplantationOperation>(f, 3, [](IonImplantationOperation *op) {
        op->setAnnealingDistance(0.0f);
        op->setImplantationDepth(2.0f);
        op->setMaterial(15);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(3);
    QCOMPARE(f.recorder->messages, (QStringList{"Ion Implantation: Cell volume selected.",
                                                "Ion Implantation: Operation finished."}));
    for (quint32 z = 0; z < 3; ++z)
        QCOMPARE(at(v, 4, 1, z), z == 1 ? 15u : 1u); // the second cell from the top
    QVERIFY(f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
    QVERIFY(!f.workspace.getCurrentOperation());
    QVERIFY(!f.workspace.getConsoleInput().isEnterRequested());
}

void TestFilmProcessOperations::implantationCancelText()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    offer<IonImplantationOperation>(f, 3, [](IonImplantationOperation *op) {
        op->setImplantationDepth(2.0f);
        op->setMaterial(15);
        op->end(); // no annealing distance
    });
    f.pick(v);
    f.workspace.startOperation(3);
    QCOMPARE(f.recorder->last(), QStringLiteral("Ion Implantation: Operation Canceled!"));
    QCOMPARE(count(v, 15), quint64(0));
}

void TestFilmProcessOperations::pvdUndoRedoAndSharedTag()
{
    // An isotropic deposition and a PVD share the record tag "IsotropicDeposition": each must
    // still find its own records.
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f, 3, 10);
    offer<IsotropicFilmDepositionOperation>(f, 13, [](IsotropicFilmDepositionOperation *op) {
        op->setThickness(1.0f);
        op->setMaterial(3);
        op->end();
    });
    offer<AnisotropicFilmDepositionOperation>(f, 27, [](AnisotropicFilmDepositionOperation *op) {
        op->setThickness(2.0f);
        op->setMaterial(4);
        op->setRatio(0.5f);
        op->setDepositOn(1);
        op->end();
    });
    const std::vector<quint32> s0 = cellsOf(v);
    f.pick(v);
    f.workspace.startOperation(13);
    const std::vector<quint32> s1 = cellsOf(v);
    f.pick(v);
    f.workspace.startOperation(27);
    QCOMPARE(f.recorder->last(), QStringLiteral("Isotropic Deposition: Operation finished."));
    const std::vector<quint32> s2 = cellsOf(v);
    for (quint32 z = 0; z < 10; ++z)
        QCOMPARE(at(v, 3, 2, z), z < 3 ? 1u : (z < 4 ? 3u : (z < 6 ? 4u : 0u)));
    QCOMPARE(f.workspace.getHistory().undoCount(), 2);
    QCOMPARE(QString::fromStdString(f.workspace.getHistory().undoTopName()),
             QStringLiteral("Isotropic Deposition"));
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == s1);
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == s0);
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(cellsOf(v) == s1);
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(cellsOf(v) == s2);
}

void TestFilmProcessOperations::pvdRunsOnThreeInputs()
{
    // The volume and the dialog count two; one value makes three. The others keep their
    // defaults (ratio 0.5, on top).
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    AnisotropicFilmDepositionOperation probe(f.workspace);
    QCOMPARE(probe.getId(), 13u);
    QCOMPARE(probe.getName(), std::string("Isotropic Deposition"));
    QCOMPARE(probe.getRatio(), 0.5f);
    QCOMPARE(probe.getDepositOn(), 1u);
    offer<AnisotropicFilmDepositionOperation>(f, 27, [](AnisotropicFilmDepositionOperation *op) {
        op->setMaterial(4);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(27);
    QCOMPARE(f.recorder->last(), QStringLiteral("Isotropic Deposition: Operation finished."));
    QCOMPARE(count(v, 4), quint64(0)); // thickness 0

    offer<AnisotropicFilmDepositionOperation>(
        f, 27, [](AnisotropicFilmDepositionOperation *op) { op->end(); });
    f.pick(v);
    f.workspace.startOperation(27);
    QCOMPARE(f.recorder->last(), QStringLiteral("Isotropic Deposition: Operation canceled."));
}

void TestFilmProcessOperations::pvdSiliconMarksLatticeStale()
{
    for (quint32 material : {1u, 4u}) {
        WorkspaceFixture f;
        TotalVolume::Ptr v = substrate(f);
        f.workspace.getVolumeRecords().setLatticeStale(v->getId(), false);
        offer<AnisotropicFilmDepositionOperation>(
            f, 27, [material](AnisotropicFilmDepositionOperation *op) {
                op->setThickness(1.0f);
                op->setMaterial(material);
                op->end();
            });
        f.pick(v);
        f.workspace.startOperation(27);
        QCOMPARE(f.workspace.getVolumeRecords().isLatticeStale(v->getId()), material == 1);
    }
}

void TestFilmProcessOperations::electroplatingUndoRedo()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    setCell(v, 2, 2, 3, 5); // a copper cell on the silicon
    const std::vector<quint32> before = cellsOf(v);
    offer<ElectrodepositionOperation>(f, 15, [](ElectrodepositionOperation *op) {
        op->setThickness(1.0f);
        op->setMaterial(9);
        op->setConductingMaterial(5);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(15);
    QCOMPARE(f.recorder->last(), QStringLiteral("Electroplating: Operation finished."));
    // The face neighbours of the copper cell that are empty: four beside it and one above.
    QCOMPARE(count(v, 9), quint64(5));
    const std::vector<quint32> after = cellsOf(v);
    QCOMPARE(QString::fromStdString(f.workspace.getHistory().undoTopName()),
             QStringLiteral("Electroplating"));
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == before);
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(cellsOf(v) == after);
}

void TestFilmProcessOperations::electroplatingNeedsFourInputs()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    setCell(v, 2, 2, 3, 5);
    offer<ElectrodepositionOperation>(f, 15, [](ElectrodepositionOperation *op) {
        op->setThickness(1.0f);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(15);
    QCOMPARE(f.recorder->last(), QStringLiteral("Electroplating: Operation canceled."));
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
}

void TestFilmProcessOperations::electroplatingLeavesTheLattice()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = substrate(f);
    setCell(v, 2, 2, 3, 5);
    f.workspace.getVolumeRecords().setLatticeStale(v->getId(), false);
    offer<ElectrodepositionOperation>(f, 15, [](ElectrodepositionOperation *op) {
        op->setThickness(1.0f);
        op->setMaterial(1); // even silicon plated on copper
        op->setConductingMaterial(5);
        op->end();
    });
    f.pick(v);
    f.workspace.startOperation(15);
    QCOMPARE(count(v, 1), quint64(6 * 5 * 3 + 5));
    QVERIFY(!f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
}

CELVANE_TEST_MAIN(TestFilmProcessOperations)
#include "tst_filmprocessoperations.moc"
