// Dialog units to pixels. The template font's base units are fixed at 6 x 13 pixels, what
// an 8-point sans-serif dialog font gives at 96 dpi, so every window keeps its pixel size.
#pragma once

constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;
// The pixel size of the control text that stands in for an 8-point dialog font.
constexpr int kDialogFontPixels = 11;

constexpr int DialogUnitsToPixelsX(int units) { return units * kBaseUnitX / 4; }
constexpr int DialogUnitsToPixelsY(int units) { return units * kBaseUnitY / 8; }
