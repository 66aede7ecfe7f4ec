#include "Model/Process/processfactory.h"
#include "processstepstestutil.h"
#include "testmain.h"
#include "workertestutil.h"

#include <limits>
#include <tuple>
#include <utility>

using namespace Core::Operations;
using Model::Automaton::TotalVolume;
using Model::Automaton::Voxel;
using namespace Steps;

typedef QVector<uint> Profile;

namespace {

/// The size of the top mask the volume shows.
QSize topMaskSize(const TotalVolume::Ptr &v)
{
    quint32 width = 9, height = 9;
    v->getTopMaskSize(width, height);
    return QSize(int(width), int(height));
}

/// The atoms of the volume's crystal still present, and how many of them lie in cells that
/// hold no silicon.
std::pair<quint64, quint64> presentAtoms(const TotalVolume::Ptr &v)
{
    const std::vector<quint32> ids = cellsOf(v);
    std::pair<quint64, quint64> n(0, 0);
    for (const auto &entry : v->getSiLattice()->getCells())
        for (int a = 0; a < Model::Automaton::SiCell::atomCount; ++a) {
            const Model::Automaton::SiAtom *atom = entry.second->getAtom(a);
            if (atom->getState() != Model::Automaton::SiAtom::Present)
                continue;
            ++n.first;
            n.second += atom->getCellIndex() < 0 || ids[size_t(atom->getCellIndex())] != 1;
        }
    return n;
}

/// The present atoms of a crystal built afresh on the volume's cells.
quint64 freshAtoms(const TotalVolume::Ptr &v)
{
    const TotalVolume::Ptr copy = boost::dynamic_pointer_cast<TotalVolume>(v->clone());
    return copy->rebuildSiLattice() ? presentAtoms(copy).first : 0;
}

} // namespace

/// The process operations around their workers: the selection step, the dialog answered
/// through the observer, the messages, the lattice flag and the history.
class TestProcessOperations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Model::Process::ProcessFactory::instance()->loadDefaultProcesses(); }

    void stepsChangeTheCellsAndKeepHistory_data();
    void stepsChangeTheCellsAndKeepHistory();
    void incompleteOrRefusedInputsCancel_data();
    void incompleteOrRefusedInputsCancel();
    void depositionAsksForVolumeFirst();
    void rejectedDialogLeavesOperationWaiting();
    void sharedRecordTagKeepsTwoStates();
    void electroplating_data();
    void electroplating();
    void rieDirections();
    void pvdDefaultsNeedOneValue();
    void oxidationWithoutValidThicknessSaysSo_data();
    void oxidationWithoutValidThicknessSaysSo();
    void oxidationEndWithoutValuesWaitsSilently();
    void oxidationClassObserverOpensTheDialog();
    void photolithographyMasksAndCleanup();
    void cancelledPhotolithographyTakesItsMasksBack();
    void planarizationAfterPouring();
    void wetEtchingReusesTheCrystal();
    void wetEtchingTakesTheOnlyVolume();
    void continuousWetEtchingCarriesOnWithTheCrystal();
    void crystalOnViewFollowsTheCells();
};

