#ifndef CELVANE_MODEL_PALETTE_H
#define CELVANE_MODEL_PALETTE_H

#include "Util/vector4d.h"

#include <QString>

namespace Model {

/// Indexes of the view colour palette.
enum PaletteColor
{
    ObjectColor = 0,
    OutlineColor = 1,
    GridColor = 2,
    BackgroundColor = 3,
    SubstrateObjectColor = 4,
    SubstrateOutlineColor = 5,
    ConsoleBackgroundColor = 6,
    ConsoleTextColor = 7,
    ObjectTemporaryColor = 8,
    PaletteColorCount = 9
};

/// Colour schemes: 0 default, 1 low (light background, for printing), 2 custom.
enum ColorScheme
{
    DefaultScheme = 0,
    LowScheme = 1,
    CustomScheme = 2,
    ColorSchemeCount = 3
};

/// The palette entry colorIndex x 3 + scheme; out-of-range arguments give black.
Util::Vector4D getColor(int colorIndex, int scheme);
/// Writes the custom slot of colorIndex.
void setCustomColor(int colorIndex, Util::Vector4D value);
/// The display name of a palette entry ("Object Color", ...).
QString getColorName(int colorIndex);
int getColorScheme();
void setColorScheme(int scheme);

/// The selection colour of a face colour: each of r, g, b at least 0.7 loses 0.7, any other
/// gains 0.3; alpha is unchanged. Painters keep face colours as floats, so the result is too.
void highlight(float rgba[4]);
Util::Vector4D highlight(const Util::Vector4D &color);

} // namespace Model

#endif
