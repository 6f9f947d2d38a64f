#pragma once
// The edit-commit protocol every parameter box of the main window's pages follows, written once:
//
// - typing into a box changes only the box: its text turns red and change events are ignored
//   (SuppressChange), so nothing is sent while typing;
// - Enter in the box, or a change of its paired slider, spin button or scroll bar, commits: the
//   page's handler hands the box to its parameter sender, which turns the text black when the
//   instrument accepts; whenever the sender sent, the object is read back and its page refilled;
// - dragging a slider only shows its value; a box left empty gets the stored value back when it
//   loses the focus; text the program writes itself (ProgramTextSet) turns black.
//
// The page handlers (one file per page family) call these steps from their control events; each
// step tests the busy flags and the edit flags exactly where the protocol says.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "editing/edit_context.h"
#include "objects/obj_types.h"
#include "objects/transfer.h"
#include "platform/controls/control_array.h"
#include "platform/controls/range_controls.h"
#include "platform/controls/text_box.h"

namespace tavoro {

class App;

// Which keys a box takes besides Backspace, Enter and the digits.
enum class BoxKeys {
  Unsigned,      // nothing more
  Signed,        // a minus sign into an empty box
  Sustain,       // "G" and "g"; Enter while the box shows "gt" does nothing
  DecayRelease,  // a key first switches the infinity sign's font back; Enter on the sign does nothing
  Decimal,       // a decimal point, anywhere
  SignedDecimal, // a decimal point, anywhere, and a minus sign into an empty box
};

class EditProtocol {
 public:
  static constexpr long kEditColour = 255;  // red: an edit is pending
  static constexpr long kShownColour = 0;   // black: committed or written by the program
  static constexpr std::uint8_t kEnter = 13;
  static constexpr std::uint8_t kBackspace = 8;

  // `readBack` re-reads one object and refills its page (the object download).
  EditProtocol(App& app, std::function<void(ObjType)> readBack);

  // Either busy flag of the link is set: a request is waiting for its reply.
  bool Busy() const;
  EditFlags& flags() const;
  ObjectStore& store() const;
  Link& link() const;
  // The bundle the parameter senders and page fillers work on.
  EditContext Context() const;
  // The object transfer over the program's link and store.
  ObjectTransfer Transfer() const;

  // The key handler of a parameter box. Returns after discarding the key (key = 0) while busy,
  // for keys the box does not take, and for Enter, which clears SuppressChange and runs `change`.
  // A key taken sets LastKeyAscii, turns the text red and sets SuppressChange. `onTaken` runs for
  // every key taken, before it is entered (a box that empties a neighbour, say).
  void KeyPress(plat::ctl::TextBox& box, int& key, BoxKeys keys, const std::function<void()>& change,
                const std::function<void()>& onTaken = {}) const;
  // The first steps of a box's change handler: false when the change is no commit (Backspace
  // last, SuppressChange set, or the program's own write, which turns the text black); then true
  // when the active control is named `pairedName` or Enter was pressed.
  bool Commits(plat::ctl::TextBox& box, std::string_view pairedName) const;
  // The same for the pages whose boxes commit from any spin button or slider: true when the
  // active control is tagged "spn" or "sld" or Enter was pressed.
  bool CommitsFromAnyPaired(plat::ctl::TextBox& box) const;
  // The part of Commits that tells the program's own writes from the user's: true (and nothing
  // done) when the change may commit; else ProgramTextSet is consumed (text black).
  bool MayCommit(plat::ctl::TextBox& box) const;
  // The name of the window's active control, "" when there is none.
  std::string ActiveName() const;
  plat::ctl::Control* Active() const;

  // Whether a paired control's change event is to commit: not busy, not right after Enter, and
  // not while the program fills controls.
  bool SliderMayCommit() const;
  // A slider's value changed (the entry test passed): when the box already shows the value the
  // box's change handler runs directly, else the value is written into the box, whose change
  // event commits.
  void SliderCommit(int value, plat::ctl::TextBox& box, const std::function<void()>& change) const;
  // A slider is being dragged: the box shows its value; nothing is sent.
  void SliderShow(int value, plat::ctl::TextBox& box) const;
  // A slider of an array changed (committed as SliderMayCommit and SliderCommit say) or dragged
  // (shown as SliderShow says), through the box of the same index; nothing for an index the
  // slider array does not hold.
  void SliderChange(plat::ctl::ControlArray<plat::ctl::Slider>& sliders,
                    plat::ctl::ControlArray<plat::ctl::TextBox>& boxes, int index,
                    const std::function<void()>& change) const;
  void SliderScroll(plat::ctl::ControlArray<plat::ctl::Slider>& sliders,
                    plat::ctl::ControlArray<plat::ctl::TextBox>& boxes, int index) const;
  // The program's own write that is no edit: change events are ignored around it.
  void WriteQuietly(plat::ctl::TextBox& box, const std::string& text) const;
  // The program's own write that ends an edit: the box's change handler turns it black.
  void WriteShown(plat::ctl::TextBox& box, const std::string& text) const;
  // Lost focus: an empty box gets `stored` back (the colour stays as it is).
  void RefillIfEmpty(plat::ctl::TextBox& box, const std::string& stored) const;

  // Re-reads the object and refills its page.
  void ReadBack(ObjType kind) const;
  // The read-back after a commit of `committed` that went out: the refill shows every box
  // black, but the committed box keeps the colour its commit left (red when the instrument
  // refused the value) until the next fill.
  void ReadBackAfter(plat::ctl::TextBox& committed, ObjType kind) const;

 private:
  App& app_;
  std::function<void(ObjType)> readBack_;
};

// The box's text as a whole number: leading blanks, an optional sign and digits; nothing when it
// holds none ("", "-", "gt", the infinity sign).
std::optional<long> LeadingNumber(std::string_view text);

// The box's text as a number, decimals included ("12.75", "-.5", "60."); nothing when it holds
// no digit.
std::optional<double> LeadingValue(std::string_view text);

// The box's whole number when it lies within low..high; nothing otherwise.
std::optional<int> NumberWithin(std::string_view text, long low, long high);

// A spin button's step inside low..high: the box shows `shown` one step on (or kept at either
// end), and its change handler commits it.
void StepWithin(plat::ctl::TextBox& box, long shown, int direction, long low, long high);

}  // namespace tavoro
