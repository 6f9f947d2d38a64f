// The Tone senders against the instrument emulator over the loopback bus: what the instrument
// receives, what the box, its slider and the record field show after a commit, the envelope
// modes, and the error and refusal paths.
#include <climits>
#include <string>

#include "editing/tone_senders.h"
#include "editing/tone_texts.h"
#include "tests/editing/sender_fixture.h"

namespace tavoro::testing {
namespace {

using plat::ctl::Slider;
using plat::ctl::TextBox;

const std::string kInf(1, static_cast<char>(165));
constexpr int kKeep = INT_MIN;  // the slider is not looked at
constexpr int kNotSent = -1;

class ToneSenderTest : public SenderFixture {
 protected:
  void SetUp() override {
    SenderFixture::SetUp();
    ASSERT_TRUE(xfer->ToneObjDump(static_cast<std::int16_t>(FirstNumber(emu::Kind::Tone))));
    // What the page's change handlers do with the program's own writes; anything else reaching
    // them would be a commit of its own.
    auto watch = [this](TextBox& box) {
      box.Change = [this, &box] {
        if (flags.ProgramTextSet) {
          flags.ProgramTextSet = false;
          box.SetForeColor(kTextBlack);
        } else if (!flags.SuppressChange && flags.LastKeyAscii != 8) {
          ++strayCommits;
        }
      };
    };
    for (TextBox* b : {pages->txtEnv1Att, pages->txtEnv1Sus, pages->txtEnv1Dec, pages->txtEnv1Rel, pages->txtEnv2Att,
                       pages->txtEnv2Sus, pages->txtEnv2Dec, pages->txtEnv2Rel})
      watch(*b);
    for (auto* arr : {&pages->txtDCA, &pages->txtDCF, &pages->txtDCO, &pages->txtLFO, &pages->txtPan})
      for (int i : arr->Indexes()) watch((*arr)(i));
    ShowActive();
    vesk().clearReceived();
  }

  // The user's typing, then Enter (or the slider's commit, with the slider holding the focus).
  void Type(TextBox& box, Slider& slider, const std::string& text, bool enter) {
    SenderFixture::Type(box, text);
    if (enter) {
      box.setFocus();
    } else {
      flags.LastKeyAscii = 0;
      slider.setFocus();
    }
  }

  // The byte the instrument received at the nibble position of the last upload; kNotSent when
  // nothing was sent.
  int SentByte(std::int16_t nibPos) {
    if (vesk().received().empty()) return kNotSent;
    return HexByte(LastSent(), static_cast<std::size_t>(nibPos));
  }

  // No flag left up, nothing else took the sender's writes for the user's.
  void ExpectSettled(const std::string& what) {
    EXPECT_FALSE(flags.ProgramTextSet) << what;
    EXPECT_FALSE(flags.SendPending) << what;
    EXPECT_EQ(strayCommits, 0) << what;
    ExpectIdle();
  }

