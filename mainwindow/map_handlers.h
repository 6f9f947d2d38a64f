#pragma once
// The Map page: the zone selector, the zone's Tone, key range, volume, transpose, pan and group
// boxes with their sliders and spin buttons, and the output, key mode and group options. A zone
// field goes out as a Map zone upload and the zone is read back; an option goes out in the whole
// Map, which is read back.

#include <cstdint>
#include <functional>

#include "mainwindow/connect_controls.h"
#include "mainwindow/edit_protocol.h"
#include "objects/records.h"
#include "pages/tab_pages.h"

namespace tavoro {

class frmMain;

class MapHandlers {
 public:
  MapHandlers(EditProtocol& edit, frmMain& window);

  // Sets the handlers of the page's controls; `scope` wraps each one as a window handler.
  void Connect(const HandlerScope& scope);

  void txtMap_KeyPress(int Index, int& KeyAscii);
  void txtMap_Change(int Index);
  void txtMap_LostFocus(int Index);
  void sldMap_Change(int Index);
  void sldMap_Scroll(int Index);
  void sldMapH_Change(int Index);
  void sldMapH_Scroll(int Index);
  void spnMap_SpinDown(int Index);
  void spnMap_SpinUp(int Index);
  void optMap_Click(int Index);

 private:
  MapZone* Zone();
  // The zone's Tone, typed or stepped.
  void CommitTone(bool enter);
  void Spin(int Index, int direction);
  // The options of the zone show what the stored zone holds.
  void ShowOptions();

  EditProtocol& edit_;
  frmMain& window_;
  TabPages& pages_;
};

}  // namespace tavoro
