// The Tone pages filled from the current Tone: envelopes with their special texts, the DCA, DCF,
// DCO, pan and LFO controls, and the Wave the Tone plays.
#include <array>

#include "editing/filler_support.h"
#include "editing/number_text.h"
#include "editing/page_fillers.h"
#include "editing/tone_texts.h"
#include "platform/controls/lists.h"

namespace tavoro {

namespace {

using plat::ctl::ComboBox;
using plat::ctl::ControlArray;
using plat::ctl::OptionButton;
using plat::ctl::Slider;
using plat::ctl::TextBox;

struct Envelope {
  TextBox& att;
  TextBox& sus;
  TextBox& dec;
  TextBox& rel;
  Slider& sldAtt;
  Slider& sldSus;
  Slider& sldDec;
  Slider& sldRel;
  std::uint8_t& trigger;
  std::int16_t A, S, D, R;
};

void ShowEnvelope(const Envelope& e) {
  fill::ShowPair(e.att, e.sldAtt, ToneSignedValue(e.A));
  if (e.S != 0) {
    e.trigger = 1;
    fill::ShowPair(e.sus, e.sldSus, e.S);
    e.sldDec.SetValue(e.D);
    SetStageText(e.dec, "--");
    e.sldDec.SetEnabled(false);
    e.dec.SetEnabled(false);
  } else {
    e.trigger = 0;
    e.sus.SetText(SustainText(0));
    e.sldDec.SetValue(e.D);
    SetStageText(e.dec, DecayReleaseText(e.D));
  }
  e.sldRel.SetValue(e.R);
  SetStageText(e.rel, DecayReleaseText(e.R));
}

void ShowSigned(ControlArray<TextBox>& boxes, ControlArray<Slider>& sliders, int index, std::int16_t v) {
  fill::ShowPair(boxes(index), sliders(index), ToneSignedValue(v));
}

void ShowUnsigned(ControlArray<TextBox>& boxes, ControlArray<Slider>& sliders, int index, int v) {
  fill::ShowPair(boxes(index), sliders(index), v);
}

// One envelope selection set of three: none, envelope 1, envelope 2.
void EnvSel(TabPages& p, int first, int v) { fill::SelectOption(p.optToneEnvSel, first, 3, v, false); }

// A mode pair: the first option for the bit clear, the second for it set.
void ModeBit(TabPages& p, int first, int bits, int mask) { p.optToneModMode(first + ((bits & mask) ? 1 : 0)).SetValue(true); }

void ShowEntry(ComboBox& combo, int index) { combo.SetText(combo.List(index)); }

void ShowWave(const ObjectStore& s, TabPages& p) {
  TextBox& num = p.txtTone(0);
  TextBox& name = p.txtTone(1);
  if (!s.WaveLoaded) {
    fill::ShowNoneLoaded(num, name, "No Waves Avail");
    return;
  }
  num.SetEnabled(true);
  name.SetEnabled(true);
  fill::ShowUsedObject(num, name, s.WaveDir, s.CurTone.WaveNum);
}

void ShowAmplifierAndFilter(const ToneRecord& t, TabPages& p) {
  EnvSel(p, 0, t.DcaEnvSel);
  ShowSigned(p.txtDCA, p.sldDCA, 0, t.Dca0);
  ShowSigned(p.txtDCA, p.sldDCA, 1, t.Dca1);
  ModeBit(p, 0, t.DcaDcfModeBits, 1);
  ShowSigned(p.txtDCA, p.sldDCA, 2, t.Dca2);
  ShowEntry(p.cboTone(0), t.DcaAuxSrc);
  EnvSel(p, 3, t.DcfEnvSel);
  ShowSigned(p.txtDCF, p.sldDCF, 0, t.Dcf0);
  ShowSigned(p.txtDCF, p.sldDCF, 1, t.Dcf1);
  ModeBit(p, 2, t.DcaDcfModeBits, 2);
  ShowSigned(p.txtDCF, p.sldDCF, 2, t.Dcf2);
  ShowSigned(p.txtDCF, p.sldDCF, 3, t.Dcf3);
  ShowUnsigned(p.txtDCF, p.sldDCF, 4, t.Dcf4);
  ShowEntry(p.cboTone(1), t.DcfAuxSrc);
}

// The DCO and the pan share one layout: an envelope selection, seven mode pairs (for the bits
// 1, 2, 8, 16, 32, 4 and 64 in that order) between four value pairs, and an auxiliary source.
struct ModulatedBlock {
  int envFirst;
  std::array<int, 7> modeFirst;
  std::array<int, 4> slot;
};
constexpr ModulatedBlock kDcoBlock{6, {6, 8, 10, 12, 4, 14, 16}, {0, 1, 2, 3}};
constexpr ModulatedBlock kPanBlock{9, {18, 20, 22, 24, 26, 28, 30}, {1, 2, 3, 0}};

void ShowModulated(TabPages& p, const ModulatedBlock& b, ControlArray<TextBox>& boxes, ControlArray<Slider>& sliders,
                   std::int16_t envSel, std::int16_t bits, const std::array<std::int16_t, 4>& values, ComboBox& aux,
                   std::int16_t auxSrc) {
  EnvSel(p, b.envFirst, envSel);
  ModeBit(p, b.modeFirst[0], bits, 1);
  ShowSigned(boxes, sliders, b.slot[0], values[0]);
  ModeBit(p, b.modeFirst[1], bits, 2);
  ShowSigned(boxes, sliders, b.slot[1], values[1]);
  ModeBit(p, b.modeFirst[2], bits, 8);
  ModeBit(p, b.modeFirst[3], bits, 16);
  ModeBit(p, b.modeFirst[4], bits, 32);
  ShowSigned(boxes, sliders, b.slot[2], values[2]);
  ModeBit(p, b.modeFirst[5], bits, 4);
  ModeBit(p, b.modeFirst[6], bits, 64);
  ShowSigned(boxes, sliders, b.slot[3], values[3]);
  ShowEntry(aux, auxSrc);
}

void ShowOscillatorAndPan(const ToneRecord& t, TabPages& p) {
  ShowModulated(p, kDcoBlock, p.txtDCO, p.sldDCO, t.DcoEnvSel, t.DcoModeBits, {t.Dco0, t.Dco1, t.Dco2, t.Dco3},
                p.cboTone(2), t.DcoAuxSrc);
  ShowModulated(p, kPanBlock, p.txtPan, p.sldPan, t.PanEnvSel, t.PanModeBits, {t.Pan1, t.Pan2, t.Pan3, t.Pan0},
                p.cboTone(3), t.PanAuxSrc);
}

void ShowLfo(const ToneRecord& t, TabPages& p) {
  ShowEntry(p.cboTone(4), t.LfoWaveshape);
  ShowUnsigned(p.txtLFO, p.sldLFO, 0, t.Lfo0);
  ShowUnsigned(p.txtLFO, p.sldLFO, 1, t.Lfo1);
  ShowUnsigned(p.txtLFO, p.sldLFO, 2, t.Lfo2);
  ShowEntry(p.cboTone(5), t.LfoSrc1);
  ShowUnsigned(p.txtLFO, p.sldLFO, 3, t.Lfo3);
  ShowEntry(p.cboTone(6), t.LfoSrc2);
  ShowEntry(p.cboTone(7), t.LfoQuantSrc);

  // The quantise pair: an amount, or "qnt" with the number of steps.
  TextBox& quant = p.txtLFO(4);
  TextBox& steps = p.txtLFO(5);
  Slider& stepSlider = p.sldLFO(5);
  if (t.Lfo4 != 0) {
    quant.SetText(Lfo4Text(t.Lfo4));
    steps.SetText("amt");
    stepSlider.SetValue(0);
    steps.SetEnabled(false);
    stepSlider.SetEnabled(false);
    return;
  }
  quant.SetText(Lfo4Text(0));
  steps.SetEnabled(true);
  stepSlider.SetEnabled(true);
  if (p.cboTone(7).Text() == "keybdpos") {
    steps.SetMaxLength(3);
    steps.SetText("kbd");
    stepSlider.SetValue(0);
    steps.SetEnabled(false);
    stepSlider.SetEnabled(false);
  } else if (t.Lfo5 != 0) {
    steps.SetMaxLength(3);
    fill::ShowPair(steps, stepSlider, t.Lfo5 + 1);
  } else {
    steps.SetMaxLength(4);
    steps.SetText(Lfo5Text(0));
    stepSlider.SetValue(0);
  }
}

}  // namespace

bool LoadToneDisplay(EditContext& ctx) {
  return fill::Fill(ctx, "LoadToneDisplay()", "Error updating Tone display", [&] {
    TabPages& p = fill::Pages(ctx);
    const ToneRecord& t = ctx.store.CurTone;
    fill::Need(ctx.view.txtObjectName, "txtObjectName").SetLocked(false);
    fill::EnableAll(ctx.lists.ToneControls);
    fill::EnableAll(ctx.lists.ToneControls2);
    ShowWave(ctx.store, p);
    ShowEnvelope({fill::Need(p.txtEnv1Att, "txtEnv1Att"), fill::Need(p.txtEnv1Sus, "txtEnv1Sus"),
                  fill::Need(p.txtEnv1Dec, "txtEnv1Dec"), fill::Need(p.txtEnv1Rel, "txtEnv1Rel"),
                  fill::Need(p.sldEnv1Att, "sldEnv1Att"), fill::Need(p.sldEnv1Sus, "sldEnv1Sus"),
                  fill::Need(p.sldEnv1Dec, "sldEnv1Dec"), fill::Need(p.sldEnv1Rel, "sldEnv1Rel"),
                  ctx.flags.Env1Trigger, t.Env1Att, t.Env1Sus, t.Env1Dec, t.Env1Rel});
    Plot_Envelope(ctx, 1);
    ShowEnvelope({fill::Need(p.txtEnv2Att, "txtEnv2Att"), fill::Need(p.txtEnv2Sus, "txtEnv2Sus"),
                  fill::Need(p.txtEnv2Dec, "txtEnv2Dec"), fill::Need(p.txtEnv2Rel, "txtEnv2Rel"),
                  fill::Need(p.sldEnv2Att, "sldEnv2Att"), fill::Need(p.sldEnv2Sus, "sldEnv2Sus"),
                  fill::Need(p.sldEnv2Dec, "sldEnv2Dec"), fill::Need(p.sldEnv2Rel, "sldEnv2Rel"),
                  ctx.flags.Env2Trigger, t.Env2Att, t.Env2Sus, t.Env2Dec, t.Env2Rel});
    Plot_Envelope(ctx, 2);
    ShowAmplifierAndFilter(t, p);
    ShowOscillatorAndPan(t, p);
    ShowLfo(t, p);
    fill::ShowAllAsHeld(ctx.lists.ToneControls);
    fill::ShowAllAsHeld(ctx.lists.ToneControls2);
  });
}

}  // namespace tavoro
