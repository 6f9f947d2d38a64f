#include "link/error.h"

#include "platform/midi/midi_controls.h"
#include "platform/ui/message_box.h"

namespace tavoro {

std::string MidiErrorText(int code) {
  // The MIDI controls' own text for the code, as the port driver would give it.
  std::string text = plat::midi::ErrorText(code);
  return text.empty() ? std::string("MIDI Communications Error") : text;
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
