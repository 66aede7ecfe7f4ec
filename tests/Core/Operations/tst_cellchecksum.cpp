#include "Core/Operations/cellchecksum.h"
#include "testmain.h"
#include "workertestutil.h"

using Core::Operations::CellChecksum;
using namespace WorkerTest;

class TestCellChecksum : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameForAnyThreadCount_data() { threadRows({1, 2, 3, 5}); }
    void sameForAnyThreadCount();
    void seesEveryKindOfChange();
};

void TestCellChecksum::sameForAnyThreadCount()
{
    QFETCH(int, threads);
    const TotalVolume::Ptr volume = makeVolume(40, 9, 14, mixedStructure);
    // The sum of the per-cell hashes, worked out cell by cell.
    quint64 expected = 0;
    const std::vector<quint32> ids = materials(*volume);
    for (size_t i = 0; i < ids.size(); ++i)
        expected += CellChecksum::cellHash(i, ids[i]);
    ThreadCount count(threads);
    QCOMPARE(CellChecksum::ofMaterials(*volume), expected);
}

void TestCellChecksum::seesEveryKindOfChange()
{
    const TotalVolume::Ptr volume = makeVolume(
        12, 3, 4, [](quint32 x, quint32, quint32 z) { return z < 2 ? (x < 6 ? 1u : 2u) : 0u; });
    const quint64 original = CellChecksum::ofMaterials(*volume);
    QCOMPARE(CellChecksum::ofMaterials(*volume), original); // reading changes nothing
    Voxel *cells = volume->lockCells();
    const quint64 a = volume->getCellIndex(5, 1, 0), b = volume->getCellIndex(6, 1, 0);
    std::swap(cells[a], cells[b]); // the same materials, in other places
    volume->releaseCells();
    const quint64 swapped = CellChecksum::ofMaterials(*volume);
    QVERIFY(swapped != original);
    cells = volume->lockCells();
    std::swap(cells[a], cells[b]);
    cells[volume->getCellIndex(11, 2, 3)].setMaterial(1); // one cell anywhere
    volume->releaseCells();
    QVERIFY(CellChecksum::ofMaterials(*volume) != original);
}

CELVANE_TEST_MAIN(TestCellChecksum)
#include "tst_cellchecksum.moc"
