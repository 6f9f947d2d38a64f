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

TEST(VeskFaults, FaultsLimitedToOneRequest) {
  const Message toneStatus = Req({0x12, 0x01, 0x01, 0x01}), toneDir = Req({0x12, 0x02, 0x01, 0x01});
  const Message bankName = Req({0x11, 0x02, 0x01, 0x00});
  struct Case {
    Request only;
    int kind;
    Message hit;
    std::vector<Message> spared;
  };
  const Case cases[] = {
      {Request::Dump, 1, DumpReq(1, 0), {DumpReq(0, 0), toneStatus, toneDir, kKey}},
      {Request::DirStatus, 1, toneStatus, {Req({0x12, 0x01, 0x01, 0x00}), toneDir, DumpReq(1, 0)}},
      {Request::Global, -1, bankName, {kKey, DumpReq(0, 0)}},
      {Request::Key, -1, kKey, {bankName, toneStatus}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.only));
    Vesk vesk;
    vesk.setFaultsOnly(c.only, c.kind);
    vesk.setSilent(true);
    EXPECT_TRUE(vesk.handle(c.hit).empty());
    for (const Message& m : c.spared) EXPECT_EQ(vesk.handle(m).size(), 1u);
    vesk.setSilent(false);
    vesk.setForcedStatus(status::Busy);
    EXPECT_EQ(Only(vesk.handle(c.hit)), Status(status::Busy));
    for (const Message& m : c.spared) EXPECT_NE(Only(vesk.handle(m)), Status(status::Busy));
  }
}

// The numbers of a directory reply, in the order listed.
std::vector<int> Listed(Vesk& vesk, int kind) {
  const Message r = Only(vesk.handle(Req({0x12, 0x02, 0x01, kind})));
  std::vector<int> numbers;
  for (std::size_t pos = 18; pos + 32 <= r.size(); pos += 32) numbers.push_back(static_cast<int>(Nibbles(r, pos, 4)));
  return numbers;
}

TEST(VeskListing, DirectoryOrderAndReportedLowestNumber) {
  Vesk vesk;  // Waves 0, 1, 2, 5, 12
  EXPECT_EQ(Listed(vesk, 0), (std::vector<int>{0, 1, 2, 5, 12}));
  vesk.setDirectoryOrder(Kind::Wave, {5, 2, 99, 5, 12});
  EXPECT_EQ(Listed(vesk, 0), (std::vector<int>{5, 2, 12, 0, 1})) << "unknown and repeated numbers left out";
  EXPECT_EQ(Listed(vesk, 1).front(), 0) << "other kinds keep ascending order";

  const Message tones = Req({0x12, 0x01, 0x01, 0x01});
  EXPECT_EQ(Nibbles(Only(vesk.handle(tones)), 30, 4), 0u);
  vesk.setReportedLowest(Kind::Tone, 4);
  EXPECT_EQ(Nibbles(Only(vesk.handle(tones)), 30, 4), 4u);
  EXPECT_EQ(Nibbles(Only(vesk.handle(tones)), 26, 4), 5u) << "the count stays";
  vesk.clearFaults();
  EXPECT_EQ(Nibbles(Only(vesk.handle(tones)), 30, 4), 4u) << "not a fault: stays until changed";
}

}  // namespace
}  // namespace emu
