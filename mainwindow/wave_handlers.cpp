// The Wave page's play and loop points: boxes, steppers and scroll bars, and the loop options.

#include "mainwindow/wave_handlers.h"

#include <cmath>
#include <string>

#include "editing/number_text.h"
#include "editing/wave_senders.h"

namespace tavoro {

using plat::ctl::TextBox;

namespace {

constexpr std::uint8_t kPointNibbles = 8;
constexpr std::int16_t kPointPositions[] = {68, 76, 92, 100, 108};
constexpr std::int32_t WaveRecord::*kPointFields[] = {&WaveRecord::PlayStart, &WaveRecord::PlayEnd,
                                                      &WaveRecord::LoopStart, &WaveRecord::LoopEnd,
                                                      &WaveRecord::LoopFract};
constexpr std::int16_t kFlagsPos = 48;
constexpr std::uint8_t kLoopOnBit = 0x80;
constexpr std::int64_t kFractMax = 0xFFFFFF;  // the fraction is a 24-bit field
constexpr int kBarLow = 1, kBarHigh = 100;

// The fraction box's text: hexadecimal digits and "h".
std::optional<std::int64_t> FractionOf(const std::string& text) {
  if (text.size() < 2) return std::nullopt;
  std::int64_t v = 0;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0 || v > 0x7FFFFFFF) return std::nullopt;
    v = v * 16 + digit;
  }
  return v;
}

}  // namespace

WaveHandlers::WaveHandlers(EditProtocol& edit, TabPages& pages) : edit_(edit), pages_(pages) {}

WaveHandlers::PointControls WaveHandlers::Controls(int point) const {
  switch (point) {
    case kPlayStart: return {pages_.txtPlayStart, pages_.spnPlayStart};
    case kPlayEnd: return {pages_.txtPlayEnd, pages_.spnPlayEnd};
    case kLoopStart: return {pages_.txtLoopStart, pages_.spnLoopStart};
    case kLoopEnd: return {pages_.txtLoopEnd, pages_.spnLoopEnd};
    default: return {pages_.txtLoopFract, pages_.spnLoopFract};
  }
}

std::string WaveHandlers::PointText(int point, std::int64_t value) {
  if (point == kLoopFract) return HexText(static_cast<std::int32_t>(value)) + "h";
  return std::to_string(value);
}

std::optional<std::int64_t> WaveHandlers::Shown(int point) const {
  const std::string text = Controls(point).box->Text();
  if (point == kLoopFract) return FractionOf(text);
  const auto v = LeadingNumber(text);
  if (!v) return std::nullopt;
  return static_cast<std::int64_t>(*v);
}

std::int64_t WaveHandlers::Stored(int point) const { return edit_.store().CurWave.*kPointFields[point]; }

const plat::ctl::Control& WaveHandlers::Paired(const TextBox& box) const {
  const plat::ctl::Control* active = edit_.Active();
  return active != nullptr ? *active : box;
}

void WaveHandlers::EnterDone() {
  if (edit_.flags().LastKeyAscii == EditProtocol::kEnter) edit_.flags().LastKeyAscii = 0;
}

bool WaveHandlers::UploadWave(const UploadValue& value, std::int16_t position) {
  EditFlags& f = edit_.flags();
  f.SendPending = true;
  const std::uint8_t count = position == kFlagsPos ? 2 : kPointNibbles;
  const bool accepted =
      edit_.Transfer().ObjectUpload(ObjType::Wave, edit_.store().CurWave.Number, value, position, count, true);
  f.SendPending = false;
  return accepted;
}

// ---------------------------------------------------------------------------------------------
// Boxes

void WaveHandlers::Point_KeyPress(int point, int& KeyAscii) {
  edit_.KeyPress(*Controls(point).box, KeyAscii, BoxKeys::Unsigned, [this, point] { Point_Change(point); });
}

void WaveHandlers::Point_Change(int point) {
  const PointControls c = Controls(point);
  TextBox& box = *c.box;
  if (!edit_.MayCommit(box)) return;
  EditFlags& f = edit_.flags();
  if (edit_.ActiveName() != c.spin->Name() && f.LastKeyAscii != EditProtocol::kEnter && f.WaveScrollIndex == -1)
    return;
  ++commits_;
  EditContext ctx = edit_.Context();
  if (Change_WaveParm(ctx, box, Paired(box), edit_.store().CurWave.*kPointFields[point], kPointPositions[point],
                      kPointNibbles, kWavePoint))
    edit_.ReadBackAfter(box, ObjType::Wave);
  else
    EnterDone();  // a loop box while the loop is off, a refused value
}

