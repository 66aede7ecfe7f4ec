#include "Core/Operations/Isotropic/isotropicfilmetching.h"
#include "Core/Operations/ModelExtraction/runmodelextraction.h"
#include "Core/Operations/Photolithography/photolithography.h"
#include "Core/Operations/Planarization/spincoating.h"
#include "Core/Operations/ReactiveIonEtching/simplereactiveionetching.h"
#include "Core/Operations/substratebuilder.h"
#include "Model/Materials/materialfactory.h"
#include "Model/ModelExtraction/cantileverstructure.h"
#include "testmain.h"
#include "workspacetestutil.h"

using namespace Core::Operations;
using Model::Automaton::TotalVolume;
using Model::ModelExtraction::RectangularCuboidEnvelope;

namespace {

const quint32 silicon = 1, oxide = 3, resist = 11, poly = 16;
const quint32 cx = 24, cy = 8, cz = 12;

void pour(const TotalVolume::Ptr &v, quint32 material, quint32 height)
{
    QVERIFY(SpinCoating(v.get(), material, height).runSpinCoating());
}

void etchFromTop(const TotalVolume::Ptr &v, quint32 material, quint32 steps)
{
    QVERIFY(SimpleReactiveIonEtching(v.get(), material, steps, SimpleReactiveIonEtching::FromTop)
                .runEtching());
}

/// Resist over everything, developed where shielded(x, y) is false, the film etched there
/// and the resist stripped.
void pattern(const TotalVolume::Ptr &v, quint32 resistTop, quint32 film, quint32 steps,
             const std::function<bool(quint32, quint32)> &shielded)
{
    pour(v, resist, resistTop);
    std::vector<bool> mask(size_t(cx) * cy);
    for (quint32 x = 0; x < cx; ++x)
        for (quint32 y = 0; y < cy; ++y)
            mask[size_t(x) * cy + y] = shielded(x, y);
    QVERIFY(Photolithography(v.get(), resist, {}, 0, 0, mask, cx, cy).run());
    etchFromTop(v, film, steps);
    etchFromTop(v, resist, 1);
}

/// A poly-Si cantilever over a released gap, made as in a clean room: a silicon wafer (4 cells),
/// a sacrificial oxide (2) opened where the anchor goes (x < 4), poly-Si (2 over the oxide)
/// patterned to a beam 4 wide (2 <= y < 6) and 20 long, and the oxide etched away.
TotalVolume::Ptr surfaceMicromachinedCantilever()
{
    SubstrateBuilder wafer(silicon, cx, cy, cz, Util::Vector3D());
    wafer.setBox(0, 0, 0, cx, cy, 4);
    TotalVolume::Ptr v = wafer.build();
    pour(v, oxide, 6);
    pattern(v, 7, oxide, 2, [](quint32 x, quint32) { return x >= 4; });
    pour(v, poly, 8);
    pattern(v, 9, poly, 4, [](quint32 x, quint32 y) { return x < 20 && y >= 2 && y < 6; });
    return IsotropicFilmEtching(v.get(), oxide, 30).runEtching() ? v : TotalVolume::Ptr();
}

} // namespace

class TestRunModelExtraction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void processBuiltCantilever();
    void stepsOutOfOrderAreGuarded();
    void cancelRestoresTheScene();
};

