#include "mainwindow/tone_pairs.h"

#include <string>

#include "editing/tone_senders.h"
#include "editing/tone_texts.h"

namespace tavoro {

using plat::ctl::TextBox;

namespace {

constexpr std::uint8_t kToneNibbles = 2;
// Keys of the sustain boxes that stand for gate mode ("gt").
constexpr std::uint8_t kKeyG = 71, kKeyg = 103;

struct ArrayPair {
  int index;
  std::int16_t ToneRecord::*field;
  std::int16_t position;
  bool isSigned;
};

constexpr ArrayPair kDca[] = {{0, &ToneRecord::Dca0, 72, true}, {1, &ToneRecord::Dca1, 74, true},
                              {2, &ToneRecord::Dca2, 78, true}};
constexpr ArrayPair kDcf[] = {{0, &ToneRecord::Dcf0, 86, true}, {1, &ToneRecord::Dcf1, 88, true},
                              {2, &ToneRecord::Dcf2, 92, true}, {3, &ToneRecord::Dcf3, 84, true},
                              {4, &ToneRecord::Dcf4, 80, false}};
constexpr ArrayPair kDco[] = {{0, &ToneRecord::Dco0, 98, true}, {1, &ToneRecord::Dco1, 100, true},
                              {2, &ToneRecord::Dco2, 104, true}, {3, &ToneRecord::Dco3, 96, true}};
constexpr ArrayPair kLfo[] = {{0, &ToneRecord::Lfo0, 106, false}, {1, &ToneRecord::Lfo1, 110, false},
                              {2, &ToneRecord::Lfo2, 114, false}, {3, &ToneRecord::Lfo3, 118, false},
                              {4, &ToneRecord::Lfo4, 122, true},  {5, &ToneRecord::Lfo5, 142, false}};
constexpr ArrayPair kPan[] = {{0, &ToneRecord::Pan0, 128, true}, {1, &ToneRecord::Pan1, 130, true},
                              {2, &ToneRecord::Pan2, 132, true}, {3, &ToneRecord::Pan3, 136, true}};

bool IsEnvelope(TonePairs::Stage s) {
  using S = TonePairs::Stage;
  return s == S::Attack || s == S::Sustain || s == S::DecayRelease;
}

}  // namespace

TonePairs::TonePairs(EditProtocol& edit, TabPages& pages) : edit_(edit), pages_(pages) {
  TabPages& p = pages_;
  const Stage stages[4] = {Stage::Attack, Stage::Sustain, Stage::DecayRelease, Stage::DecayRelease};
  TextBox* boxes[8] = {p.txtEnv1Att, p.txtEnv1Sus, p.txtEnv1Dec, p.txtEnv1Rel,
                       p.txtEnv2Att, p.txtEnv2Sus, p.txtEnv2Dec, p.txtEnv2Rel};
  plat::ctl::Slider* sliders[8] = {p.sldEnv1Att, p.sldEnv1Sus, p.sldEnv1Dec, p.sldEnv1Rel,
                                   p.sldEnv2Att, p.sldEnv2Sus, p.sldEnv2Dec, p.sldEnv2Rel};
  std::int16_t ToneRecord::*fields[8] = {&ToneRecord::Env1Att, &ToneRecord::Env1Sus, &ToneRecord::Env1Dec,
                                         &ToneRecord::Env1Rel, &ToneRecord::Env2Att, &ToneRecord::Env2Sus,
                                         &ToneRecord::Env2Dec, &ToneRecord::Env2Rel};
  for (int i = 0; i < 8; ++i) {
    const Stage stage = stages[i % 4];
    pairs_.push_back({boxes[i], sliders[i], fields[i], static_cast<std::int16_t>(54 + 2 * i), stage,
                      stage == Stage::Attack, -1});
  }
  auto add = [this](TabPages::Array<TextBox>& boxArray, TabPages::Array<plat::ctl::Slider>& sliderArray,
                    const auto& table, Stage stage) {
    for (const ArrayPair& a : table)
      pairs_.push_back({&boxArray(a.index), &sliderArray(a.index), a.field, a.position, stage, a.isSigned, a.index});
  };
  add(p.txtDCA, p.sldDCA, kDca, Stage::Param);
  add(p.txtDCF, p.sldDCF, kDcf, Stage::Param);
  add(p.txtDCO, p.sldDCO, kDco, Stage::Param);
  add(p.txtLFO, p.sldLFO, kLfo, Stage::Lfo);
  add(p.txtPan, p.sldPan, kPan, Stage::Pan);
}

void TonePairs::Box_KeyPress(const Pair& p, int& KeyAscii) {
  BoxKeys keys = p.isSigned ? BoxKeys::Signed : BoxKeys::Unsigned;
  if (p.stage == Stage::Sustain) keys = BoxKeys::Sustain;
  if (p.stage == Stage::DecayRelease) keys = BoxKeys::DecayRelease;
  edit_.KeyPress(*p.box, KeyAscii, keys, [&] { Box_Change(p); });
}

void TonePairs::Box_Change(const Pair& p) {
  if (!edit_.Commits(*p.box, p.slider->Name())) return;
  EditContext ctx = edit_.Context();
  std::int16_t& field = edit_.store().CurTone.*p.field;
  const bool sent = IsEnvelope(p.stage)
                        ? Change_Envelope(ctx, *p.box, *p.slider, field, p.position, kToneNibbles)
                        : Change_ToneParm(ctx, *p.box, *p.slider, field, p.position, kToneNibbles, p.isSigned ? 0 : 1);
  if (sent) {
    edit_.ReadBackAfter(*p.box, ObjType::Tone);
  } else if (edit_.flags().LastKeyAscii == EditProtocol::kEnter) {
    // Enter that sent nothing (the infinity sign still in front of a digit, say) is over: a
    // slider change that follows must not be taken for the sender's own move.
    edit_.flags().LastKeyAscii = 0;
  }
}

void TonePairs::Box_LostFocus(const Pair& p) {
  const std::int16_t stored = edit_.store().CurTone.*p.field;
  std::string text;
  if (p.stage == Stage::Lfo && p.index == 5)
    text = std::to_string(stored + 1);
  else
    text = p.isSigned ? ToneSignedText(stored) : std::to_string(stored);
  edit_.RefillIfEmpty(*p.box, text);
}

void TonePairs::Slider_Change(const Pair& p) {
  if (!edit_.SliderMayCommit()) return;
  EditFlags& f = edit_.flags();
  TextBox& box = *p.box;
  if (p.stage == Stage::Sustain && (f.LastKeyAscii == kKeyG || f.LastKeyAscii == kKeyg)) return;
  if (p.stage == Stage::DecayRelease && box.FontName() == kInfinityFont) {
    box.SetFontName(kPlainFont);
    edit_.WriteQuietly(box, "99");
  }
  if (p.stage == Stage::Lfo && (box.Text() == "none" || box.Text() == "qnt")) edit_.WriteShown(box, "0");
  const int value = p.slider->Value();
  if (p.stage == Stage::Sustain && box.Text() == "gt") {
    box.SetText(std::to_string(value));  // "gt" is no number: the write itself commits
    return;
  }
  edit_.SliderCommit(value, box, [&] { Box_Change(p); });
}

void TonePairs::Slider_Scroll(const Pair& p) {
  if (edit_.Busy()) return;
  if (p.stage == Stage::DecayRelease && p.box->FontName() == kInfinityFont) p.box->SetFontName(kPlainFont);
  edit_.SliderShow(p.slider->Value(), *p.box);
}

void TonePairs::sldLFO_LostFocus(const Pair& p) { edit_.WriteQuietly(*p.box, std::to_string(p.slider->Value())); }

void TonePairs::Connect(const std::function<void(const std::function<void()>&)>& scope) {
  for (std::size_t i = 0; i < pairs_.size(); ++i) {
    const Pair& p = pairs_[i];
    p.box->KeyPress = [this, i, scope](int& key) { scope([&] { Box_KeyPress(pairs_[i], key); }); };
    p.box->Change = [this, i, scope] { scope([&] { Box_Change(pairs_[i]); }); };
    p.box->LostFocus = [this, i, scope] { scope([&] { Box_LostFocus(pairs_[i]); }); };
    p.slider->Change = [this, i, scope] { scope([&] { Slider_Change(pairs_[i]); }); };
    // The LFO sliders show their value only when they lose the focus, not while dragged.
    if (p.stage == Stage::Lfo)
      p.slider->LostFocus = [this, i, scope] { scope([&] { sldLFO_LostFocus(pairs_[i]); }); };
    else
      p.slider->Scroll = [this, i, scope] { scope([&] { Slider_Scroll(pairs_[i]); }); };
  }
}

}  // namespace tavoro
