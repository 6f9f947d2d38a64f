// The Wave page's tuning: the fine tune in cents and the root pitch in semitones with its note
// name, each a box with a stepper.

#include <string>

#include "editing/note_name.h"
#include "editing/number_text.h"
#include "editing/wave_senders.h"
#include "mainwindow/wave_handlers.h"

namespace tavoro {

using plat::ctl::TextBox;

namespace {

constexpr std::int16_t kFineTunePos = 50, kPitchPos = 128;
constexpr std::uint8_t kFineTuneNibbles = 2, kPitchNibbles = 4;
constexpr int kFineTuneLimit = 99;
constexpr float kPitchTop = 127.0f;

}  // namespace

void WaveHandlers::ShowNote(const std::string& pitchText) {
  const auto pitch = LeadingValue(pitchText);
  if (!pitch) return;
  pages_.txtWaveNote->SetText(NoteName(static_cast<std::int16_t>(RoundHalfEven(*pitch))));
}

void WaveHandlers::txtFineTune_KeyPress(int& KeyAscii) {
  edit_.KeyPress(*pages_.txtFineTune, KeyAscii, BoxKeys::Signed, [this] { txtFineTune_Change(); });
}

void WaveHandlers::txtFineTune_Change() {
  TextBox& box = *pages_.txtFineTune;
  // A scroll bar of the page never commits a tuning value: only the stepper and Enter do.
  if (!edit_.Commits(box, pages_.spnFineTune->Name())) return;
  EditContext ctx = edit_.Context();
  if (Change_WaveParm(ctx, box, Paired(box), edit_.store().CurWave.FineTune, kFineTunePos, kFineTuneNibbles,
                      kWaveFineTune))
    edit_.ReadBackAfter(box, ObjType::Wave);
  else
    EnterDone();
}

void WaveHandlers::txtWavePitch_KeyPress(int& KeyAscii) {
  // Every key taken leaves the note name behind: it no longer names the text.
  edit_.KeyPress(*pages_.txtWavePitch, KeyAscii, BoxKeys::Decimal, [this] { txtWavePitch_Change(); },
                 [this] { pages_.txtWaveNote->SetText(""); });
}

void WaveHandlers::txtWavePitch_Change() {
  TextBox& box = *pages_.txtWavePitch;
  EditFlags& f = edit_.flags();
  if (f.LastKeyAscii == EditProtocol::kBackspace || f.SuppressChange || f.ProgramTextSet) {
    if (box.ForeColor() != EditProtocol::kEditColour && f.SuppressChange) {
      if (!box.Text().empty()) ShowNote(box.Text());  // the program fills the page
    } else if (f.ProgramTextSet) {
      f.ProgramTextSet = false;
      box.SetForeColor(EditProtocol::kShownColour);
    }
    return;
  }
  if (edit_.ActiveName() != pages_.spnWavePitch->Name() && f.LastKeyAscii != EditProtocol::kEnter) return;
  EditContext ctx = edit_.Context();
  if (Change_WaveParm(ctx, box, Paired(box), edit_.store().CurWave.WavePitch, kPitchPos, kPitchNibbles,
                      kWavePitch)) {
    ShowNote(box.Text());
    edit_.ReadBackAfter(box, ObjType::Wave);
  } else {
    EnterDone();
  }
}

void WaveHandlers::spnFineTune_Spin(int direction) {
  if (edit_.Busy()) return;
  TextBox& box = *pages_.txtFineTune;
  const auto shown = ParseInt16(box.Text());
  if (!shown) return;
  int v = *shown;
  if (direction < 0 && v > -kFineTuneLimit) --v;
  if (direction > 0 && v < kFineTuneLimit) ++v;
  box.SetText(std::to_string(v));  // commits through the box's change handler
}

void WaveHandlers::spnWavePitch_Spin(int direction) {
  if (edit_.Busy()) return;
  TextBox& box = *pages_.txtWavePitch;
  const auto shown = LeadingValue(box.Text());
  if (!shown) return;
  float v = static_cast<float>(*shown);
  // Down stops at the last step that stays at or above 0: no pitch below 0 is sent.
  if (direction < 0 && v - 1.0f >= 0.0f) v -= 1.0f;
  if (direction > 0 && v < kPitchTop) v += 1.0f;
  box.SetText(SingleText(v));
}

void WaveHandlers::ConnectTuning(const std::function<void(const std::function<void()>&)>& scope) {
  TabPages& p = pages_;
  p.txtFineTune->KeyPress = [this, scope](int& key) { scope([&] { txtFineTune_KeyPress(key); }); };
  p.txtFineTune->Change = [this, scope] { scope([&] { txtFineTune_Change(); }); };
  p.txtWavePitch->KeyPress = [this, scope](int& key) { scope([&] { txtWavePitch_KeyPress(key); }); };
  p.txtWavePitch->Change = [this, scope] { scope([&] { txtWavePitch_Change(); }); };
  p.spnFineTune->SpinDown = [this, scope] { scope([&] { spnFineTune_Spin(-1); }); };
  p.spnFineTune->SpinUp = [this, scope] { scope([&] { spnFineTune_Spin(+1); }); };
  p.spnWavePitch->SpinDown = [this, scope] { scope([&] { spnWavePitch_Spin(-1); }); };
  p.spnWavePitch->SpinUp = [this, scope] { scope([&] { spnWavePitch_Spin(+1); }); };
}

}  // namespace tavoro
