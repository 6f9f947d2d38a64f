// The link against the instrument emulator over the loopback bus: the same exchanges as a user
// makes them, with the emulator's own framing and fault switches on the other side.
#include <gtest/gtest.h>

#include "emulator/loopback/loopback_peer.h"
#include "tests/link/link_fixture.h"

namespace tavoro::testing {
namespace {

class WithEmulator : public LinkFixture {
 protected:
  void AttachPeer() override { emulator = std::make_unique<emu::LoopbackPeer>(); }
  void DetachPeer() override { emulator.reset(); }
  void SetUp() override {
    LinkFixture::SetUp();
    OpenPorts();
  }
  emu::Vesk& vesk() { return emulator->vesk(); }
  std::unique_ptr<emu::LoopbackPeer> emulator;
};

TEST_F(WithEmulator, KeyMessageIsAccepted) {
  const VeskResponse r = PressKey(0);
  EXPECT_TRUE(r.Accepted());
  EXPECT_EQ(r.text, "0");
  ASSERT_EQ(vesk().received().size(), 1u);
  EXPECT_EQ(vesk().received()[0], (ByteVec{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x01, 0x01, 0x00, 0xF7}));
  EXPECT_EQ(vesk().counters().keys, 1);
  EXPECT_TRUE(boxes.boxes.empty());
  // Every key code 0-11 is a valid key; the instrument's own device id is answered too.
  link->settings.SysExDeviceId = vesk().deviceId();
  for (std::uint8_t k = 0; k < 12; ++k) EXPECT_TRUE(PressKey(k).Accepted()) << int(k);
}

TEST_F(WithEmulator, ErrorStatusShowsItsText) {
  vesk().setForcedStatus(4);
  const VeskResponse r = PressKey(0);
  EXPECT_EQ(r.status, 4);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Vesk Error\r\nSpecified Vesk data object is empty/nonexistent");
  EXPECT_FALSE(link->MidiInBusy);
  EXPECT_FALSE(ledIn.Value());

  vesk().setForcedStatus(0);
  link->MidiOutLongMsg(link->Frame({0x11, 0x01}));  // a key message cut short
  EXPECT_NE(link->GetVeskResponse(5000, kStatusMode).status.value_or(0), 0);
}

TEST_F(WithEmulator, SilenceEndsInTheTimeOutAndOffline) {
  link->LinkState = 1;
  vesk().setSilent(true);
  const VeskResponse r = PressKey(0);
  EXPECT_EQ(r.outcome, VeskResponse::Outcome::TimedOut);
  EXPECT_EQ(r.text, "65");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "\r\nThe specified Vesk Device is not responding");
  EXPECT_EQ(link->LinkState, -1);
  EXPECT_EQ(host.panels[8], "OFFLINE");
}

TEST_F(WithEmulator, LateReplyIsNotTakenByTheNextRequest) {
  vesk().setForcedStatus(5);
  vesk().setLateReplies(100);
  vesk().setFaultCount(1);
  EXPECT_EQ(PressKey(0).outcome, VeskResponse::Outcome::TimedOut);
  ASSERT_TRUE(WaitHandled(1));  // the late status 5 arrives while nothing waits
  EXPECT_EQ(emulator->pendingReplies(), 0);
  EXPECT_FALSE(link->MidiInBusy);
  EXPECT_FALSE(ledIn.Value());
  EXPECT_TRUE(link->ReplyBuffer.empty());
  const VeskResponse r = PressKey(1);
  EXPECT_TRUE(r.Accepted());
  EXPECT_EQ(boxes.boxes.size(), 1u);  // the time-out's box only: status 5 was never shown
}

TEST_F(WithEmulator, UnsolicitedSystemExclusiveDoesNotLockTheLink) {
  emulator->sendUnsolicited(ByteVec{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x00, 0x20, 0x01, 0xF7});
  ASSERT_TRUE(WaitHandled(1));
  EXPECT_FALSE(link->MidiInBusy);
  EXPECT_FALSE(ledIn.Value());
  EXPECT_TRUE(link->ReplyBuffer.empty());
  // And one that follows each reply is not taken by the next request either.
  vesk().setUnsolicited(true, 10);
  vesk().setUnsolicitedMessage(StatusReply(9));
  EXPECT_TRUE(PressKey(0).Accepted());
  ASSERT_TRUE(WaitHandled(3));  // the reply and the unasked status 9 after it
  vesk().setUnsolicited(false);
  EXPECT_TRUE(PressKey(1).Accepted());
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(WithEmulator, BurstOfThreeRepliesIsHandedOnInOrder) {
  vesk().setRepeat(3);
  link->MidiOutLongMsg(link->Frame(FrontPanelKey(0)));
  const VeskResponse r = link->GetVeskResponse(5000, kReplyMode);
  ASSERT_TRUE(r.GotReply());
  ASSERT_TRUE(WaitHandled(3));
  EXPECT_EQ(link->ReplyBuffer.size(), 2u);  // the rest queue behind the reply, none lost
  vesk().setRepeat(1);
  const VeskResponse next = PressKey(1);  // a new request starts from an empty mailbox
  EXPECT_TRUE(next.Accepted());
  EXPECT_EQ(next.reply.vec(), StatusReply(0, vesk().deviceId()));
}

TEST_F(WithEmulator, ShortMessagesAreEchoedOnlyWithMidiThru) {
  const ByteVec note = {0x90, 0x40, 0x7F};
  link->settings.MidiThru = 0;
  emulator->sendUnsolicited(note);
  ASSERT_TRUE(WaitHandled(1));
  EXPECT_TRUE(vesk().received().empty());

  link->settings.MidiThru = 1;
  emulator->sendUnsolicited(note);
  emulator->sendUnsolicited(ByteVec{0xC0, 0x05});
  ASSERT_TRUE(WaitHandled(3));
  ASSERT_EQ(vesk().received().size(), 2u);
  EXPECT_EQ(vesk().received()[0], note);
  EXPECT_EQ(vesk().received()[1], (ByteVec{0xC0, 0x05}));
  // Filtered statuses never reach the handler: only the note after them comes back.
  emulator->sendUnsolicited(ByteVec{0xF8});
  emulator->sendUnsolicited(ByteVec{0xFE});
  emulator->sendUnsolicited(note);
  ASSERT_TRUE(WaitHandled(4));
  EXPECT_EQ(vesk().received().size(), 3u);
  EXPECT_EQ(handled, 4);
}

}  // namespace
}  // namespace tavoro::testing
