// One request and its reply over the loopback bus, with a scripted instrument: the mailbox, the
// busy flags and lamps, time-outs, late and unasked messages, bursts, MIDI Thru, the lamp timer.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "platform/ui/one_shot_timer.h"
#include "tests/link/link_fixture.h"

namespace tavoro::testing {
namespace {

class Exchange : public LinkFixture {
 protected:
  void SetUp() override {
    LinkFixture::SetUp();
    OpenPorts();
  }
  void ExpectIdle() {
    EXPECT_FALSE(link->MidiOutBusy);
    EXPECT_FALSE(link->MidiInBusy);
    EXPECT_FALSE(ledIn.Value());
    EXPECT_FALSE(ledOut.Value());
    EXPECT_TRUE(link->ReplyBuffer.empty());
  }
};

TEST_F(Exchange, AcceptedKeyLeavesTheReplyForItsTaker) {
  peer->ThenStatus(0);
  const VeskResponse r = PressKey(0);
  EXPECT_TRUE(r.Accepted());
  EXPECT_EQ(r.text, "0");
  ASSERT_EQ(peer->received.size(), 1u);
  EXPECT_EQ(peer->received[0], (ByteVec{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x01, 0x01, 0x00, 0xF7}));
  // The taker clears MidiInBusy and the in lamp itself.
  EXPECT_FALSE(link->MidiOutBusy);
  EXPECT_TRUE(link->MidiInBusy);
  EXPECT_TRUE(ledIn.Value());
  EXPECT_FALSE(ledOut.Value());
  EXPECT_TRUE(link->ReplyBuffer.empty());
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Exchange, SendSetsBusyAndLightsTheOutLamp) {
  peer->ThenSilence();
  ASSERT_TRUE(link->MidiOutLongMsg(link->Frame(FrontPanelKey(3))));
  EXPECT_TRUE(link->MidiOutBusy);
  EXPECT_TRUE(ledOut.Value());
  EXPECT_EQ(peer->received.size(), 1u);
}

TEST_F(Exchange, ErrorStatusShowsItsText) {
  host.progressActive = true;
  link->MidiInBusy = false;
  peer->Then({{{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x55, 0x04, 0xF7}}, 0});  // byte 8 is not looked at
  const VeskResponse r = PressKey(5);
  EXPECT_FALSE(r.Accepted());
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(r.text, "4");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Vesk Error\r\nSpecified Vesk data object is empty/nonexistent");
  EXPECT_EQ(boxes.boxes[0].icon, plat::BoxIcon::Critical);
  EXPECT_EQ(host.progressUnloads, 1);
  ExpectIdle();

  peer->ThenStatus(12);
  EXPECT_EQ(PressKey(1).text, "12");
  EXPECT_EQ(boxes.boxes.back().text, "Vesk Error\r\nUnknown Vesk Error");
}

TEST_F(Exchange, StatusReplyTooShortIsAFailureNotAnAcceptance) {
  peer->Then({{{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0xF7}}, 0});
  const VeskResponse r = PressKey(0);
  EXPECT_EQ(r.outcome, VeskResponse::Outcome::Failed);
  EXPECT_FALSE(r.status.has_value());
  EXPECT_FALSE(r.Accepted());
  EXPECT_EQ(r.text, "");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "GetVeskResponse()\r\nVesk response error");
  ExpectIdle();  // and the short reply is not left for the next wait
}

TEST_F(Exchange, ReplyModeHandsBackTheWholeReply) {
  const ByteVec dump = {0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF7};
  peer->Then({{dump}, 0});
  link->MidiOutLongMsg(link->Frame({0x01, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00}));
  const VeskResponse r = link->GetVeskResponse(5000, kReplyMode);
  EXPECT_TRUE(r.GotReply());
  EXPECT_EQ(r.reply.vec(), dump);
  EXPECT_EQ(r.text, plat::Bytes(dump).text());
  EXPECT_FALSE(r.status.has_value());
  EXPECT_TRUE(link->ReplyBuffer.empty());
  EXPECT_TRUE(link->MidiInBusy);
}

TEST_F(Exchange, SilenceWhileOnlineGoesOffline) {
  link->LinkState = 1;
  host.progressActive = true;
  peer->ThenSilence();
  const VeskResponse r = PressKey(0);
  EXPECT_EQ(r.outcome, VeskResponse::Outcome::TimedOut);
  EXPECT_EQ(r.text, "65");
  EXPECT_FALSE(r.Accepted());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "\r\nThe specified Vesk Device is not responding");
  EXPECT_EQ(link->LinkState, -1);
  EXPECT_EQ(host.panels[8], "OFFLINE");
  EXPECT_EQ(host.progressUnloads, 1);
  EXPECT_FALSE(link->ReplyTimedOut);
  EXPECT_FALSE(link->tmrVeskrespond.isActive());
  ExpectIdle();
}

