#pragma once
// The main window's controls that the editing procedures reach beyond the tab pages: the object
// header, the Map page's keyboard with its zone picture and zone labels. The main window fills
// one of these; tests can fill one from loose controls.

#include "pages/tab_pages.h"
#include "platform/controls/control_array.h"
#include "platform/controls/panels.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/range_controls.h"
#include "platform/controls/text_box.h"

namespace tavoro {

struct EditorView {
  TabPages* pages = nullptr;
  plat::ctl::TextBox* txtObjectNum = nullptr;
  plat::ctl::TextBox* txtObjectName = nullptr;
  plat::ctl::ControlArray<plat::ctl::Panel3D>* pnlKey = nullptr;  // keys 0-71, backdrop 128
  plat::ctl::ScrollBar* hsbKey = nullptr;
  plat::ctl::PictureBox* picMap = nullptr;
  plat::ctl::ControlArray<plat::ctl::Label>* lblZone = nullptr;   // member 0 always there
};

}  // namespace tavoro
