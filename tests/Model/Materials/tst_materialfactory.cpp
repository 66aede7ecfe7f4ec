#include "Model/Materials/materialfactory.h"
#include "catalogtestutil.h"
#include "filesizelimit.h"
#include "testmain.h"

using Model::Materials::Material;
using Model::Materials::MaterialFactory;

namespace {

const char builtInFile[] = "Celvane/materials.xml";

Material makeMaterial(quint32 id, const QString &name, float r, float g, float b, float a)
{
    const float color[4] = {r, g, b, a};
    return Material(id, name, 1.0f, 2.0f, 0.3f, color);
}

} // namespace

class TestMaterialFactory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void firstRunWritesBuiltInTable();
    void builtInTableValues_data();
    void builtInTableValues();
    void writtenFileReadsBackEqual();
    void writtenFileFormat();
    void unreadableFilesFallBackAndAreKept_data();
    void unreadableFilesFallBackAndAreKept();
    void emptyCatalogueFileLoads();
    void invalidElementsAreSkipped();
    void homeFolderIsReadWithoutCelvaneFolder();
    void setMaterialRefusesIdZero();
    void generatedIdsAreFreeAndInRange();
    void failedSaveKeepsPreviousFile();
    void saveFailsWhenFolderCannotBeMade();

private:
    QScopedPointer<TemporaryHome> home;
    MaterialFactory::Ptr factory;
};

void TestMaterialFactory::init()
{
    home.reset(new TemporaryHome());
    factory = MaterialFactory::instance();
    factory->loadDefaultMaterials();
}

void TestMaterialFactory::cleanup()
{
    home.reset();
}

