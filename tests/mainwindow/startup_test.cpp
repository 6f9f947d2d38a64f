// The program's start against the emulator: online and offline, the fatal MIDI path, the trace
// file, the centring and the closing.
#include <QFile>
#include <QTextStream>

#include "dialogs/splash.h"
#include "tests/mainwindow/app_fixture.h"

namespace tavoro::testing {
namespace {

using StartupTest = AppFixture;

// A request of the start-up as the program frames it (device id 7F).
Bytes Request(std::initializer_list<std::uint8_t> body) {
  Bytes m = KeyMessage(0);
  m.resize(7);  // the frame head with the device id
  for (std::uint8_t b : body) m.push_back(b);
  m.push_back(0xF7);
  return m;
}

TEST_F(StartupTest, OnlineReadsEveryKindAndTheGlobalDataAndShowsThem) {
  ASSERT_EQ(Start(), 0);
  EXPECT_TRUE(w().isVisible());
  EXPECT_EQ(link().LinkState, 1);
  EXPECT_EQ(Panel(8), "ONLINE");
  EXPECT_TRUE(boxes.boxes.empty()) << (boxes.boxes.empty() ? "" : boxes.boxes[0].text);
  // The prod; per kind its status, directory and lowest object; the Global data; then the page
  // refresh presses the Preset page's button (key 0). Nothing is uploaded.
  std::vector<Bytes> want{KeyMessage(0)};
  for (std::uint8_t k = 0; k < 5; ++k) {
    const auto n = static_cast<std::uint8_t>(peer->vesk().bank().objects[k].begin()->first);
    want.push_back(Request({0x12, 0x01, 0x01, k}));
    want.push_back(Request({0x12, 0x02, 0x01, k}));
    want.push_back(Request({0x01, k, 0, 0, 0, 2, 0, 0, static_cast<std::uint8_t>(n >> 4), static_cast<std::uint8_t>(n & 15)}));
  }
  want.push_back(Request({0x11, 0x02, 0x01, 0x00}));
  for (std::uint8_t n = 1; n <= 5; ++n) want.push_back(Request({0x11, 0x03, 0x02, n, 0x00}));
  want.push_back(Request({0x32, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x00}));
  want.push_back(KeyMessage(0));
  EXPECT_EQ(TakeReceived(), want);

  // The header shows the Preset page's object, the panels every kind's first object.
  EXPECT_EQ(w().lblObjNumHash->Caption(), "p#");
  EXPECT_EQ(w().txtObjectNum->Text(), "0");
  EXPECT_EQ(w().txtObjectName->Text(), "Concert Piano");
  EXPECT_FALSE(w().txtObjectNum->Locked());
  const std::vector<std::string> panels = {Panel(1), Panel(2), Panel(3), Panel(4), Panel(5), Panel(6), Panel(7)};
  EXPECT_EQ(panels, (std::vector<std::string>{"p# 0", "m# 0", "t# 0", "w# 0", "mu# 0",
                                              "Free RAM: " + std::to_string(emu::FreeSampleKw(peer->vesk().bank())) + " kw",
                                              "Current Bank: Factory Bank 1"}));
  for (QObject* command : std::initializer_list<QObject*>{w().cmdDeleteObject, w().cmdStereoMerge, w().cmdLoadBank})
    EXPECT_TRUE(static_cast<QWidget*>(command)->isEnabled()) << command->objectName().toStdString();
  EXPECT_TRUE(w().mnuDelete->isEnabled());
  EXPECT_TRUE(w().mnuStereoMerge->isEnabled());
  EXPECT_EQ(w().MousePointer(), 0);
  // Every page filled from the first objects.
  const TabPages& p = w().pages;
  EXPECT_EQ(p.txtPreset(16).Text(), "Map") << "layer pan 0";
  EXPECT_EQ(p.txtMap(2).Text(), "Piano Soft");
  EXPECT_EQ(p.txtEnv1Dec->Text(), std::string(1, static_cast<char>(165)));
  EXPECT_EQ(p.txtEnv1Dec->FontName(), "Symbol");
  EXPECT_EQ(p.txtEnv2Att->Text(), "-20");
  EXPECT_EQ(p.txtWaveAddr->Text(), "0h");
  EXPECT_EQ(p.txtGlobal(8).Text(), "Factory Bank 1");
  EXPECT_EQ(p.txtGlobal(2).Text(), "1") << "the Multi's first part";
  EXPECT_FALSE(link().MidiOutBusy);
  EXPECT_FALSE(link().MidiInBusy);
  EXPECT_FALSE(link().ledMIDIin.Value());
  EXPECT_FALSE(app->flags.SuppressChange);
  EXPECT_EQ(app->flags.WaveScrollIndex, -1);
  EXPECT_TRUE(app->SplashUnloaded());
  EXPECT_EQ(app->splash(), nullptr);
}

TEST_F(StartupTest, ASingleDownloadRefillsThePageWithWhatTheInstrumentNowHolds) {
  ASSERT_EQ(Start(), 0);
  w().Tavorotab->SetCurrTab(3);  // Tone1
  w().Tavorotab_Click();
  emu::WriteSignedByte(peer->vesk().bank().of(emu::Kind::Tone).at(0), emu::tone::Env2Att, -45);
  TakeReceived();
  w().ObjectDownload(1);
  EXPECT_EQ(w().pages.txtEnv2Att->Text(), "-45");
  EXPECT_EQ(w().txtObjectNum->Text(), "0");
  EXPECT_EQ(Panel(3), "t# 0");
  EXPECT_EQ(TakeReceived().size(), 3u) << "status, directory, dump";
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(StartupTest, ALowestNumberMissingFromItsDirectoryLeavesTheRestUnread) {
  peer->vesk().setReportedLowest(emu::Kind::Tone, 4);
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"AllObjectsDump()\r\nError Downloading requested object"});
  EXPECT_EQ(TakeReceived().size(), 1u + 3 + 2) << "prod, the Waves, the Tone status and directory";
  EXPECT_EQ(app->store.ToneDirIdx, -1);
  EXPECT_EQ(app->store.GlobalData.BankName, "") << "the Global data were not read";
  EXPECT_EQ(w().MousePointer(), 0);
  EXPECT_FALSE(link().ledMIDIin.Value());
  EXPECT_FALSE(link().ledMIDIout.Value());
  EXPECT_EQ(Panel(8), "ONLINE") << "start-up ends here; the link itself answered";
}

TEST_F(StartupTest, OfflineWhenTheInstrumentIsSilent) {
  peer->vesk().setSilent(true);
  ASSERT_EQ(Start(), 0);
  EXPECT_TRUE(w().isVisible());
  EXPECT_EQ(link().LinkState, -1);
  EXPECT_EQ(Panel(8), "OFFLINE");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "\r\nThe specified Vesk Device is not responding");
  EXPECT_FALSE(w().cmdDeleteObject->isEnabled());
  EXPECT_FALSE(w().mnuDelete->isEnabled());
  EXPECT_FALSE(w().cmdStereoMerge->isEnabled());
  EXPECT_FALSE(w().mnuStereoMerge->isEnabled());
  EXPECT_TRUE(w().cmdLoadBank->isEnabled());  // keeps its state
  // Every page is cleared: its list controls are off, the name box locked.
  for (const ControlList* list : {&app->lists.WaveControls, &app->lists.ToneControls, &app->lists.MapControls,
                                  &app->lists.PresetControls, &app->lists.MultiControls, &app->lists.GlobalControls}) {
    ASSERT_FALSE(list->empty());
    EXPECT_FALSE(list->front()->Enabled()) << list->front()->Name();
  }
  EXPECT_TRUE(w().txtObjectName->Locked());
  // Only the prod went out: offline, the page refresh presses no button.
  EXPECT_EQ(TakeReceived().size(), 1u);
}