TEST_F(Exchange, SilenceAtStartUpLeavesTheLinkStateUnknown) {
  peer->ThenSilence();
  EXPECT_EQ(PressKey(0).text, "65");
  EXPECT_EQ(link->LinkState, 0);
  EXPECT_TRUE(host.panelWrites.empty());
  link->LinkState = -1;
  peer->ThenSilence();
  EXPECT_EQ(PressKey(0).text, "65");
  EXPECT_EQ(link->LinkState, -1);
  EXPECT_TRUE(host.panelWrites.empty());
}

TEST_F(Exchange, TheTimeOutIsScaled) {
  plat::SetTimeoutScale(0.001);
  peer->ThenSilence();
  QElapsedTimer t;
  t.start();
  EXPECT_EQ(PressKey(0).outcome, VeskResponse::Outcome::TimedOut);
  EXPECT_LT(t.elapsed(), 2000);  // 20 s scaled to 20 ms, with room for a slow machine
}

TEST_F(Exchange, LateReplyIsNotTakenByTheNextRequest) {
  peer->ThenStatus(3, 600);  // long after the 50 ms time-out, even on a loaded machine
  EXPECT_EQ(PressKey(0).text, "65");
  ASSERT_TRUE(WaitHandled(1));  // the late reply arrives while nothing waits: dropped
  ExpectIdle();
  peer->ThenStatus(0);
  const VeskResponse r = PressKey(1);
  EXPECT_TRUE(r.Accepted());
  EXPECT_EQ(boxes.boxes.size(), 1u);  // only the time-out's box
}

TEST_F(Exchange, LateReplyAlreadyQueuedIsClearedBySend) {
  // The late reply arrives during the next request's send, before its wait begins.
  peer->ThenStatus(3, 500);
  EXPECT_EQ(PressKey(0).text, "65");
  peer->ThenStatus(0, 1500);
  link->MidiOutLongMsg(link->Frame(FrontPanelKey(1)));
  // The old reply lands in the mailbox: a reply is awaited now.
  ASSERT_EQ(plat::WaitUntil([&] { return !link->ReplyBuffer.empty(); }, 5000), plat::WaitResult::Done);
  link->MidiOutLongMsg(link->Frame(FrontPanelKey(1)));  // a send empties the mailbox first
  EXPECT_TRUE(link->ReplyBuffer.empty());
}

TEST_F(Exchange, LateReplyDuringTheTimeOutBoxLeavesAConsistentState) {
  link->LinkState = 1;
  peer->ThenStatus(0, 500);  // arrives well after the 50 ms time-out, while the box is open
  bool arrivedDuringBox = false;
  plat::SetMessageBoxHandler([&](const plat::BoxRequest& b) {
    boxes.boxes.push_back(b);
    arrivedDuringBox = WaitHandled(1);
    return plat::BoxResult::Ok;
  });
  const VeskResponse r = PressKey(0);
  plat::SetMessageBoxHandler(nullptr);
  EXPECT_TRUE(arrivedDuringBox);
  EXPECT_EQ(r.outcome, VeskResponse::Outcome::TimedOut);
  EXPECT_EQ(link->LinkState, -1);
  ExpectIdle();
  // The next request is unaffected.
  peer->ThenStatus(0);
  EXPECT_TRUE(PressKey(0).Accepted());
}

TEST_F(Exchange, ReplyThatCameWithTheTimeOutStillCounts) {
  peer->ThenSilence();
  link->MidiOutLongMsg(link->Frame(FrontPanelKey(0)));
  // The tick and the reply land in the same round of events.
  QTimer::singleShot(5, [this] {
    link->tmrVeskrespond_Timer();
    link->ReplyBuffer.push(plat::Bytes(StatusReply(0)));
  });
  EXPECT_TRUE(link->GetVeskResponse(5000, kStatusMode).Accepted());
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Exchange, UnaskedSystemExclusiveDoesNotLockTheLink) {
  ScriptedPeer::Send(StatusReply(0));
  ScriptedPeer::Send({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x01, 0xF7});
  ASSERT_TRUE(WaitHandled(2));
  ExpectIdle();
  EXPECT_EQ(in->MessageCount(), 0);
  peer->ThenStatus(6);
  EXPECT_EQ(PressKey(0).text, "6");  // the request gets its own reply, not the unasked one
}

