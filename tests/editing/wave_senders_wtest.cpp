// The Wave sender and the loop-point check: what the instrument receives and what the box shows
// for each typed value, with the loop on and off.
#include "editing/wave_senders.h"

#include "emulator/core/wire.h"
#include "tests/editing/sender_fixture.h"

namespace tavoro::testing {
namespace {

struct Points {
  std::int32_t ps, pe, ls, le;
  bool operator==(const Points&) const = default;
};
void PrintTo(const Points& p, std::ostream* os) { *os << p.ps << "-" << p.pe << " loop " << p.ls << "-" << p.le; }

class WaveSenderTest : public SenderFixture {
 protected:
  // Wave 0 becomes: length 2000, play 100-1000, loop 200-300, fine tune 0, pitch 60.00.
  void Load(bool loopOn) {
    emu::Message& d = Stored(emu::Kind::Wave, 0);
    emu::WriteByte(d, emu::wave::Flags, loopOn ? emu::wave::LoopOn : 0);
    emu::WriteNibbles(d, emu::wave::Length, 8, 2000);
    emu::WriteNibbles(d, emu::wave::PlayStart, 8, 100);
    emu::WriteNibbles(d, emu::wave::PlayEnd, 8, 1000);
    emu::WriteNibbles(d, emu::wave::LoopStart, 8, 200);
    emu::WriteNibbles(d, emu::wave::LoopEnd, 8, 300);
    emu::WriteByte(d, emu::wave::FineTune, 0);
    emu::WriteWord(d, emu::wave::Pitch, 6000);
    ASSERT_TRUE(xfer->WaveObjDump(0));
    TakeSent();
    auto& p = *pages;
    for (TextBox* b : {p.txtPlayStart, p.txtPlayEnd, p.txtLoopStart, p.txtLoopEnd, p.txtFineTune, p.txtWavePitch})
      Handle(*b);
  }

