#include "UI/BatchRun/parameteroverride.h"
#include "UI/BatchRun/processlistarchiver.h"
#include "testmain.h"

using Ui::ParameterOverride;
using Ui::ProcessData;

/// The parameter types --set converts to, against the lists the batch dialog saved.
class TestParameterOverride : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typesAreThoseOfSavedLists_data();
    void typesAreThoseOfSavedLists();
    void replacesOneValueOfOneStep();
};

void TestParameterOverride::typesAreThoseOfSavedLists_data()
{
    QTest::addColumn<QString>("file");
    for (const char *name : {"cantilever.plst", "membrane.plst", "sweeps/pit.plst"})
        QTest::newRow(name) << QStringLiteral(CELVANE_SOURCE_DIR "/examples/") + name;
}

void TestParameterOverride::typesAreThoseOfSavedLists()
{
    QFETCH(QString, file);
    QList<ProcessData> list;
    QVERIFY(Ui::ProcessListArchiver().loadProcessList(file, list));
    for (const ProcessData &step : list) {
        const QMap<QString, QVariant> &parameters = step.getParameters();
        for (auto it = parameters.constBegin(); it != parameters.constEnd(); ++it)
            QVERIFY2(ParameterOverride::parameterType(step.getProcessType(), it.key()) ==
                         Ui::ProcessListArchiver::parameterType(it.value()),
                     qPrintable(QString::number(step.getProcessType()) + ": " + it.key()));
    }
}

void TestParameterOverride::replacesOneValueOfOneStep()
{
    QList<ProcessData> list{ProcessData(5), ProcessData(5)};
    list[0].addParameter(QStringLiteral("Depth"), 2.0, true);
    list[1].addParameter(QStringLiteral("Depth"), 2.0, false);
    ParameterOverride o;
    QString reason;
    QVERIFY(ParameterOverride::parse(QStringLiteral("2:Depth=0.25"), &o, &reason));
    QVERIFY(o.apply(list, &reason));
    QCOMPARE(list[0].getParameter(QStringLiteral("Depth")), QVariant(2.0));
    QCOMPARE(list[1].getParameter(QStringLiteral("Depth")), QVariant(0.25));
    QVERIFY(!list[1].isVisible(QStringLiteral("Depth")));
    // A failed override leaves the list as it was.
    QVERIFY(ParameterOverride::parse(QStringLiteral("1:MaterialId=-3"), &o, &reason));
    QVERIFY(!o.apply(list, &reason));
    QVERIFY(!list[0].getParameters().contains(QStringLiteral("MaterialId")));
}

CELVANE_TEST_MAIN(TestParameterOverride)
#include "tst_parameteroverride.moc"
