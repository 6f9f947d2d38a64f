#include "led/led_resources.h"

#include "led/led_ids.h"
#include "platform/com/resources.h"

namespace glimmet {

using plat::ax::DialogItem;
using plat::ax::DialogItemKind;

namespace {

// The toolbox picture: 21 by 21 pixels in the 16 standard colours, a red lamp in a raised square.
constexpr int kToolboxSide = 21;
constexpr std::size_t kToolboxRowBytes = 12;  // 21 four-bit pixels, padded to 32 bits
constexpr std::size_t kToolboxSize = 40 + 16 * 4 + kToolboxRowBytes * kToolboxSide;

constexpr std::uint8_t ToolboxPixel(int x, int y) {
  if (x >= kToolboxSide) return 0;
  if (x == 0 || y == 0) return 15;                        // white
  if (x == kToolboxSide - 1 || y == kToolboxSide - 1) return 8;  // grey
  const int d = (x - 10) * (x - 10) + (y - 10) * (y - 10);
  if ((x - 8) * (x - 8) + (y - 8) * (y - 8) <= 2) return 15;  // the lamp's shine
  if (d <= 30) return 9;   // red
  if (d <= 42) return 8;   // the lamp's ring
  return 7;                // silver
}

constexpr std::array<std::uint8_t, kToolboxSize> ToolboxBitmap() {
  std::array<std::uint8_t, kToolboxSize> b{};
  std::size_t at = 0;
  auto put = [&b, &at](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at++] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  // The device-independent bitmap header: 21 by 21, one plane, 4 bits, 16 colours.
  put(40, 4), put(kToolboxSide, 4), put(kToolboxSide, 4), put(1, 2), put(4, 2), put(0, 4);
  put(kToolboxRowBytes * kToolboxSide, 4), put(0, 4), put(0, 4), put(16, 4), put(0, 4);
  constexpr std::uint32_t kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                          0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                          0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};  // 0xRRGGBB
  for (std::uint32_t rgb : kPalette) put(rgb, 4);  // stored blue, green, red, 0
  for (int y = kToolboxSide - 1; y >= 0; --y)  // rows from the bottom up
    for (int x = 0; x < static_cast<int>(kToolboxRowBytes) * 2; x += 2)
      b[at++] = static_cast<std::uint8_t>(ToolboxPixel(x, y) << 4 | ToolboxPixel(x + 1, y));
  return b;
}

constexpr char kVersionText[] =
    "FileVersion=2.00.003\n"
    "ProductVersion=2.00.003\n"
    "FileDescription=Pendrel LED Control\n"
    "InternalName=Glimmet\n"
    "ProductName=Glimmet\n"
    "OriginalFilename=Glimmet.OCX\n"
    "OLESelfRegister=\n"
    "Translation=0409 04B0\n";

constexpr char kTypeLibText[] = R"(library LedLib {3B9C41F2-0FF1-4DDF-8132-D472FDB12FE7} 2.0
helpstring Pendrel LED Control
helpfile led.hlp
importlib stdole32.tlb
importlib stdole2.tlb
dispinterface _DLED {3B9C41F0-0FF1-4DDF-8132-D472FDB12FE7}
property 1 BevelInner I2
property 2 BevelShapeInner I2
property 3 BevelOuter I2
property 4 BevelShapeOuter I2
property 5 BevelWidthOuter I2
property 6 BevelWidthInner I2
property 7 BorderWidth I2
property 8 DisabledColor I4
property 9 OffColor I4
property 10 OnColor I4
property 11 Value Bool
readonly 12 Version Text
property 0 _Value Bool
property -514 Enabled Bool
readonly -515 hWnd I4
property -501 BackColor I4
method -552 AboutBox
dispinterface _DLEDEvents {3B9C41F1-0FF1-4DDF-8132-D472FDB12FE7}
method -600 Click
method -601 DblClick
method -605 MouseDown Button Shift x y
method -606 MouseMove Button Shift x y
method -607 MouseUp Button Shift x y
coclass LED {3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7} _DLED _DLEDEvents
enum BevelConstants
value pnBevelNone 0
value pnBevelRaised 1
value pnBevelInset 2
value pnBevelLowered 3
value pnBevelSolid 4
enum ShapeConstants
value pnShapeRectangle 0
value pnShapeEllipse 1
)";

// The library's resource table, in its own section of the file.
__attribute__((used, section(".tavoro_rsrc"))) constexpr auto kResources =
    plat::res::Pack(plat::res::Resource<kToolboxSize>{plat::res::kBitmap, IDB_LED, ToolboxBitmap()},
                    plat::res::Text(plat::res::kVersion, 1, kVersionText),
                    plat::res::Text(plat::res::kTypeLib, 1, kTypeLibText));

}  // namespace

std::string VersionValue(std::string_view key) {
  const auto text = plat::res::Find(kResources, plat::res::kVersion, 1);
  return text ? plat::res::TextValue(*text, key).value_or("") : "";
}

void LoadResources(plat::ax::COleControlModule& module) {
  module.SetString(IDS_LED, "Pendrel LED Control");
  module.SetString(IDS_LED_PPG, "Pendrel LED Property Page");
  module.SetString(IDS_LED_PPG_CAPTION, "General");
  // The type library is read from the resource table, as registration reads it; a table that
  // does not parse leaves the module without one, and registration fails on it.
  if (const auto text = plat::res::Find(kResources, plat::res::kTypeLib, 1)) {
    const std::string_view source(reinterpret_cast<const char*>(text->data()), text->size());
    if (auto lib = plat::com::ParseTypeLib(source)) module.SetTypeLib(std::move(*lib));
  }
}

plat::ax::DialogTemplate PropPageDialog() {
  plat::ax::DialogTemplate d;
  d.cx = 250;
  d.cy = 110;
  d.fontName = "MS Sans Serif";
  d.pointSize = 8;
  d.items = {
      DialogItem{-1, DialogItemKind::GroupBox, "Bevel Styles", 4, 24, 208, 56},
      DialogItem{IDC_OUTER_STYLE, DialogItemKind::DropDownList, "", 56, 40, 52, 56},
      DialogItem{-1, DialogItemKind::Label, "Outer Style:", 12, 42, 40, 9},
      DialogItem{IDC_OUTER_WIDTH, DialogItemKind::Edit, "", 144, 40, 32, 12},
      DialogItem{-1, DialogItemKind::Label, "Width:", 120, 42, 24, 9},
      DialogItem{-1, DialogItemKind::Label, "Pixels", 180, 42, 24, 9},
      DialogItem{IDC_INNER_STYLE, DialogItemKind::DropDownList, "", 56, 61, 52, 56},
      DialogItem{-1, DialogItemKind::Label, "Inner Style:", 12, 63, 44, 9},
      DialogItem{IDC_INNER_WIDTH, DialogItemKind::Edit, "", 144, 60, 32, 12},
      DialogItem{-1, DialogItemKind::Label, "Width:", 120, 63, 24, 9},
      DialogItem{-1, DialogItemKind::Label, "Pixels", 180, 63, 24, 9},
      DialogItem{IDC_BORDER_WIDTH, DialogItemKind::Edit, "", 144, 8, 32, 12},
      DialogItem{-1, DialogItemKind::Label, "Border Width:", 92, 10, 48, 9},
      DialogItem{-1, DialogItemKind::Label, "Pixels", 180, 10, 24, 9},
  };
  const std::vector<std::string> styles = {"None", "Raised", "Inset", "Lowered", "Solid"};
  d.comboItems = {{IDC_OUTER_STYLE, styles}, {IDC_INNER_STYLE, styles}};
  return d;
}

}  // namespace glimmet
