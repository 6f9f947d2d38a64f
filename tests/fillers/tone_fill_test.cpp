// The Tone pages and the envelope pictures filled from the current Tone.
#include <functional>

#include "tests/fillers/filler_fixture.h"

namespace tavoro::testing {
namespace {

const std::string kInfinity(1, static_cast<char>(165));

class ToneFillTest : public FillerFixture {
 protected:
  ToneRecord& tone() { return store().CurTone; }
  void Load() {
    auto ctx = Ctx();
    ASSERT_TRUE(LoadToneDisplay(ctx)) << LastBox();
  }
  // Fills the page from a Tone with envelope 1 set as given.
  void LoadEnv1(std::int16_t att, std::int16_t sus, std::int16_t dec, std::int16_t rel) {
    tone().Env1Att = att;
    tone().Env1Sus = sus;
    tone().Env1Dec = dec;
    tone().Env1Rel = rel;
    Load();
  }
};

struct EnvelopeCase {
  const char* what;
  std::int16_t att, sus, dec, rel;
  std::string attText, susText, decText, relText;
  bool decEnabled;
  std::string decFont, relFont;
  std::uint8_t trigger;
  int attSlider, decSlider;
};

TEST_F(ToneFillTest, EnvelopeTextsFontsAndModes) {
  const EnvelopeCase cases[] = {
      {"gate mode, endless decay", 10, 0, 99, 20, "10", "gt", kInfinity, "20", true, "Symbol", "MS Sans Serif", 0, 10, 99},
      {"trigger mode hides the decay", 10, 30, 45, 99, "10", "30", "--", kInfinity, false, "MS Sans Serif", "Symbol", 1,
       10, 45},
      {"decay back from endless to a number", 0, 0, 50, 5, "0", "gt", "50", "5", true, "MS Sans Serif", "MS Sans Serif",
       0, 0, 50},
      {"an attack kept as v + 256 shows signed", 251, 0, 10, 10, "-5", "gt", "10", "10", true, "MS Sans Serif",
       "MS Sans Serif", 0, -5, 10},
  };
  auto& p = pages();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // What an earlier Tone left: the endless sign with its font, and a font a Backspace reset.
    p.txtEnv1Dec->SetFontName("Symbol");
    p.txtEnv1Rel->SetFontName("MS Sans Serif");
    LoadEnv1(c.att, c.sus, c.dec, c.rel);
    EXPECT_EQ(p.txtEnv1Att->Text(), c.attText);
    EXPECT_EQ(p.sldEnv1Att->Value(), c.attSlider);
    EXPECT_EQ(p.txtEnv1Sus->Text(), c.susText);
    EXPECT_EQ(p.txtEnv1Dec->Text(), c.decText);
    EXPECT_EQ(p.txtEnv1Dec->FontName(), c.decFont);
    EXPECT_EQ(p.txtEnv1Dec->Enabled(), c.decEnabled);
    EXPECT_EQ(p.sldEnv1Dec->Enabled(), c.decEnabled);
    EXPECT_EQ(p.sldEnv1Dec->Value(), c.decSlider);
    EXPECT_EQ(p.txtEnv1Rel->Text(), c.relText);
    EXPECT_EQ(p.txtEnv1Rel->FontName(), c.relFont);
    EXPECT_EQ(app->flags.Env1Trigger, c.trigger);
    EXPECT_EQ(p.lblEnv1Mode->Caption(), c.trigger ? "Trigger Mode" : "Gate Mode");
    EXPECT_FALSE(app->flags.SuppressChange);
  }
}

struct LfoCase {
  std::int16_t lfo4, quantSrc, lfo5;
  std::string quantText, stepsText;
  bool stepsEnabled;
  int maxLength;  // 0: not looked at
};

TEST_F(ToneFillTest, LfoQuantisePair) {
  const LfoCase cases[] = {
      {5, 1, 3, "5", "amt", false, 0},
      {0, 0, 3, "qnt", "kbd", false, 3},
      {0, 1, 0, "qnt", "none", true, 4},
      {0, 1, 127, "qnt", "128", true, 3},
      {200, 1, 0, "-56", "amt", false, 0},
  };
  auto& p = pages();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.quantText + "/" + c.stepsText);
    tone().Lfo4 = c.lfo4;
    tone().LfoQuantSrc = c.quantSrc;
    tone().Lfo5 = c.lfo5;
    Load();
    EXPECT_EQ(p.txtLFO(4).Text(), c.quantText);
    EXPECT_EQ(p.txtLFO(5).Text(), c.stepsText);
    EXPECT_EQ(p.txtLFO(5).Enabled(), c.stepsEnabled);
    EXPECT_EQ(p.sldLFO(5).Enabled(), c.stepsEnabled);
    if (c.maxLength != 0) {
      EXPECT_EQ(p.txtLFO(5).MaxLength(), c.maxLength);
    }
  }
}