void TestProcessOperations::stepsChangeTheCellsAndKeepHistory_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<quint32>("level");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Profile>("profile"); // the materials along z of every column (none:
                                          // not checked, 10 high)
    QTest::addColumn<int>("stale");       // lattice marked stale afterwards; -1: not checked

    QTest::newRow("isotropic deposition")
        << isotropicDeposition(2.0f, 3) << 3u << "Isotropic Deposition"
        << Profile{1, 1, 1, 3, 3, 0, 0, 0} << 0;
    QTest::newRow("isotropic deposition of silicon")
        << isotropicDeposition(1.0f, 1) << 3u << "Isotropic Deposition"
        << Profile{1, 1, 1, 1, 0, 0, 0, 0} << 1;
    QTest::newRow("isotropic etching") << isotropicEtching(1.0f, 1) << 3u << "Isotropic Etching"
                                       << Profile{1, 1, 0, 0, 0, 0, 0, 0} << -1;
    QTest::newRow("Moore deposition") << mooreDeposition(4, 1) << 3u << "Moore film deposition"
                                      << Profile{1, 1, 1, 4, 0, 0, 0, 0} << -1;
    QTest::newRow("Moore etching") << mooreEtching(1, 2) << 3u << "Moore film deposition"
                                   << Profile{1, 0, 0, 0, 0, 0, 0, 0} << -1;
    // PVD runs under the name of the isotropic deposition.
    QTest::newRow("PVD") << pvd(2.0f, 4) << 3u << "Isotropic Deposition"
                         << Profile{1, 1, 1, 4, 4, 0, 0, 0} << 0;
    QTest::newRow("PVD of silicon")
        << pvd(1.0f, 1) << 3u << "Isotropic Deposition" << Profile{1, 1, 1, 1, 0, 0, 0, 0} << 1;
    QTest::newRow("doping") << doping(2.0f, 14) << 3u << "Doping"
                            << Profile{1, 14, 14, 0, 0, 0, 0, 0} << 1;
    // Depth 2.9 etches whole steps: 2.
    QTest::newRow("RIE from the top")
        << rie(2.9, 1) << 3u << "Simple RIE" << Profile{1, 0, 0, 0, 0, 0, 0, 0} << -1;
    QTest::newRow("spin coating") << spinCoating(13, 5) << 3u << "Spin Coating"
                                  << Profile{1, 1, 1, 13, 13, 0, 0, 0} << 0;
    // Without annealing, the second cell from the top of each column.
    QTest::newRow("ion implantation") << implantation(0.0f, 2.0f, 15) << 3u << "Ion Implantation"
                                      << Profile{1, 15, 1, 0, 0, 0, 0, 0} << 1;
    // 0.05 um at 100 cell units per micron: X = 5. Silicon converts where (0.3 X)^2 = 2.25 >
    // d^2 (d = 0, 1: layers 4, 3), space where d < 0.56 X = 2.8 (d = 1, 2: layers 5, 6).
    // Handed over unconverted, 0.05 would be thinner than a cell and change nothing.
    QTest::newRow("oxidation, microns") << oxidation(100.0, 0.05) << 5u << "Simple Si Oxidation"
                                        << Profile{1, 1, 1, 3, 3, 3, 3, 0, 0, 0} << 1;
    QTest::newRow("oxidation, no conversion: one unit per micron")
        << oxidation(0, 5.0) << 5u << "Simple Si Oxidation" << Profile{1, 1, 1, 3, 3, 3, 3, 0, 0, 0}
        << -1;
    // 2 h, 1273 K, 1 atm, 100 units per micron: X = 10.5457 (see the worker's test): 4 layers
    // of silicon and 5 of space.
    QTest::newRow("oxidation for a time")
        << oxidation(100.0, 0, 2.0, 1.0, 1273.0) << 6u << "Simple Si Oxidation"
        << Profile{1, 1, 3, 3, 3, 3, 3, 3, 3, 3, 3, 0, 0, 0} << -1;
}

