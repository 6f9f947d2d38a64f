#pragma once
// The Preset pages: the preset-wide boxes, lists and options, and those of the layer chosen with
// the "A"/"B" options. Every edit is one upload of the whole Preset with the field patched in;
// the Preset is read back once the instrument accepted it.

#include <cstdint>
#include <functional>

#include "mainwindow/connect_controls.h"
#include "mainwindow/edit_protocol.h"
#include "objects/records.h"
#include "pages/tab_pages.h"

namespace tavoro {

class PresetHandlers {
 public:
  PresetHandlers(EditProtocol& edit, TabPages& pages);

  // Sets the handlers of the pages' controls; `scope` wraps each one as a window handler.
  void Connect(const HandlerScope& scope);

  void txtPreset_KeyPress(int Index, int& KeyAscii);
  void txtPreset_Change(int Index);
  void txtPreset_LostFocus(int Index);
  void sldPreset_Change(int Index);
  void sldPreset_Scroll(int Index);
  void hsldPreset_Change(int Index);
  void hsldPreset_Scroll(int Index);
  void spnPreset_SpinDown(int Index);
  void spnPreset_SpinUp(int Index);
  void optPreset_Click(int Index);
  // Run by the choice-list timer once a list has closed.
  void cboPreset_Change(int Index);

 private:
  PresetLayer& Layer();
  // The group (0-7) box 5 selects and the map entry (1-4) box 7 selects; nothing when the box
  // holds no such number.
  std::optional<int> Group() const;
  std::optional<int> Entry() const;
  plat::ctl::Control& Paired(int Index);
  void Spin(int Index, int direction);
  // Uploads one field of the Preset; reads the Preset back when the instrument accepted.
  bool Upload(std::int16_t value, int position);
  // The options and lists show what the stored Preset holds.
  void ShowChoices();

  EditProtocol& edit_;
  TabPages& pages_;
};

}  // namespace tavoro