TEST_F(ToneFillTest, ParametersOptionsListsAndWave) {
  tone().Dca0 = 200;  // kept as -56 + 256
  tone().Dcf4 = 77;
  tone().DcaEnvSel = 2;
  tone().PanEnvSel = 7;  // selects none of its set
  tone().LfoWaveshape = 7;
  tone().PanAuxSrc = 6;
  tone().WaveNum = 12;
  store().WaveLoaded = true;
  store().WaveDir.Entries = {Entry(0, 3, "Other"), Entry(1, 12, "  Piano Lo    ")};
  auto& p = pages();
  for (int i = 9; i < 12; ++i) p.optToneEnvSel(i).SetValue(false);
  Load();
  EXPECT_EQ(p.txtDCA(0).Text(), "-56");
  EXPECT_EQ(p.sldDCA(0).Value(), -56);
  EXPECT_EQ(p.txtDCF(4).Text(), "77");
  EXPECT_TRUE(p.optToneEnvSel(2).Value());
  for (int i = 9; i < 12; ++i) EXPECT_FALSE(p.optToneEnvSel(i).Value()) << i;
  EXPECT_EQ(p.cboTone(4).Text(), "grunge");
  EXPECT_EQ(p.cboTone(3).Text(), "auxctl3");
  EXPECT_EQ(p.txtTone(0).Text(), "12");
  EXPECT_EQ(p.txtTone(1).Text(), "Piano Lo");

  store().WaveLoaded = false;
  Load();
  EXPECT_EQ(p.txtTone(1).Text(), "No Waves Avail");
  EXPECT_FALSE(p.txtTone(1).Enabled());
  EXPECT_FALSE(p.txtTone(0).Enabled());
}

// The DCO and pan values each in the box and slider of their own number; each mode bit sets the
// second option of its own pair and leaves every other pair on its first.
TEST_F(ToneFillTest, DcoAndPanValuesAndModeBitsReachTheirControls) {
  auto& p = pages();
  auto& t = tone();
  t.Dco0 = 1, t.Dco1 = 2, t.Dco2 = 3, t.Dco3 = 4;
  t.Pan0 = 5, t.Pan1 = 6, t.Pan2 = 7, t.Pan3 = 8;
  Load();
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(p.txtDCO(i).Text(), std::to_string(1 + i)) << "DCO " << i;
    EXPECT_EQ(p.sldDCO(i).Value(), 1 + i) << "DCO " << i;
    EXPECT_EQ(p.txtPan(i).Text(), std::to_string(5 + i)) << "pan " << i;
    EXPECT_EQ(p.sldPan(i).Value(), 5 + i) << "pan " << i;
  }

  struct Case {
    bool pan;
    std::int16_t bit;
    int pair;  // the first option of the pair
  };
  const Case cases[] = {{false, 1, 6},  {false, 2, 8},  {false, 8, 10}, {false, 16, 12}, {false, 32, 4},
                        {false, 4, 14}, {false, 64, 16}, {true, 1, 18},  {true, 2, 20},   {true, 8, 22},
                        {true, 16, 24}, {true, 32, 26},  {true, 4, 28},  {true, 64, 30}};
  for (const Case& c : cases) {
    t.DcoModeBits = c.pan ? 0 : c.bit;
    t.PanModeBits = c.pan ? c.bit : 0;
    Load();
    for (const Case& other : cases) {
      EXPECT_EQ(p.optToneModMode(other.pair + 1).Value(), other.pair == c.pair)
          << (c.pan ? "pan" : "DCO") << " bit " << c.bit << ", pair " << other.pair;
    }
  }
}

// The envelope picture, pixel by pixel: level zero at y 124, full level at 24, x from 10.
struct PlotCase {
  const char* what;
  std::int16_t att, sus, dec, rel;
  std::vector<std::tuple<int, int, long>> pixels;  // x, y, colour number
};

TEST_F(ToneFillTest, EnvelopePictureByPixels) {
  constexpr long kWhite = 0xFFFFFF, kTeal = 0xC0C000, kBlue = 0xFFC0C0, kBack = 0x000000;
  const PlotCase cases[] = {
      {"straight attack 5", 5, 0, 50, 10, {{10, 124, kWhite}, {12, 21, kWhite}, {10, 125, kBack}}},
      {"curved attack -5 ends one unit lower", 251, 0, 50, 10,
       {{15, 25, kWhite}, {10, 125, kWhite}, {12, 21, kWhite}, {15, 124, kBack}}},
      {"gate mode, decay 99: a level line 99 long", 0, 0, 99, 10,
       {{60, 24, kTeal}, {108, 24, kTeal}, {119, 124, kWhite}, {60, 74, kBack}}},
      {"gate mode, decay 50 to half level", 0, 0, 50, 10, {{35, 49, kTeal}, {55, 69, kTeal}, {70, 124, kWhite}}},
      {"trigger mode holds the sustain, ignores the decay", 0, 20, 50, 10,
       {{20, 24, kBlue}, {40, 124, kWhite}, {60, 74, kBack}}},
      {"release 99 stays at the level reached", 0, 0, 50, 99, {{100, 74, kWhite}, {159, 74, kWhite}, {100, 124, kBack}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LoadEnv1(c.att, c.sus, c.dec, c.rel);
    for (const auto& [x, y, colour] : c.pixels)
      EXPECT_EQ(pages().picEnv1->Point(x, y), colour) << "at " << x << "," << y;
  }
}

}  // namespace
}  // namespace tavoro::testing
