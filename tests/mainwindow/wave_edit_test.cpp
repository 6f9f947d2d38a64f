// The Wave page's handlers against the emulator: typed points and tuning, the steppers, the
// scroll bars and the loop options.

#include <optional>

#include "emulator/core/bank.h"
#include "mainwindow/edit_protocol.h"
#include "mainwindow/wave_handlers.h"
#include "tests/mainwindow/edit_fixture.h"

namespace tavoro::testing {
namespace {

using plat::ctl::TextBox;

constexpr int kWaveTab = 6;
constexpr int kReadBack = 3;  // directory status, directory and the Wave's dump
constexpr std::size_t kFlags = 48, kFineTune = 50, kPlayStart = 68, kPlayEnd = 76, kLoopStart = 92, kLoopEnd = 100,
                      kFract = 108, kPitch = 128;

class WaveEditTest : public EditFixture {
 protected:
  // Wave 0 "Grand Piano C4": loop on, length 65536, play 0-65535, loop 41000-65000, pitch 60.
  // Wave 2 "Snare Tight": loop off, length 16000, play 0-15999, here with its loop at 200-300.
  void Stock(emu::Bank& bank) override {
    emu::Message& snare = bank.of(emu::Kind::Wave).at(2);
    auto write8 = [&](std::size_t pos, std::uint32_t v) {
      for (std::size_t i = 0; i < 8; ++i) snare[pos - 1 + i] = static_cast<std::uint8_t>((v >> (28 - 4 * i)) & 15);
    };
    write8(kLoopStart, 200);
    write8(kLoopEnd, 300);
    bank_ = bank;
  }
  // Reads the Wave as the instrument first held it.
  void Load(int wave) {
    peer->vesk().setBank(bank_);
    LoadObjects(-1, wave, kWaveTab);
    const WaveRecord& r = store().CurWave;
    const bool loopOn = store().WaveLoopOn == 1;
    Fill(*pages().txtPlayStart, std::to_string(r.PlayStart));
    Fill(*pages().txtPlayEnd, std::to_string(r.PlayEnd));
    Fill(*pages().txtLoopStart, loopOn ? std::to_string(r.LoopStart) : "");
    Fill(*pages().txtLoopEnd, loopOn ? std::to_string(r.LoopEnd) : "");
    Fill(*pages().txtWaveLen, std::to_string(r.WaveLen));
    flags().SuppressChange = true;
    (loopOn ? pages().optLoopEnb : pages().optLoopDis)->SetValue(true);
    flags().SuppressChange = false;
  }
  emu::Bank bank_;
  // The one upload of a commit, which the Wave's read-back follows.
  Bytes Upload() { return OneUpload(kReadBack); }
  // Moves a bar to `value` as the user does; the bar first stands elsewhere without a commit.
  void MoveBar(int index, int value) {
    auto& bar = pages().hscWave(index);
    bar.SetEnabled(true);
    flags().SuppressChange = true;
    bar.SetValue(value == 50 ? 51 : 50);
    flags().SuppressChange = false;
    Focus(bar);
    bar.SetValue(value);
  }
};

TEST_F(WaveEditTest, TypedPointsAndTuningAreSentWithEnterOrRefused) {
  Load(0);
  // sent -1: the value is refused, nothing is sent and the box shows the stored value `shown`.
  // refused: the instrument refuses the value sent; the read-back shows its own value, in red.
  struct Case {
    TextBox* box;
    const char* typed;
    std::size_t position, count;
    long sent;
    const char* shown = nullptr;
    bool refused = false;
  };
  TabPages& p = pages();
  const Case cases[] = {
      {p.txtLoopStart, "65100", kLoopStart, 8, -1, "41000"},  // above the loop end
      {p.txtPlayStart, "100", kPlayStart, 8, 100},
      {p.txtLoopEnd, "64000", kLoopEnd, 8, 64000},
      {p.txtFineTune, "-5", kFineTune, 2, 0xFB},
      {p.txtFineTune, "120", kFineTune, 2, 99},
      {p.txtWavePitch, "60.", kPitch, 4, 6000},
      {p.txtWavePitch, ".5", kPitch, 4, 50},
      {p.txtPlayStart, "200", kPlayStart, 8, 200, "100", true},
      {p.txtFineTune, "-7", kFineTune, 2, 0xF9, "99", true},
      {p.txtWavePitch, "61", kPitch, 4, 6100, "0.5", true},
  };
  std::size_t refusals = 0;
  for (const Case& c : cases) {
    Type(*c.box, c.typed);
    EXPECT_EQ(c.box->ForeColor(), kRed) << c.typed;
    if (c.refused) RefuseNext();
    Enter(*c.box);
    if (c.sent < 0) {
      EXPECT_TRUE(TakeReceived().empty()) << c.typed;
    } else {
      EXPECT_EQ(Sent(c.position, c.count, kReadBack), c.sent) << c.typed;
    }
    if (c.shown != nullptr) { EXPECT_EQ(c.box->Text(), c.shown) << c.typed; }
    EXPECT_EQ(c.box->ForeColor(), c.refused ? kRed : kBlack) << c.typed;
    refusals += c.refused ? 1 : 0;
  }
  EXPECT_EQ(boxes.boxes.size(), refusals);
}

TEST_F(WaveEditTest, ALoopBoxWithTheLoopOffSendsNothingAndTheEnterIsOver) {
  Load(2);
  Commit(*pages().txtLoopStart, "300");
  EXPECT_TRUE(TakeReceived().empty());
  EXPECT_EQ(pages().txtLoopStart->ForeColor(), kRed);
  EXPECT_EQ(flags().LastKeyAscii, 0);
  MoveBar(0, 100);  // a bar commits again
  EXPECT_FALSE(Upload().empty());
}

TEST_F(WaveEditTest, APlayStartTypedWithTheLoopOffBringsTheLoopIntoTheRange) {
  Load(2);
  Commit(*pages().txtPlayStart, "500");
  const Bytes up = Upload();
  ASSERT_FALSE(up.empty());
  EXPECT_EQ(Nibbles(up, kPlayStart, 8), 500);
  EXPECT_EQ(Nibbles(up, kLoopStart, 8), 500);
  EXPECT_EQ(Nibbles(up, kLoopEnd, 8), 15999);
}

TEST_F(WaveEditTest, TheBarsSpreadTheirRangeBetweenTheLimits) {
  struct Case { int wave; int bar; int value; std::size_t position; long sent; };  // sent -1: nothing sent
  const Case cases[] = {
      {0, 0, 100, kPlayStart, 41000},  // loop on: up to the loop start
      {0, 1, 1, kPlayEnd, 65000},      // down to the loop end
      {0, 1, 50, kPlayEnd, 65267},
      {0, 2, 100, kLoopStart, 65000},  // the loop start may meet the loop end
      {0, 3, 1, kLoopEnd, 41000},
      {0, 4, 100, kFract, 0xFFFFFF},
      {0, 3, 50, kLoopEnd, 41000 + (65535 - 41000) / 2},
      {2, 0, 100, kPlayStart, 15998},  // loop off: one word short of the play end
      {2, 1, 1, kPlayEnd, 1},
      {2, 2, 70, kLoopStart, -1},      // a loop bar with the loop off moves nothing
  };
  for (const Case& c : cases) {
    Load(c.wave);
    MoveBar(c.bar, c.value);
    if (c.sent < 0) {
      EXPECT_TRUE(TakeReceived().empty()) << c.wave << "/" << c.bar;
      continue;
    }
    EXPECT_EQ(Sent(c.position, 8, kReadBack), c.sent) << c.wave << "/" << c.bar << "/" << c.value;
    EXPECT_EQ(flags().WaveScrollIndex, -1);
    EXPECT_TRUE(pages().hscWave(c.bar).Enabled());
  }
}

TEST_F(WaveEditTest, ADragShowsThePointAndTheReleaseSendsIt) {
  Load(0);
  auto& bar = pages().hscWave(0);
  Focus(bar);
  bar.setSliderDown(true);
  bar.setValue(50);
  EXPECT_EQ(pages().txtPlayStart->Text(), "20500");
  EXPECT_EQ(pages().txtPlayStart->ForeColor(), kRed);
  EXPECT_TRUE(TakeReceived().empty());
  bar.setSliderDown(false);
  EXPECT_EQ(Sent(kPlayStart, 8, kReadBack), 20500);
}

TEST_F(WaveEditTest, BarPointsOfLongWavesNeedNoMoreThanTheirRange) {
  // A range times 100 is past 32 bits for Waves above 21 million words.
  const WaveHandlers::Limits l{1000, 100'001'000};
  EXPECT_EQ(WaveHandlers::BarPoint(l, 50), 50'001'000);
  EXPECT_EQ(WaveHandlers::BarPoint(l, 99), 99'001'000);
  EXPECT_EQ(WaveHandlers::BarPoint(l, 1), 1000);
  EXPECT_EQ(WaveHandlers::BarPoint(l, 100), 100'001'000);
}

TEST_F(WaveEditTest, TheSteppersStepOneAndStopAtTheirLimits) {
  struct Case {
    int wave;
    plat::ctl::SpinButton* spin;
    TextBox* box;
    const char* shown;
    bool up;
    std::size_t position;
    std::size_t count;
    long sent;  // -1: nothing sent
  };
  TabPages& p = pages();
  const Case cases[] = {
      {0, p.spnLoopFract, p.txtLoopFract, "FFFFFEh", true, kFract, 8, 0xFFFFFF},
      {0, p.spnLoopFract, p.txtLoopFract, "FFFFFFh", true, kFract, 8, -1},  // the 24-bit field's top
      {0, p.spnLoopFract, p.txtLoopFract, "0h", false, kFract, 8, -1},
      {0, p.spnWavePitch, p.txtWavePitch, "1.5", false, kPitch, 4, 50},
      {0, p.spnWavePitch, p.txtWavePitch, "0.5", false, kPitch, 4, -1},  // nothing below 0
      {0, p.spnWavePitch, p.txtWavePitch, "126.5", true, kPitch, 4, 12750},
      {0, p.spnFineTune, p.txtFineTune, "98", true, kFineTune, 2, 99},
      {0, p.spnFineTune, p.txtFineTune, "99", true, kFineTune, 2, -1},
      {0, p.spnFineTune, p.txtFineTune, "-98", false, kFineTune, 2, 0x9D},
      {2, p.spnPlayStart, p.txtPlayStart, "15997", true, kPlayStart, 8, 15998},
      {2, p.spnPlayStart, p.txtPlayStart, "15998", true, kPlayStart, 8, -1},
      {0, p.spnLoopEnd, p.txtLoopEnd, "65000", true, kLoopEnd, 8, 65001},
      {0, p.spnLoopStart, p.txtLoopStart, "41000", false, kLoopStart, 8, 40999},
      {2, p.spnLoopStart, p.txtLoopStart, "", false, kLoopStart, 8, -1},
  };
  for (const Case& c : cases) {
    Load(c.wave);
    Fill(*c.box, c.shown);
    Spin(*c.spin, c.up);
    EXPECT_EQ(Sent(c.position, c.count), c.sent) << c.shown;
  }
}

TEST_F(WaveEditTest, TheLoopSwitchSendsTheFlagsWithTheLoopInsideThePlayRangeAndTheDirectionOnlyShows) {
  Load(2);
  Click(*pages().optLoopEnb);
  const Bytes up = Upload();
  ASSERT_FALSE(up.empty());
  EXPECT_EQ(Nibbles(up, kFlags, 2) & 0x80, 0x80);
  EXPECT_EQ(Nibbles(up, kLoopStart, 8), 200);
  EXPECT_EQ(Nibbles(up, kLoopEnd, 8), 300);
  // Clicking the option in force sends nothing; the direction options only show the stored one.
  Load(0);  // forward only
  Click(*pages().optLoopEnb);
  pages().optLoopFwdRev->SetEnabled(true);
  Click(*pages().optLoopFwdRev);
  EXPECT_TRUE(pages().optLoopFwdOnly->Value());
  EXPECT_TRUE(TakeReceived().empty());
  const auto held = store().CurWave.WaveFlags;
  RefuseNext();
  Click(*pages().optLoopDis);
  EXPECT_EQ(Uploads(TakeReceived()).size(), 1u);
  EXPECT_EQ(store().CurWave.WaveFlags, held) << "refused: the switch the instrument holds";
  EXPECT_TRUE(pages().optLoopEnb->Value());
  Click(*pages().optLoopDis);
  const Bytes off = Upload();
  ASSERT_FALSE(off.empty());
  EXPECT_EQ(Nibbles(off, kFlags, 2) & 0x80, 0);
}

TEST_F(WaveEditTest, TheNoteNameFollowsTheCommittedPitch) {
  Load(0);
  struct Case { const char* typed; const char* note; };
  const Case cases[] = {{"60.5", "C4"}, {"61.5", "D4"}, {"127.5", "G#9"}};
  for (const Case& c : cases) {
    Type(*pages().txtWavePitch, c.typed);
    EXPECT_EQ(pages().txtWaveNote->Text(), "") << c.typed;
    Enter(*pages().txtWavePitch);
    TakeReceived();
    EXPECT_EQ(pages().txtWaveNote->Text(), c.note) << c.typed;
  }
}

// A box's number with its decimals: digits, one point and a leading minus, nothing else.
TEST(LeadingValueTest, ReadsDigitsOnePointAndALeadingMinusOnly) {
  struct Case { const char* text; std::optional<double> value; };
  const Case cases[] = {{"12.75", 12.75}, {"-.5", -0.5}, {"60.", 60.0}, {" 7 ", 7.0}, {"1.2.3", 1.2},
                        {"1e5", 1.0},     {"", {}},      {"-", {}},     {".", {}},    {"+-1", {}},
                        {"inf", {}},      {"-inf", {}},  {"nan", {}},   {"infinity", {}}};
  for (const Case& c : cases) EXPECT_EQ(LeadingValue(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace tavoro::testing
