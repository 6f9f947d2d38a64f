#pragma once
// What every parameter sender does the same way: the program's own writes into a box, the
// number a box holds, and whether its paired control is the one being moved.

#include <cstdint>
#include <string>

#include "editing/edit_flags.h"
#include "platform/controls/control.h"
#include "platform/controls/text_box.h"

namespace tavoro {

inline constexpr std::uint8_t kKeyEnter = 13;
inline constexpr long kTextBlack = 0;

// Writes the box's text as the program's own, so its change handler only takes the flag down
// (and turns the text black) instead of committing. The flag goes up only when the text
// changes: an unchanged text raises no change event, and a flag left up would swallow the
// user's next real change.
void WriteByProgram(EditFlags& flags, plat::ctl::TextBox& box, const std::string& text);
// The same for a decay or release box: the font follows the text (the infinity sign).
void WriteStageByProgram(EditFlags& flags, plat::ctl::TextBox& box, const std::string& text);

// The whole box text as a 16-bit integer; throws when it is none ("", "-", "12a", too large),
// which ends the sender through its error trap.
std::int16_t BoxNumber(const plat::ctl::TextBox& box);

// True when the window's active control bears the paired control's name (any member of a
// control array counts).
bool IsActiveControl(const plat::ctl::TextBox& box, const plat::ctl::Control& paired);

// Takes SendPending down when a sender leaves, on its error path too: a flag left up would let
// the next call send a value that never passed its checks.
class SendPendingScope {
 public:
  explicit SendPendingScope(EditFlags& flags) : flags_(flags) {}
  ~SendPendingScope() { flags_.SendPending = false; }
  SendPendingScope(const SendPendingScope&) = delete;
  SendPendingScope& operator=(const SendPendingScope&) = delete;

 private:
  EditFlags& flags_;
};

}  // namespace tavoro
