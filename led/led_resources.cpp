#include "led/led_resources.h"

#include "led/led_ids.h"

namespace glimmet {

using plat::ax::DialogItem;
using plat::ax::DialogItemKind;

const VersionInfo& Version() {
  static const VersionInfo v{"2.00.003", "2.00.003", "Pendrel LED Control", "Glimmet", "Glimmet", "Glimmet.OCX"};
  return v;
}

void LoadResources(plat::ax::COleControlModule& module) {
  module.SetString(IDS_LED, "Pendrel LED Control");
  module.SetString(IDS_LED_PPG, "Pendrel LED Property Page");
  module.SetString(IDS_LED_PPG_CAPTION, "General");
  plat::com::TypeLibAttr lib;
  lib.libid = LIBID_LedLib;
  lib.major = kLedLibMajor;
  lib.minor = kLedLibMinor;
  lib.name = "LedLib";
  lib.helpString = "Pendrel LED Control";
  lib.helpFile = "led.hlp";
  lib.interfaces = {{IID_DLED, "_DLED"}, {IID_DLEDEvents, "_DLEDEvents"}};
  module.SetTypeLib(std::move(lib));
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
