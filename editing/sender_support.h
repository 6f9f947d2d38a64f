#pragma once
// Beside the common sender helpers: the senders' error trap and send, the ends of a commit that
// sends nothing, the quiet writes of a selector's dependants, the walk from a typed number to an
// object that exists, the readings of the numbers that are not 16-bit integers (Wave points,
// pitch, master tune), and the check of a name before it is sent.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "editing/edit_context.h"
#include "editing/edit_flags.h"
#include "editing/sender_common.h"
#include "objects/records.h"
#include "link/link.h"
#include "objects/transfer.h"
#include "platform/controls/buttons.h"
#include "platform/controls/control_array.h"
#include "platform/controls/text_box.h"

namespace tavoro {

inline constexpr long kTextRed = 255;  // typed, not yet committed

// The senders' error trap: the error path of every procedure, and Enter consumed, so that
// the next slider or spin change is not taken for a typed commit.
template <class Body>
bool SenderTrap(EditContext& ctx, std::string_view procName, std::string_view message, Body&& body) {
  auto onError = [&] {
    ctx.flags.LastKeyAscii = 0;
    RunErrorPath(ctx.link, procName, message);
  };
  return TrapWith(onError, false, std::forward<Body>(body));
}

// The send of an accepted value: Enter is consumed, the object (or the Map zone) goes out with the
// value patched in, and the box turns black when the instrument accepted it. True when accepted.
bool UploadValueOf(EditContext& ctx, plat::ctl::TextBox& box, ObjType kind, std::int16_t number,
                   const UploadValue& value, std::int16_t nibPos, std::uint8_t nibCount);

// Ends a commit without sending: Enter is consumed and the box shows `text` (the stored value
// as a rule). Always false, the senders' "nothing sent".
bool RestoreText(EditFlags& flags, plat::ctl::TextBox& box, const std::string& text);
// Ends the commit of a selector once the boxes depending on it show its choice. Always false.
bool SelectorDone(EditFlags& flags, plat::ctl::TextBox& box);

// A write into a box whose change events must be ignored (a display box, a selector's
// dependants): change events are suppressed while it is written, so no one-shot flag is left.
void WriteQuietly(EditFlags& flags, plat::ctl::TextBox& box, const std::string& text);

// Selects option first + value of the set first .. first + count - 1 with change events
// suppressed; a value outside the set leaves every option of it unselected.
void SelectOptionQuietly(EditFlags& flags, plat::ctl::ControlArray<plat::ctl::OptionButton>& options, int first,
                         int count, int value);

// The directory entry of the object a typed number selects: the number is moved into the kind's
// range of numbers in use, then up to the next number in the directory (the entries ascend).
// Nothing when the directory is empty.
std::optional<std::size_t> ExistingEntry(const ObjDirStatus& status, const ObjDir& dir, std::int16_t typed);

// The box text as a whole number of up to 10 digits (optional sign), or as a decimal number in
// single precision (C locale, no exponent: "60.", ".5" and "-120" all read). A text that is no
// number (also "nan", "inf" or "infinity") throws, so it reaches the sender's error trap instead
// of becoming 0.
std::int64_t TextWhole(std::string_view text);
float TextSingle(std::string_view text);

// A name the instrument can take: printable ASCII only (blank to "~").
bool IsPrintableName(std::string_view name);
// The box a refused name gets, under the sender's name.
void ShowUnprintableName(std::string_view procName);

}  // namespace tavoro