void TestProcessOperations::stepsChangeTheCellsAndKeepHistory()
{
    QFETCH(Step, step);
    QFETCH(quint32, level);
    QFETCH(QString, name);
    QFETCH(Profile, profile);
    QFETCH(int, stale);
    WorkspaceFixture f;
    // A step on another volume first: its history entry must survive this one's undo and redo.
    TotalVolume::Ptr other = f.addLayered(2, 6);
    run(f, other, isotropicDeposition(1.0f, 4));
    const std::vector<quint32> otherDeposited = cellsOf(other);
    f.recorder->messages.clear();
    TotalVolume::Ptr v = f.addLayered(level, profile.isEmpty() ? 10u : quint32(profile.size()));
    f.workspace.getVolumeRecords().setLatticeStale(v->getId(), false);
    const std::vector<quint32> before = cellsOf(v);
    run(f, v, step);
    // Oxidation first says what thickness it grows.
    QStringList messages = f.recorder->messages;
    if (name == QLatin1String("Simple Si Oxidation") && messages.size() == 3 &&
        messages[1].startsWith(name + QLatin1String(": Oxide thickness ")))
        messages.removeAt(1);
    QCOMPARE(messages,
             (QStringList{name + ": Cell volume selected.", name + ": Operation finished."}));
    QVERIFY(!f.workspace.getCurrentOperation());
    QVERIFY(!f.workspace.getConsoleInput().isEnterRequested());
    for (quint32 x = 0; x < 6; ++x)
        for (quint32 y = 0; y < 5; ++y)
            for (quint32 z = 0; z < quint32(profile.size()); ++z)
                QCOMPARE(cellAt(v, x, y, z), quint32(profile[int(z)]));
    if (stale >= 0)
        QCOMPARE(f.workspace.getVolumeRecords().isLatticeStale(v->getId()), stale == 1);
    const std::vector<quint32> after = cellsOf(v);
    QVERIFY(after != before);
    bool siliconChanged = false;
    for (size_t i = 0; i < after.size(); ++i)
        siliconChanged = siliconChanged || (before[i] == 1) != (after[i] == 1);

    QCOMPARE(f.workspace.getHistory().undoCount(), 2);
    QCOMPARE(QString::fromStdString(f.workspace.getHistory().undoTopName()), name);
    const VolumeProcessRecord &records = f.workspace.getVolumeRecords();
    f.workspace.getVolumeRecords().setLatticeStale(v->getId(), false);
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == before);
    QCOMPARE(records.isLatticeStale(v->getId()), siliconChanged);
    f.workspace.getVolumeRecords().setLatticeStale(v->getId(), false);
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(cellsOf(v) == after);
    QCOMPARE(records.isLatticeStale(v->getId()), siliconChanged);
    QVERIFY(cellsOf(other) == otherDeposited);
    // The other volume's step is still there, under this one.
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(f.workspace.getHistory().undo());
    QVERIFY(cellsOf(v) == before);
    QCOMPARE(count(other, 4), quint64(0));
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(f.workspace.getHistory().redo());
    QVERIFY(cellsOf(other) == otherDeposited);
    QVERIFY(cellsOf(v) == after);
}

void TestProcessOperations::incompleteOrRefusedInputsCancel_data()
{
    QTest::addColumn<Step>("step");
    QTest::addColumn<QString>("message"); // the start of the last message
    QTest::newRow("Moore dialog rejected")
        << answering<MooreNeighborhoodDepositionOperation>(18, [](auto *op) { op->cancel(); })
        << "Moore film deposition: Operation canceled.";
    // A thickness that is not a number: the worker refuses.
    QTest::newRow("deposition refused")
        << isotropicDeposition(std::numeric_limits<float>::quiet_NaN(), 3)
        << "Isotropic Deposition: Operation failed:";
    QTest::newRow("doping without material") << answering<DopingOperation>(17, [](auto *op) {
        op->setDepth(2.0f);
        op->end();
    }) << "Doping: Operation canceled.";
    QTest::newRow("implantation without annealing distance")
        << answering<IonImplantationOperation>(3,
                                               [](auto *op) {
                                                   op->setImplantationDepth(2.0f);
                                                   op->setMaterial(15);
                                                   op->end();
                                               })
        << "Ion Implantation: Operation Canceled!";
    // The volume and the dialog count two inputs; PVD needs one value more.
    QTest::newRow("PVD without values")
        << answering<AnisotropicFilmDepositionOperation>(27, [](auto *op) { op->end(); })
        << "Isotropic Deposition: Operation canceled.";
    QTest::newRow("electroplating without materials")
        << answering<ElectrodepositionOperation>(15,
                                                 [](auto *op) {
                                                     op->setThickness(1.0f);
                                                     op->end();
                                                 })
        << "Electroplating: Operation canceled.";
    QTest::newRow("photolithography without material")
        << photolithography([](auto *op) { op->end(); }) << "Photolithography: Operation Canceled!";
}

void TestProcessOperations::incompleteOrRefusedInputsCancel()
{
    QFETCH(Step, step);
    QFETCH(QString, message);
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered();
    setCell(v, 2, 2, 3, 5); // copper, for the electroplating
    const std::vector<quint32> before = cellsOf(v);
    run(f, v, step);
    QVERIFY2(f.recorder->last().startsWith(message), qPrintable(f.recorder->last()));
    QVERIFY(cellsOf(v) == before);
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
    QVERIFY(!f.workspace.getCurrentOperation());
}

