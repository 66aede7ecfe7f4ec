#include "Model/Materials/materialfactory.h"
#include "Model/ModelExtraction/cantilevermodelrule.h"
#include "Model/ModelExtraction/cantileverstructure.h"
#include "Model/ModelExtraction/envelopedecomposition.h"
#include "testmain.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>

using Model::Materials::Material;
using Model::Materials::MaterialFactory;
using namespace Model::ModelExtraction;

namespace {

RectangularCuboidEnvelope::Ptr box(quint32 x, quint32 y, quint32 z, quint32 sx, quint32 sy,
                                   quint32 sz, quint32 material)
{
    return RectangularCuboidEnvelope::Ptr(
        new RectangularCuboidEnvelope(x, y, z, sx, sy, sz, material));
}

QString g6(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

class TestCantileverStructure : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void beamOfAluminiumByHand();
    void withoutBeamsOnlyTitleAndEnd();
    void catalogueMaterialsAndMissingModulus();
    void beamsMergeTowardsEitherEnd_data();
    void beamsMergeTowardsEitherEnd();
    void resonanceInNgspice();
};

void TestCantileverStructure::beamOfAluminiumByHand()
{
    // 10 x 2 x 1 cells of material 2: mass 20 cells x V x 2700 x 33/140; stiffness
    // 3 E (b h^3 / 12) / L^3 with L = 10, b = 2, h = 1, E = 7e10: 3.5e7.
    CantileverStructure structure({box(0, 0, 0, 10, 2, 1, 2)});
    const double mass = 20 * 2.00129819772e-17 * 2700 * 33.0 / 140.0;
    const double stiffness = 7e10 * 3 * (2.0 / 12.0) / 1000.0;
    QCOMPARE(stiffness, 3.5e7);
    QCOMPARE(structure.getNetlist(), QStringLiteral("Model extracted by Celvane\nc1 1 0 ") +
                                         g6(mass) + QStringLiteral(" \nl1 1 0 ") +
                                         g6(1 / stiffness) + QStringLiteral(" \n.end \n"));
    QCOMPARE(g6(mass), QStringLiteral("2.54737e-13"));
    QCOMPARE(g6(1 / stiffness), QStringLiteral("2.85714e-08"));
    QVERIFY(structure.getProblems().isEmpty());
}

void TestCantileverStructure::withoutBeamsOnlyTitleAndEnd()
{
    QCOMPARE(CantileverStructure({}).getNetlist(),
             QStringLiteral("Model extracted by Celvane\n.end \n"));
}

void TestCantileverStructure::catalogueMaterialsAndMissingModulus()
{
    // Poly-Si (16) comes from the catalogue; a material without a modulus is left out.
    MaterialFactory::instance()->setMaterial(Material(40, QStringLiteral("Soft"), 1000, 0, 0.3));
    CantileverStructure structure({box(0, 0, 0, 4, 8, 2, 16), box(0, 0, 0, 4, 8, 2, 40)});
    const Material poly = MaterialFactory::instance()->getMaterial(16);
    const double mass = 64 * 2.00129819772e-17 * poly.getDensity() * 33.0 / 140.0;
    const double stiffness = double(poly.getYoungModulus()) * 3 * (4 * 8 / 12.0) / 512.0;
    QCOMPARE(structure.getNetlist(), QStringLiteral("Model extracted by Celvane\nc1 1 0 ") +
                                         g6(mass) + QStringLiteral(" \nl1 1 0 ") +
                                         g6(1 / stiffness) + QStringLiteral(" \n.end \n"));
    QCOMPARE(structure.getProblems(),
             QStringList{"Beam 2 (material 40) has no Young's modulus and is left out of the "
                         "netlist."});
    MaterialFactory::instance()->loadDefaultMaterials();
}

void TestCantileverStructure::beamsMergeTowardsEitherEnd_data()
{
    QTest::addColumn<bool>("anchorAtHighX");
    QTest::newRow("anchor at low x, tip walks down") << false;
    QTest::newRow("anchor at high x, tip walks up") << true;
}

void TestCantileverStructure::beamsMergeTowardsEitherEnd()
{
    // A silicon anchor and a beam of three pieces 2, 3 and 5 long (10 in all) along x, 2 wide
    // and 1 thick, on either side of the anchor.
    QFETCH(bool, anchorAtHighX);
    EnvelopeDecomposition::EnvelopeList list;
    const quint32 lengths[3] = {2, 3, 5};
    quint32 x = anchorAtHighX ? 0 : 3;
    if (!anchorAtHighX)
        list << box(0, 0, 0, 3, 2, 1, 1);
    for (quint32 length : lengths) {
        list << box(x, 0, 0, length, 2, 1, 4);
        x += length;
    }
    if (anchorAtHighX)
        list << box(x, 0, 0, 3, 2, 1, 1);
    EnvelopeDecomposition::link(list);
    CantileverModelRule rule;
    const QList<IStructure::Ptr> structures = rule.apply(ExtractedModel(list));
    QCOMPARE(structures.size(), 1);
    QCOMPARE(rule.getAnchors().size(), 1);
    QCOMPARE(rule.getBeams().size(), 1);
    const RectangularCuboidEnvelope &beam = *rule.getBeams().first();
    QCOMPARE(beam.x, anchorAtHighX ? 0u : 3u);
    QCOMPARE(beam.sizeX, 10u);
    QCOMPARE(beam.sizeY, 2u);
    QCOMPARE(beam.sizeZ, 1u);
    QCOMPARE(beam.material, 4u);
}

void TestCantileverStructure::resonanceInNgspice()
{
    const QString ngspice = QStandardPaths::findExecutable(QStringLiteral("ngspice"));
    if (ngspice.isEmpty())
        QSKIP("ngspice is not installed (tools/setup.sh installs it)");
    // The 10 x 2 x 1 beam: a tank of C = M and L = 1/K resonates at 1 / (2 pi sqrt(LC)).
    CantileverStructure structure({box(0, 0, 0, 10, 2, 1, 2)});
    const double mass = 20 * 2.00129819772e-17 * 2700 * 33.0 / 140.0;
    const double expected = 1.0 / (2 * M_PI * std::sqrt(mass / 3.5e7));
    QTemporaryDir dir;
    QFile netlist(dir.filePath(QStringLiteral("beam.cir")));
    QVERIFY(netlist.open(QIODevice::WriteOnly | QIODevice::Text));
    netlist.write(structure.getNetlist().toLocal8Bit());
    netlist.close();
    // The netlist stays as written: the drive and the sweep come in a second file that the
    // simulator reads after it.
    QFile drive(dir.filePath(QStringLiteral("drive.cir")));
    QVERIFY(drive.open(QIODevice::WriteOnly | QIODevice::Text));
    drive.write(QStringLiteral("i1 0 1 ac 1\n.ac dec 4000 %1 %2\n.control\nrun\n"
                               "meas ac fpeak max_at vm(1)\nquit\n.endc\n")
                    .arg(expected / 10)
                    .arg(expected * 10)
                    .toLatin1());
    drive.close();
    QProcess run;
    run.setWorkingDirectory(dir.path());
    run.start(ngspice, {QStringLiteral("-b"), netlist.fileName(), drive.fileName()});
    QVERIFY(run.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(run.readAllStandardOutput());
    const QRegularExpression peak(QStringLiteral("fpeak\\s*=\\s*([0-9.eE+-]+)"));
    const QRegularExpressionMatch match = peak.match(output);
    QVERIFY2(match.hasMatch(), qPrintable(output + run.readAllStandardError()));
    const double found = match.captured(1).toDouble();
    QVERIFY2(std::fabs(found / expected - 1) < 0.01,
             qPrintable(QStringLiteral("%1 against %2").arg(found).arg(expected)));
}

CELVANE_TEST_MAIN(TestCantileverStructure)
#include "tst_cantileverstructure.moc"