TEST_F(StartupTest, OfflineAfterAnErrorStatus) {
  peer->vesk().setForcedStatus(emu::status::Busy);
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(link().LinkState, -1);
  EXPECT_EQ(Panel(8), "OFFLINE");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(boxes.boxes[0].text.find("Vesk Error"), std::string::npos);
  EXPECT_FALSE(w().cmdDeleteObject->isEnabled());
}

TEST_F(StartupTest, WithoutAnyMidiDeviceTheProgramEndsWithAFailure) {
  // A MIDI system that cannot start reports no devices at all.
  plat::midi::SetBackendOverride("alsa");
  if (plat::midi::ChosenBackend() != "none") {
    plat::midi::SetBackendOverride("");
    GTEST_SKIP() << "this machine has a MIDI system";
  }
  const int rc = Start();
  plat::midi::SetBackendOverride("");
  EXPECT_EQ(rc, App::kExitMidiFailure);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text, "Cannot initialise MIDI interface(s)...Exiting");
  EXPECT_EQ(boxes.boxes[0].icon, plat::BoxIcon::Critical);
  EXPECT_EQ(boxes.boxes[0].title, "");
  EXPECT_FALSE(w().isVisible());
  EXPECT_FALSE(w().Unloaded());  // no closing ran...
  // ...so no setting was written back.
  plat::reg::HKEY key = 0;
  EXPECT_NE(plat::reg::RegOpenKeyEx(plat::reg::HKEY_CURRENT_USER, "Software\\Brevix\\Tavoro\\MIDI Interface", 0,
                                    plat::reg::KEY_ALL_ACCESS, &key),
            plat::reg::ERROR_SUCCESS);
}