void TestProcessOperations::depositionAsksForVolumeFirst()
{
    WorkspaceFixture f;
    TotalVolume::Ptr a = f.addLayered();
    TotalVolume::Ptr b = f.addLayered();
    TotalVolume::Ptr used;
    offer<IsotropicFilmDepositionOperation>(f, 13, [&used](IsotropicFilmDepositionOperation *op) {
        QCOMPARE(op->getInputCount(), 2);
        used = op->getVolume();
    });
    f.workspace.startOperation(13);
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Isotropic Deposition: Select a cell volume and press Enter/Return."));
    QVERIFY(f.workspace.getSelection().isSelectionMode());
    f.type(""); // Enter with nothing selected asks again
    QVERIFY(!used);
    f.pick(a);
    f.pick(b);
    f.type("");
    QCOMPARE(used, b); // of two selected, the last
    QVERIFY(!f.workspace.getSelection().isSelectionMode());
}

void TestProcessOperations::rejectedDialogLeavesOperationWaiting()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered();
    run(f, v, answering<IsotropicFilmDepositionOperation>(13, [](auto *) {}));
    QVERIFY(f.workspace.getCurrentOperation());
    f.workspace.getCurrentOperation()->end(); // only the volume: not enough inputs
    QCOMPARE(f.recorder->last(), QStringLiteral("Isotropic Deposition: Operation canceled."));
    QVERIFY(!f.workspace.getCurrentOperation());
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
}

void TestProcessOperations::sharedRecordTagKeepsTwoStates()
{
    // An isotropic deposition and a PVD share the record tag "IsotropicDeposition": each must
    // still find its own records.
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered(3, 10);
    const std::vector<quint32> s0 = cellsOf(v);
    run(f, v, isotropicDeposition(1.0f, 3));
    const std::vector<quint32> s1 = cellsOf(v);
    run(f, v, pvd(2.0f, 4));
    for (quint32 z = 0; z < 10; ++z)
        QCOMPARE(cellAt(v, 3, 2, z), z < 3 ? 1u : (z < 4 ? 3u : (z < 6 ? 4u : 0u)));
    QCOMPARE(f.workspace.getHistory().undoCount(), 2);
    checkHistoryWalk(f.workspace, v, {s0, s1, cellsOf(v)});
}

void TestProcessOperations::electroplating_data()
{
    QTest::addColumn<quint32>("material");
    QTest::newRow("gold") << 9u;
    QTest::newRow("even silicon") << 1u;
}

void TestProcessOperations::electroplating()
{
    QFETCH(quint32, material);
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered();
    setCell(v, 2, 2, 3, 5); // a copper cell on the silicon
    f.workspace.getVolumeRecords().setLatticeStale(v->getId(), false);
    const std::vector<quint32> before = cellsOf(v);
    run(f, v, plating(1.0f, material, 5));
    QCOMPARE(f.recorder->last(), QStringLiteral("Electroplating: Operation finished."));
    // The face neighbours of the copper cell that are empty: four beside it and one above.
    for (const auto &p :
         {std::make_tuple(1u, 2u, 3u), std::make_tuple(3u, 2u, 3u), std::make_tuple(2u, 1u, 3u),
          std::make_tuple(2u, 3u, 3u), std::make_tuple(2u, 2u, 4u)})
        QCOMPARE(cellAt(v, std::get<0>(p), std::get<1>(p), std::get<2>(p)), material);
    QCOMPARE(count(v, material), quint64(material == 1 ? 6 * 5 * 3 + 5 : 5));
    // Plated silicon is new silicon: the lattice must be rebuilt before a wet etch.
    QCOMPARE(f.workspace.getVolumeRecords().isLatticeStale(v->getId()), material == 1);
    QCOMPARE(QString::fromStdString(f.workspace.getHistory().undoTopName()),
             QStringLiteral("Electroplating"));
    checkHistoryWalk(f.workspace, v, {before, cellsOf(v)});
}

void TestProcessOperations::rieDirections()
{
    WorkspaceFixture f;
    SimpleReactiveIonEtchingOperation op(f.workspace);
    QCOMPARE(int(op.getDirection()), 1);
    op.setEtchFromBelow(true);
    QCOMPARE(int(op.getDirection()), 3);
    op.setEtchFromTop(false);
    QCOMPARE(int(op.getDirection()), 2);
    op.setEtchFromBelow(false);
    QCOMPARE(int(op.getDirection()), 0);
}