void TestMaterialFactory::firstRunWritesBuiltInTable()
{
    home.reset(new TemporaryHome()); // instance() has already written into the first one
    QVERIFY(!QFile::exists(home->celvanePath("materials.xml")));
    factory->initialize();
    const QList<Material> materials = factory->getMaterials();
    QCOMPARE(materials.size(), 15);
    QList<quint32> ids;
    for (const Material &m : materials)
        ids.append(m.getId());
    QCOMPARE(ids, (QList<quint32>{1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
    QVERIFY(QFile::exists(home->celvanePath("materials.xml")));
    const QByteArray text = home->read(builtInFile);
    QCOMPARE(text.count("<Material "), 15);
    QVERIFY(text.indexOf("material-id=\"1\"") < text.indexOf("material-id=\"3\""));
    QVERIFY(text.indexOf("material-id=\"15\"") < text.indexOf("material-id=\"16\""));
    QVERIFY(!QFile::exists(home->celvanePath("materials.xml.bak")));
}

void TestMaterialFactory::builtInTableValues_data()
{
    QTest::addColumn<quint32>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<float>("density");
    QTest::addColumn<float>("young");
    QTest::addColumn<float>("poisson");
    QTest::addColumn<QString>("color");
    QTest::newRow("Si") << 1u << "Si" << 2329.0f << 1.88e11f << 0.28f << "#FF7F7F7F";
    QTest::newRow("oxide, spelled with a zero")
        << 3u << "Thermal Si02" << 2200.0f << 7e10f << 0.17f << "#FF7F7FFF";
    QTest::newRow("Cu") << 5u << "Cu (bulk)" << 8960.0f << 1.28e11f << 0.36f << "#FFFFCC4C";
    QTest::newRow("P-doped") << 15u << "P-doped Si (100)" << 2329.0f << 1.88e11f << 0.28f
                             << "#FFAAAAFF";
    QTest::newRow("Poly-Si") << 16u << "Poly-Si" << 2329.0f << 1.88e11f << 0.28f << "#FF4C7F66";
}

void TestMaterialFactory::builtInTableValues()
{
    QFETCH(quint32, id);
    QFETCH(QString, name);
    QFETCH(float, density);
    QFETCH(float, young);
    QFETCH(float, poisson);
    QFETCH(QString, color);
    factory->initialize();
    const Material m = factory->getMaterial(id);
    QCOMPARE(m.getName(), name);
    QCOMPARE(m.getDensity(), density);
    QCOMPARE(m.getYoungModulus(), young);
    QCOMPARE(m.getPoissonRatio(), poisson);
    const QByteArray text = home->read(builtInFile);
    const QByteArray element = QByteArray("material-id=\"") + QByteArray::number(id) + "\"";
    const int at = text.indexOf(element);
    QVERIFY(at > 0);
    const int end = text.indexOf("/>", at);
    QVERIFY2(text.mid(at, end - at).contains("color=\"" + color.toLatin1() + "\""),
             text.mid(at, end - at).constData());
}

void TestMaterialFactory::writtenFileReadsBackEqual()
{
    const QByteArray unsaved = home->read(builtInFile);
    factory->setMaterial(
        makeMaterial(2500, QStringLiteral("Odd <&> \"name\""), 0.2f, 0.4f, 0.6f, 0.5f));
    QCOMPARE(home->read(builtInFile), unsaved); // only a save writes the file
    const QList<Material> before = factory->getMaterials();
    QVERIFY(factory->saveMaterials());
    factory->loadDefaultMaterials();
    QVERIFY(factory->loadMaterials());
    const QList<Material> after = factory->getMaterials();
    QCOMPARE(after.size(), before.size());
    for (int i = 0; i < before.size(); ++i) {
        QCOMPARE(after[i], before[i]);
        QCOMPARE(after[i].getDensity(), before[i].getDensity());
        QCOMPARE(after[i].getYoungModulus(), before[i].getYoungModulus());
        QCOMPARE(after[i].getPoissonRatio(), before[i].getPoissonRatio());
    }
}

void TestMaterialFactory::writtenFileFormat()
{
    QVERIFY(factory->saveMaterials());
    const QByteArray text = home->read(builtInFile);
    QVERIFY(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    QVERIFY(text.contains("<Materials>"));
    QVERIFY(text.contains("<Material version=\"1\" name=\"Si\" material-id=\"1\" "
                          "density=\"2329\" poisson-ratio=\"0.28\" young-modulus=\"1.88e+11\" "
                          "color=\"#FF7F7F7F\"/>"));
    QVERIFY(text.contains("young-modulus=\"1e+09\""));
    QVERIFY(text.trimmed().endsWith("</Materials>"));
}

void TestMaterialFactory::unreadableFilesFallBackAndAreKept_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("root in other case")
        << QByteArray("<?xml version=\"1.0\"?><materials><Material version=\"1\" name=\"X\" "
                      "material-id=\"40\"/></materials>");
    QTest::newRow("malformed after a good element")
        << QByteArray("<Materials><Material version=\"1\" name=\"X\" material-id=\"40\"/>"
                      "<Material name=");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe<<>>\x01garbage", 16);
    // We never write a document type: a file with one is refused before anything expands. The
    // other refusals of the reader's guard are the document file's, on the same path.
    QTest::newRow("entity in a document type")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE Materials [<!ENTITY e \"Si\">]>"
                      "<Materials><Material version=\"1\" name=\"&e;\" material-id=\"40\"/>"
                      "</Materials>");
    const QString utf16 = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
                                         "<!DOCTYPE Materials><Materials/>");
    QTest::newRow("document type in UTF-16")
        << QByteArray("\xff\xfe", 2) +
               QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2);
}

void TestMaterialFactory::unreadableFilesFallBackAndAreKept()
{
    QFETCH(QByteArray, content);
    QVERIFY(home->write("Celvane/materials.xml.bak", "older backup"));
    QVERIFY(home->write(builtInFile, content));
    factory->setMaterial(makeMaterial(41, QStringLiteral("left over"), 1, 1, 1, 1));
    factory->initialize();
    // The whole catalogue is the built-in table, including nothing read before the error.
    QCOMPARE(factory->getMaterials().size(), 15);
    QCOMPARE(factory->getMaterial(40).getId(), 0u);
    QCOMPARE(factory->getMaterial(41).getId(), 0u);
    QCOMPARE(home->read("Celvane/materials.xml.bak"), content);
    QCOMPARE(home->read(builtInFile).count("<Material "), 15);
}

void TestMaterialFactory::emptyCatalogueFileLoads()
{
    QVERIFY(home->write(builtInFile, "<?xml version=\"1.0\"?>\n<Materials/>\n"));
    factory->initialize();
    QVERIFY(factory->getMaterials().isEmpty());
    QCOMPARE(factory->getMaterial(1).getId(), 0u);
    QCOMPARE(factory->getMaterial(1).getName(), QStringLiteral("Empty"));
    QVERIFY(!QFile::exists(home->celvanePath("materials.xml.bak")));
}

void TestMaterialFactory::invalidElementsAreSkipped()
{
    QVERIFY(home->write(builtInFile, "<Materials>"
                                     "<Material version=\"1\" name=\"Bad id\" material-id=\"abc\"/>"
                                     "<Material version=\"1\" name=\"\" material-id=\"50\"/>"
                                     "<Material version=\"1\" name=\"Zero\" material-id=\"0\"/>"
                                     "<Other name=\"Ignored\" material-id=\"51\"/>"
                                     "<Material version=\"1\" name=\"Good\" material-id=\"52\" "
                                     "color=\"#80FF0000\" density=\"12.5\"/>"
                                     "</Materials>"));
    factory->loadDefaultMaterials();
    QVERIFY(factory->loadMaterials());
    // Entries already in the catalogue stay; only the good element is added.
    QCOMPARE(factory->getMaterials().size(), 16);
    const Material good = factory->getMaterial(52);
    QCOMPARE(good.getName(), QStringLiteral("Good"));
    QCOMPARE(good.getDensity(), 12.5f);
    const float *c = good.getColor();
    QCOMPARE(c[0], 1.0f);
    QCOMPARE(c[1], 0.0f);
    QVERIFY(qAbs(c[3] - 128.0f / 255.0f) < 1e-6f);
    QCOMPARE(factory->getMaterial(50).getId(), 0u);
    QCOMPARE(factory->getMaterial(51).getId(), 0u);
}

void TestMaterialFactory::homeFolderIsReadWithoutCelvaneFolder()
{
    QVERIFY(home->write("materials.xml",
                        "<Materials><Material name=\"Home\" material-id=\"60\"/></Materials>"));
    factory->initialize();
    QCOMPARE(factory->getMaterials().size(), 1);
    QCOMPARE(factory->getMaterial(60).getName(), QStringLiteral("Home"));
    QVERIFY(!QFile::exists(home->celvanePath("materials.xml")));
}

void TestMaterialFactory::setMaterialRefusesIdZero()
{
    QVERIFY(!factory->setMaterial(makeMaterial(0, QStringLiteral("Nothing"), 1, 1, 1, 1)));
    QCOMPARE(factory->getMaterials().size(), 15);
    QCOMPARE(factory->getMaterial(2), Model::Materials::Material()); // never in the table
    QVERIFY(factory->setMaterial(makeMaterial(1, QStringLiteral("Silicon"), 1, 1, 1, 1)));
    QCOMPARE(factory->getMaterial(1).getName(), QStringLiteral("Silicon"));
    QCOMPARE(factory->getMaterials().size(), 15);
}

void TestMaterialFactory::generatedIdsAreFreeAndInRange()
{
    for (quint32 id = 2000; id < 32766; id += 2)
        factory->setMaterial(makeMaterial(id, QStringLiteral("taken"), 1, 1, 1, 1));
    for (int i = 0; i < 200; ++i) {
        const quint32 id = factory->generateMaterialId();
        QVERIFY(id >= 2000 && id <= 32766);
        QCOMPARE(factory->getMaterial(id).getId(), 0u);
    }
    // Crowded to the last free id, the draw still ends, with that id.
    for (quint32 id = 2001; id < 32766; id += 2)
        factory->setMaterial(makeMaterial(id, QStringLiteral("taken"), 1, 1, 1, 1));
    QCOMPARE(factory->generateMaterialId(), 32766u);
    // Full, it ends too, with 0.
    factory->setMaterial(makeMaterial(32766, QStringLiteral("taken"), 1, 1, 1, 1));
    QCOMPARE(factory->generateMaterialId(), 0u);
}

void TestMaterialFactory::failedSaveKeepsPreviousFile()
{
    factory->initialize();
    const QByteArray before = home->read(builtInFile);
    QVERIFY(before.size() > 64);
    factory->setMaterial(makeMaterial(90, QStringLiteral("Unsaved"), 1, 1, 1, 1));
    {
        // The disk refuses the file's bytes part way: the save fails, the old file stays whole.
        FileSizeLimit limit(64);
        QVERIFY(!factory->saveMaterials());
    }
    QCOMPARE(home->read(builtInFile), before);
    QVERIFY(factory->saveMaterials());
    QVERIFY(home->read(builtInFile).contains("Unsaved"));
}

void TestMaterialFactory::saveFailsWhenFolderCannotBeMade()
{
    // A plain file where the folder should be: nothing can be written, and nothing breaks.
    QVERIFY(home->write("Celvane", "not a folder"));
    QVERIFY(!factory->saveMaterials());
    factory->initialize();
    QCOMPARE(factory->getMaterials().size(), 15);
    QCOMPARE(home->read("Celvane"), QByteArray("not a folder"));
}

CELVANE_TEST_MAIN(TestMaterialFactory)
#include "tst_materialfactory.moc"
