#include "Core/Operations/Anisotropic/anisotropicfilmdeposition.h"
#include "Core/Operations/Doping/ionimplantation.h"
#include "Core/Operations/Doping/simpledoping.h"
#include "Core/Operations/Electrodeposition/electrodeposition.h"
#include "Core/Operations/Isotropic/isotropicfilmdeposition.h"
#include "Core/Operations/Isotropic/isotropicfilmetching.h"
#include "Core/Operations/MooreNeighborhood/mooreneighborhooddeposition.h"
#include "Core/Operations/MooreNeighborhood/mooreneighborhoodetching.h"
#include "Core/Operations/Planarization/planarization.h"
#include "Core/Operations/Planarization/spincoating.h"
#include "Core/Operations/ReactiveIonEtching/simplereactiveionetching.h"
#include "Core/Operations/SiOxidation/simplesioxidation.h"
#include "Core/Operations/cellchecksum.h"
#include "bench/pillarvolume.h"
#include "testmain.h"
#include "workertestutil.h"

#include <functional>
#include <map>

using namespace Core::Operations;
using namespace WorkerTest;

namespace {

/// Fingerprints of a run's cells: the materials of both arrays, and materials and tags of both
/// arrays (what later steps, documents and undo records read; `fixed` and `distance` are each
/// run's own scratch).
struct Fingerprint
{
    quint64 materials;
    quint64 fields;
};

Fingerprint fingerprint(TotalVolume &volume)
{
    const Voxel *arrays[2] = {volume.lockCells(), volume.lockNextCells()};
    Fingerprint f{0, 0};
    for (quint64 i = 0; i < volume.getCellCount(); ++i)
        for (int a = 0; a < 2; ++a) {
            const Voxel &cell = arrays[a][i];
            const quint64 key = (i * 2 + quint64(a)) * 8;
            f.materials += CellChecksum::cellHash(key, cell.material);
            f.fields += CellChecksum::cellHash(key, cell.material) ^
                        CellChecksum::cellHash(key + 1, cell.tag);
        }
    volume.releaseNextCells();
    volume.releaseCells();
    return f;
}

/// Leaves what an earlier run might have left in the scratch fields, and lattice counters in
/// the tags: a run must not read a scratch field it did not write, and must keep every tag.
void scribble(TotalVolume &volume)
{
    Voxel *arrays[2] = {volume.lockCells(), volume.lockNextCells()};
    for (quint64 i = 0; i < volume.getCellCount(); ++i) {
        const quint64 h = CellChecksum::cellHash(i, 77);
        for (Voxel *cells : arrays) {
            cells[i].fixed = (h & 1) != 0;
            cells[i].setDistance(float(h >> 8 & 3), 0.0f, float(h >> 12 & 1) * 0.5f);
            cells[i].tag = quint32(h >> 40 & 7);
        }
    }
    volume.releaseNextCells();
    volume.releaseCells();
}

// The catalogue's sets, given explicitly: the test does not read the user's catalogue files.
const MaterialSet siliconLike(QList<quint32>{1, 14, 15, 16});

/// Blobs of silicon, a dopant and two other materials over a silicon floor, on cells that are
/// not cubes.
quint32 blobs(quint32 x, quint32 y, quint32 z)
{
    if (z < 5)
        return 1;
    const quint64 h = CellChecksum::cellHash((x / 3) * 1000003ull + (y / 3) * 1009ull + z / 4, 7);
    switch (h % 9) {
    case 0:
    case 1:
        return 1;
    case 2:
        return 2;
    case 3:
        return 14;
    case 4:
        return 3;
    default:
        return 0;
    }
}

struct Case
{
    const char *volume;
    float thickness; // film, depth or distance in world units
    qint32 steps;    // whole steps of the Moore and column workers
};

typedef std::function<bool(TotalVolume *, const Case &)> Worker;

const std::map<QString, Worker> &workers()
{
    static const std::map<QString, Worker> all = {
        {"isotropic deposition",
         [](TotalVolume *v, const Case &c) {
             return IsotropicFilmDeposition(v, 2, c.thickness).runDeposition();
         }},
        {"isotropic etching",
         [](TotalVolume *v, const Case &c) {
             return IsotropicFilmEtching(v, 1, c.thickness).runEtching();
         }},
        {"oxidation",
         [](TotalVolume *v, const Case &c) {
             return SimpleSiOxidation(v, 1.0, siliconLike).growOxide(c.thickness);
         }},
        {"doping",
         [](TotalVolume *v, const Case &c) {
             return SimpleDoping(v, 14, c.thickness, siliconLike).runDoping();
         }},
        {"implantation",
         [](TotalVolume *v, const Case &c) {
             return IonImplantation(v, 14, c.thickness, 0.6f * c.thickness, siliconLike)
                 .runImplantation();
         }},
        {"directional deposition",
         [](TotalVolume *v, const Case &c) {
             return AnisotropicFilmDeposition(v, 4, c.thickness, 0.5f,
                                              AnisotropicFilmDeposition::OnTopAndBottom)
                 .runDeposition();
         }},
        {"electroplating",
         [](TotalVolume *v, const Case &c) {
             return Electrodeposition(v, 9, 1, c.thickness).runDeposition();
         }},
        {"Moore deposition",
         [](TotalVolume *v, const Case &c) {
             return MooreNeighborhoodDeposition(v, 2, c.steps).runDeposition();
         }},
        {"Moore etching",
         [](TotalVolume *v, const Case &c) {
             return MooreNeighborhoodEtching(v, 1, c.steps).runEtching();
         }},
        {"reactive-ion etching",
         [](TotalVolume *v, const Case &c) {
             return SimpleReactiveIonEtching(v, 1, quint32(c.steps),
                                             SimpleReactiveIonEtching::FromBothSides)
                 .runEtching();
         }},
        {"planarization",
         [](TotalVolume *v, const Case &c) {
             return Planarization(v, v->getCellsZ() - quint32(c.steps), 10).runPlanarization();
         }},
        {"spin coating",
         [](TotalVolume *v, const Case &c) {
             return SpinCoating(v, 5, quint32(2 * c.steps + 5)).runSpinCoating();
         }},
    };
    return all;
}

TotalVolume::Ptr volumeNamed(const QString &name)
{
    if (name == "pillars")
        return makeVolume(PillarVolume::cellsX, PillarVolume::cellsY, PillarVolume::cellsZ,
                          PillarVolume::material);
    if (name == "mixed")
        return makeVolume(40, 9, 14, mixedStructure);
    std::vector<quint32> ids;
    for (quint32 x = 0; x < 57; ++x)
        for (quint32 y = 0; y < 31; ++y)
            for (quint32 z = 0; z < 23; ++z)
                ids.push_back(blobs(x, y, z));
    return TotalVolume::create(57, 31, 23, 1.0f, 0.8f, 1.3f, Util::Vector3D(), ids);
}

/// The fingerprints the workers gave before their fronts were reworked for speed: the rework
/// must not change a single material or tag of a single cell.
struct Reference
{
    const char *worker;
    const char *volume;
    Fingerprint expected;
};

const Reference references[] = {
#include "filmworkerreference.inc"
};

} // namespace

