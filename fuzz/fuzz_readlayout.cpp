// Fuzz target for the reading of the GDSII reader's output, the text the program trusts least
// after the file itself: any bytes must give a layout or a refusal, and a layout must rasterise
// within its bounds or be refused, never crash or hang.
#include "Core/Operations/Photolithography/layoutfile.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    using Core::Operations::LayoutFile;
    Core::Operations::LayoutMask::Layout layout;
    if (!LayoutFile::parse(bytes, layout))
        return 0;
    for (const qint32 layer : LayoutFile::layers(layout)) {
        LayoutFile::Choice choice;
        choice.layer = layer;
        choice.scale = layout.userUnit * 100.0; // a hundred database units per column
        std::vector<bool> bits;
        if (LayoutFile::rasterise(layout, choice, 16, 16, bits) && bits.size() != 16 * 16)
            __builtin_trap(); // a mask that disagrees with the grid
    }
    return 0;
}
