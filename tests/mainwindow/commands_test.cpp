// The download commands, the bulk operations' openers and exit, against the emulator.
#include <QtTest/QTest>

#include "emulator/core/layouts.h"
#include "platform/controls/form.h"
#include "tests/mainwindow/operations_fixture.h"

namespace tavoro::testing {
namespace {

class CommandsTest : public OperationsFixture {
 protected:
  // Starts with the instrument silent, so the link is offline, then lets it answer again.
  void StartOffline() {
    peer->vesk().setSilent(true);
    ASSERT_EQ(Start(), 0);
    ASSERT_EQ(link().LinkState, -1);
    peer->vesk().setSilent(false);
    boxes.boxes.clear();
    TakeReceived();
  }
  // The kinds of the dump requests among `sent`.
  static std::vector<int> DumpKinds(const std::vector<Bytes>& sent) {
    std::vector<int> kinds;
    for (const Bytes& m : sent)
      if (m.size() > emu::head::Kind && m[emu::head::Command - 1] == emu::cmd::DumpRequest) kinds.push_back(m[emu::head::Kind - 1]);
    return kinds;
  }
};

TEST_F(CommandsTest, ARightClickWhileOfflineProdsThenReadsEverything) {
  StartOffline();
  QTest::mouseClick(w().cmdDownLoad, Qt::RightButton);
  const auto sent = TakeReceived();
  ASSERT_GT(sent.size(), 5u);
  EXPECT_EQ(sent[0], KeyMessage(0));
  EXPECT_EQ(link().LinkState, 1);
  EXPECT_EQ(Panel(8), "ONLINE");
  EXPECT_TRUE(w().cmdLoadBank->isEnabled());
  EXPECT_TRUE(app->store.WaveLoaded && app->store.ToneLoaded && app->store.PresetLoaded);
  EXPECT_GT(app->store.FreeRamKw, 0);
  EXPECT_EQ(Panel(6), "Free RAM: " + std::to_string(app->store.FreeRamKw) + " kw");
  EXPECT_EQ(w().txtObjectName->Text(), app->store.PresetDir.Entries.at(0).Name.substr(0, w().txtObjectName->Text().size()));
  EXPECT_EQ(w().DownloadMode, frmMain::kDownloadNone);
  EXPECT_FALSE(link().MidiInBusy || link().MidiOutBusy);
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(CommandsTest, ARefusedProdReleasesTheInputAndKeepsTheChoice) {
  const struct {
    Qt::MouseButton button;
    std::int16_t mode;
  } cases[] = {{Qt::LeftButton, frmMain::kDownloadCurrent}, {Qt::RightButton, frmMain::kDownloadAll}};
  StartOffline();
  for (const auto& c : cases) {
    peer->vesk().setForcedStatus(emu::status::Busy);
    QTest::mouseClick(w().cmdDownLoad, c.button);
    EXPECT_EQ(TakeReceived(), std::vector<Bytes>{KeyMessage(0)}) << c.mode;
    EXPECT_EQ(link().LinkState, -1);
    EXPECT_FALSE(link().MidiInBusy) << c.mode;
    EXPECT_FALSE(link().ledMIDIin.Value()) << c.mode;
    EXPECT_EQ(w().DownloadMode, c.mode);
    EXPECT_EQ(boxes.boxes.size(), 1u);
    boxes.boxes.clear();
  }
  // Silence: the time-out's box, and still offline.
  peer->vesk().setForcedStatus(0);
  peer->vesk().setSilent(true);
  w().mnuDLallObjects->trigger();
  EXPECT_EQ(TakeReceived(), std::vector<Bytes>{KeyMessage(0)});
  EXPECT_EQ(link().LinkState, -1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"\r\nThe specified Vesk Device is not responding"});
  EXPECT_FALSE(link().MidiInBusy);
}

TEST_F(CommandsTest, AnAcceptedProdWithNothingChosenLeavesTheLinkFree) {
  StartOffline();
  w().cmdDownLoad->setFocus();
  QTest::keyClick(w().cmdDownLoad, Qt::Key_Space);  // a click with no mouse press before it
  EXPECT_EQ(TakeReceived(), std::vector<Bytes>{KeyMessage(0)});
  EXPECT_EQ(link().LinkState, 1);
  EXPECT_FALSE(link().MidiInBusy);
  EXPECT_FALSE(link().ledMIDIin.Value());
  w().cmdPushButton_Click(0);  // the window's handlers work again
  EXPECT_EQ(TakeReceived(), std::vector<Bytes>{KeyMessage(3)});
}

TEST_F(CommandsTest, ALeftClickWhileOfflineOnTheGlobalPageReadsTheGlobalDataThenTheMulti) {
  ASSERT_EQ(Start(), 0);
  ShowPage(7);
  link().LinkState = -1;
  TakeReceived();
  QTest::mouseClick(w().cmdDownLoad, Qt::LeftButton);
  const auto sent = TakeReceived();
  ASSERT_GT(sent.size(), 2u);
  EXPECT_EQ(sent[0], KeyMessage(0));
  EXPECT_EQ(link().LinkState, 1);
  EXPECT_EQ(Panel(7).rfind("Current Bank: ", 0), 0u) << Panel(7);
  EXPECT_EQ(sent[1][emu::head::Command - 1], emu::cmd::Parameter);  // the Global data first
  const auto kinds = DumpKinds(sent);
  ASSERT_FALSE(kinds.empty());
  EXPECT_EQ(kinds.back(), 4);  // then the Multi shown
  EXPECT_EQ(w().DownloadMode, frmMain::kDownloadNone);
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(CommandsTest, TheCurrentObjectItemReadsThePageKindAgain) {
  ASSERT_EQ(Start(), 0);
  const struct {
    int tab;
    int kind;
  } cases[] = {{0, 3}, {2, 2}, {3, 1}, {6, 0}, {7, 4}};
  for (const auto& c : cases) {
    ShowPage(c.tab);
    TakeReceived();
    w().mnuDLobject->trigger();
    const auto kinds = DumpKinds(TakeReceived());
    ASSERT_FALSE(kinds.empty()) << c.tab;
    EXPECT_EQ(kinds.back(), c.kind) << c.tab;
  }
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(CommandsTest, NothingStartsWhileARequestIsOutstanding) {
  ASSERT_EQ(Start(), 0);
  TakeReceived();
  for (bool outBusy : {true, false}) {
    link().MidiOutBusy = outBusy;
    link().MidiInBusy = !outBusy;
    QTest::mouseClick(w().cmdDownLoad, Qt::RightButton);
    QTest::mouseClick(w().cmdDownLoad, Qt::LeftButton);
    w().mnuDLobject->trigger();
    w().mnuDLallObjects->trigger();
    w().mnuLoadBank->trigger();
    w().mnuDelete->trigger();
    w().mnuStereoMerge->trigger();
    EXPECT_EQ(w().DownloadMode, frmMain::kDownloadNone);
  }
  link().MidiOutBusy = link().MidiInBusy = false;
  EXPECT_TRUE(TakeReceived().empty());
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(CommandsTest, TheBulkOperationWindowsOpenModallyFromTheirButtonsAndMenus) {
  ASSERT_EQ(Start(), 0);
  const struct {
    std::function<void()> open;
    const char* title;
  } cases[] = {
      {[this] { QTest::mouseClick(w().cmdDeleteObject, Qt::LeftButton); }, "Delete Preset"},
      {[this] { w().mnuDelete->trigger(); }, "Delete Preset"},
      {[this] { QTest::mouseClick(w().cmdLoadBank, Qt::LeftButton); }, "Load Disk Bank"},
      {[this] {
         link().LinkState = 0;  // never answered: the disks may still be there
         w().mnuLoadBank->trigger();
       },
       "Load Disk Bank"},
      {[this] { QTest::mouseClick(w().cmdStereoMerge, Qt::LeftButton); }, "Stereo Merge"},
      {[this] { w().mnuStereoMerge->trigger(); }, "Stereo Merge"},
  };
  for (const auto& c : cases) {
    WhileShown<plat::ctl::Form>(c.title, c.open, [](plat::ctl::Form& window) {
      EXPECT_TRUE(window.isModal());
      window.Unload();
    });
  }
}

TEST_F(CommandsTest, LoadDiskBankWhileOfflineSaysWhyAndOpensNothing) {
  StartOffline();
  w().mnuLoadBank->trigger();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Cannot get disk access with Vesk Offline!"});
  EXPECT_TRUE(TakeReceived().empty());
}

TEST_F(CommandsTest, ExitRunsTheClosingAndEndsTheProgram) {
  ASSERT_EQ(Start(), 0);
  bool ended = false;
  app->onMainUnloaded = [&] { ended = true; };
  w().mnuExit->trigger();
  EXPECT_TRUE(ended);
  EXPECT_TRUE(w().Unloaded());
  EXPECT_EQ(w().ctlMIDIin.PortOpen(), 0);
}

}  // namespace
}  // namespace tavoro::testing
