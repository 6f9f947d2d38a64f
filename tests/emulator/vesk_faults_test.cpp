// The fault switches: what a client sees when the instrument misbehaves.
#include <gtest/gtest.h>

#include "tests/emulator/emu_test_util.h"

namespace emu {
namespace {
using namespace emu::test;

const Message kKey = Req({0x11, 0x01, 0x01, 0x00});

TEST(VeskFaults, SilenceDelayAndLateRepliesAndAFaultCount) {
  Vesk vesk;
  vesk.setSilent(true);
  EXPECT_TRUE(vesk.handle(kKey).empty());
  EXPECT_EQ(vesk.received().size(), 1u) << "still recorded";
  vesk.setSilent(false);

  vesk.setReplyDelay(30);
  auto r = vesk.handle(kKey);
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].delayMs, 30);

  vesk.setLateReplies(400);
  vesk.setFaultCount(1);
  EXPECT_EQ(vesk.handle(kKey).at(0).delayMs, 400);
  EXPECT_EQ(vesk.handle(kKey).at(0).delayMs, 30) << "the late reply was for one message; the delay stays";
}

TEST(VeskFaults, RepeatedAndUnsolicitedMessages) {
  Vesk vesk;
  vesk.setRepeat(3);
  auto r = vesk.handle(kKey);
  ASSERT_EQ(r.size(), 3u);
  for (const auto& x : r) EXPECT_EQ(x.bytes, Status(0));
  vesk.setRepeat(1);

  vesk.setUnsolicited(true, 50);
  r = vesk.handle(kKey);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_FALSE(r[0].unsolicited);
  EXPECT_TRUE(r[1].unsolicited);
  EXPECT_EQ(r[1].delayMs, 50);
  EXPECT_EQ(r[1].bytes.front(), 0xF0);
  EXPECT_EQ(r[1].bytes.back(), 0xF7);
  EXPECT_NE(r[1].bytes, Status(0));
  vesk.setUnsolicitedMessage(Status(7));
  EXPECT_EQ(vesk.handle(kKey).at(1).bytes, Status(7));
}

TEST(VeskFaults, ForcedStatusAndBusyAnswerEverything) {
  Vesk vesk;
  for (int s = 1; s <= 11; ++s) {
    vesk.setForcedStatus(s);
    EXPECT_EQ(Only(vesk.handle(DumpReq(0, 0))), Status(s));
  }
  vesk.setBusy(true);
  EXPECT_EQ(Only(vesk.handle(kKey)), Status(9));
  vesk.setBusy(false);
  EXPECT_EQ(Only(vesk.handle(kKey)), Status(0));
}

TEST(VeskFaults, DamagedReplies) {
  Vesk vesk;
  const Message wave = Only(vesk.handle(DumpReq(0, 0)));
  ASSERT_EQ(wave.size(), 148u);

  vesk.setMangle(Mangle::Short);
  EXPECT_EQ(Only(vesk.handle(kKey)), Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x00, 0xF7}));

  vesk.setMangle(Mangle::Truncated);
  Message r = Only(vesk.handle(DumpReq(0, 0)));
  EXPECT_EQ(r.size(), 147u);
  EXPECT_EQ(r.back(), 0xF7);

  vesk.setMangle(Mangle::OverLong);
  r = Only(vesk.handle(DumpReq(0, 0)));
  EXPECT_EQ(r.size(), 149u);
  EXPECT_EQ(r.back(), 0xF7);

  vesk.setMangle(Mangle::WrongKind);
  r = Only(vesk.handle(DumpReq(0, 0)));
  EXPECT_EQ(r.size(), 148u);
  EXPECT_NE(r[8], 0);

  vesk.setMangle(Mangle::NonNibble);
  r = Only(vesk.handle(DumpReq(0, 0)));
  EXPECT_EQ(r.size(), 148u);
  EXPECT_GT(r[47], 15);

  vesk.setMangle(Mangle::Garbled);
  r = Only(vesk.handle(DumpReq(0, 0)));
  ASSERT_EQ(r.size(), 148u);
  EXPECT_TRUE(std::equal(r.begin(), r.begin() + 7, wave.begin())) << "the frame head is intact";
  EXPECT_EQ(r.back(), 0xF7);
  for (std::size_t i = 7; i + 1 < r.size(); ++i) ASSERT_TRUE(r[i] >= 0x10 && r[i] < 0x80) << i;

  vesk.clearFaults();
  EXPECT_EQ(Only(vesk.handle(DumpReq(0, 0))), wave);
}

TEST(VeskFaults, DamageCanBeLimitedToTheDumpsOfOneKind) {
  Vesk vesk;
  vesk.setMangle(Mangle::Truncated, 1);
  EXPECT_EQ(Only(vesk.handle(DumpReq(1, 0))).size(), 179u);
  EXPECT_EQ(Only(vesk.handle(DumpReq(0, 0))).size(), 148u);
  EXPECT_EQ(Only(vesk.handle(Req({0x12, 0x01, 0x01, 0x01}))).size(), 64u) << "the Tone directory status is not a dump";
  EXPECT_EQ(Only(vesk.handle(kKey)), Status(0));
}

TEST(VeskFaults, MessagesForOthersDoNotUseUpAFaultCount) {
  Vesk vesk;
  vesk.setSilent(true);
  vesk.setFaultCount(1);
  EXPECT_TRUE(vesk.handle(Req({0x11, 0x01, 0x01, 0x00}, 0x22)).empty());
  EXPECT_TRUE(vesk.handle(kKey).empty());
  EXPECT_EQ(Only(vesk.handle(kKey)), Status(0));
}

}  // namespace
}  // namespace emu