void WaveHandlers::txtLoopFract_Change() {
  EditFlags& f = edit_.flags();
  if (f.SuppressChange) return;
  const bool fromControl = edit_.ActiveName() == pages_.spnLoopFract->Name() || f.WaveScrollIndex != -1;
  if (!fromControl || edit_.store().WaveLoopOn != 1) return;
  const auto v = FractionOf(pages_.txtLoopFract->Text());
  if (!v) return;
  ++commits_;
  WaveRecord& w = edit_.store().CurWave;
  w.LoopFract = static_cast<std::int32_t>(*v);
  if (UploadWave(w.LoopFract, kPointPositions[kLoopFract])) {
    pages_.txtLoopFract->SetForeColor(EditProtocol::kShownColour);
    edit_.ReadBack(ObjType::Wave);
  }
}

// ---------------------------------------------------------------------------------------------
// Steppers

void WaveHandlers::Point_Spin(int point, int direction) {
  if (edit_.Busy()) return;
  const auto shown = Shown(point);
  if (!shown) return;
  const bool loopOn = pages_.optLoopEnb->Value();
  if (point >= kLoopStart && !loopOn) return;
  auto box = [this](TextBox* b) { return static_cast<std::int64_t>(LeadingNumber(b->Text()).value_or(0)); };
  const std::int64_t ps = box(pages_.txtPlayStart), pe = box(pages_.txtPlayEnd), ls = box(pages_.txtLoopStart),
                     le = box(pages_.txtLoopEnd), w = box(pages_.txtWaveLen);
  const std::int64_t v = *shown;
  bool moves = false;
  switch (point) {
    case kPlayStart: moves = direction < 0 ? v > 0 : v < pe - 1 && (!loopOn || v < ls); break;
    case kPlayEnd: moves = direction < 0 ? v > ps + 1 && (!loopOn || v > le) : v < w - 1; break;
    case kLoopStart: moves = direction < 0 ? v > ps && v <= le : v < le && v < pe; break;
    case kLoopEnd: moves = direction < 0 ? v > ls && v > ps : ls <= v && v < pe && v < w; break;
    default: moves = direction < 0 ? v > 0 : v < kFractMax; break;
  }
  const std::int64_t next = moves ? v + direction : v;
  // The write commits through the box's change handler (the stepper is the active control).
  Controls(point).box->SetText(PointText(point, next));
  if (point == kLoopFract) edit_.store().CurWave.LoopFract = static_cast<std::int32_t>(next);
}

// ---------------------------------------------------------------------------------------------
// Scroll bars

std::optional<WaveHandlers::Limits> WaveHandlers::BarLimits(int Index) const {
  const ObjectStore& s = edit_.store();
  const WaveRecord& w = s.CurWave;
  const bool loopOn = s.WaveLoopOn == 1;
  switch (Index) {
    // With the loop off the play start stops one word short of the play end: an empty play
    // range is no Wave.
    case kPlayStart: return Limits{0, loopOn ? w.LoopStart : std::int64_t{w.PlayEnd} - 1};
    case kPlayEnd: return Limits{loopOn ? w.LoopEnd : std::int64_t{w.PlayStart} + 1, std::int64_t{w.WaveLen} - 1};
    case kLoopStart: return loopOn ? std::optional<Limits>(Limits{w.PlayStart, w.LoopEnd}) : std::nullopt;
    case kLoopEnd: return loopOn ? std::optional<Limits>(Limits{w.LoopStart, w.PlayEnd}) : std::nullopt;
    case kLoopFract: return loopOn ? std::optional<Limits>(Limits{0, kFractMax}) : std::nullopt;
    default: return std::nullopt;
  }
}

std::int64_t WaveHandlers::BarPoint(const Limits& l, int value) {
  if (value == kBarLow) return l.lower;
  if (value == kBarHigh) return l.upper;
  // 64 bits: a long Wave's range times 100 is past 32 bits.
  const double share = static_cast<double>((l.upper - l.lower) * value) / 100.0;
  return l.lower + static_cast<std::int64_t>(std::floor(share));
}

