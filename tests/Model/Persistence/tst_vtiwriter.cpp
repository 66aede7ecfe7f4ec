#include "Model/Persistence/vtiwriter.h"
#include "testmain.h"

#include <QProcess>

using Model::Automaton::TotalVolume;
using Model::Persistence::VtiWriter;

namespace {

// Material of cell (x, y, z) in the test volume: every cell differs, so a transposed axis or
// an off-by-one shows.
quint32 materialAt(quint32 x, quint32 y, quint32 z)
{
    return x + 10 * y + 100 * z;
}

// Debian's interpreter, which python3-vtk9 extends, even when another one comes first on PATH.
QString pythonProgram()
{
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                             : QStringLiteral("python3");
}

TotalVolume::Ptr makeVolume(quint32 nx, quint32 ny, quint32 nz)
{
    std::vector<quint32> materials(size_t(nx) * ny * nz);
    for (quint32 x = 0; x < nx; ++x)
        for (quint32 y = 0; y < ny; ++y)
            for (quint32 z = 0; z < nz; ++z)
                materials[(size_t(x) * ny + y) * nz + z] = materialAt(x, y, z);
    return TotalVolume::create(nx, ny, nz, 0.5f, 1.0f, 2.0f, Util::Vector3D(1.5, -2.0, 0.25),
                               materials);
}

} // namespace

class TestVtiWriter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readByVtk();
    void unwritableFolderLeavesNoFile();
};

void TestVtiWriter::readByVtk()
{
    QProcess probe;
    probe.start(pythonProgram(), {QStringLiteral("-c"), QStringLiteral("import vtk")});
    if (!probe.waitForFinished(60000) || probe.exitStatus() != QProcess::NormalExit ||
        probe.exitCode() != 0)
        QSKIP("VTK for Python (Debian's python3-vtk9) is not installed: tools/setup.sh installs "
              "it");

    const quint32 nx = 5, ny = 3, nz = 4;
    TotalVolume::Ptr volume = makeVolume(nx, ny, nz);
    QVERIFY(volume);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("volume.vti"));
    QString error;
    QVERIFY2(VtiWriter::write(*volume, fileName, &error), qPrintable(error));

    const QString script =
        QStringLiteral("import sys, vtk\n"
                       "r = vtk.vtkXMLImageDataReader()\n"
                       "r.SetFileName(sys.argv[1])\n"
                       "r.Update()\n"
                       "d = r.GetOutput()\n"
                       "a = d.GetCellData().GetArray('material')\n"
                       "print(*d.GetDimensions())\n"
                       "print(*d.GetOrigin())\n"
                       "print(*d.GetSpacing())\n"
                       "print(a.GetDataTypeAsString(), a.GetNumberOfComponents())\n"
                       "print(*[int(a.GetValue(i)) for i in range(a.GetNumberOfTuples())])\n");
    QProcess python;
    python.start(pythonProgram(), {QStringLiteral("-c"), script, fileName});
    QVERIFY(python.waitForFinished(120000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    const QStringList lines =
        QString::fromLatin1(python.readAllStandardOutput()).split(QLatin1Char('\n'));
    QVERIFY(lines.size() >= 5);
    // Points, not cells: one more than the cells along each axis.
    QCOMPARE(lines[0], QStringLiteral("6 4 5"));
    QCOMPARE(lines[1], QStringLiteral("1.5 -2.0 0.25"));
    QCOMPARE(lines[2], QStringLiteral("0.5 1.0 2.0"));
    QCOMPARE(lines[3], QStringLiteral("unsigned int 1"));
    const QStringList values = lines[4].split(QLatin1Char(' '));
    QCOMPARE(quint32(values.size()), nx * ny * nz);
    // VTK counts cells x fastest, then y, then z.
    int i = 0;
    for (quint32 z = 0; z < nz; ++z)
        for (quint32 y = 0; y < ny; ++y)
            for (quint32 x = 0; x < nx; ++x, ++i)
                QCOMPARE(values[i].toUInt(), materialAt(x, y, z));
}

void TestVtiWriter::unwritableFolderLeavesNoFile()
{
    TotalVolume::Ptr volume = makeVolume(2, 2, 2);
    QVERIFY(volume);
    QTemporaryDir dir;
    // A file stands where the folder should be: nothing can be created below it.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QString error;
    QVERIFY(!VtiWriter::write(*volume, blocker + QStringLiteral("/out.vti"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{QStringLiteral("blocker")});
}

CELVANE_TEST_MAIN(TestVtiWriter)
#include "tst_vtiwriter.moc"
