#pragma once
// What the page fillers share: the fill frame (change events suppressed for the whole fill and
// released again whatever happens), control lookups that fail loudly, and the writes every page
// makes (a number into a box and its slider, one option of a set).

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "editing/edit_context.h"
#include "editing/sender_common.h"
#include "link/trap.h"
#include "platform/controls/buttons.h"
#include "platform/controls/control_array.h"
#include "platform/controls/range_controls.h"
#include "platform/controls/text_box.h"

namespace tavoro::fill {

template <class T>
T& Need(T* p, const char* name) {
  if (p == nullptr) throw std::runtime_error(std::string("missing control ") + name);
  return *p;
}

inline TabPages& Pages(const EditContext& ctx) { return Need(ctx.view.pages, "tab pages"); }

// Runs one page fill under the error trap with SuppressChange set. The flag is released on the
// error path too: left set, it would silently drop every later edit on every page.
template <class Body>
bool Fill(EditContext& ctx, std::string_view procName, std::string_view message, Body&& body) {
  ctx.flags.SuppressChange = true;
  const bool done = Trap(ctx.link, procName, message, false, [&] {
    body();
    return true;
  });
  ctx.flags.SuppressChange = false;
  return done;
}

inline void EnableAll(const ControlList& list) {
  for (plat::ctl::Control* c : list) Need(c, "in a page control list").SetEnabled(true);
}

// The end of a fill that went through: every box of the page's list shows the instrument's
// value, so none stays red from an edit the instrument refused or never answered.
inline void ShowAllAsHeld(const ControlList& list) {
  for (plat::ctl::Control* c : list)
    if (auto* box = dynamic_cast<plat::ctl::TextBox*>(c)) box->SetForeColor(kTextBlack);
}

// A signed byte field as the page shows it: a value the sender kept as v + 256 (not yet read
// back) shows as v. `highest` is the largest value the field shows as positive.
inline int Signed(int v, int highest) { return v > highest ? v - 256 : v; }

inline void ShowNumber(plat::ctl::TextBox& box, long v) { box.SetText(std::to_string(v)); }

inline void ShowPair(plat::ctl::TextBox& box, plat::ctl::Slider& slider, int v) {
  ShowNumber(box, v);
  slider.SetValue(v);
}

// Selects member first + v of an option set of `count` members; a value outside the set leaves
// every member unselected when `strict` is false (no stale choice stays shown) and is a failure
// when it is true (it would select an option of a neighbouring set).
inline void SelectOption(plat::ctl::ControlArray<plat::ctl::OptionButton>& set, int first, int count, int v,
                         bool strict) {
  if (v < 0 || v >= count) {
    if (strict) throw std::runtime_error(set.Name() + ": no option for " + std::to_string(v));
    for (int i = first; i < first + count; ++i) set(i).SetValue(false);
    return;
  }
  set(first + v).SetValue(true);
}

// The one selector number a page keeps between fills: "" becomes `initial`; anything that is
// not a number within first..last is a failure.
int Selector(plat::ctl::TextBox& box, int initial, int first, int last);

// The first directory entry with the number, or nullptr (an empty directory has none).
const DirEntry* FindEntry(const ObjDir& dir, int number);

// The number and name boxes of an object that the page's object uses. With no object of that kind
// in the instrument: no number, `none` as the name, and both disabled.
void ShowNoneLoaded(plat::ctl::TextBox& number, plat::ctl::TextBox& name, const char* none);
// Otherwise the number and the directory's name for it; a number missing from the directory leaves
// the name as it was. Returns the entry found.
const DirEntry* ShowUsedObject(plat::ctl::TextBox& number, plat::ctl::TextBox& name, const ObjDir& dir, int n);

}  // namespace tavoro::fill