void WaveHandlers::hscWave_Change(int Index) {
  if (edit_.Busy() || !pages_.hscWave.Exists(Index) || Index < 0 || Index >= kPoints) return;
  EditFlags& f = edit_.flags();
  plat::ctl::ScrollBar& bar = pages_.hscWave(Index);
  f.WaveScrollIndex = static_cast<std::int16_t>(Index);
  bar.SetEnabled(false);  // moving it again cannot re-enter this handler meanwhile
  if (f.LastKeyAscii != EditProtocol::kEnter && !f.SuppressChange) {
    if (const auto limits = BarLimits(Index)) {
      const std::int64_t point = BarPoint(*limits, bar.Value());
      const int before = commits_;
      Controls(Index).box->SetText(PointText(Index, point));
      // The box showed that text already (a drag wrote it), so no change event committed it.
      // A read-back inside the write may have ended this bar's turn: it is taken up again.
      if (commits_ == before && Shown(Index) != Stored(Index)) {
        f.WaveScrollIndex = static_cast<std::int16_t>(Index);
        if (Index == kLoopFract)
          txtLoopFract_Change();
        else
          Point_Change(Index);
      }
    }
  }
  bar.SetEnabled(true);
  f.WaveScrollIndex = -1;
}

void WaveHandlers::hscWave_Scroll(int Index) {
  if (edit_.Busy() || !pages_.hscWave.Exists(Index) || Index < 0 || Index >= kPoints) return;
  const auto limits = BarLimits(Index);
  if (!limits) return;
  TextBox& box = *Controls(Index).box;
  box.SetForeColor(EditProtocol::kEditColour);
  edit_.WriteQuietly(box, PointText(Index, BarPoint(*limits, pages_.hscWave(Index).Value())));
}

// ---------------------------------------------------------------------------------------------
// Loop options

void WaveHandlers::SwitchLoop(bool on) {
  if (edit_.Busy() || edit_.flags().SuppressChange) return;
  ObjectStore& s = edit_.store();
  if (s.WaveLoopOn != (on ? 0 : 1)) return;  // already in force
  WaveRecord& w = s.CurWave;
  const auto held = w.WaveFlags;
  w.WaveFlags = static_cast<std::uint8_t>(on ? w.WaveFlags | kLoopOnBit : w.WaveFlags & ~kLoopOnBit);
  EditContext ctx = edit_.Context();
  if (Check_LoopPoints(ctx, w.PlayStart, w.PlayEnd) && UploadWave(w.WaveFlags, kFlagsPos)) {
    edit_.ReadBack(ObjType::Wave);
    return;
  }
  // Not sent or refused: the Wave keeps the switch the instrument holds, and so do the options.
  w.WaveFlags = held;
  EditFlags& f = edit_.flags();
  f.SuppressChange = true;
  (s.WaveLoopOn == 1 ? pages_.optLoopEnb : pages_.optLoopDis)->SetValue(true);
  f.SuppressChange = false;
}

void WaveHandlers::optLoopEnb_Click() { SwitchLoop(true); }
void WaveHandlers::optLoopDis_Click() { SwitchLoop(false); }

void WaveHandlers::optLoopDirection_Click() {
  EditFlags& f = edit_.flags();
  if (edit_.Busy() || f.SuppressChange) return;
  // The direction is not sent from here: the options only show the stored one again.
  f.SuppressChange = true;
  const std::int16_t dir = edit_.store().WaveLoopDir;
  if (dir == 0) pages_.optLoopFwdOnly->SetValue(true);
  if (dir == 1) pages_.optLoopFwdRev->SetValue(true);
  f.SuppressChange = false;
}

// ---------------------------------------------------------------------------------------------

void WaveHandlers::Connect(const std::function<void(const std::function<void()>&)>& scope) {
  for (int point = 0; point < kPoints; ++point) {
    const PointControls c = Controls(point);
    if (point == kLoopFract) {
      c.box->Change = [this, scope] { scope([&] { txtLoopFract_Change(); }); };
    } else {
      c.box->KeyPress = [this, point, scope](int& key) { scope([&] { Point_KeyPress(point, key); }); };
      c.box->Change = [this, point, scope] { scope([&] { Point_Change(point); }); };
    }
    c.spin->SpinDown = [this, point, scope] { scope([&] { Point_Spin(point, -1); }); };
    c.spin->SpinUp = [this, point, scope] { scope([&] { Point_Spin(point, +1); }); };
    if (pages_.hscWave.Exists(point)) {
      pages_.hscWave(point).Change = [this, point, scope] { scope([&] { hscWave_Change(point); }); };
      pages_.hscWave(point).Scroll = [this, point, scope] { scope([&] { hscWave_Scroll(point); }); };
    }
  }
  pages_.optLoopEnb->Click = [this, scope] { scope([&] { optLoopEnb_Click(); }); };
  pages_.optLoopDis->Click = [this, scope] { scope([&] { optLoopDis_Click(); }); };
  pages_.optLoopFwdOnly->Click = [this, scope] { scope([&] { optLoopDirection_Click(); }); };
  pages_.optLoopFwdRev->Click = [this, scope] { scope([&] { optLoopDirection_Click(); }); };
  ConnectTuning(scope);
}

}  // namespace tavoro