TEST_F(Exchange, BurstIsHandedOnOnceEachInOrder) {
  const ByteVec a = StatusReply(0), b = StatusReply(1), c = StatusReply(2);
  peer->Then({{a, b, c}, 0});
  link->MidiOutLongMsg(link->Frame(FrontPanelKey(0)));
  const VeskResponse r = link->GetVeskResponse(5000, kReplyMode);
  EXPECT_EQ(r.reply.vec(), a);
  ASSERT_TRUE(WaitHandled(3));
  ASSERT_EQ(link->ReplyBuffer.size(), 2u);
  EXPECT_EQ(link->ReplyBuffer.take().vec(), b);
  EXPECT_EQ(link->ReplyBuffer.take().vec(), c);
  EXPECT_EQ(in->MessageCount(), 0);
}

TEST_F(Exchange, BurstLeftoversNeverAnswerTheNextRequest) {
  peer->Then({{StatusReply(0), StatusReply(9), StatusReply(9)}, 0});
  EXPECT_TRUE(PressKey(0).Accepted());
  ASSERT_TRUE(WaitHandled(3));
  peer->ThenStatus(0);
  EXPECT_TRUE(PressKey(1).Accepted());  // not the 9s left over from the burst
  EXPECT_EQ(boxes.boxes.size(), 0u);
}

TEST_F(Exchange, ShortMessageWhileARequestIsOutClearsBothFlags) {
  peer->Then({{{0x90, 0x3C, 0x40}}, 0});
  link->MidiOutLongMsg(link->Frame(FrontPanelKey(0)));
  ASSERT_TRUE(WaitHandled(1));
  EXPECT_FALSE(link->MidiOutBusy);
  EXPECT_FALSE(link->MidiInBusy);
  EXPECT_FALSE(ledIn.Value());
  ScriptedPeer::Send(StatusReply(0));  // the reply still comes and is still taken
  EXPECT_TRUE(link->GetVeskResponse(5000, kStatusMode).Accepted());
}

TEST_F(Exchange, ShortMessagesAreEchoedOnlyWithMidiThruOne) {
  const ByteVec n1 = {0x90, 0x3C, 0x40}, n2 = {0x80, 0x3C, 0x00}, cc = {0xB0, 0x07, 0x64};
  link->settings.MidiThru = 0;
  ScriptedPeer::Send(n1);
  ASSERT_TRUE(WaitHandled(1));
  EXPECT_TRUE(peer->received.empty());
  EXPECT_FALSE(ledOut.Value());

  link->settings.MidiThru = 1;
  ScriptedPeer::Send(n1);
  ScriptedPeer::Send(n2);
  ScriptedPeer::Send(cc);
  ASSERT_TRUE(WaitHandled(4));
  EXPECT_EQ(peer->received, (std::vector<ByteVec>{n1, n2, cc}));
  EXPECT_NE(link->LedTimerId, 0u);  // the out lamp blinks
  EXPECT_FALSE(link->MidiInBusy);
  EXPECT_FALSE(ledIn.Value());
  EXPECT_EQ(plat::WaitUntil([&] { return !ledOut.Value(); }, 5000), plat::WaitResult::Done);

  link->settings.MidiThru = 2;  // only 1 means on
  ScriptedPeer::Send(n1);
  ASSERT_TRUE(WaitHandled(5));
  EXPECT_EQ(peer->received.size(), 3u);
}

TEST_F(Exchange, EventWithNothingQueuedChangesNothing) {
  link->MidiOutBusy = true;
  ledOut.SetValue(true);
  link->ctlMIDIin_Message();
  EXPECT_TRUE(link->MidiOutBusy);
  EXPECT_FALSE(link->MidiInBusy);
  EXPECT_FALSE(ledIn.Value());
}

TEST_F(Exchange, RefusedMessagesTakeTheErrorPath) {
  link->MidiInBusy = true;
  ledIn.SetValue(true);
  EXPECT_FALSE(link->MidiOutLongMsg({0xF0, 0x00, 0x80, 0xF7}));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "MidiOutLongMsg()\r\nError transmitting MIDI data to Vesk");
  EXPECT_TRUE(peer->received.empty());
  ExpectIdle();
  link->settings.SysExDeviceId = 200;  // a device id that is no data byte
  EXPECT_FALSE(link->MidiOutLongMsg(link->Frame(FrontPanelKey(0))));
  EXPECT_TRUE(peer->received.empty());
}

