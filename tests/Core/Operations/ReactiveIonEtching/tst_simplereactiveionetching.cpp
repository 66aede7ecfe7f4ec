#include "Core/Operations/ReactiveIonEtching/simplereactiveionetching.h"
#include "testmain.h"
#include "workertestutil.h"

using Core::Operations::SimpleReactiveIonEtching;
using namespace WorkerTest;

namespace {

const quint32 silicon = 1;

// Columns of a 10 x 1 x 10 volume, from z = 0 upwards: 's' silicon, 'm' material 2, '.' empty.
const char *const initialColumns[10] = {
    "ssssss....", // 0: silicon with space above
    "ss........", // 1: a thin film, etched to the bottom
    "ssmsss....", // 2: another material stops the etch
    "ssssssm...", // 3: masked
    "ssssssssss", // 4: reaches the top layer: the outside is not empty
    "ssssssm...", // 5: masked, open sideways to column 6
    "..........", // 6
    "....sss...", // 7: free-standing film
    "sss.......", // 8: on the bottom layer
    "...sssss..", // 9: thicker free-standing film
};

quint32 fromColumns(quint32 x, quint32, quint32 z)
{
    const char c = initialColumns[x][z];
    return c == 's' ? silicon : (c == 'm' ? 2 : 0);
}

QStringList columnsOf(TotalVolume &volume)
{
    QStringList columns;
    const std::vector<quint32> ids = materials(volume);
    for (quint32 x = 0; x < 10; ++x) {
        QString column;
        for (quint32 z = 0; z < 10; ++z) {
            const quint32 id = ids[volume.getCellIndex(x, 0, z)];
            column += QLatin1Char(id == silicon ? 's' : (id == 2 ? 'm' : '.'));
        }
        columns << column;
    }
    return columns;
}

} // namespace

class TestSimpleReactiveIonEtching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void etchesColumnByColumn_data();
    void etchesColumnByColumn();
    void sameCellsWithAnyThreadCount_data() { threadAgreementRows({{5, 5, 5}, {4, 5, 1}}); }
    void sameCellsWithAnyThreadCount();
    void logsSurfaceSizes();
};

void TestSimpleReactiveIonEtching::etchesColumnByColumn_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<quint32>("steps");
    QTest::addColumn<QStringList>("columns");

    QTest::newRow("from the top, 3 steps")
        << 1 << 3u
        << QStringList{"sss.......", "..........", "ssm.......", "ssssssm...", "ssssssssss",
                       "ssssssm...", "..........", "..........", "..........", "...ss....."};
    QTest::newRow("from the top, 5 steps stop at the other material")
        << 1 << 5u
        << QStringList{"s.........", "..........", "ssm.......", "ssssssm...", "ssssssssss",
                       "ssssssm...", "..........", "..........", "..........", ".........."};
    QTest::newRow("from below, 2 steps")
        << 2 << 2u
        << QStringList{"ssssss....", "ss........", "ssmsss....", "ssssssm...", "ssssssssss",
                       "ssssssm...", "..........", "......s...", "sss.......", ".....sss.."};
    QTest::newRow("both sides, 2 steps")
        << 3 << 2u
        << QStringList{"ssss......", "..........", "ssms......", "ssssssm...", "ssssssssss",
                       "ssssssm...", "..........", "..........", "s.........", ".....s...."};
    QStringList unchanged;
    for (const char *column : initialColumns)
        unchanged << QString::fromLatin1(column);
    QTest::newRow("no direction") << 0 << 4u << unchanged;
    QTest::newRow("zero steps") << 3 << 0u << unchanged;
}

void TestSimpleReactiveIonEtching::etchesColumnByColumn()
{
    QFETCH(int, direction);
    QFETCH(quint32, steps);
    QFETCH(QStringList, columns);
    TotalVolume::Ptr v = makeVolume(10, 1, 10, fromColumns);
    QVERIFY(SimpleReactiveIonEtching(v.get(), silicon, steps, quint8(direction)).runEtching());
    QCOMPARE(columnsOf(*v), columns);
    QVERIFY(arraysAgree(*v));
}

void TestSimpleReactiveIonEtching::sameCellsWithAnyThreadCount()
{
    for (quint8 direction : {quint8(1), quint8(2), quint8(3)})
        for (quint32 steps : {2u, 5u})
            checkThreadAgreement(
                [=](TotalVolume *v) { return SimpleReactiveIonEtching(v, 2, steps, direction); },
                [](SimpleReactiveIonEtching &w, QString *e) { return w.runEtching(e); });
}

void TestSimpleReactiveIonEtching::logsSurfaceSizes()
{
    // From the top, the surface holds 6 cells after step 1 (columns 0, 1, 2, 7, 8, 9), 5 after
    // step 2 (column 1 is gone), 2 after step 3 (columns 0 and 9).
    ThreadCount pool(1);
    TotalVolume::Ptr v = makeVolume(10, 1, 10, fromColumns);
    DebugCapture capture;
    SimpleReactiveIonEtching worker(v.get(), silicon, 3, SimpleReactiveIonEtching::FromTop);
    QVERIFY(worker.runEtching());
    QStringList texts;
    for (const DebugCapture::Message &m : capture.messages()) {
        texts << m.text;
        QCOMPARE(m.file,
                 QStringLiteral("Core/Operations/ReactiveIonEtching/simplereactiveionetching.cpp"));
        QVERIFY(m.function.contains(QLatin1String("runPartialEtchingStep")));
    }
    QCOMPARE(texts,
             QStringList({"Surface list size for thread 0: 6", "Surface list size for thread 0: 5",
                          "Surface list size for thread 0: 2"}));
    QCOMPARE(worker.getStepsRun(), 3u);
}

CELVANE_TEST_MAIN(TestSimpleReactiveIonEtching)
#include "tst_simplereactiveionetching.moc"