  int strayCommits = 0;
};

struct Stage {
  TextBox* box;
  Slider* slider;
  std::int16_t* field;
  std::int16_t nibPos;
};

// ------------------------------------------------------------------------ envelope stages

TEST_F(ToneSenderTest, EnvelopeStagesTextsAndValues) {
  auto stage = [this](const std::string& s) -> Stage {
    ToneRecord& t = store.CurTone;
    TabPages& p = *pages;
    if (s == "Env1Att") return {p.txtEnv1Att, p.sldEnv1Att, &t.Env1Att, 54};
    if (s == "Env2Att") return {p.txtEnv2Att, p.sldEnv2Att, &t.Env2Att, 62};
    if (s == "Env1Sus") return {p.txtEnv1Sus, p.sldEnv1Sus, &t.Env1Sus, 56};
    if (s == "Env1Dec") return {p.txtEnv1Dec, p.sldEnv1Dec, &t.Env1Dec, 58};
    return {p.txtEnv2Rel, p.sldEnv2Rel, &t.Env2Rel, 68};
  };
  struct Case {
    const char* what;
    const char* stage;
    std::int16_t stored;
    std::string typed;
    int sent;  // the byte, or kNotSent
    std::string shown;
    long colour;
    std::int16_t field;
    int slider;
  };
  const Case cases[] = {
      {"attack above 99 is sent as 99", "Env1Att", 10, "150", 99, "99", 0, 99, 99},
      {"negative attack stored as its byte", "Env1Att", 10, "-5", 0xFB, "-5", 0, 251, -5},
      {"second envelope's attack", "Env2Att", 10, "-99", 157, "-99", 0, 157, -99},
      {"attack -0 is 0", "Env1Att", 10, "-0", 0, "0", 0, 0, 0},
      {"attack minus alone shows the stored value", "Env1Att", 251, "-", kNotSent, "-5", 0, 251, kKeep},
      {"emptied attack shows the stored value", "Env1Att", 251, "", kNotSent, "-5", 0, 251, kKeep},
      {"emptied sustain of 0 shows gt", "Env1Sus", 0, "", kNotSent, "gt", 0, 0, kKeep},
      {"sustain g completes gt", "Env1Sus", 0, "g", kNotSent, "gt", 0, 0, kKeep},
      {"sustain t completes gt", "Env1Sus", 0, "t", kNotSent, "gt", 0, 0, kKeep},
      {"sustain G completes gt", "Env1Sus", 0, "G", kNotSent, "gt", 0, 0, kKeep},
      {"emptied decay of 99 shows the sign", "Env1Dec", 99, "", kNotSent, kInf, 0, 99, kKeep},
      {"emptied release shows its number", "Env2Rel", 40, "", kNotSent, "40", 0, 40, kKeep},
      {"decay 99 is sent and shown as the sign", "Env1Dec", 10, "99", 99, kInf, 0, 99, 99},
      {"release 98 stays a number", "Env2Rel", 10, "98", 98, "98", 0, 98, 98},
      {"a digit behind the sign is not sent", "Env2Rel", 99, kInf + "5", kNotSent, kInf + "5", 255, 99, kKeep},
  };
  for (const auto& c : cases) {
    const Stage s = stage(c.stage);
    *s.field = c.stored;
    s.box->SetFontName("MS Sans Serif");
    Type(*s.box, *s.slider, c.typed, true);
    vesk().clearReceived();
    const bool result = Change_Envelope(*ctx, *s.box, *s.slider, *s.field, s.nibPos, 2);
    EXPECT_EQ(result, c.sent != kNotSent) << c.what;
    EXPECT_EQ(SentByte(s.nibPos), c.sent) << c.what;
    EXPECT_EQ(s.box->Text(), c.shown) << c.what;
    EXPECT_EQ(s.box->FontName(), c.shown == kInf ? "Symbol" : "MS Sans Serif") << c.what;
    EXPECT_EQ(s.box->ForeColor(), c.colour) << c.what;
    EXPECT_EQ(*s.field, c.field) << c.what;
    if (c.slider != kKeep) {
      EXPECT_EQ(s.slider->Value(), c.slider) << c.what;
    }
    if (c.colour == 0) {
      EXPECT_EQ(flags.LastKeyAscii, 0) << c.what;
    }
    ExpectSettled(c.what);
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ToneSenderTest, SustainSwitchesTheEnvelopeMode) {
  TabPages& p = *pages;
  ToneRecord& t = store.CurTone;
  // Gate mode, decay shown: a sustain of 40 goes to trigger mode.
  flags.Env2Trigger = 0;
  t.Env2Dec = 99;
  Type(*p.txtEnv2Sus, *p.sldEnv2Sus, "40", true);
  ASSERT_TRUE(Change_Envelope(*ctx, *p.txtEnv2Sus, *p.sldEnv2Sus, t.Env2Sus, 64, 2));
  EXPECT_EQ(SentByte(64), 40);
  EXPECT_EQ(flags.Env2Trigger, 1);
  EXPECT_EQ(p.txtEnv2Dec->Text(), "--");
  EXPECT_EQ(p.txtEnv2Dec->FontName(), "MS Sans Serif");
  EXPECT_FALSE(p.txtEnv2Dec->Enabled());
  EXPECT_FALSE(p.sldEnv2Dec->Enabled());
  EXPECT_EQ(flags.Env1Trigger, 0);  // the other envelope is left alone
  EXPECT_TRUE(p.txtEnv1Dec->Enabled());
  ExpectSettled("to trigger mode");

  // A second non-zero sustain keeps trigger mode.
  Type(*p.txtEnv2Sus, *p.sldEnv2Sus, "41", true);
  ASSERT_TRUE(Change_Envelope(*ctx, *p.txtEnv2Sus, *p.sldEnv2Sus, t.Env2Sus, 64, 2));
  EXPECT_EQ(flags.Env2Trigger, 1);
  EXPECT_EQ(p.txtEnv2Dec->Text(), "--");

  // Sustain 0 from the slider: gate mode again, the decay of 99 comes back as the sign.
  Type(*p.txtEnv2Sus, *p.sldEnv2Sus, "0", false);
  ASSERT_TRUE(Change_Envelope(*ctx, *p.txtEnv2Sus, *p.sldEnv2Sus, t.Env2Sus, 64, 2));
  EXPECT_EQ(SentByte(64), 0);
  EXPECT_EQ(p.txtEnv2Sus->Text(), "gt");
  EXPECT_EQ(flags.Env2Trigger, 0);
  EXPECT_TRUE(p.txtEnv2Dec->Enabled());
  EXPECT_TRUE(p.sldEnv2Dec->Enabled());
  EXPECT_EQ(p.txtEnv2Dec->Text(), kInf);
  EXPECT_EQ(p.txtEnv2Dec->FontName(), "Symbol");
  ExpectSettled("to gate mode");

  // Envelope 1, typed 0 from trigger mode: the slider goes to 0, the decay shows its number.
  flags.Env1Trigger = 1;
  t.Env1Dec = 12;
  p.txtEnv1Dec->SetFontName("Symbol");
  p.sldEnv1Sus->SetValue(50);
  Type(*p.txtEnv1Sus, *p.sldEnv1Sus, "0", true);
  ASSERT_TRUE(Change_Envelope(*ctx, *p.txtEnv1Sus, *p.sldEnv1Sus, t.Env1Sus, 56, 2));
  EXPECT_EQ(p.sldEnv1Sus->Value(), 0);
  EXPECT_EQ(p.txtEnv1Dec->Text(), "12");
  EXPECT_EQ(p.txtEnv1Dec->FontName(), "MS Sans Serif");
  EXPECT_EQ(flags.Env1Trigger, 0);
  ExpectSettled("envelope 1 to gate mode");
}

TEST_F(ToneSenderTest, SliderCommitsOnlyWhileItIsTheActiveControl) {
  TabPages& p = *pages;
  ToneRecord& t = store.CurTone;
  Type(*p.txtEnv1Rel, *p.sldEnv1Rel, "99", false);
  ASSERT_TRUE(Change_Envelope(*ctx, *p.txtEnv1Rel, *p.sldEnv1Rel, t.Env1Rel, 60, 2));
  EXPECT_EQ(SentByte(60), 99);
  EXPECT_EQ(p.txtEnv1Rel->Text(), kInf);
  EXPECT_EQ(p.txtEnv1Rel->FontName(), "Symbol");

  // The text changed while another control holds the focus: nothing is taken.
  Type(*p.txtEnv1Att, *p.sldEnv1Att, "7", false);
  p.txtEnv1Sus->setFocus();
  vesk().clearReceived();
  const std::int16_t before = t.Env1Att;
  EXPECT_FALSE(Change_Envelope(*ctx, *p.txtEnv1Att, *p.sldEnv1Att, t.Env1Att, 54, 2));
  EXPECT_TRUE(vesk().received().empty());
  EXPECT_EQ(t.Env1Att, before);
  EXPECT_EQ(p.txtEnv1Att->ForeColor(), kTextRed);

  // Any member of the slider array counts for the box of another index.
  Type(pages->txtDCA(2), pages->sldDCA(1), "-3", false);
  ASSERT_TRUE(Change_ToneParm(*ctx, pages->txtDCA(2), pages->sldDCA(2), t.Dca2, 78, 2, 0));
  EXPECT_EQ(SentByte(78), 253);
  ExpectSettled("slider commits");
}

TEST_F(ToneSenderTest, NoNumberEndsInTheErrorBoxAndARefusalStillReportsTheSend) {
  TabPages& p = *pages;
  ToneRecord& t = store.CurTone;
  const std::int16_t before = t.Env1Att;
  Type(*p.txtEnv1Att, *p.sldEnv1Att, "12a", true);
  EXPECT_FALSE(Change_Envelope(*ctx, *p.txtEnv1Att, *p.sldEnv1Att, t.Env1Att, 54, 2));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Change_Envelope()\r\nError updating Envelope status");
  EXPECT_EQ(t.Env1Att, before);
  EXPECT_TRUE(vesk().received().empty());

  Type(pages->txtPan(1), pages->sldPan(1), "9999999", true);
  EXPECT_FALSE(Change_ToneParm(*ctx, pages->txtPan(1), pages->sldPan(1), t.Pan1, 130, 2, 0));
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "Change_ToneParm()\r\nError updating Tone parameter");
  ExpectSettled("error path");

  // The instrument refuses: the value was sent, the text stays red, the field keeps it.
  vesk().setForcedStatus(3);
  Type(pages->txtDCO(0), pages->sldDCO(0), "33", true);
  EXPECT_TRUE(Change_ToneParm(*ctx, pages->txtDCO(0), pages->sldDCO(0), t.Dco0, 98, 2, 0));
  EXPECT_EQ(SentByte(98), 33);
  EXPECT_EQ(pages->txtDCO(0).ForeColor(), kTextRed);
  EXPECT_EQ(t.Dco0, 33);
  EXPECT_EQ(flags.LastKeyAscii, 0);
  EXPECT_EQ(boxes.boxes.size(), 3u);  // the reply wait's box
  ExpectSettled("refused");
}

// ------------------------------------------------------------------- DCA, DCF, DCO, LFO, pan

TEST_F(ToneSenderTest, ToneParametersTextsAndValues) {
  struct Case {
    const char* what;
    plat::ctl::ControlArray<TextBox>* boxes;
    plat::ctl::ControlArray<Slider>* sliders;
    int index;
    std::int16_t ToneRecord::*field;
    std::int16_t nibPos;
    std::uint8_t isUnsigned;
    std::int16_t stored;
    std::string typed;
    int sent;
    std::string shown;
    std::int16_t fieldAfter;
    int slider;
  };
  TabPages& p = *pages;
  const Case cases[] = {
      {"negative DCF sent as its byte", &p.txtDCF, &p.sldDCF, 0, &ToneRecord::Dcf0, 86, 0, 0, "-20", 236, "-20", 236, -20},
      {"signed above 99", &p.txtDCO, &p.sldDCO, 2, &ToneRecord::Dco2, 104, 0, 0, "150", 99, "99", 99, 99},
      {"unsigned is not capped", &p.txtDCF, &p.sldDCF, 4, &ToneRecord::Dcf4, 80, 1, 0, "150", 150, "150", 150, kKeep},
      {"emptied signed box", &p.txtDCA, &p.sldDCA, 1, &ToneRecord::Dca1, 74, 0, 251, "", kNotSent, "-5", 251, kKeep},
      {"minus alone", &p.txtDCA, &p.sldDCA, 0, &ToneRecord::Dca0, 72, 0, 10, "-", kNotSent, "10", 10, kKeep},
      {"pan -99", &p.txtPan, &p.sldPan, 2, &ToneRecord::Pan2, 132, 0, 0, "-99", 157, "-99", 157, -99},
      {"part of qnt", &p.txtLFO, &p.sldLFO, 4, &ToneRecord::Lfo4, 122, 0, 5, "qt", kNotSent, "qnt", 5, kKeep},
      {"qnt sends 0", &p.txtLFO, &p.sldLFO, 4, &ToneRecord::Lfo4, 122, 0, 5, "qnt", 0, "0", 0, 0},
      {"emptied lfo 4 of 0", &p.txtLFO, &p.sldLFO, 4, &ToneRecord::Lfo4, 122, 0, 0, "", kNotSent, "qnt", 0, kKeep},
      {"minus alone in lfo 4 of 0", &p.txtLFO, &p.sldLFO, 4, &ToneRecord::Lfo4, 122, 0, 0, "-", kNotSent, "0", 0, kKeep},
      {"part of none", &p.txtLFO, &p.sldLFO, 5, &ToneRecord::Lfo5, 142, 1, 3, "n", kNotSent, "none", 3, kKeep},
      {"none whole", &p.txtLFO, &p.sldLFO, 5, &ToneRecord::Lfo5, 142, 1, 0, "none", kNotSent, "none", 0, kKeep},
      {"lfo 5 counts from 1", &p.txtLFO, &p.sldLFO, 5, &ToneRecord::Lfo5, 142, 1, 9, "1", 0, "1", 0, 1},
      {"lfo 5 above 128", &p.txtLFO, &p.sldLFO, 5, &ToneRecord::Lfo5, 142, 1, 9, "200", 127, "128", 127, 128},
      {"lfo 5 below 1", &p.txtLFO, &p.sldLFO, 5, &ToneRecord::Lfo5, 142, 1, 9, "0", 0, "1", 0, 1},
      {"emptied lfo 5 of 0", &p.txtLFO, &p.sldLFO, 5, &ToneRecord::Lfo5, 142, 1, 0, "", kNotSent, "none", 0, kKeep},
      {"emptied lfo 5", &p.txtLFO, &p.sldLFO, 5, &ToneRecord::Lfo5, 142, 1, 4, "", kNotSent, "5", 4, kKeep},
  };
  for (const auto& c : cases) {
    TextBox& box = (*c.boxes)(c.index);
    Slider& slider = (*c.sliders)(c.index);
    std::int16_t& field = store.CurTone.*c.field;
    field = c.stored;
    Type(box, slider, c.typed, true);
    vesk().clearReceived();
    const bool result = Change_ToneParm(*ctx, box, slider, field, c.nibPos, 2, c.isUnsigned);
    EXPECT_EQ(result, c.sent != kNotSent) << c.what;
    EXPECT_EQ(SentByte(c.nibPos), c.sent) << c.what;
    EXPECT_EQ(box.Text(), c.shown) << c.what;
    EXPECT_EQ(field, c.fieldAfter) << c.what;
    if (c.slider != kKeep) {
      EXPECT_EQ(slider.Value(), c.slider) << c.what;
    }
    EXPECT_EQ(flags.LastKeyAscii, 0) << c.what;
    ExpectSettled(c.what);
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ToneSenderTest, NoneIsCompletedWithoutEnterToo) {
  TextBox& box = pages->txtLFO(5);
  Type(box, pages->sldLFO(5), "no", false);
  pages->txtLFO(0).setFocus();  // not even the slider: the remnant is completed all the same
  EXPECT_FALSE(Change_ToneParm(*ctx, box, pages->sldLFO(5), store.CurTone.Lfo5, 142, 2, 1));
  EXPECT_EQ(box.Text(), "none");
  EXPECT_EQ(box.ForeColor(), 0);
  EXPECT_TRUE(vesk().received().empty());
  ExpectSettled("none");
}

}  // namespace
}  // namespace tavoro::testing
