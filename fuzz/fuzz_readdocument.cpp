// Fuzz target for the document reader: any bytes must give a document, a refusal or a
// warning, never a crash, a hang or an allocation beyond the memory the target allows.
#include "Core/Operations/documentfile.h"
#include "Core/Operations/workspace.h"
#include "Model/Materials/materialfactory.h"
#include "Util/systemmemory.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

Core::Operations::Workspace *workspace = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    static QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    QDir::setCurrent(home.path()); // the workspace's state files
    // Inputs may ask for any size: keep what they can allocate small.
    Util::SystemMemory::setAvailableBytesOverride(quint64(512) << 20);
    Model::Materials::MaterialFactory::instance();
    workspace = new Core::Operations::Workspace();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!workspace)
        LLVMFuzzerInitialize(nullptr, nullptr);
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    // Every input starts from the built-in catalogue, so a finding replays on its own.
    Model::Materials::MaterialFactory::instance()->loadDefaultMaterials();
    QString error;
    QStringList warnings;
    Core::Operations::DocumentFile::readDocument(buffer, QStringLiteral("fuzz.clv"), *workspace,
                                                 &error, &warnings);
    workspace->getDocument().clear();
    return 0;
}
