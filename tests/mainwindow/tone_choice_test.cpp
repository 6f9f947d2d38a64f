// The Tone pages' choice lists, envelope selectors, mode bits, and the Wave a Tone plays with its
// stepper, against the emulator.

#include "tests/mainwindow/edit_fixture.h"

namespace tavoro::testing {
namespace {

constexpr int kTone2Tab = 4, kTone3Tab = 5, kTone1Tab = 3;
constexpr int kReadBack = 3;  // directory status, directory and the Tone's dump

class ToneChoiceTest : public EditFixture {
 protected:
  // Tone 1 "Strings Slow": DcoModeBits 2, PanModeBits 1, DcaDcfModeBits 0, Wave 1.
  void SetUp() override {
    EditFixture::SetUp();
    LoadObjects(1, -1, kTone2Tab);
  }
  // Clicks a mode option on its page as the user does.
  void ClickMode(int option) {
    Show(option <= 3 ? kTone2Tab : kTone3Tab);
    Click(pages().optToneModMode(option));
  }
};

TEST_F(ToneChoiceTest, AListSendsTheChosenEntryAtItsPlace) {
  struct Case { int list; int entry; std::size_t position; };
  const Case cases[] = {{4, 7, 108}, {0, 3, 76}, {7, 8, 124}, {3, 0, 134}};
  for (const Case& c : cases) {
    pages().cboTone(c.list).SetListIndex(c.entry);
    w().cboTone_Change(c.list);
    EXPECT_EQ(Sent(c.position, 2, kReadBack), c.entry) << c.list;
  }
}

TEST_F(ToneChoiceTest, NothingIsSentForNoEntryAProgramFillOrWhileARequestWaits) {
  pages().cboTone(5).SetListIndex(-1);
  w().cboTone_Change(5);
  flags().SuppressChange = true;
  pages().cboTone(6).SetListIndex(2);
  w().cboTone_Change(6);
  flags().SuppressChange = false;
  link().MidiOutBusy = true;
  Click(pages().optToneModMode(1));
  link().MidiOutBusy = false;
  EXPECT_TRUE(TakeReceived().empty());
  EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().text;
}

TEST_F(ToneChoiceTest, AnOptionSendsItsSetsFieldOnce) {
  struct Case {
    plat::ctl::ControlArray<plat::ctl::OptionButton>* set;
    int option;
    std::size_t position;
    std::size_t count;
    long sent;
  };
  auto* env = &pages().optToneEnvSel;
  auto* mode = &pages().optToneModMode;
  const Case cases[] = {
      {env, 5, 82, 2, 2},     // DCF: envelope 2
      {env, 7, 94, 2, 1},     // DCO: envelope 1
      {mode, 1, 141, 1, 1},   // "Inverted": DCA/DCF bit 1, one nibble of its own
      {mode, 17, 120, 2, 0x42},  // "bipolar" sets bit 64 beside the stored 2
      {mode, 12, 120, 2, 0x42},  // the bit of "bipolar" at 16 is clear already: sent unchanged
      {mode, 18, 138, 2, 0x00},  // pan "summed" clears the stored bit 1
  };
  for (const Case& c : cases) {
    Show(c.option <= 3 || (c.set == env && c.option < 6) ? kTone2Tab : kTone3Tab);
    Click((*c.set)(c.option));
    EXPECT_EQ(Sent(c.position, c.count, kReadBack), c.sent) << c.option;
  }
}

TEST_F(ToneChoiceTest, ARefusedModeBitIsNotCarriedByTheNextOne) {
  Show(kTone3Tab);
  RefuseNext();
  Click(pages().optToneModMode(18));  // clear pan bit 1
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(store().CurTone.PanModeBits, 1);
  EXPECT_TRUE(pages().optToneModMode(19).Value());  // the options show what the instrument holds
  TakeReceived();
  ClickMode(21);  // set pan bit 2
  EXPECT_EQ(Sent(138, 2, kReadBack), 0x03);
}

// Waves 3, 7 and 12 in the instrument; the Tone plays Wave 7.
class WaveAssignmentTest : public EditFixture {
 protected:
  void Stock(emu::Bank& bank) override {
    auto& waves = bank.of(emu::Kind::Wave);
    const emu::Message model = waves.at(0);
    waves.clear();
    for (int n : {3, 7, 12}) {
      emu::Message m = model;
      m[13] = 0, m[14] = 0, m[15] = static_cast<std::uint8_t>(n >> 4), m[16] = static_cast<std::uint8_t>(n & 15);
      const std::string name = "Wave " + std::to_string(n);
      for (std::size_t i = 0; i < 14; ++i) {
        const std::uint8_t ch = i < name.size() ? static_cast<std::uint8_t>(name[i]) : ' ';
        m[19 + 2 * i] = static_cast<std::uint8_t>(ch >> 4);
        m[20 + 2 * i] = static_cast<std::uint8_t>(ch & 15);
      }
      waves[n] = m;
    }
  }
  void SetUp() override {
    EditFixture::SetUp();
    LoadObjects(1, -1, kTone1Tab);
    Fill(box(), "7");
    store().CurTone.WaveNum = 7;
  }
  plat::ctl::TextBox& box() { return pages().txtTone(0); }
  void Step(bool up) { Spin(pages().spnTone(0), up); }
};

TEST_F(WaveAssignmentTest, ATypedNumberBecomesTheNextExistingWave) {
  struct Case { const char* typed; long sent; const char* shown; };  // sent -1: nothing sent
  const Case cases[] = {{"", -1, "7"}, {"9", 12, "12"}, {"99", 12, "12"}, {"7", 7, "7"}, {"0", 3, "3"}};
  for (const Case& c : cases) {
    Commit(box(), c.typed);
    EXPECT_EQ(Sent(50), c.sent) << c.typed;
    EXPECT_EQ(box().Text(), c.shown) << c.typed;
    EXPECT_EQ(box().ForeColor(), 0) << c.typed;
    if (c.sent >= 0) {
      EXPECT_EQ(pages().txtTone(1).Text(), "Wave " + std::string(c.shown)) << c.typed;
    }
  }
  EXPECT_EQ(flags().LastKeyAscii, 0);
  RefuseNext();
  Commit(box(), "12");
  EXPECT_EQ(Sent(50), 12);
  EXPECT_EQ(box().ForeColor(), kRed);
  EXPECT_EQ(store().CurTone.WaveNum, 3) << "the Wave the instrument holds";
  EXPECT_EQ(pages().txtTone(1).Text(), "Wave 3");
  Step(false);  // from the 12 shown to 7, taken: black
  EXPECT_EQ(Sent(50), 7);
  EXPECT_EQ(box().ForeColor(), kBlack);
  RefuseNext();
  Step(false);  // to 3, refused: red as a typed one
  EXPECT_EQ(Sent(50), 3);
  EXPECT_EQ(box().ForeColor(), kRed);
  EXPECT_EQ(pages().txtTone(1).Text(), "Wave 7");
}

TEST_F(WaveAssignmentTest, NoWaveAtOrAboveTheNumberSendsNothing) {
  store().WaveDir.Entries.resize(1);  // an old directory: only Wave 3 known
  Commit(box(), "9");
  EXPECT_EQ(box().Text(), "7");
  store().WaveDir.Entries.clear();
  Commit(box(), "5");
  EXPECT_TRUE(TakeReceived().empty());
}

TEST_F(WaveAssignmentTest, TheStepperMovesToTheNeighbouringWaveAndStopsAtTheEnds) {
  struct Case { const char* shown; bool up; long sent; };  // sent -1: nothing sent
  const Case cases[] = {{"7", false, 3}, {"7", true, 12}, {"3", false, -1}, {"12", true, -1}, {"", true, -1}};
  for (const Case& c : cases) {
    Fill(box(), c.shown);
    Step(c.up);
    EXPECT_EQ(Sent(50), c.sent) << c.shown << c.up;
    if (c.sent >= 0) { EXPECT_EQ(box().Text(), std::to_string(c.sent)); }
  }
}

TEST_F(WaveAssignmentTest, AStepAfterAnEmptyStatusReadsStatusAndDirectoryFirst) {
  store().WaveLoaded = false;
  store().WaveDir.Entries.clear();
  Step(true);
  const auto got = TakeReceived();
  ASSERT_GE(got.size(), 3u);
  EXPECT_EQ(got[0][8], 0x01);  // the directory status
  EXPECT_EQ(got[1][8], 0x02);  // and the directory with it
  EXPECT_EQ(Nibbles(Uploads(got).at(0), 50, 2), 12);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(WaveAssignmentTest, AStepWhenTheInstrumentHoldsNoWaveSaysSo) {
  peer->vesk().bank().of(emu::Kind::Wave).clear();
  store().WaveLoaded = false;
  Step(false);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Load Wave Object\r\nThere are no Wave Objects loaded into the Vesk");
  EXPECT_TRUE(Uploads(TakeReceived()).empty());
}

}  // namespace
}  // namespace tavoro::testing
