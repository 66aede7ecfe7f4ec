// Fuzz target for the catalogue readers: any bytes as materials.xml and as processes.xml must
// be read or refused, never crash, hang or allocate beyond reason.
#include "Model/Materials/materialfactory.h"
#include "Model/Process/processfactory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

QString materialsPath;
QString processesPath;

bool writeFile(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    // The catalogues are files: in memory when the system offers a folder there.
    static QTemporaryDir home(QDir(QStringLiteral("/dev/shm")).exists()
                                  ? QStringLiteral("/dev/shm/celvane-fuzz-XXXXXX")
                                  : QDir::tempPath() + QStringLiteral("/celvane-fuzz-XXXXXX"));
    qputenv("HOME", home.path().toLocal8Bit());
    QDir(home.path()).mkdir(QStringLiteral("Celvane"));
    materialsPath = QDir(home.path()).filePath(QStringLiteral("Celvane/materials.xml"));
    processesPath = QDir(home.path()).filePath(QStringLiteral("Celvane/processes.xml"));
    Model::Process::ProcessFactory::instance(); // and the material catalogue before it
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (materialsPath.isEmpty())
        LLVMFuzzerInitialize(nullptr, nullptr);
    using Model::Materials::MaterialFactory;
    using Model::Process::ProcessFactory;
    if (writeFile(materialsPath, data, size)) {
        MaterialFactory::instance()->loadDefaultMaterials(); // each input on its own
        MaterialFactory::instance()->loadMaterials();
    }
    if (writeFile(processesPath, data, size)) {
        ProcessFactory::instance()->loadDefaultProcesses();
        ProcessFactory::instance()->loadProcesses();
        // What the dialogs do with the result.
        for (const Model::Process::Process &process : ProcessFactory::instance()->getProcesses())
            process.resolveCompatibleMaterials();
    }
    return 0;
}
