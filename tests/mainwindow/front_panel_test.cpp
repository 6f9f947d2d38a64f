// Front-panel buttons, the audition button and the on-screen keyboard against the emulator.
#include <QTimer>
#include <QtTest/QTest>

#include "tests/mainwindow/app_fixture.h"

namespace tavoro::testing {
namespace {

using FrontPanelTest = AppFixture;

TEST_F(FrontPanelTest, EachButtonSendsItsKeyCode) {
  ASSERT_EQ(Start(), 0);
  const std::uint8_t codes[12] = {3, 2, 1, 0, 4, 5, 6, 7, 8, 9, 10, 11};
  for (int i = 0; i < 12; ++i) {
    TakeReceived();
    QTest::mouseClick(&w().cmdPushButton(i), Qt::LeftButton);
    EXPECT_EQ(TakeReceived(), std::vector<Bytes>{KeyMessage(codes[i])}) << i;
    EXPECT_FALSE(link().MidiOutBusy);
    EXPECT_FALSE(link().MidiInBusy);
    EXPECT_FALSE(link().ledMIDIin.Value());
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(FrontPanelTest, ExecWaitsWithoutTimeOutWhileTheOthersGiveUp) {
  ASSERT_EQ(Start(), 0);
  plat::SetTimeoutScale(0.01);
  peer->vesk().setReplyDelay(300);  // well past the scaled 5000 ms (50 ms)

  w().cmdPushButton_Click(7);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(link().LinkState, 1);

  w().cmdPushButton_Click(0);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "\r\nThe specified Vesk Device is not responding");
  EXPECT_EQ(link().LinkState, -1);
  EXPECT_EQ(Panel(8), "OFFLINE");
  RunEventsFor(400);  // the late reply is dropped
}

TEST_F(FrontPanelTest, AGoodAnswerBringsAnOfflineLinkOnline) {
  peer->vesk().setSilent(true);
  ASSERT_EQ(Start(), 0);
  ASSERT_EQ(link().LinkState, -1);
  w().cmdLoadBank->SetEnabled(false);
  peer->vesk().setSilent(false);
  w().cmdPushButton_Click(4);
  EXPECT_EQ(link().LinkState, 1);
  EXPECT_EQ(Panel(8), "ONLINE");
  EXPECT_TRUE(w().cmdLoadBank->isEnabled());
}

TEST_F(FrontPanelTest, AnErrorAnswerLeavesTheLinkOffline) {
  peer->vesk().setSilent(true);
  ASSERT_EQ(Start(), 0);
  peer->vesk().setSilent(false);
  peer->vesk().setForcedStatus(emu::status::Busy);
  w().cmdPushButton_Click(4);
  EXPECT_EQ(link().LinkState, -1);
  EXPECT_EQ(Panel(8), "OFFLINE");
}

TEST_F(FrontPanelTest, AClickWhileARequestIsOutstandingSendsNothing) {
  ASSERT_EQ(Start(), 0);
  TakeReceived();
  link().MidiOutBusy = true;
  w().cmdPushButton_Click(1);
  link().MidiOutBusy = false;
  link().MidiInBusy = true;
  w().cmdPushButton_Click(1);
  link().MidiInBusy = false;
  EXPECT_TRUE(TakeReceived().empty());
}

TEST_F(FrontPanelTest, ClosingWhileExecWaitsEndsTheWaitAndClosesAfterwards) {
  ASSERT_EQ(Start(), 0);
  peer->vesk().setSilent(true);
  bool closedInside = true;
  QTimer::singleShot(30, &w(), [&] {
    w().close();
    closedInside = w().Unloaded();
  });
  w().cmdPushButton_Click(7);  // would wait for ever
  EXPECT_FALSE(closedInside);  // nothing was torn down under the waiting handler
  EXPECT_FALSE(w().Unloaded());
  plat::ResetWaitsEnding();
  QApplication::processEvents();
  EXPECT_TRUE(w().Unloaded());
  EXPECT_EQ(w().ctlMIDIin.PortOpen(), 0);
  EXPECT_TRUE(boxes.boxes.empty());
}

// ---- audition and keyboard ---------------------------------------------------------------

Bytes Note(std::uint8_t status, std::uint8_t note, std::uint8_t velocity) { return {status, note, velocity}; }

TEST_F(FrontPanelTest, AuditionSendsNoteOnAndOffOnTheConfiguredChannel) {
  ASSERT_EQ(Start(), 0);
  TakeReceived();
  link().settings.PlaybackVelocityOff = 0;
  QTest::mousePress(w().cmdPlaySample, Qt::LeftButton);
  EXPECT_TRUE(link().ledMIDIout.Value());
  QTest::mouseRelease(w().cmdPlaySample, Qt::LeftButton);
  EXPECT_EQ(TakeReceived(), (std::vector<Bytes>{Note(0x90, 0x3C, 0x40), Note(0x80, 0x3C, 0x00)}));

  link().settings.PlaybackChannel = 9;
  link().settings.PlaybackNote = 48;
  link().settings.PlaybackVelocityOn = 100;
  link().settings.PlaybackVelocityOff = 20;
  w().cmdPlaySample_MouseDown(1, 0, 0, 0);
  w().cmdPlaySample_MouseUp(1, 0, 0, 0);
  w().cmdPlaySample_MouseDown(2, 0, 0, 0);  // the right button plays nothing
  EXPECT_EQ(TakeReceived(), (std::vector<Bytes>{Note(0x99, 48, 100), Note(0x89, 48, 20)}));
  // The out lamp blinks for 100 ms.
  EXPECT_EQ(plat::WaitUntil([&] { return !link().ledMIDIout.Value(); }, 2000), plat::WaitResult::Done);
}

TEST_F(FrontPanelTest, NotesDoNotReleaseAMessageWaitingInTheInputQueue) {
  ASSERT_EQ(Start(), 0);
  std::vector<std::string> actions;
  link().onControlLog = [&](const std::string& what) { actions.push_back(what); };
  w().cmdPlaySample_MouseDown(1, 0, 0, 0);
  w().pnlKey_DragOver(5);
  w().pnlKey_DragDrop();
  w().cmdPlaySample_MouseUp(1, 0, 0, 0);
  for (const auto& a : actions) EXPECT_EQ(a.rfind("in.", 0), std::string::npos) << a;
  EXPECT_FALSE(actions.empty());
}

TEST_F(FrontPanelTest, KeyboardDragPlaysEachKeyEnteredAndReleasesThemAll) {
  ASSERT_EQ(Start(), 0);
  TakeReceived();
  w().hsbKey().SetValue(2);
  w().pnlKey_DragOver(3);
  w().pnlKey_DragOver(3);  // moving within one key: one note-on only
  w().pnlKey_DragOver(4);
  w().pnlKey_DragOver(3);
  w().pnlKey_DragOver(128);  // the backdrop is no key
  EXPECT_EQ(w().pnlKey()(3).BevelOuter(), 0);
  EXPECT_EQ(w().HeldNotes(), (std::vector<std::int16_t>{27, 28, 27}));
  w().pnlKey_DragDrop();
  EXPECT_TRUE(w().HeldNotes().empty());
  EXPECT_EQ(w().pnlKey()(3).BevelOuter(), 2);
  EXPECT_EQ(w().pnlKey()(4).BevelOuter(), 2);
  EXPECT_EQ(TakeReceived(), (std::vector<Bytes>{Note(0x90, 27, 64), Note(0x90, 28, 64), Note(0x90, 27, 64),
                                                Note(0x80, 27, 64), Note(0x80, 28, 64), Note(0x80, 27, 64)}));
}

TEST_F(FrontPanelTest, ReleasingTheMouseAnywhereEndsTheDrag) {
  ASSERT_EQ(Start(), 0);
  w().Tavorotab->setCurrentIndex(2);
  TakeReceived();
  auto& key = w().pnlKey()(0);
  QTest::mousePress(&key, Qt::LeftButton, Qt::NoModifier, QPoint(5, 40));
  QTest::mouseRelease(&key, Qt::LeftButton, Qt::NoModifier, key.mapFrom(&w(), QPoint(2, 2)));
  const auto sent = TakeReceived();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], Note(0x90, 24, 64));
  EXPECT_EQ(sent[1], Note(0x80, 24, 64));
  EXPECT_TRUE(w().HeldNotes().empty());
}

TEST_F(FrontPanelTest, AFullHeldListLeavesNoNoteSounding) {
  ASSERT_EQ(Start(), 0);
  for (int n = 0; n < frmMain::kMaxHeld; ++n) w().pnlKey_DragOver(n % 2);
  ASSERT_EQ(static_cast<int>(w().HeldNotes().size()), frmMain::kMaxHeld);
  TakeReceived();
  w().pnlKey_DragOver(7);  // replaces the last entry, whose note goes off first
  EXPECT_EQ(TakeReceived(), (std::vector<Bytes>{Note(0x80, 25, 64), Note(0x90, 31, 64)}));
  EXPECT_EQ(w().HeldNotes().back(), 31);
}

}  // namespace
}  // namespace tavoro::testing

