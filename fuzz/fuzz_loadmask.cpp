// Fuzz target for the mask loader: any bytes must give a mask or a refusal, never a crash, a
// read of rows that were never decoded, or an allocation the size check should have stopped.
#include "Core/Operations/Photolithography/maskimage.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    // Image plugins (JPEG among them) are found through the application's library paths.
    static int argc = 1;
    static char name[] = "fuzz_loadmask";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (!QCoreApplication::instance())
        LLVMFuzzerInitialize(nullptr, nullptr);
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    using Core::Operations::MaskImage;
    std::vector<bool> bits;
    quint32 width = 0, height = 0;
    if (MaskImage::load(buffer, MaskImage::pixelLimit(0), bits, width, height) ==
            MaskImage::Loaded &&
        bits.size() != size_t(width) * height)
        __builtin_trap(); // a mask that disagrees with its own size
    return 0;
}
