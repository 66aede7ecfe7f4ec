#include "Model/palette.h"

#include <QtGlobal>

#include <atomic>

namespace Model {

namespace {

struct PaletteEntry
{
    const char *name;
    Util::Vector4D slots[ColorSchemeCount];
};

// Process-wide, per-run state; documents do not carry it.
PaletteEntry palette[PaletteColorCount] = {
    {"Object Color", {{0, 0, 0, 1}, {1, 1, 1, 1}, {1, 0, 0, 1}}},
    {"Outline Color", {{1, 1, 1, 1}, {0, 0, 0, 1}, {1, 1, 1, 1}}},
    {"Grid Color", {{0.4, 0.4, 0.4, 1}, {0.4, 0.4, 0.4, 1}, {0.4, 0.4, 0.4, 1}}},
    {"Background Color", {{0, 0, 0, 0}, {1, 1, 1, 0}, {0, 0, 0, 0}}},
    {"Substrate Object Color", {{0.4, 0.4, 0.4, 1}, {0.4, 0.4, 0.4, 1}, {0.4, 0.4, 0.4, 1}}},
    {"Substrate Outline Color", {{0.6, 0.6, 0.6, 1}, {0.6, 0.6, 0.6, 1}, {0.6, 0.6, 0.6, 1}}},
    {"Console Background Color", {{1, 1, 1, 1}, {0, 0, 0, 1}, {1, 1, 1, 1}}},
    {"Console Text Color", {{0, 0, 0, 1}, {1, 1, 1, 1}, {0, 0, 0, 1}}},
    {"Object Temporary Color", {{1, 1, 1, 1}, {0, 0, 0, 1}, {1, 1, 1, 1}}},
};

std::atomic<int> currentColorScheme{0};

bool validIndex(int colorIndex)
{
    return colorIndex >= 0 && colorIndex < PaletteColorCount;
}

float highlightComponent(double d)
{
    // The threshold is compared in float precision: material colours are floats, and 0.7f
    // lies just below 0.7 in double, which would otherwise brighten a 0.7 component to 1.
    const double v = static_cast<float>(d) >= 0.7f ? d - 0.7 : d + 0.3;
    return static_cast<float>(qBound(0.0, v, 1.0));
}

} // namespace

Util::Vector4D getColor(int colorIndex, int scheme)
{
    if (!validIndex(colorIndex) || scheme < 0 || scheme >= ColorSchemeCount)
        return Util::Vector4D(0, 0, 0, 1);
    return palette[colorIndex].slots[scheme];
}

void setCustomColor(int colorIndex, Util::Vector4D value)
{
    if (validIndex(colorIndex))
        palette[colorIndex].slots[CustomScheme] = value;
}

QString getColorName(int colorIndex)
{
    return validIndex(colorIndex) ? QString::fromLatin1(palette[colorIndex].name) : QString();
}

int getColorScheme()
{
    return currentColorScheme.load();
}

void setColorScheme(int scheme)
{
    if (scheme >= 0 && scheme < ColorSchemeCount)
        currentColorScheme.store(scheme);
}

void highlight(float rgba[4])
{
    for (int i = 0; i < 3; ++i)
        rgba[i] = highlightComponent(rgba[i]);
}

Util::Vector4D highlight(const Util::Vector4D &color)
{
    return Util::Vector4D(highlightComponent(color.x), highlightComponent(color.y),
                          highlightComponent(color.z), static_cast<float>(color.w));
}

} // namespace Model