TEST_F(StartupTest, ClosingWritesTheSettingsAndStopsAndClosesBothPorts) {
  ASSERT_EQ(Start(), 0);
  std::vector<std::string> actions;
  link().onControlLog = [&](const std::string& what) { actions.push_back(what); };
  link().settings.PlaybackNote = 72;
  EXPECT_TRUE(w().close());
  EXPECT_TRUE(w().Unloaded());
  EXPECT_EQ(actions, (std::vector<std::string>{"in.action 5", "in.action 2", "out.action 5", "out.action 2"}));
  EXPECT_EQ(w().ctlMIDIin.PortOpen(), 0);
  EXPECT_EQ(w().ctlMIDIout.PortOpen(), 0);

  plat::reg::HKEY key = 0;
  ASSERT_EQ(plat::reg::RegOpenKeyEx(plat::reg::HKEY_CURRENT_USER, "Software\\Brevix\\Tavoro\\Vesk Config", 0,
                                    plat::reg::KEY_ALL_ACCESS, &key),
            plat::reg::ERROR_SUCCESS);
  RegValue note;
  EXPECT_EQ(ReadRegValue(key, "PlayBack Note", note), 0);
  EXPECT_EQ(RegText(note), "72");
  plat::reg::RegCloseKey(key);
}

TEST_F(StartupTest, ClosingWithBothPortsClosedSendsNoPortAction) {
  ASSERT_EQ(Start(), 0);
  w().ctlMIDIin.SetAction(plat::midi::Stop);
  w().ctlMIDIin.SetAction(plat::midi::Close);
  w().ctlMIDIout.SetAction(plat::midi::Close);
  std::vector<std::string> actions;
  link().onControlLog = [&](const std::string& what) { actions.push_back(what); };
  EXPECT_TRUE(w().close());
  EXPECT_TRUE(actions.empty());
}

// ---- the start-up trace ------------------------------------------------------------------

std::vector<std::string> ReadLines(const QString& path) {
  QFile f(path);
  std::vector<std::string> lines;
  if (!f.open(QIODevice::ReadOnly)) return lines;
  const QByteArray all = f.readAll();
  for (const QByteArray& line : all.split('\n')) {
    if (line.isEmpty()) continue;
    lines.push_back(line.toStdString());
  }
  return lines;
}

TEST_F(StartupTest, TraceSwitchWritesTheStartUpLinesAndClosesTheFile) {
  ASSERT_EQ(Start("/b"), 0);
  EXPECT_FALSE(app->trace.DebugMode);
  EXPECT_FALSE(app->trace.DebugTrace.IsOpen());
  const auto lines = ReadLines(home.filePath("tavoro.dbg"));
  const std::string in = link().settings.InDeviceName;
  const std::string out = link().settings.OutDeviceName;
  const std::vector<std::string> expected = {
      "\"frmSplash_load(): Debug initiated.\"\r",
      "\"frmSplash_load(): Displaying Splash.\"\r",
      "\"frmSplash_load(): Loading main form.\"\r",
      "\"frmMain_load()\"\r",
      "\"Initialise()\"\r",
      "\"GetRegistry()\"\r",
      "\"OpenInputDevice()\"\r",
      "\"OpenInputDevice(): MIDIIN_OPEN " + in + "\"\r",
      "\"OpenInputDevice(): MIDIIN_START " + in + "\"\r",
      "\"OpenInputDevice(): FILTER_F9 True " + in + "\"\r",
      "\"OpenInputDevice(): FILTER_ACTIVE_SENSE True " + in + "\"\r",
      "\"OpenInputDevice(): FILTER_CLOCK True " + in + "\"\r",
      "\"OpenOutputDevice()\"\r",
      "\"OpenOutputDevice(): MIDIOUT_OPEN " + out + "\"\r",
      "\"Initialise(): Initialising arrays.\"\r",
      "\"Initialise(): Prodding Vesk\"\r",
      "\"Initialise(): Vesk responded to prod.\"\r",
      "\"AllObjectsDump()\"\r",
      "\"AllObjectsDump(): Downloading Wave data.\"\r",
      "\"AllObjectsDump(): Downloading Tone data.\"\r",
      "\"AllObjectsDump(): Downloading Map data.\"\r",
      "\"AllObjectsDump(): Downloading Preset data.\"\r",
      "\"AllObjectsDump(): Downloading Multi data.\"\r",
      "\"AllObjectsDump(): Downloading Global data.\"\r",
      "\"frmMain_load(): Loading Main Screen.\"\r",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_FALSE(in.empty());
}

TEST_F(StartupTest, TraceOfAnOfflineStart) {
  peer->vesk().setSilent(true);
  ASSERT_EQ(Start("/B"), 0);
  const auto lines = ReadLines(home.filePath("tavoro.dbg"));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 2], "\"Initialise(): Vesk Not responding to prod.\"\r");
  EXPECT_EQ(lines.back(), "\"frmMain_load(): Loading Main Screen.\"\r");
}