namespace tavoro::testing {
namespace {

TEST_F(FrontPanelTest, AProgramEndingInTheMiddleOfADragLeavesQuietly) {
  ASSERT_EQ(Start(), 0);
  w().Tavorotab->setCurrentIndex(2);
  w().pnlKey_DragOver(5);
  w().pnlKey_DragOver(6);
  app.reset();  // the link goes first, then the window and its keyboard
  SUCCEED();
}

}  // namespace
}  // namespace tavoro::testing

namespace tavoro::testing {
namespace {

TEST_F(FrontPanelTest, ExecAfterAFailedSendDoesNotWaitForEver) {
  ASSERT_EQ(Start(), 0);
  w().ctlMIDIout.SetAction(plat::midi::Close);  // nothing can go out now
  w().cmdPushButton_Click(7);                   // returns: no reply can come
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "MidiOutLongMsg()\r\nError transmitting MIDI data to Vesk");
  EXPECT_FALSE(link().MidiOutBusy);
  EXPECT_FALSE(link().MidiInBusy);
}

TEST_F(FrontPanelTest, AnAuditionNoteHeldWhileTheWindowLosesTheFocusIsReleased) {
  ASSERT_EQ(Start(), 0);
  QApplication::setActiveWindow(&w());
  ASSERT_TRUE(w().isActiveWindow());
  TakeReceived();
  w().cmdPlaySample_MouseDown(1, 0, 0, 0);
  QApplication::setActiveWindow(nullptr);
  QApplication::processEvents();
  EXPECT_EQ(TakeReceived(), (std::vector<Bytes>{Note(0x90, 60, 64), Note(0x80, 60, 64)}));
  w().cmdPlaySample_MouseUp(1, 0, 0, 0);  // the button's own release comes later
}

}  // namespace
}  // namespace tavoro::testing
