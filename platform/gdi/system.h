#pragma once
// System colours, OLE colour translation and the system version, as drawing code asks for them.
// System colours come from the application's palette where Qt has a matching role, otherwise
// from the classic defaults.

#include <cstdint>

namespace plat::gdi {

using COLORREF = std::uint32_t;   // 0x00BBGGRR
using OLE_COLOR = std::uint32_t;  // a COLORREF, or 0x800000nn for system colour nn

constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return COLORREF{r} | (COLORREF{g} << 8) | (COLORREF{b} << 16);
}
constexpr std::uint8_t GetRValue(COLORREF c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(COLORREF c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(COLORREF c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

inline constexpr int COLOR_WINDOWFRAME = 6;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;
inline constexpr int kSysColorCount = 31;  // indexes 0..30

// The colour of system colour `index`; 0 (black) for an index outside 0..30.
COLORREF GetSysColor(int index);

// Resolves an OLE colour to RGB: a plain COLORREF (high byte 0) is taken as it is, 0x02bbggrr
// (palette-relative RGB) by its low three bytes, 0x800000nn as system colour nn. False for any
// other form and for a system colour index outside 0..30; *out is then left alone.
bool TranslateColor(OLE_COLOR color, COLORREF* out);

// The system version number; its low byte is the major version (4 and above draw the newer
// bevel look). Tests may pretend an older system.
std::uint32_t GetVersion();
void SetVersionForTesting(std::uint32_t version);  // 0 restores the real answer

}  // namespace plat::gdi
