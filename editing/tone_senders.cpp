#include "editing/tone_senders.h"

#include <stdexcept>
#include <string>

#include "editing/number_text.h"
#include "editing/sender_common.h"
#include "editing/tone_texts.h"
#include "link/trap.h"
#include "objects/transfer.h"

namespace tavoro {

namespace {

using plat::ctl::Slider;
using plat::ctl::TextBox;

enum class Stage { Attack, Sustain, Decay, Release };

struct EnvelopeStage {
  int envelope;  // 1 or 2
  Stage stage;
};

// "txtEnv1Att" ... "txtEnv2Rel".
EnvelopeStage StageOf(const TextBox& box) {
  const std::string& name = box.Name();
  if (name.size() == 10 && name.compare(0, 6, "txtEnv") == 0 && (name[6] == '1' || name[6] == '2')) {
    const std::string part = name.substr(7);
    const int env = name[6] - '0';
    if (part == "Att") return {env, Stage::Attack};
    if (part == "Sus") return {env, Stage::Sustain};
    if (part == "Dec") return {env, Stage::Decay};
    if (part == "Rel") return {env, Stage::Release};
  }
  throw std::invalid_argument(name + " is no envelope stage");
}

std::string StageText(Stage stage, std::int16_t stored) {
  switch (stage) {
    case Stage::Attack: return AttackText(stored);
    case Stage::Sustain: return SustainText(stored);
    case Stage::Decay:
    case Stage::Release: return DecayReleaseText(stored);
  }
  return std::to_string(stored);
}

// A sustain text made of the letters of "gt" only (the sustain box takes "g" and "G") stands
// for the gate mode the box already shows.
bool IsGateText(const std::string& text) {
  if (text.empty()) return false;
  for (const char c : text)
    if (c != 'g' && c != 'G' && c != 't' && c != 'T') return false;
  return true;
}

TabPages& PagesOf(EditContext& ctx) {
  if (ctx.view.pages == nullptr) throw std::logic_error("no Tone page");
  return *ctx.view.pages;
}

// After a sustain was sent: a sustain other than "gt" puts a gate-mode envelope into trigger
// mode (decay locked, "--"); "gt" puts a trigger-mode envelope back into gate mode (decay
// unlocked, showing the stored decay).
void SwitchEnvelopeMode(EditContext& ctx, int envelope, const TextBox& sustainBox) {
  TabPages& pages = PagesOf(ctx);
  std::uint8_t& trigger = envelope == 1 ? ctx.flags.Env1Trigger : ctx.flags.Env2Trigger;
  TextBox& decayBox = *(envelope == 1 ? pages.txtEnv1Dec : pages.txtEnv2Dec);
  Slider& decaySlider = *(envelope == 1 ? pages.sldEnv1Dec : pages.sldEnv2Dec);
  const bool gate = sustainBox.Text() == "gt";
  if (!gate && trigger == 0) {
    trigger = 1;
    decaySlider.SetEnabled(false);
    decayBox.SetEnabled(false);
    WriteStageByProgram(ctx.flags, decayBox, "--");
  } else if (gate && trigger == 1) {
    trigger = 0;
    decaySlider.SetEnabled(true);
    decayBox.SetEnabled(true);
    const ToneRecord& tone = ctx.store.CurTone;
    WriteStageByProgram(ctx.flags, decayBox, DecayReleaseText(envelope == 1 ? tone.Env1Dec : tone.Env2Dec));
  }
}

// The upload of a committed value; the text turns black only when the instrument accepted.
void SendToneValue(EditContext& ctx, TextBox& Txt, std::int16_t Value, std::int16_t NibPos,
                   std::uint8_t NibCount) {
  ctx.flags.LastKeyAscii = 0;
  ObjectTransfer transfer(ctx.link, ctx.store);
  if (transfer.ObjectUpload(ObjType::Tone, ctx.store.CurTone.Number, Value, NibPos, NibCount, true))
    Txt.SetForeColor(kTextBlack);
  ctx.flags.SendPending = false;
}

// Ends a commit that sends nothing: the text black, the key taken.
void EndWithoutSending(EditFlags& flags, TextBox& Txt) {
  Txt.SetForeColor(kTextBlack);
  flags.LastKeyAscii = 0;
}

bool IsLfo(const TextBox& box, int index) { return box.Name() == "txtLFO" && box.Index() == index; }

std::string ToneParmText(const TextBox& box, std::int16_t stored, bool isSigned) {
  if (IsLfo(box, 5)) return Lfo5Text(stored);
  if (!isSigned) return std::to_string(stored);
  if (IsLfo(box, 4)) return Lfo4Text(stored);
  return ToneSignedText(stored);
}

bool IsPartOfQnt(const std::string& text) {
  return text == "q" || text == "n" || text == "t" || text == "qn" || text == "qt" || text == "nt";
}

// A remnant of "none": shorter than the word and holding one of its letters.
bool IsPartOfNone(const std::string& text) {
  return text.size() < 4 && text.find_first_of("eon") != std::string::npos;
}

}  // namespace

bool Change_Envelope(EditContext& ctx, TextBox& Txt, Slider& Sld, std::int16_t& Value, std::int16_t NibPos,
                     std::uint8_t NibCount) {
  return Trap(ctx.link, "Change_Envelope()", "Error updating Envelope status", false, [&] {
    EditFlags& flags = ctx.flags;
    SendPendingScope pendingScope(flags);
    const EnvelopeStage at = StageOf(Txt);
    const bool enter = flags.LastKeyAscii == kKeyEnter;
    const std::string text = Txt.Text();

    if (text.empty() && enter) {  // an emptied box shows its stored value again
      flags.LastKeyAscii = 0;
      WriteStageByProgram(flags, Txt, StageText(at.stage, Value));
      return false;
    }

    if (at.stage == Stage::Attack && enter) {
      if (text == "-") {
        WriteByProgram(flags, Txt, AttackText(Value));
        EndWithoutSending(flags, Txt);
        return false;
      }
      const auto typed = ParseInt16(text);
      if (text == "-0" || (typed && *typed > 99)) {
        WriteByProgram(flags, Txt, text == "-0" ? "0" : "99");
        Txt.SetForeColor(kTextBlack);
      }
    } else if (at.stage == Stage::Sustain && enter && IsGateText(text)) {
      WriteByProgram(flags, Txt, "gt");
      EndWithoutSending(flags, Txt);
      return false;
    } else if ((at.stage == Stage::Decay || at.stage == Stage::Release) && ShowsInfinity(text)) {
      return false;  // the infinity sign is no number to send
    }

    if (!enter && !IsActiveControl(Txt, Sld)) return false;
    const std::int16_t v = BoxNumber(Txt);
    Value = at.stage == Stage::Attack && v < 0 ? static_cast<std::int16_t>(v + 256) : v;
    if (enter) Sld.SetValue(v);
    if (at.stage == Stage::Sustain && v == 0) WriteByProgram(flags, Txt, "gt");
    flags.SendPending = true;

    SendToneValue(ctx, Txt, Value, NibPos, NibCount);
    if ((at.stage == Stage::Decay || at.stage == Stage::Release) && Value == 99)
      WriteStageByProgram(flags, Txt, DecayReleaseText(Value));
    if (at.stage == Stage::Sustain) SwitchEnvelopeMode(ctx, at.envelope, Txt);
    return true;
  });
}

bool Change_ToneParm(EditContext& ctx, TextBox& Txt, Slider& Sld, std::int16_t& Value, std::int16_t NibPos,
                     std::uint8_t NibCount, std::uint8_t Unsigned) {
  return Trap(ctx.link, "Change_ToneParm()", "Error updating Tone parameter", false, [&] {
    EditFlags& flags = ctx.flags;
    SendPendingScope pendingScope(flags);
    const bool isSigned = Unsigned == 0;
    const bool lfo4 = IsLfo(Txt, 4);
    const bool lfo5 = IsLfo(Txt, 5);
    const bool enter = flags.LastKeyAscii == kKeyEnter;
    const std::string text = Txt.Text();

    if (text.empty() && enter) {
      flags.LastKeyAscii = 0;
      WriteByProgram(flags, Txt, ToneParmText(Txt, Value, isSigned));
      return false;
    }

    if (lfo4 && enter) {
      if (IsPartOfQnt(text)) {
        WriteByProgram(flags, Txt, "qnt");
        EndWithoutSending(flags, Txt);
        return false;
      }
      if (text == "qnt") WriteByProgram(flags, Txt, "0");  // "qnt" is the value 0
    }
    // "none" whole with Enter is the stored 0 already shown: like a remnant, nothing to send.
    if (lfo5 && (IsPartOfNone(text) || (enter && text == "none"))) {
      WriteByProgram(flags, Txt, "none");
      EndWithoutSending(flags, Txt);
      return false;
    }
    if (isSigned && enter) {
      if (Txt.Text() == "-") {
        WriteByProgram(flags, Txt, ToneSignedText(Value));
        flags.LastKeyAscii = 0;
        return false;
      }
      if (const auto typed = ParseInt16(Txt.Text()); typed && *typed > 99) WriteByProgram(flags, Txt, "99");
    }

    if (!enter && !IsActiveControl(Txt, Sld)) return false;
    if (lfo5 && enter) {
      // The box counts 1 to 128 for the stored 0 to 127.
      if (const auto typed = ParseInt16(Txt.Text()); typed && (*typed > 128 || *typed < 1))
        WriteByProgram(flags, Txt, *typed > 128 ? "128" : "1");
    }
    const std::int16_t shown = BoxNumber(Txt);
    const std::int16_t v = lfo5 ? static_cast<std::int16_t>(shown - 1) : shown;
    Value = isSigned && v < 0 ? static_cast<std::int16_t>(v + 256) : v;
    if (enter) Sld.SetValue(shown);
    flags.SendPending = true;

    SendToneValue(ctx, Txt, Value, NibPos, NibCount);
    return true;
  });
}

}  // namespace tavoro
