#include "platform/gdi/system.h"

#include <QGuiApplication>
#include <QPalette>
#include <atomic>

namespace plat::gdi {

namespace {

// Classic defaults, used where the palette has no matching role and without an application.
constexpr COLORREF kClassic[kSysColorCount] = {
    RGB(192, 192, 192), RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 128, 128), RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(192, 192, 192), RGB(128, 128, 128), RGB(0, 0, 128),     RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(223, 223, 223), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(192, 192, 192), RGB(0, 0, 255),     RGB(16, 132, 208),  RGB(181, 181, 181), RGB(0, 0, 128),
    RGB(192, 192, 192)};

std::atomic<std::uint32_t> versionOverride{0};

COLORREF FromQColor(const QColor& c) {
  return RGB(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
             static_cast<std::uint8_t>(c.blue()));
}

}  // namespace

COLORREF GetSysColor(int index) {
  if (index < 0 || index >= kSysColorCount) return 0;
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return kClassic[index];
  const QPalette pal = QGuiApplication::palette();
  switch (index) {
    case 5: return FromQColor(pal.color(QPalette::Base));             // window background
    case 6: return FromQColor(pal.color(QPalette::Shadow));           // window frame
    case 8: return FromQColor(pal.color(QPalette::Text));             // window text
    case 13: return FromQColor(pal.color(QPalette::Highlight));
    case 14: return FromQColor(pal.color(QPalette::HighlightedText));
    case COLOR_BTNFACE: return FromQColor(pal.color(QPalette::Button));
    case COLOR_BTNSHADOW: return FromQColor(pal.color(QPalette::Dark));
    case 18: return FromQColor(pal.color(QPalette::ButtonText));
    case COLOR_BTNHIGHLIGHT: return FromQColor(pal.color(QPalette::Light));
    case 21: return FromQColor(pal.color(QPalette::Shadow));  // 3-D dark shadow
    case 22: return FromQColor(pal.color(QPalette::Midlight));
    default: return kClassic[index];
  }
}

bool TranslateColor(OLE_COLOR color, COLORREF* out) {
  switch (color >> 24) {
    case 0x00: *out = color; return true;
    case 0x02: *out = color & 0x00FFFFFF; return true;
    case 0x80: {
      if ((color & 0x00FFFF00) != 0) return false;
      const int index = static_cast<int>(color & 0xFF);
      if (index >= kSysColorCount) return false;
      *out = GetSysColor(index);
      return true;
    }
    default: return false;
  }
}

std::uint32_t GetVersion() {
  const std::uint32_t v = versionOverride.load();
  // Not the system the bevel rules were written for: answer as a current one (major 10).
  return v ? v : 10u;
}

void SetVersionForTesting(std::uint32_t version) { versionOverride.store(version); }

}  // namespace plat::gdi
