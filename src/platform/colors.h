#pragma once

#include <QColor>
#include <cstdint>

// Colours are kept as the program's own 32-bit values 0x00BBGGRR (red in the low byte).
using TColor = std::uint32_t;

constexpr int GetRValue(TColor c) { return int(c & 0xFF); }
constexpr int GetGValue(TColor c) { return int((c >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return int((c >> 16) & 0xFF); }
constexpr TColor RGBColor(int r, int g, int b) {
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

inline QColor TColorToQColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline TColor QColorToTColor(const QColor& c) { return RGBColor(c.red(), c.green(), c.blue()); }

// Colour values the program uses in several places.
namespace Colors {
constexpr TColor clWhite = 16777215;
constexpr TColor clBlack = 0;
constexpr TColor DarkBlue = 9126421; // RGB 21, 66, 139
constexpr TColor Grey = 9276813;     // RGB 141, 141, 141
} // namespace Colors
