#pragma once
// The Tone pages' choice lists, envelope selectors and mode bits, and the Wave the Tone plays
// with its stepper. Each change is one upload of the Tone with the field patched in; the Tone is
// read back once the instrument accepted it.

#include <cstdint>
#include <functional>

#include "mainwindow/edit_protocol.h"
#include "objects/records.h"
#include "pages/tab_pages.h"

namespace tavoro {

class ToneHandlers {
 public:
  ToneHandlers(EditProtocol& edit, TabPages& pages);

  // Sets the handlers of the lists, options, Wave number box and stepper; `scope` wraps each one
  // as a window handler.
  void Connect(const std::function<void(const std::function<void()>&)>& scope);

  // Choice lists, options, the Wave number and its stepper.
  void cboTone_Change(int Index);
  void optToneEnvSel_Click(int Index);
  void optToneModMode_Click(int Index);
  void txtTone_Change(int Index);
  void txtTone_KeyPress(int Index, int& KeyAscii);
  void txtTone_LostFocus(int Index);
  void spnTone_SpinDown(int Index);
  void spnTone_SpinUp(int Index);

 private:
  // Uploads one field of the Tone; reads the Tone back when the instrument accepted.
  bool UploadField(std::int16_t value, std::int16_t position, std::uint8_t count);
  // The stepper: the Wave below (-1) or above (+1) the one the box shows.
  void StepWave(int Index, int direction);
  // The mode-bit options of the field's pairs show what the field holds.
  void ShowModeBits(std::int16_t ToneRecord::*field);

  EditProtocol& edit_;
  TabPages& pages_;
};

}  // namespace tavoro