void TestProcessOperations::pvdDefaultsNeedOneValue()
{
    // The volume and the dialog count two; one value makes three. The others keep their
    // defaults (ratio 0.5, on top); the thickness 0 deposits nothing.
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered();
    AnisotropicFilmDepositionOperation probe(f.workspace);
    QCOMPARE(probe.getId(), 13u);
    QCOMPARE(probe.getRatio(), 0.5f);
    QCOMPARE(probe.getDepositOn(), 1u);
    run(f, v, answering<AnisotropicFilmDepositionOperation>(27, [](auto *op) {
            op->setMaterial(4);
            op->end();
        }));
    QCOMPARE(f.recorder->messages.mid(f.recorder->messages.size() - 2),
             (QStringList{"Isotropic Deposition: no cell changed.",
                          "Isotropic Deposition: Operation finished."}));
    QCOMPARE(count(v, 4), quint64(0));
}

void TestProcessOperations::oxidationWithoutValidThicknessSaysSo_data()
{
    QTest::addColumn<double>("temperature");
    QTest::addColumn<double>("pressure");
    QTest::newRow("no pressure") << 1273.0 << 0.0;
    QTest::newRow("no temperature") << 0.0 << 1.0;
}

void TestProcessOperations::oxidationWithoutValidThicknessSaysSo()
{
    QFETCH(double, temperature);
    QFETCH(double, pressure);
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered(5, 10);
    const std::vector<quint32> before = cellsOf(v);
    run(f, v, answering<SimpleSiOxidationOperation>(26, [=](SimpleSiOxidationOperation *op) {
            op->setConversion(100.0);
            op->setTime(2.0);
            op->setPressure(pressure);
            op->setTemperature(temperature);
            op->end();
        }));
    QCOMPARE(f.recorder->messages.size(), 4);
    QVERIFY2(f.recorder->messages[1].startsWith(
                 QLatin1String("Simple Si Oxidation: No oxide could be computed for ")),
             qPrintable(f.recorder->messages[1]));
    QCOMPARE(f.recorder->messages[2], QStringLiteral("Simple Si Oxidation: no cell changed."));
    QCOMPARE(f.recorder->messages[3], QStringLiteral("Simple Si Oxidation: Operation finished."));
    QVERIFY(cellsOf(v) == before);
}

void TestProcessOperations::oxidationEndWithoutValuesWaitsSilently()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered();
    run(f, v, answering<SimpleSiOxidationOperation>(26, [](SimpleSiOxidationOperation *op) {
            op->setConversion(100.0);
            op->setPressure(1.0);
            op->end(); // neither a time nor a thickness
        }));
    QCOMPARE(f.recorder->last(), QStringLiteral("Simple Si Oxidation: Cell volume selected."));
    QVERIFY(f.workspace.getCurrentOperation()); // still waiting; Escape cancels it
    f.workspace.cancelCurrentOperation();
    QCOMPARE(f.recorder->last(), QStringLiteral("Simple Si Oxidation: Operation canceled."));
}

void TestProcessOperations::oxidationClassObserverOpensTheDialog()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered();
    int asked = 0;
    SimpleSiOxidationOperation::setClassObserver(
        Util::ObserverPtr(new CallbackObserver([&asked]() { ++asked; })));
    offerPlain<SimpleSiOxidationOperation>(f, 26);
    f.pick(v);
    f.workspace.startOperation(26);
    QCOMPARE(asked, 1);
    SimpleSiOxidationOperation::setClassObserver(Util::ObserverPtr());
}

void TestProcessOperations::photolithographyMasksAndCleanup()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered(5, 8, 11); // a positive resist film ...
    for (quint32 x = 0; x < 6; ++x)
        for (quint32 y = 0; y < 5; ++y)
            for (quint32 z = 0; z < 3; ++z)
                setCell(v, x, y, z, 1); // ... on z = 3, 4, over silicon
    QSize shown;
    run(f, v, photolithography([v, &shown](PhotolithographyOperation *op) {
            std::vector<bool> mask(6 * 5, false);
            for (quint32 y = 0; y < 5; ++y)
                mask[0 * 5 + y] = true; // column x = 0 shielded
            op->setTopMask(mask, 6, 5);
            shown = topMaskSize(v); // shown on the volume at once
            op->setMaterial(11);
            op->end();
        }));
    QCOMPARE(shown, QSize(6, 5));
    QCOMPARE(f.recorder->last(), QStringLiteral("Photolithography: Operation finished."));
    QCOMPARE(count(v, 11), quint64(1 * 5 * 2)); // only the shielded column keeps its resist
    QCOMPARE(cellAt(v, 0, 3, 4), 11u);
    QCOMPARE(topMaskSize(v), QSize(0, 0));
    QCOMPARE(f.workspace.getHistory().undoCount(), 1);
}