TEST_F(Exchange, SendOnAClosedPortFailsAndAnEndlessWaitDoesNotFollow) {
  out->SetAction(plat::midi::Close);
  EXPECT_FALSE(link->MidiOutLongMsg(link->Frame(FrontPanelKey(7))));
  EXPECT_EQ(boxes.boxes.size(), 1u);
  const VeskResponse r = link->GetVeskResponse(kNoTimeout, kStatusMode);
  EXPECT_EQ(r.outcome, VeskResponse::Outcome::TimedOut);
  EXPECT_FALSE(r.Accepted());
  EXPECT_EQ(boxes.boxes.size(), 1u);  // no second box
  ExpectIdle();
}

TEST_F(Exchange, AfterAFailedSendABoundedWaitTimesOut) {
  link->LinkState = 1;
  out->SetAction(plat::midi::Close);
  EXPECT_FALSE(link->MidiOutLongMsg(link->Frame(FrontPanelKey(0))));
  EXPECT_EQ(link->GetVeskResponse(5000, kStatusMode).text, "65");
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "\r\nThe specified Vesk Device is not responding");
  EXPECT_EQ(link->LinkState, -1);
}

TEST_F(Exchange, WaitWithoutTimeOutEndsOnReply) {
  peer->ThenStatus(0, 120);  // longer than any scaled time-out
  EXPECT_TRUE(PressKey(7, kNoTimeout).Accepted());
  EXPECT_FALSE(link->tmrVeskrespond.isActive());
}

TEST_F(Exchange, ClosingEndsEveryWaitWithoutABox) {
  peer->ThenSilence();
  QTimer::singleShot(20, [] { plat::RequestWaitsEnd(); });
  const VeskResponse r = PressKey(7, kNoTimeout);
  EXPECT_EQ(r.outcome, VeskResponse::Outcome::Closing);
  EXPECT_FALSE(r.Accepted());
  EXPECT_TRUE(boxes.boxes.empty());
  ExpectIdle();
  // Once closing, nothing more is sent, and a new wait ends at once, also with a reply on its way.
  const std::size_t sent = peer->received.size();
  peer->ThenStatus(0);
  EXPECT_EQ(PressKey(0).outcome, VeskResponse::Outcome::Closing);
  EXPECT_EQ(peer->received.size(), sent);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Exchange, ControlErrorEvents) {
  link->ctlMIDIin_Error(8, "ignored");
  link->ctlMIDIout_Error(0, "ignored");
  EXPECT_TRUE(boxes.boxes.empty());
  link->ctlMIDIout_Error(1, "The MIDI system refused");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "The MIDI system refused");
  EXPECT_EQ(boxes.boxes[0].icon, plat::BoxIcon::None);
  emit in->Error(7, "queue full");  // the controls' signals reach the handlers
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "queue full");
}

TEST_F(Exchange, LampTimerRestartsOnReArmingAndKillsOnlyItsOwnTimer) {
  link->ArmLedTimer();
  const std::uint32_t first = link->LedTimerId;
  EXPECT_NE(first, 0u);
  EXPECT_TRUE(ledOut.Value());
  RunEventsFor(50);
  link->ArmLedTimer();
  QElapsedTimer sinceSecond;
  sinceSecond.start();
  EXPECT_NE(link->LedTimerId, first);
  // The lamp goes off 100 ms after the second arming, not after the first.
  ASSERT_EQ(plat::WaitUntil([&] { return !ledOut.Value(); }, 5000), plat::WaitResult::Done);
  EXPECT_GE(sinceSecond.elapsed(), 99);
  const std::uint32_t fired = link->LedTimerId;
  EXPECT_NE(fired, 0u);  // keeps its value

  // A stale callback never switches a re-armed lamp off.
  link->ArmLedTimer();
  link->LedOffTimerProc(fired);
  EXPECT_TRUE(ledOut.Value());
  link->LedOffTimerProc(link->LedTimerId);
  EXPECT_FALSE(ledOut.Value());

  // A timer armed by someone else after ours fired is never killed by a re-arming.
  RunEventsFor(150);
  bool otherFired = false;
  plat::TimeSetEvent(30, [&](std::uint32_t) { otherFired = true; });
  link->ArmLedTimer();
  EXPECT_EQ(plat::WaitUntil([&] { return otherFired; }, 5000), plat::WaitResult::Done);
}

}  // namespace
}  // namespace tavoro::testing