TEST_F(StartupTest, NoTraceWithoutTheExactSwitch) {
  QFile old(home.filePath("tavoro.dbg"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("kept\r\n");
  old.close();
  for (const char* commandLine : {"", "/b x", "-b", "/b "}) {
    ASSERT_EQ(Start(commandLine), 0) << commandLine;
    EXPECT_FALSE(app->trace.DebugMode);
    app.reset();
    plat::ResetWaitsEnding();
  }
  EXPECT_EQ(ReadLines(home.filePath("tavoro.dbg")), std::vector<std::string>{"kept\r"});
}

TEST_F(StartupTest, ATraceFileThatCannotBeOpenedIsReportedAndTheStartGoesOn) {
  SetHomeDirectory(home.filePath("no/such/directory").toStdString());
  ASSERT_EQ(Start("/b"), 0);
  EXPECT_TRUE(w().isVisible());
  EXPECT_EQ(Panel(8), "ONLINE");
  EXPECT_FALSE(app->trace.DebugMode);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(boxes.boxes[0].text.find("tavoro.dbg"), std::string::npos);
}

TEST_F(StartupTest, HomeDirectoryFromTheSettingsIsWrittenBackAtExit) {
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(app->HomeDir, home.path().toStdString());
  EXPECT_EQ(link().settings.HomeDir, home.path().toStdString());
}

// ---- centring ----------------------------------------------------------------------------

TEST(Centring, OnlyAWorkAreaLargerThan12000By8580TwipsCentres) {
  const int w = 11880, h = 8580;
  EXPECT_FALSE(frmMain::CentredTopLeft({12000, 9000, 12000, 9000}, w, h));
  EXPECT_FALSE(frmMain::CentredTopLeft({13000, 8580, 13000, 9000}, w, h));
  const auto p = frmMain::CentredTopLeft({12001, 8581, 14400, 10800}, w, h);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->x(), (14400 - 11880) / 2);
  EXPECT_EQ(p->y(), (10800 - 8580) / 2);
}

TEST(Centring, AWindowWiderThanTheScreenGetsANegativeLeftTruncatedTowardZero) {
  const auto p = frmMain::CentredTopLeft({12001, 8581, 12001, 9000}, 12016, 8000);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->x(), -7);  // -15 / 2
  EXPECT_EQ(p->y(), 500);
}

TEST_F(StartupTest, TheLoadCentresTheWindowOnALargeScreen) {
  plat::SetScreenTwipsOverride(plat::ScreenTwips{28800, 16200, 28800, 17280});
  ASSERT_EQ(Start(), 0);
  // Centred by the size the window had while loading; showing it may settle it a few pixels.
  const QRect frame = w().frameGeometry();
  EXPECT_NEAR(frame.x(), plat::ctl::PixelsFromTwips((28800 - frame.width() * 15) / 2), 4);
  EXPECT_NEAR(frame.y(), plat::ctl::PixelsFromTwips((17280 - frame.height() * 15) / 2), 4);
  EXPECT_GT(frame.x(), 400);
}

}  // namespace
}  // namespace tavoro::testing
