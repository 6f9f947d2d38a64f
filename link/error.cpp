#include "link/error.h"

#include "platform/ui/message_box.h"

namespace tavoro {

std::string MidiErrorText(int code) {
  // The device-level codes the port controls report. Linux has no system table of MIDI error
  // texts, so these are the program's own wording; any other code gets the general text.
  switch (code) {
    case 1: return "Unspecified MIDI error";
    case 2: return "The MIDI device number is out of range";
    case 4: return "The MIDI device is already in use";
    case 5: return "The MIDI device handle is invalid";
    case 6: return "No MIDI driver is present";
    case 7: return "Not enough memory for the MIDI device";
    case 11: return "An invalid parameter was passed to the MIDI device";
    case 67: return "The MIDI device is not ready";
    case 68: return "No MIDI port is connected";
    default: return "MIDI Communications Error";
  }
}

bool MidiErrorMsg(std::int16_t Code, std::string_view ProcName, std::string_view MsgText) {
  plat::BoxRequest box;
  box.buttons = plat::BoxButtons::Ok;
  switch (Code) {
    case -1:
      box.text = std::string(ProcName) + "\r\n" + std::string(MsgText);
      box.icon = plat::BoxIcon::Critical;
      plat::ShowMessageBox(box);
      return true;
    case 0:
      return false;
    case 65:
      return true;
    default:
      box.text = std::string(ProcName) + ":\r\n" + MidiErrorText(Code);
      box.icon = plat::BoxIcon::None;
      plat::ShowMessageBox(box);
      return true;
  }
}

}  // namespace tavoro