  struct Box {
    TextBox* txt;
    plat::ctl::Control* spn;
    std::int16_t pos;
    std::uint8_t count, kind;
  };
  Box BoxNamed(const std::string& name) {
    auto& p = *pages;
    if (name == "PlayStart") return {p.txtPlayStart, p.spnPlayStart, 68, 8, kWavePoint};
    if (name == "PlayEnd") return {p.txtPlayEnd, p.spnPlayEnd, 76, 8, kWavePoint};
    if (name == "LoopStart") return {p.txtLoopStart, p.spnLoopStart, 92, 8, kWavePoint};
    if (name == "LoopEnd") return {p.txtLoopEnd, p.spnLoopEnd, 100, 8, kWavePoint};
    if (name == "FineTune") return {p.txtFineTune, p.spnFineTune, 50, 2, kWaveFineTune};
    return {p.txtWavePitch, p.spnWavePitch, 128, 4, kWavePitch};
  }
  bool Commit(const std::string& name) {
    const Box b = BoxNamed(name);
    WaveRecord& w = store.CurWave;
    if (name == "FineTune") return Change_WaveParm(*ctx, *b.txt, *b.spn, w.FineTune, b.pos, b.count, b.kind);
    if (name == "Pitch") return Change_WaveParm(*ctx, *b.txt, *b.spn, w.WavePitch, b.pos, b.count, b.kind);
    std::int32_t& field = name == "PlayStart" ? w.PlayStart
                          : name == "PlayEnd" ? w.PlayEnd
                          : name == "LoopStart" ? w.LoopStart
                                                : w.LoopEnd;
    return Change_WaveParm(*ctx, *b.txt, *b.spn, field, b.pos, b.count, b.kind);
  }
  static Points PointsOf(const plat::Bytes& m) {
    return {HexLong(m, 68, 8), HexLong(m, 76, 8), HexLong(m, 92, 8), HexLong(m, 100, 8)};
  }
};

struct TypedCase {
  const char* what;
  bool loopOn;
  const char* box;
  const char* typed;
  bool sent;           // a Wave upload reached the instrument
  const char* shown;   // the box afterwards
  Points points;       // the upload's points (when sent)
};

const TypedCase kTypedPoints[] = {
    {"play start past the loop start is pulled back to it", true, "PlayStart", "250", true, "200", {200, 1000, 200, 300}},
    {"play start at play end - 1 is refused", true, "PlayStart", "999", false, "100", {}},
    {"negative play start is refused", true, "PlayStart", "-1", false, "100", {}},
    {"play start inside the range", true, "PlayStart", "150", true, "150", {150, 1000, 200, 300}},
    {"play end before the loop end is pushed out to it", true, "PlayEnd", "250", true, "300", {100, 300, 200, 300}},
    {"play end at the wave length is refused", true, "PlayEnd", "2000", false, "1000", {}},
    {"loop start below play start is refused", true, "LoopStart", "99", false, "200", {}},
    {"loop start above the loop end is refused", true, "LoopStart", "301", false, "200", {}},
    {"loop start inside", true, "LoopStart", "250", true, "250", {100, 1000, 250, 300}},
    {"loop end at play end is taken", true, "LoopEnd", "1000", true, "1000", {100, 1000, 200, 1000}},
    {"loop end below the loop start is refused", true, "LoopEnd", "199", false, "300", {}},
    {"the unchanged play start sends nothing", true, "PlayStart", "100", false, "100", {}},
    {"an empty box gets the stored point back", true, "PlayEnd", "", false, "1000", {}},
    // Loop off: the loop follows the play range inside the same upload.
    {"loop off: play start past the loop moves loop start and end", false, "PlayStart", "500", true, "500",
     {500, 1000, 500, 1000}},
    {"loop off: play end inside the loop pulls the loop end in", false, "PlayEnd", "250", true, "250",
     {100, 250, 200, 250}},
    {"loop off: play start inside keeps the loop", false, "PlayStart", "150", true, "150", {150, 1000, 200, 300}},
    {"loop off: a loop start edit sends nothing", false, "LoopStart", "250", false, "250", {}},
    {"loop off: a loop end edit sends nothing", false, "LoopEnd", "250", false, "250", {}},
};

TEST_F(WaveSenderTest, TypedPointsAreCheckedAgainstTheOtherPoints) {
  for (const auto& c : kTypedPoints) {
    SCOPED_TRACE(c.what);
    Load(c.loopOn);
    TextBox& box = *BoxNamed(c.box).txt;
    Type(box, c.typed);
    EXPECT_EQ(Commit(c.box), c.sent);
    EXPECT_EQ(box.Text(), c.shown);
    EXPECT_EQ(flags.LastKeyAscii, 0) << "every Enter path ends the commit";
    EXPECT_FALSE(flags.ProgramTextSet);
    const auto sent = TakeSent();
    if (!c.sent) {
      EXPECT_TRUE(sent.empty());
      continue;
    }
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(PointsOf(sent[0]), c.points);
    EXPECT_EQ(box.ForeColor(), kTextBlack);
    EXPECT_EQ(vesk().counters().lastStatus, 0);
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

struct ValueCase {
  const char* what;
  const char* box;
  const char* typed;
  int sentValue;  // -1: nothing sent
  const char* shown;
};

const ValueCase kTypedValues[] = {
    {"fine tune above 99 becomes 99", "FineTune", "120", 99, "99"},
    {"-0 becomes 0", "FineTune", "-0", 0, "0"},
    {"a lone minus shows the stored fine tune", "FineTune", "-", -1, "0"},
    {"pitch in hundredths", "Pitch", "60.5", 6050, "60.5"},
    {"a trailing point gets two zeros", "Pitch", "60.", 6000, "60.00"},
    {"a leading point gets a zero", "Pitch", ".5", 50, "0.5"},
    {"an untouched pitch box sends again", "Pitch", "60", 6000, "60"},
    {"pitch 128 is refused", "Pitch", "128", -1, "60"},
    {"pitch halves go to the even hundredth", "Pitch", "0.125", 12, "0.125"},
};

TEST_F(WaveSenderTest, TypedFineTuneAndPitch) {
  for (const auto& c : kTypedValues) {
    SCOPED_TRACE(c.what);
    Load(true);
    const Box b = BoxNamed(c.box);
    Type(*b.txt, c.typed);
    EXPECT_EQ(Commit(c.box), c.sentValue >= 0);
    EXPECT_EQ(b.txt->Text(), c.shown);
    const auto sent = TakeSent();
    if (c.sentValue < 0) {
      EXPECT_TRUE(sent.empty());
      continue;
    }
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(static_cast<int>(ReadNibbles(sent[0], static_cast<std::size_t>(b.pos), b.count)), c.sentValue);
  }
}

TEST_F(WaveSenderTest, TheLoopCheckWritesOnlyTheStoredDump) {
  Load(false);
  const WaveRecord before = store.CurWave;
  EXPECT_TRUE(Check_LoopPoints(*ctx, 500, 1000));
  EXPECT_TRUE(TakeSent().empty());
  EXPECT_EQ(store.CurWave, before);
  const Points p = PointsOf(store.WaveDump);
  EXPECT_EQ(p.ls, 500);
  EXPECT_EQ(p.le, 1000);
}

TEST_F(WaveSenderTest, SpinStepsSendOnlyFromTheirOwnSpinButtonOrAScrollBar) {
  Load(false);
  Show(*pages->txtPlayStart, "500");
  EXPECT_FALSE(Commit("PlayStart")) << "no spin button active, no scroll bar";
  EXPECT_TRUE(TakeSent().empty());

  flags.WaveScrollIndex = 0;
  EXPECT_TRUE(Commit("PlayStart"));
  flags.WaveScrollIndex = -1;
  auto sent = TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(PointsOf(sent[0]).ls, 500) << "the loop follows a scrolled play start";

  ASSERT_TRUE(xfer->WaveObjDump(0));
  TakeSent();
  Activate(*pages->spnPlayEnd);
  Show(*pages->txtPlayEnd, "999");
  EXPECT_TRUE(Commit("PlayEnd"));
  sent = TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(PointsOf(sent[0]).pe, 999);
}

TEST_F(WaveSenderTest, ARefusedUploadStaysRedAndStillAsksForTheReadBack) {
  Load(true);
  vesk().setForcedStatus(emu::status::IllegalValue);
  Type(*pages->txtPlayStart, "150");
  EXPECT_TRUE(Commit("PlayStart"));
  EXPECT_EQ(pages->txtPlayStart->ForeColor(), kTextRed);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_FALSE(flags.SendPending);
}

TEST_F(WaveSenderTest, ATextThatIsNoNumberEndsInTheSendersBox) {
  Load(true);
  Type(*pages->txtPlayStart, "1x");
  EXPECT_FALSE(Commit("PlayStart"));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(boxes.boxes[0].text.find("Change_WaveParm()"), std::string::npos);
  EXPECT_EQ(flags.LastKeyAscii, 0) << "the next spin step is no typed commit";
  EXPECT_TRUE(TakeSent().empty());
}

}  // namespace
}  // namespace tavoro::testing