class TestFilmWorkerReference : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameCellsAsBefore_data();
    void sameCellsAsBefore();
};

void TestFilmWorkerReference::sameCellsAsBefore_data()
{
    QTest::addColumn<QString>("worker");
    QTest::addColumn<QString>("volume");
    QTest::addColumn<int>("threads");
    QTest::addColumn<quint64>("materials");
    QTest::addColumn<quint64>("fields");
    for (const Reference &r : references)
        for (int threads : {1, 2, 3})
            QTest::addRow("%s, %s, %d threads", r.worker, r.volume, threads)
                << QString(r.worker) << QString(r.volume) << threads << r.expected.materials
                << r.expected.fields;
}

void TestFilmWorkerReference::sameCellsAsBefore()
{
    QFETCH(QString, worker);
    QFETCH(QString, volume);
    QFETCH(int, threads);
    QFETCH(quint64, materials);
    QFETCH(quint64, fields);
    const Case c = volume == "pillars" ? Case{"pillars", 10.0f, 10}
                   : volume == "mixed" ? Case{"mixed", 3.5f, 3}
                                       : Case{"blobs", 4.2f, 4};
    TotalVolume::Ptr v = volumeNamed(volume);
    QVERIFY(v);
    scribble(*v);
    ThreadCount pool(threads);
    QVERIFY(workers().at(worker)(v.get(), c));
    const Fingerprint f = fingerprint(*v);
    if (qEnvironmentVariableIsSet("CELVANE_PRINT_REFERENCE"))
        printf("    {\"%s\", \"%s\", {%lluull, %lluull}},\n", qPrintable(worker),
               qPrintable(volume), (unsigned long long)f.materials, (unsigned long long)f.fields);
    QCOMPARE(f.materials, materials);
    QCOMPARE(f.fields, fields);
}

CELVANE_TEST_MAIN(TestFilmWorkerReference)
#include "tst_filmworkerreference.moc"
