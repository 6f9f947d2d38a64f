// The frame: who the instrument answers, the front-panel key, and what it refuses.
#include <gtest/gtest.h>

#include "tests/emulator/emu_test_util.h"

namespace emu {
namespace {
using namespace emu::test;

TEST(VeskFrame, KeyMessageGetsTheTenByteStatusReplyForItsOwnIdAndForAllDevices) {
  Vesk vesk;
  EXPECT_EQ(Only(vesk.handle(Req({0x11, 0x01, 0x01, 0x00}, 0x7F))),
            Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x00, 0x00, 0x00, 0xF7}));
  EXPECT_EQ(Only(vesk.handle(Req({0x11, 0x01, 0x01, 0x0B}, 0x00))), Status(0));
  EXPECT_EQ(vesk.counters().keys, 2);
  EXPECT_EQ(vesk.counters().lastStatus, 0);
}

TEST(VeskFrame, ConfiguredDeviceIdAnswersWithThatIdAndIgnoresOthers) {
  Vesk vesk(5);
  EXPECT_EQ(Only(vesk.handle(Req({0x11, 0x01, 0x01, 0x03}, 5))), Status(0, 5));
  EXPECT_EQ(Only(vesk.handle(Req({0x11, 0x01, 0x01, 0x03}, 0x7F))), Status(0, 5));
  EXPECT_TRUE(vesk.handle(Req({0x11, 0x01, 0x01, 0x03}, 0)).empty());
  vesk.setDeviceId(0);
  EXPECT_EQ(Only(vesk.handle(Req({0x11, 0x01, 0x01, 0x03}, 0))), Status(0));
}

TEST(VeskFrame, MessagesNotForThisInstrumentAreRecordedAndLeftUnanswered) {
  Vesk vesk;
  const Message otherMaker = Bytes({0xF0, 0x00, 0x00, 0x1C, 0x02, 0x05, 0x7F, 0x11, 0x01, 0x01, 0x00, 0xF7});
  const Message noteOn = Bytes({0x90, 0x3C, 0x40});
  EXPECT_TRUE(vesk.handle(otherMaker).empty());
  EXPECT_TRUE(vesk.handle(noteOn).empty());
  EXPECT_TRUE(vesk.handle(Req({0x11, 0x01, 0x01, 0x00}, 0x12)).empty());
  ASSERT_EQ(vesk.received().size(), 3u);
  EXPECT_EQ(vesk.received()[1], noteOn);
  EXPECT_EQ(vesk.counters().received, 3);
  EXPECT_EQ(vesk.counters().ignored, 3);
  EXPECT_EQ(vesk.counters().replies, 0);
}

TEST(VeskFrame, WhatItDoesNotUnderstandGetsANonZeroStatus) {
  Vesk vesk;
  struct Case {
    const char* what;
    Message message;
    int status;
  } cases[] = {
      {"unknown command", Req({0x55, 0x01}), 1},
      {"no F7 at the end", Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x01, 0x01, 0x00}), 2},
      {"nothing after the id", Req({}), 2},
      {"key message cut short", Req({0x11, 0x01, 0x01}), 2},
      {"key message too long", Req({0x11, 0x01, 0x01, 0x00, 0x00}), 3},
      {"key code above 11", Req({0x11, 0x01, 0x01, 0x0C}), 11},
      {"unknown parameter group", Req({0x11, 0x09, 0x01, 0x00}), 1},
      {"directory of kind 5", Req({0x12, 0x01, 0x01, 0x05}), 8},
      {"unknown directory group", Req({0x12, 0x07, 0x01, 0x00}), 1},
      {"dump request without its data", Req({0x01, 0x00, 0x00, 0x00, 0x00, 0x02}), 2},
      {"dump request data length 3", Req({0x01, 0x00, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0}), 3},
      {"dump request of a Map header", DumpReq(5, 0), 7},
      {"non-nibble object number", Req({0x01, 0x00, 0, 0, 0, 2, 0, 0, 0x10, 0}), 3},
  };
  for (const auto& c : cases) EXPECT_EQ(Only(vesk.handle(c.message)), Status(c.status)) << c.what;
  EXPECT_EQ(vesk.counters().refused, static_cast<int>(std::size(cases)));
}

}  // namespace
}  // namespace emu
