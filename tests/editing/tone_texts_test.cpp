// How the Tone page shows its stored values: signed fields, "gt", the infinity sign, "qnt",
// "none", and the font that goes with the infinity sign.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "editing/tone_texts.h"
#include "platform/controls/text_box.h"

namespace tavoro {
namespace {

const std::string kInfinity(1, static_cast<char>(165));

TEST(ToneTexts, StoredValuesAsThePageShowsThem) {
  struct Case {
    const char* rule;
    std::function<std::string(std::int16_t)> text;
    std::int16_t stored;
    std::string shown;
  };
  const Case cases[] = {
      {"attack as read", AttackText, -5, "-5"},
      {"attack stored by a sender as v + 256", AttackText, 251, "-5"},
      {"attack at the top", AttackText, 99, "99"},
      {"signed -99 kept as 157", ToneSignedText, 157, "-99"},
      {"signed 128 from a dump", ToneSignedText, 128, "-128"},
      {"sustain 0 is gate mode", SustainText, 0, "gt"},
      {"sustain otherwise", SustainText, 40, "40"},
      {"decay 99", DecayReleaseText, 99, kInfinity},
      {"decay 98", DecayReleaseText, 98, "98"},
      {"decay 0", DecayReleaseText, 0, "0"},
      {"lfo 4 zero", Lfo4Text, 0, "qnt"},
      {"lfo 4 negative kept as v + 256", Lfo4Text, 246, "-10"},
      {"lfo 4 positive", Lfo4Text, 7, "7"},
      {"lfo 5 zero", Lfo5Text, 0, "none"},
      {"lfo 5 counts from 1", Lfo5Text, 1, "2"},
      {"lfo 5 top", Lfo5Text, 127, "128"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.text(c.stored), c.shown) << c.rule;
  EXPECT_EQ(ToneSignedValue(251), -5);
  EXPECT_EQ(ToneSignedValue(99), 99);
}

TEST(ToneTexts, StageTextTakesTheFontThatShowsIt) {
  struct Step {
    std::string text;
    const char* font;
  };
  const Step steps[] = {{kInfinity, "Symbol"}, {"40", "MS Sans Serif"}, {kInfinity, "Symbol"},
                        {"--", "MS Sans Serif"}, {"--", "MS Sans Serif"}};
  plat::ctl::TextBox box;
  for (const auto& s : steps) {
    SetStageText(box, s.text);
    EXPECT_EQ(box.Text(), s.text);
    EXPECT_EQ(box.FontName(), s.font) << s.text;
  }
  // The font is right even when the text stays: a sign left in the plain font shows as "¥".
  box.SetFontName("MS Sans Serif");
  box.SetText(kInfinity);
  SetStageText(box, kInfinity);
  EXPECT_EQ(box.FontName(), "Symbol");
  EXPECT_EQ(box.text(), QString(QChar(0x221E)));
}

}  // namespace
}  // namespace tavoro
