#include "mainwindow/edit_protocol.h"

#include <cctype>
#include <charconv>

#include "editing/number_text.h"
#include "mainwindow/app.h"
#include "mainwindow/main_window.h"
#include "platform/controls/control.h"

namespace tavoro {

using plat::ctl::TextBox;

std::optional<long> LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long value = 0;
  std::size_t digits = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
    if (value < 1000000000L) value = value * 10 + (text[i] - '0');
  }
  if (digits == 0) return std::nullopt;
  return negative ? -value : value;
}

std::optional<double> LeadingValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && text[i] == '+') {
    ++i;
    if (i < text.size() && text[i] == '-') return std::nullopt;  // "+-" is no number
  }
  if (!StartsAsDecimal(text.substr(i))) return std::nullopt;
  // from_chars reads the longest number at the start, with the C reading of "." whatever the
  // user's locale; fixed: no exponent.
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value, std::chars_format::fixed);
  if (ec != std::errc()) return std::nullopt;
  return value;
}

std::optional<int> NumberWithin(std::string_view text, long low, long high) {
  const auto n = LeadingNumber(text);
  if (!n || *n < low || *n > high) return std::nullopt;
  return static_cast<int>(*n);
}

void StepWithin(TextBox& box, long shown, int direction, long low, long high) {
  if (direction < 0 && shown > low) --shown;
  if (direction > 0 && shown < high) ++shown;
  box.SetText(std::to_string(shown));
}

EditProtocol::EditProtocol(App& app, std::function<void(ObjType)> readBack)
    : app_(app), readBack_(std::move(readBack)) {}

bool EditProtocol::Busy() const {
  if (!app_.HasLink()) return true;  // no instrument to talk to yet
  const Link& l = app_.link();
  return l.MidiOutBusy || l.MidiInBusy;
}

EditFlags& EditProtocol::flags() const { return app_.flags; }
ObjectStore& EditProtocol::store() const { return app_.store; }
Link& EditProtocol::link() const { return app_.link(); }

EditContext EditProtocol::Context() const {
  return app_.main().Editing();
}

ObjectTransfer EditProtocol::Transfer() const { return ObjectTransfer(app_.link(), app_.store); }

void EditProtocol::KeyPress(TextBox& box, int& key, BoxKeys keys, const std::function<void()>& change,
                            const std::function<void()>& onTaken) const {
  EditFlags& f = flags();
  if (Busy()) {
    key = 0;
    return;
  }
  // The infinity sign is drawn by the font "Symbol"; any other text is in the plain font.
  const bool symbolShown = box.FontName() == "Symbol";
  if (key == kEnter) {
    key = 0;
    // A special text that is no number stays as it is: nothing to commit.
    if (keys == BoxKeys::Sustain && box.Text() == "gt") return;
    if (keys == BoxKeys::DecayRelease && symbolShown) return;
    f.LastKeyAscii = kEnter;
    f.SuppressChange = false;
    change();
    return;
  }
  bool taken = false;
  if (key == kBackspace || (key >= '0' && key <= '9')) {
    taken = true;
  } else if (key == '-') {
    // Only at the start of an otherwise empty box: a selection the minus replaces counts as gone.
    taken = (keys == BoxKeys::Signed || keys == BoxKeys::SignedDecimal) && box.TextKeptByTyping().empty();
  } else if (key == 'G' || key == 'g') {
    taken = keys == BoxKeys::Sustain;
  } else if (key == '.') {
    taken = keys == BoxKeys::Decimal || keys == BoxKeys::SignedDecimal;
  }
  if (!taken) {
    key = 0;
    return;
  }
  if (keys == BoxKeys::DecayRelease && symbolShown) box.SetFontName("MS Sans Serif");
  if (onTaken) onTaken();
  f.LastKeyAscii = static_cast<std::uint8_t>(key);
  box.SetForeColor(kEditColour);
  f.SuppressChange = true;
}

bool EditProtocol::MayCommit(TextBox& box) const {
  EditFlags& f = flags();
  if (f.LastKeyAscii != kBackspace && !f.SuppressChange && !f.ProgramTextSet) return true;
  if (f.ProgramTextSet) {
    f.ProgramTextSet = false;
    box.SetForeColor(kShownColour);
  }
  return false;
}

plat::ctl::Control* EditProtocol::Active() const { return plat::ctl::ScreenActiveControl(); }

std::string EditProtocol::ActiveName() const {
  const plat::ctl::Control* c = Active();
  return c ? c->Name() : std::string();
}

bool EditProtocol::Commits(TextBox& box, std::string_view pairedName) const {
  if (!MayCommit(box)) return false;
  return flags().LastKeyAscii == kEnter || ActiveName() == pairedName;
}

bool EditProtocol::CommitsFromAnyPaired(TextBox& box) const {
  if (!MayCommit(box)) return false;
  const plat::ctl::Control* active = Active();
  const bool fromPaired = active != nullptr && (active->Tag() == "spn" || active->Tag() == "sld");
  return fromPaired || flags().LastKeyAscii == kEnter;
}

bool EditProtocol::SliderMayCommit() const {
  return !Busy() && flags().LastKeyAscii != kEnter && !flags().SuppressChange;
}

void EditProtocol::SliderCommit(int value, TextBox& box, const std::function<void()>& change) const {
  // Decimals count: a box showing "12.75" does not show the slider's 12.
  const auto shown = LeadingValue(box.Text());
  if (shown && *shown == value) {
    change();  // the text would not change, so no change event would come
    return;
  }
  box.SetText(std::to_string(value));
}

void EditProtocol::SliderShow(int value, TextBox& box) const {
  if (Busy()) return;
  WriteQuietly(box, std::to_string(value));
}

void EditProtocol::SliderChange(plat::ctl::ControlArray<plat::ctl::Slider>& sliders,
                                plat::ctl::ControlArray<TextBox>& boxes, int index,
                                const std::function<void()>& change) const {
  if (!sliders.Exists(index) || !SliderMayCommit()) return;
  SliderCommit(sliders(index).Value(), boxes(index), change);
}

void EditProtocol::SliderScroll(plat::ctl::ControlArray<plat::ctl::Slider>& sliders,
                                plat::ctl::ControlArray<TextBox>& boxes, int index) const {
  if (sliders.Exists(index)) SliderShow(sliders(index).Value(), boxes(index));
}

void EditProtocol::WriteQuietly(TextBox& box, const std::string& text) const {
  flags().SuppressChange = true;
  box.SetText(text);
  flags().SuppressChange = false;
}

void EditProtocol::WriteShown(TextBox& box, const std::string& text) const {
  if (box.Text() == text) {
    box.SetForeColor(kShownColour);  // no change event will come to do it
    return;
  }
  flags().ProgramTextSet = true;
  box.SetText(text);
}

void EditProtocol::RefillIfEmpty(TextBox& box, const std::string& stored) const {
  if (!box.Text().empty()) return;
  WriteQuietly(box, stored);
}

void EditProtocol::ReadBack(ObjType kind) const {
  if (readBack_) readBack_(kind);
}

void EditProtocol::ReadBackAfter(TextBox& committed, ObjType kind) const {
  const long colour = committed.ForeColor();
  ReadBack(kind);
  committed.SetForeColor(colour);
}

}  // namespace tavoro