void TestProcessOperations::cancelledPhotolithographyTakesItsMasksBack()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered();
    run(f, v, photolithography([](PhotolithographyOperation *op) {
            op->setTopMask(std::vector<bool>(30, true), 6, 5);
            op->cancel(); // the dialog was rejected
        }));
    QCOMPARE(topMaskSize(v), QSize(0, 0));
    QVERIFY(v->getTopMask().empty());
    QCOMPARE(f.recorder->last(), QStringLiteral("Photolithography: Operation Canceled!"));
    QVERIFY(!f.workspace.getCurrentOperation());
}

void TestProcessOperations::planarizationAfterPouring()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered();
    run(f, v, spinCoating(13, 5)); // layers 3 and 4 poured
    f.workspace.getVolumeRecords().setLatticeStale(v->getId(), false);
    run(f, v, planarization(4, 1));
    for (quint32 z = 0; z < 8; ++z)
        QCOMPARE(cellAt(v, 3, 2, z), z == 0 || z > 3 ? 0u : (z < 3 ? 1u : 13u));
    QCOMPARE(count(v, 1), quint64(6 * 5 * 2));
    QCOMPARE(count(v, 13), quint64(6 * 5 * 1));
    QVERIFY(f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
    QCOMPARE(f.workspace.getHistory().undoCount(), 2);
    // The cancel texts differ.
    f.workspace.startOperation(22);
    f.workspace.cancelCurrentOperation();
    QCOMPARE(f.recorder->last(), QStringLiteral("Planarization: Operation canceled!"));
}

