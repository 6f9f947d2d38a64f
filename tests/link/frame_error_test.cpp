// The message frame, the status texts, the error box and the error trap.
#include <gtest/gtest.h>

#include <stdexcept>

#include "link/error.h"
#include "link/frame.h"
#include "link/status.h"
#include "link/trap.h"
#include "platform/bytes.h"
#include "platform/midi/midi_controls.h"
#include "platform/ui/message_box.h"
#include "tests/link/link_fixture.h"

namespace tavoro::testing {
namespace {

TEST(Frame, KeyMessageForDeviceId127) {
  const plat::Bytes m = SysExFrame(MakeSysExHeader(), 127, FrontPanelKey(0));
  EXPECT_EQ(plat::ToHex(m), "F0 00 00 1B 02 05 7F 11 01 01 00 F7");
  EXPECT_TRUE(IsSendableSysEx(m));
  // The key code goes last in the body, the device id at position 7.
  const plat::Bytes k11 = SysExFrame(MakeSysExHeader(), 0, FrontPanelKey(11));
  EXPECT_EQ(k11.at(7), 0x00);
  EXPECT_EQ(k11.at(11), 0x0B);
  EXPECT_EQ(k11.size(), 12u);
}

TEST(Frame, SendableShape) {
  EXPECT_FALSE(IsSendableSysEx({}));
  EXPECT_FALSE(IsSendableSysEx({0xF0}));
  EXPECT_TRUE(IsSendableSysEx({0xF0, 0xF7}));
  EXPECT_FALSE(IsSendableSysEx({0xF0, 0x01, 0x80, 0xF7}));  // a status byte inside
  EXPECT_FALSE(IsSendableSysEx({0xF0, 0x01, 0xFF, 0xF7}));
  EXPECT_FALSE(IsSendableSysEx({0x90, 0x3C, 0x40, 0xF7}));  // not System Exclusive
  EXPECT_FALSE(IsSendableSysEx({0xF0, 0x01, 0x02}));        // no end
  EXPECT_TRUE(IsSendableSysEx({0xF0, 0x7F, 0x00, 0xF7}));
}

TEST(Status, Texts) {
  EXPECT_EQ(StatusText(0), "");
  EXPECT_EQ(StatusText(1), "Unrecognised Vesk message");
  EXPECT_EQ(StatusText(2), "Truncated Vesk message");
  EXPECT_EQ(StatusText(3), "Error in Vesk message string");
  EXPECT_EQ(StatusText(4), "Specified Vesk data object is empty/nonexistent");
  EXPECT_EQ(StatusText(5), "Specified Vesk data object number is out of range");
  EXPECT_EQ(StatusText(6), "Insufficient Vesk memory to perform this operation");
  EXPECT_EQ(StatusText(7), "Unrecognised Vesk data object dump format code");
  EXPECT_EQ(StatusText(8), "Illegal Vesk request");
  EXPECT_EQ(StatusText(9), "Vesk device is busy");
  EXPECT_EQ(StatusText(10), "Requested Vesk operation failed");
  EXPECT_EQ(StatusText(11), "Vesk illegal data value encountered");
  EXPECT_EQ(StatusText(12), "Unknown Vesk Error");
  EXPECT_EQ(StatusText(255), "Unknown Vesk Error");
  EXPECT_EQ(StatusText(-1), "Unknown Vesk Error");
}

TEST(Status, OnlyAReadStatusZeroIsAccepted) {
  VeskResponse r;
  r.outcome = VeskResponse::Outcome::Reply;
  EXPECT_FALSE(r.Accepted());  // a reply with no status read
  r.status = 0;
  EXPECT_TRUE(r.Accepted());
  r.status = 4;
  EXPECT_FALSE(r.Accepted());
  r.status = 0;
  r.outcome = VeskResponse::Outcome::Failed;
  EXPECT_FALSE(r.Accepted());
}

TEST(MidiErrorMsg, EachCode) {
  plat::BoxRecorder rec;
  EXPECT_FALSE(MidiErrorMsg(0, "P()", "text"));
  EXPECT_TRUE(MidiErrorMsg(65, "P()", "text"));
  EXPECT_TRUE(rec.boxes.empty());

  EXPECT_TRUE(MidiErrorMsg(-1, "MidiOutLongMsg()", "Error transmitting MIDI data to Vesk"));
  ASSERT_EQ(rec.boxes.size(), 1u);
  EXPECT_EQ(rec.boxes[0].text, "MidiOutLongMsg()\r\nError transmitting MIDI data to Vesk");
  EXPECT_EQ(rec.boxes[0].icon, plat::BoxIcon::Critical);
  EXPECT_EQ(rec.boxes[0].buttons, plat::BoxButtons::Ok);
  EXPECT_EQ(rec.boxes[0].title, "");  // the program's own title

  EXPECT_TRUE(MidiErrorMsg(999, "Proc()", "ignored"));
  ASSERT_EQ(rec.boxes.size(), 2u);
  EXPECT_EQ(rec.boxes[1].text, "Proc():\r\nMIDI Communications Error");
  EXPECT_EQ(rec.boxes[1].icon, plat::BoxIcon::None);

  EXPECT_TRUE(MidiErrorMsg(plat::midi::ErrNotOpen, "Proc()", "ignored"));
  EXPECT_EQ(rec.boxes[2].text, "Proc():\r\n" + plat::midi::ErrorText(plat::midi::ErrNotOpen));
  EXPECT_NE(MidiErrorText(plat::midi::ErrNotOpen), "MIDI Communications Error");
}

class TrapTest : public LinkFixture {};

TEST_F(TrapTest, AnyFailureRunsTheErrorPath) {
  const auto fail = [&](auto thrower) {
    boxes.boxes.clear();
    link->MidiOutBusy = link->MidiInBusy = true;
    ledIn.SetValue(true);
    ledOut.SetValue(true);
    const int r = Trap(*link, "Proc()", "Proc failed", -7, [&]() -> int {
      thrower();
      return 1;
    });
    EXPECT_EQ(r, -7);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Proc()\r\nProc failed");
    EXPECT_FALSE(link->MidiOutBusy);
    EXPECT_FALSE(link->MidiInBusy);
    EXPECT_FALSE(ledIn.Value());
    EXPECT_FALSE(ledOut.Value());
  };
  fail([] { (void)plat::Bytes{0xF0}.at(9); });
  fail([] { throw plat::MidiControlError(5, "not open"); });
  fail([] { throw std::overflow_error("overflow"); });
  fail([] { throw 42; });
}

TEST_F(TrapTest, SuccessPassesTheValueAndTouchesNothing) {
  link->MidiInBusy = true;
  ledIn.SetValue(true);
  EXPECT_EQ(Trap(*link, "Proc()", "m", 0, [] { return 5; }), 5);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(link->MidiInBusy);
  EXPECT_TRUE(ledIn.Value());
}

TEST_F(TrapTest, BoxOnlyAndSilentLeaveFlagsAndLamps) {
  link->MidiOutBusy = link->MidiInBusy = true;
  ledOut.SetValue(true);
  EXPECT_FALSE(TrapBoxOnly("SetRegistry()", " Error updating Registry information", false, []() -> bool {
    throw std::runtime_error("x");
  }));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "SetRegistry()\r\n Error updating Registry information");
  EXPECT_EQ(TrapSilent(-1L, []() -> long { throw std::runtime_error("x"); }), -1L);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(link->MidiOutBusy);
  EXPECT_TRUE(link->MidiInBusy);
  EXPECT_TRUE(ledOut.Value());
}

}  // namespace
}  // namespace tavoro::testing
