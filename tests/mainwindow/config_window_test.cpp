// The configuration window, opened from the main window against the emulator.
#include <QtTest/QTest>

#include "dialogs/config.h"
#include "editing/note_name.h"
#include "tests/mainwindow/app_fixture.h"

namespace tavoro::testing {
namespace {

class ConfigWindowTest : public AppFixture {
 protected:
  frmConfig& Open() {
    EXPECT_EQ(Start(), 0);
    QTest::mouseClick(w().cmdConfig, Qt::LeftButton);
    auto* config = dynamic_cast<frmConfig*>(WindowTitled("Configuration"));
    EXPECT_NE(config, nullptr);
    return *config;
  }
  // The port actions the link carried out while `body` ran.
  template <class F>
  std::vector<std::string> PortActions(F body) {
    std::vector<std::string> log;
    link().onControlLog = [&](const std::string& what) {
      if (what.rfind("in.", 0) == 0 || what.rfind("out.", 0) == 0) log.push_back(what);
    };
    body();
    link().onControlLog = nullptr;
    return log;
  }
  static void Type(plat::ctl::TextBox& box, const char* text) {
    box.setFocus();
    box.selectAll();
    QTest::keyClicks(&box, text);
  }
};

TEST_F(ConfigWindowTest, MenuItemsOpenTheirPageAndTheButtonLeavesThePageAlone) {
  ASSERT_EQ(Start(), 0);
  const struct {
    QAction* item;
    int tab;
  } cases[] = {{w().mnuConfigVesk, 2}, {w().mnuConfigMidi, 0}, {w().mnuConfigDisk, 1}};
  frmConfig* first = nullptr;
  for (const auto& c : cases) {
    c.item->trigger();
    auto* config = dynamic_cast<frmConfig*>(WindowTitled("Configuration"));
    ASSERT_NE(config, nullptr);
    if (first == nullptr) first = config;
    EXPECT_EQ(config, first) << "one window at a time";
    EXPECT_TRUE(config->isVisible());
    EXPECT_FALSE(config->isModal());
    EXPECT_EQ(config->vstConfig->CurrTab(), c.tab);
  }
  QTest::mouseClick(w().cmdConfig, Qt::LeftButton);
  EXPECT_EQ(first->vstConfig->CurrTab(), 1);
  EXPECT_EQ(first->focusWidget(), first->cmdOK);

  // While a request is outstanding neither the button nor a menu item opens it.
  first->cmdCancel_Click();
  link().MidiOutBusy = true;
  QTest::mouseClick(w().cmdConfig, Qt::LeftButton);
  w().mnuConfigDisk->trigger();
  link().MidiOutBusy = false;
  EXPECT_EQ(WindowTitled("Configuration"), nullptr);
}

TEST_F(ConfigWindowTest, OkWithoutChangeKeepsEverythingAndReopensNothing) {
  frmConfig& config = Open();
  const Settings before = link().settings;
  EXPECT_FALSE(config.cmdApply->isEnabled());
  EXPECT_EQ(config.lstInputDevice->ListIndex(), before.InDeviceId);
  EXPECT_EQ(config.lstOutputDevice->ListIndex(), before.OutDeviceId + 1);
  EXPECT_EQ(config.lstOutputDevice->ListCount(), config.lstInputDevice->ListCount() + 1);
  const auto actions = PortActions([&] { QTest::mouseClick(config.cmdOK, Qt::LeftButton); });
  EXPECT_TRUE(actions.empty());
  EXPECT_EQ(link().settings.PlaybackNote, before.PlaybackNote);
  EXPECT_EQ(link().settings.InDeviceName, before.InDeviceName);
  EXPECT_EQ(WindowTitled("Configuration"), nullptr);
}

TEST_F(ConfigWindowTest, ATouchedListAndApplyReopenInputThenOutput) {
  frmConfig& config = Open();
  QListWidget& list = *config.lstInputDevice;
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
  EXPECT_TRUE(config.MidiChanged);
  EXPECT_TRUE(config.cmdApply->isEnabled());
  config.lstOutputDevice->SetListIndex(0);  // the system's default output
  const auto actions = PortActions([&] { QTest::mouseClick(config.cmdApply, Qt::LeftButton); });
  ASSERT_FALSE(actions.empty());
  const auto firstOut = std::find_if(actions.begin(), actions.end(), [](const std::string& a) { return a.rfind("out.", 0) == 0; });
  const auto lastIn = std::find_if(actions.rbegin(), actions.rend(), [](const std::string& a) { return a.rfind("in.", 0) == 0; });
  ASSERT_NE(firstOut, actions.end());
  EXPECT_LT(std::distance(actions.begin(), lastIn.base()), std::distance(actions.begin(), firstOut) + 1);
  EXPECT_EQ(link().settings.OutDeviceId, -1);
  EXPECT_EQ(link().settings.OutDeviceName, config.lstOutputDevice->List(0));
  EXPECT_EQ(link().settings.InDeviceName, config.lstInputDevice->List(0));
  EXPECT_FALSE(config.MidiChanged);
  EXPECT_FALSE(config.cmdApply->isEnabled());
  // The reopened ports carry the next request.
  TakeReceived();
  w().cmdPushButton_Click(0);
  EXPECT_EQ(TakeReceived().size(), 1u);
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(ConfigWindowTest, ApplyWithoutAChosenDeviceLeavesThePortsAlone) {
  frmConfig& config = Open();
  const Settings before = link().settings;
  config.MidiList_Touched();
  config.lstInputDevice->SetListIndex(-1);
  const auto actions = PortActions([&] { config.cmdApply_Click(); });
  EXPECT_TRUE(actions.empty());
  EXPECT_EQ(link().settings.InDeviceId, before.InDeviceId);
  EXPECT_EQ(link().settings.InDeviceName, before.InDeviceName);
  EXPECT_EQ(link().settings.OutDeviceId, before.OutDeviceId);
}

TEST_F(ConfigWindowTest, AFailedReopenPutsThePreviousPortsBack) {
  frmConfig& config = Open();
  const Settings before = link().settings;
  // A device that went away after the list was made.
  config.lstInputDevice->AddItem("Gone Device");
  config.lstInputDevice->SetListIndex(config.lstInputDevice->ListCount() - 1);
  config.MidiList_Touched();
  config.Check1->SetValue(1);  // a later group waits for the ports
  config.cmdApply_Click();
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(boxes.boxes[0].text.find("Error opening MIDI input device"), std::string::npos) << boxes.boxes[0].text;
  EXPECT_EQ(link().settings.InDeviceId, before.InDeviceId);
  EXPECT_EQ(link().settings.InDeviceName, before.InDeviceName);
  EXPECT_EQ(link().settings.MidiThru, before.MidiThru);
  EXPECT_TRUE(config.MidiChanged);
  EXPECT_TRUE(config.cmdApply->isEnabled());
  EXPECT_EQ(link().ctlMIDIin.PortOpen(), 1);
  TakeReceived();
  w().cmdPushButton_Click(0);
  EXPECT_EQ(TakeReceived().size(), 1u);
  EXPECT_EQ(link().LinkState, 1);
}

// Typed digits and the spin buttons alike keep each box within its range.
TEST_F(ConfigWindowTest, VeskBoxesStayWithinTheirLimits) {
  frmConfig& config = Open();
  enum Act { kType, kUp, kDown };
  const struct {
    int box;
    const char* before;  // typed for kType
    Act act;
    const char* after;
  } cases[] = {
      {frmConfig::kNoteBox, "200", kType, "127"},         {frmConfig::kNoteBox, "6a4", kType, "64"},
      {frmConfig::kVelocityOnBox, "99999999", kType, "127"}, {frmConfig::kChannelBox, "20", kType, "16"},
      {frmConfig::kChannelBox, "16", kType, "16"},        {frmConfig::kDeviceIdBox, "0", kType, "0"},
      {frmConfig::kChannelBox, "", kDown, "1"},           {frmConfig::kChannelBox, "1", kDown, "1"},
      {frmConfig::kChannelBox, "16", kUp, "16"},          {frmConfig::kChannelBox, "5", kUp, "6"},
      {frmConfig::kVelocityOnBox, "127", kUp, "127"},     {frmConfig::kVelocityOffBox, "0", kDown, "0"},
      {frmConfig::kNoteBox, "", kUp, "0"},                {frmConfig::kDeviceIdBox, "17", kDown, "16"},
  };
  for (const auto& c : cases) {
    if (c.act == kType) {
      Type(config.txtVeskconfig(c.box), c.before);
      if (c.box == frmConfig::kNoteBox) {
        EXPECT_EQ(config.txtVeskconfig(frmConfig::kNoteNameBox).Text(), NoteName(std::stoi(c.after)));
      }
    } else {
      config.txtVeskconfig(c.box).SetText(c.before);
      c.act == kUp ? config.spnVeskconfig_SpinUp(c.box) : config.spnVeskconfig_SpinDown(c.box);
    }
    EXPECT_EQ(config.txtVeskconfig(c.box).Text(), c.after) << c.box << " from '" << c.before << "' " << c.act;
  }
  EXPECT_TRUE(config.VeskChanged);
}

TEST_F(ConfigWindowTest, ApplyStoresTheVeskValuesAndKeepsWhatIsLeftEmpty) {
  frmConfig& config = Open();
  Type(config.txtVeskconfig(frmConfig::kNoteBox), "72");
  Type(config.txtVeskconfig(frmConfig::kVelocityOnBox), "100");
  Type(config.txtVeskconfig(frmConfig::kChannelBox), "10");
  Type(config.txtVeskconfig(frmConfig::kDeviceIdBox), "16");
  config.txtVeskconfig(frmConfig::kVelocityOffBox).SetText("");
  QTest::mouseClick(config.cmdApply, Qt::LeftButton);
  const Settings& s = link().settings;
  EXPECT_EQ(s.PlaybackNote, 72);
  EXPECT_EQ(s.PlaybackVelocityOn, 100);
  EXPECT_EQ(s.PlaybackVelocityOff, 64);
  EXPECT_EQ(s.PlaybackChannel, 9);
  EXPECT_EQ(s.SysExDeviceId, 16);
  EXPECT_EQ(config.txtVeskconfig(frmConfig::kVelocityOffBox).Text(), "64");
  // A channel of 0 would be no channel: the one in force stays.
  Type(config.txtVeskconfig(frmConfig::kChannelBox), "0");
  config.cmdApply_Click();
  EXPECT_EQ(s.PlaybackChannel, 9);
  EXPECT_EQ(config.txtVeskconfig(frmConfig::kChannelBox).Text(), "10");
  // The next message carries the new device id.
  TakeReceived();
  w().cmdPushButton_Click(0);
  const auto sent = TakeReceived();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][6], 16);
}

TEST_F(ConfigWindowTest, DeleteErasesInVeskBoxesBackspaceDoesNot) {
  frmConfig& config = Open();
  plat::ctl::TextBox& note = config.txtVeskconfig(frmConfig::kNoteBox);
  note.setFocus();
  note.end(false);
  QTest::keyClick(&note, Qt::Key_Backspace);
  EXPECT_EQ(note.Text(), "60");
  EXPECT_FALSE(config.VeskChanged);
  note.home(false);
  QTest::keyClick(&note, Qt::Key_Delete);
  EXPECT_EQ(note.Text(), "0");
  EXPECT_EQ(config.txtVeskconfig(frmConfig::kNoteNameBox).Text(), NoteName(0));
  EXPECT_TRUE(config.VeskChanged);
}

TEST_F(ConfigWindowTest, DiskChoicesFollowTheDeviceTable) {
  frmConfig& config = Open();
  Settings& s = link().settings;
  s.DiskDevices[3].DevType = 2;
  s.DiskDevices[3].VolName = "Samples";
  QTest::mouseClick(&config.optDevice(3), Qt::LeftButton);
  EXPECT_EQ(config.CurDevice, 3);
  EXPECT_TRUE(config.optType(2).Value());
  EXPECT_TRUE(config.optType(0).isEnabled());
  EXPECT_EQ(config.txtVolName->Text(), "Samples");
  EXPECT_FALSE(config.txtVolName->Locked());
  EXPECT_FALSE(config.DiskChanged);

  // The floppy drive: no type to choose, its name fixed, ticked or not.
  for (int installed : {1, 0}) {
    s.DiskDevices[0].Installed = static_cast<std::uint8_t>(installed);
    QTest::mouseClick(&config.optDevice(0), Qt::LeftButton);
    for (int t = 0; t < 3; ++t) EXPECT_FALSE(config.optType(t).isEnabled()) << installed;
    EXPECT_EQ(config.txtVolName->Text(), "Floppy Disk");
    EXPECT_TRUE(config.txtVolName->Locked());
    EXPECT_EQ(s.DiskDevices[0].DevType, 3) << installed;
  }
  QTest::mouseClick(config.chkInstalled, Qt::LeftButton);
  EXPECT_EQ(s.DiskDevices[0].DevType, 3);
  EXPECT_EQ(s.DiskDevices[0].Installed, 1);
}

TEST_F(ConfigWindowTest, DiskEditsStayAfterCancel) {
  frmConfig& config = Open();
  Settings& s = link().settings;
  QTest::mouseClick(&config.optDevice(3), Qt::LeftButton);
  QTest::mouseClick(config.chkInstalled, Qt::LeftButton);
  EXPECT_TRUE(config.DiskChanged);
  EXPECT_EQ(config.txtVolName->Text(), "");
  QTest::mouseClick(config.chkInstalled, Qt::LeftButton);  // back on: the name was kept
  EXPECT_EQ(config.txtVolName->Text(), "SCSI 2");
  Type(*config.txtVolName, "Drums");
  QTest::mouseClick(&config.optType(0), Qt::LeftButton);
  QTest::mouseClick(config.chkInstalled, Qt::LeftButton);
  QTest::mouseClick(config.cmdCancel, Qt::LeftButton);
  EXPECT_EQ(s.DiskDevices[3].Installed, 0);
  EXPECT_EQ(s.DiskDevices[3].DevType, -1);
  EXPECT_EQ(s.DiskDevices[3].VolName, "Drums");
}

}  // namespace
}  // namespace tavoro::testing