void TestProcessOperations::wetEtchingReusesTheCrystal()
{
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered(6, 10);
    const auto etchLogs = [&](double depth) {
        WorkerTest::DebugCapture capture;
        run(f, v, wetEtching(depth));
        QStringList lines;
        for (const WorkerTest::DebugCapture::Message &m : capture.messages())
            for (const char *prefix :
                 {"Time to allocate Si structure ", "Total time to allocate and run ",
                  "Time to build rendered structrure "})
                if (m.text.startsWith(QLatin1String(prefix)))
                    lines.append(QLatin1String(prefix));
        return lines;
    };
    QCOMPARE(etchLogs(0.5),
             (QStringList{"Time to allocate Si structure ", "Total time to allocate and run ",
                          "Time to build rendered structrure "}));
    QVERIFY(!f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
    const Model::Automaton::SiLattice *crystal = v->getSiLattice().get();
    QCOMPARE(etchLogs(0.5), (QStringList{"Total time to allocate and run ",
                                         "Time to build rendered structrure "}));
    QCOMPARE(v->getSiLattice().get(), crystal);
    QCOMPARE(f.recorder->last(), QStringLiteral("BCA Wet Etch: Operation finished."));
    // Silicon deposited since: a new crystal.
    run(f, v, isotropicDeposition(1.0f, 1));
    QVERIFY(f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
    QCOMPARE(etchLogs(0.25).size(), 3);
    // One unit is four atomic layers: the top row of cells, away from the sides, which the
    // outside of the volume holds like a mask.
    QCOMPARE(cellAt(v, 3, 2, 6), 1u);
    run(f, v, wetEtching(1.0));
    QCOMPARE(cellAt(v, 3, 2, 6), 0u);
    QCOMPARE(cellAt(v, 3, 2, 5), 1u);
    QCOMPARE(f.workspace.getHistory().undoCount(), 5);
}

void TestProcessOperations::wetEtchingTakesTheOnlyVolume()
{
    WorkspaceFixture f;
    TotalVolume::Ptr only = f.addLayered();
    TotalVolume::Ptr used;
    wetEtching(1.0).offer(f);
    offer<AtomisticSiWetEtchingOperation>(
        f, 28, [&used](AtomisticSiWetEtchingOperation *op) { used = op->getVolume(); });
    // Nothing selected, one object in the scene: that one.
    f.workspace.startOperation(28);
    QCOMPARE(used, only);
    QCOMPARE(f.recorder->last(), QStringLiteral("BCA Wet Etch: Cell volume selected."));
    // Rejected options: the operation waits until it is cancelled.
    QVERIFY(f.workspace.getCurrentOperation());
    f.workspace.cancelCurrentOperation();
    QVERIFY(!f.workspace.getCurrentOperation());
    // Two objects and none selected: it asks; of two selected, the first is taken.
    used.reset();
    TotalVolume::Ptr second = f.addLayered();
    f.workspace.startOperation(28);
    QVERIFY(!used);
    QCOMPARE(f.recorder->last(),
             QStringLiteral("BCA Wet Etch: Select a cell volume and press Enter/Return."));
    f.pick(second);
    f.pick(only);
    f.type("");
    QCOMPARE(used, second);
}

void TestProcessOperations::continuousWetEtchingCarriesOnWithTheCrystal()
{
    // After the atomistic etch the crystal fits the cells: no new one is built.
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered(6, 10);
    run(f, v, wetEtching(0.5));
    const Model::Automaton::SiLattice *crystal = v->getSiLattice().get();
    {
        WorkerTest::DebugCapture capture;
        run(f, v, continuousWetEtching(0.5));
        QVERIFY(capture.find(QStringLiteral("Time to allocate Si structure ")).text.isEmpty());
        QVERIFY(!capture.find(QStringLiteral("Unexpected configurations found: ")).text.isEmpty());
    }
    QCOMPARE(v->getSiLattice().get(), crystal);
    QCOMPARE(f.recorder->last(), QStringLiteral("Continuous Wet Etch: Operation finished."));
    QCOMPARE(f.workspace.getHistory().undoCount(), 2);
    QVERIFY(!f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
}

void TestProcessOperations::crystalOnViewFollowsTheCells()
{
    // While the atoms are shown, undo, redo and other steps leave no atom where the cells hold
    // no silicon and no silicon cell without its atoms.
    WorkspaceFixture f;
    TotalVolume::Ptr v = f.addLayered(6, 10);
    v->getPainter().setRenderSiAtoms(true);
    const quint64 whole = freshAtoms(v);
    run(f, v, wetEtching(0.5)); // two atomic layers: atoms gone, no cell emptied
    QVERIFY(presentAtoms(v).first < whole);
    QVERIFY(f.workspace.getHistory().undo());
    QCOMPARE(presentAtoms(v), std::make_pair(whole, quint64(0)));
    QVERIFY(f.workspace.getHistory().redo());
    run(f, v, isotropicEtching(2.0f, 1)); // empties whole layers of silicon
    QVERIFY(count(v, 1) < quint64(6 * 5 * 6));
    QCOMPARE(presentAtoms(v), std::make_pair(freshAtoms(v), quint64(0)));
    QVERIFY(!f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
    QVERIFY(f.workspace.getHistory().undo());
    QCOMPARE(presentAtoms(v).second, quint64(0));
    // An etch cancelled after its first step puts the cells and the atoms back.
    f.workspace.setStepRunner(
        [](const std::string &, Util::Progress &progress, bool, const std::function<void()> &work) {
            progress.cancelWhenDone(1);
            Util::Progress::Scope scope(&progress);
            work();
        });
    run(f, v, wetEtching(1.0));
    QCOMPARE(f.recorder->last(), QStringLiteral("BCA Wet Etch: Operation Canceled!"));
    QCOMPARE(presentAtoms(v), std::make_pair(freshAtoms(v), quint64(0)));
    f.workspace.setStepRunner(Workspace::StepRunner());
    // Not on view: only marked for the next etch.
    v->getPainter().setRenderSiAtoms(false);
    const Model::Automaton::SiLattice *crystal = v->getSiLattice().get();
    QVERIFY(f.workspace.getHistory().redo());
    QCOMPARE(v->getSiLattice().get(), crystal);
    QVERIFY(f.workspace.getVolumeRecords().isLatticeStale(v->getId()));
}

CELVANE_TEST_MAIN(TestProcessOperations)
#include "tst_processoperations.moc"
