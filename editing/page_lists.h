#pragma once
// The page control lists: per tab page, the editing controls in a fixed order, so that a page can
// be switched on, switched off and reset in one walk whatever its layout. Each control's Tag
// ("txt", "opt", "sld", "cbo", "hsc", "spn") tells how it is reset. Beside them, BlackKey marks
// the black keys of an octave for the Map page's keyboard.
//
// The lists refer to the main window's controls; they are valid while the window lives.

#include <array>
#include <vector>

#include "platform/controls/control.h"

namespace tavoro {

using ControlList = std::vector<plat::ctl::Control*>;

struct PageControlLists {
  ControlList WaveControls;    // 24
  ControlList ToneControls;    // 68
  ControlList ToneControls2;   // 47
  ControlList MapControls;     // 20
  ControlList PresetControls;  // 57
  ControlList MultiControls;   // 15
  ControlList GlobalControls;  // 12
  std::array<bool, 12> BlackKey{};
};

// C, C#, D, ... B: true for the five black keys 1, 3, 6, 8 and 10.
inline constexpr std::array<bool, 12> kBlackKey = {false, true,  false, true,  false, false,
                                                   true,  false, true,  false, true,  false};

}  // namespace tavoro

namespace tavoro {

class TabPages;

// Builds the seven lists, in their order, from the pages' controls and the Map page's keyboard
// scroll bar, and sets BlackKey. A control missing from the pages throws.
PageControlLists BuildPageControlLists(TabPages& pages, plat::ctl::Control& hsbKey);

}  // namespace tavoro