void TestRunModelExtraction::processBuiltCantilever()
{
    WorkspaceFixture f;
    const TotalVolume::Ptr v = surfaceMicromachinedCantilever();
    QVERIFY(v);
    f.workspace.getDocument().addObject(v);
    f.workspace.getDocument().setModified(false);
    offerPlain<RunModelExtraction>(f, 1000);
    f.workspace.startOperation(1000);
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Model Extraction: Select a cell volume and press Enter/Return."));
    f.pick(v);
    f.type("");
    QCOMPARE(f.recorder->last(), QStringLiteral("Model Extraction: Cell volume selected."));
    auto op = boost::dynamic_pointer_cast<RunModelExtraction>(f.workspace.getCurrentOperation());
    QVERIFY(op && op->isOpen());

    QVERIFY(op->runPreprocessing());
    QVERIFY(v->getPainter().isSuspended());
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 2);
    QVERIFY(op->runFeatureDetection());
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 3);
    // The released part of the poly-Si: from the anchor's edge (x = 4) to x = 20, 4 wide, 2
    // thick; the rest stands on the anchor.
    const QList<RectangularCuboidEnvelope::Ptr> beams = op->getDetectedModel()->getEnvelopes();
    QCOMPARE(beams.size(), 1);
    QCOMPARE((std::vector<quint32>{beams[0]->x, beams[0]->y, beams[0]->z, beams[0]->sizeX,
                                   beams[0]->sizeY, beams[0]->sizeZ, beams[0]->material}),
             (std::vector<quint32>{4, 2, 6, 16, 4, 2, poly}));
    QCOMPARE(op->getDetectedModel()->getOffset(), Util::Vector4D(cx + 10, 0, 0, 0));

    // By hand: M = 16 x 4 x 2 cells x V x density x 33/140; K = 3 E (4 x 2^3 / 12) / 16^3.
    const Model::Materials::Material p =
        Model::Materials::MaterialFactory::instance()->getMaterial(poly);
    const double mass = 128 * 2.00129819772e-17 * double(p.getDensity()) * 33.0 / 140.0;
    const double stiffness = double(p.getYoungModulus()) * 3.0 * (32.0 / 12.0) / 4096.0;
    const QString expected =
        QStringLiteral("Model extracted by Celvane\nc1 1 0 %1 \nl1 1 0 %2 \n.end \n")
            .arg(QString::number(mass, 'g', 6))
            .arg(QString::number(1 / stiffness, 'g', 6));
    QCOMPARE(op->prepareNetlist(), expected);
    WorkingDirectory dir;
    QVERIFY(RunModelExtraction::writeNetlist(dir.path() + "/beam.cir", expected));
    QFile written(dir.path() + "/beam.cir");
    QVERIFY(written.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(QString::fromLocal8Bit(written.readAll()), expected);

    // Closing the dialog ends it: the models leave, the volume shows, nothing was modified.
    op->end();
    QCOMPARE(f.recorder->last(), QStringLiteral("Model Extraction: Model extracted."));
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 1);
    QVERIFY(!v->getPainter().isSuspended());
    QVERIFY(!f.workspace.getDocument().isModified());
    QVERIFY(!f.workspace.getCurrentOperation());
    QCOMPARE(f.workspace.getHistory().undoCount(), 0);
}

void TestRunModelExtraction::stepsOutOfOrderAreGuarded()
{
    WorkspaceFixture f;
    const TotalVolume::Ptr v = f.addVolume(4, 2, 2, 2);
    f.pick(v);
    boost::shared_ptr<RunModelExtraction> op(new RunModelExtraction(f.workspace));
    op->execute();
    QVERIFY(op->isOpen());
    QVERIFY(!op->runFeatureDetection());
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Model Extraction: Run step 1 (Preprocessing) first."));
    QVERIFY(op->prepareNetlist().isEmpty());
    QCOMPARE(f.recorder->last(),
             QStringLiteral("Model Extraction: Run step 2 (Feature Detection) first."));
    // Steps run twice replace what they showed; a block with no beam gives no netlist.
    for (int i = 0; i < 2; ++i) {
        QVERIFY(op->runPreprocessing());
        QVERIFY(op->runFeatureDetection());
        QVERIFY(op->runFeatureDetection());
        QCOMPARE(f.workspace.getDocument().getObjects().size(), 3);
    }
    QVERIFY(op->runPreprocessing()); // starts over: the beams of the former boxes go too
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 2);
    QVERIFY(op->runFeatureDetection());
    QVERIFY(op->prepareNetlist().isEmpty());
}

void TestRunModelExtraction::cancelRestoresTheScene()
{
    WorkspaceFixture f;
    const TotalVolume::Ptr v = f.addVolume(4, 2, 2, 2);
    f.workspace.getDocument().setModified(false);
    offerPlain<RunModelExtraction>(f, 1000);
    f.pick(v);
    f.workspace.startOperation(1000);
    auto op = boost::dynamic_pointer_cast<RunModelExtraction>(f.workspace.getCurrentOperation());
    QVERIFY(op && op->runPreprocessing());
    f.workspace.cancelCurrentOperation(); // Escape
    QCOMPARE(f.recorder->last(), QStringLiteral("Model Extraction: Operation canceled."));
    QCOMPARE(f.workspace.getDocument().getObjects().size(), 1);
    QVERIFY(!v->getPainter().isSuspended());
    QVERIFY(!f.workspace.getDocument().isModified());
    QVERIFY(!op->isOpen());
    op->end(); // the dialog's closing afterwards changes nothing
    QCOMPARE(f.recorder->last(), QStringLiteral("Model Extraction: Operation canceled."));
}

CELVANE_TEST_MAIN(TestRunModelExtraction)
#include "tst_runmodelextraction.moc"
