// The statistics and about windows and the help items, opened from the main window.
#include <QFile>
#include <QtTest/QTest>

#include "dialogs/about.h"
#include "dialogs/stats.h"
#include "platform/ui/help.h"
#include "platform/ui/shell.h"
#include "tests/mainwindow/app_fixture.h"

namespace tavoro::testing {
namespace {

using plat::reg::HKEY_LOCAL_MACHINE;

class InfoWindowsTest : public AppFixture {
 protected:
  void TearDown() override {
    plat::reg::RegDeleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft");
    AppFixture::TearDown();
  }
  frmStats* Stats() { return dynamic_cast<frmStats*>(WindowTitled("Vesk Statistics")); }
  frmAbout* About() { return dynamic_cast<frmAbout*>(WindowTitled("About Tavoro")); }
  static void SetValue(const char* key, const char* name, const std::string& text) {
    plat::reg::HKEY k = 0;
    plat::reg::RegCreateKeyEx(HKEY_LOCAL_MACHINE, key, 0, "", 0, plat::reg::KEY_ALL_ACCESS, &k, nullptr);
    plat::reg::RegSetString(k, name, text);
    plat::reg::RegCloseKey(k);
  }
};

// A store with Waves, Tones and Maps read and no Presets.
void FillStore(ObjectStore& s) {
  s.WaveStatus = {0, 0, 255, 3, 1, 9, 1001, 20000, 777, 4096, 0};
  s.WaveLoaded = true;
  s.ToneStatus = {0, 0, 255, 2, 4, 5, 64, 100, 0, 0, 0};
  s.ToneLoaded = true;
  s.MapStatus = {0, 0, 127, 1, 7, 7, 30, 31, 0, 0, 0};
  s.MapLoaded = true;
  s.PresetStatus = {};
  s.PresetStatus.ObjCount = 0;
  s.PresetLoaded = false;
  s.FreeRamKw = 1520;
}

TEST_F(InfoWindowsTest, StatisticsShowWordsOrBytesAndNotApplicableKinds) {
  ASSERT_EQ(Start(), 0);
  FillStore(app->store);
  w().mnuStats->trigger();
  frmStats* stats = Stats();
  ASSERT_NE(stats, nullptr);
  EXPECT_TRUE(stats->isVisible());
  EXPECT_FALSE(stats->isModal());
  struct Row {
    plat::ctl::ControlArray<plat::ctl::Label>& labels;
    int index;
    const char* words;
    const char* bytes;
  };
  const Row rows[] = {
      {stats->lblMem, 0, "4096", "8192"},  {stats->lblQnt, 0, "KWords", "KBytes"},
      {stats->lblMem, 1, "1520", "3040"},  {stats->lblQnt, 1, "KWords", "KBytes"},
      {stats->lblMem, 2, "777", "1554"},   {stats->lblQnt, 2, "Words", "Bytes"},
      {stats->lblParm, 0, "3", "3"},       {stats->lblParm, 1, "1", "1"},
      {stats->lblParm, 2, "9", "9"},       {stats->lblParm, 3, "255", "255"},
      {stats->lblParm, 4, "500.5", "1001"}, {stats->lblQnt, 4, "Words", "Bytes"},
      {stats->lblParm, 5, "10000", "20000"}, {stats->lblQnt, 5, "Words", "Bytes"},
      {stats->lblParm, 6 + 4, "32", "64"}, {stats->lblParm, 12 + 2, "7", "7"},
      {stats->lblParm, 18, "0", "0"},      {stats->lblParm, 18 + 1, "N/A", "N/A"},
      {stats->lblParm, 18 + 3, "N/A", "N/A"}, {stats->lblParm, 18 + 5, "N/A", "N/A"},
      {stats->lblQnt, 18 + 4, "", ""},     {stats->lblQnt, 18 + 5, "", ""},
  };
  // Words at load, then bytes, then words again: the same texts each time.
  for (int round = 0; round < 3; ++round) {
    const bool bytes = round == 1;
    if (round > 0) QTest::mouseClick(&stats->optStats(bytes ? 1 : 0), Qt::LeftButton);
    for (const Row& r : rows)
      EXPECT_EQ(r.labels(r.index).Caption(), bytes ? r.bytes : r.words) << r.labels.Name() << "(" << r.index << ") round " << round;
  }
  // The figures are a snapshot: a later download changes nothing until the unit is switched.
  app->store.WaveStatus.ObjCount = 99;
  w().mnuStats->trigger();
  EXPECT_EQ(stats->lblParm(0).Caption(), "3");
  QTest::mouseClick(stats->cmdOK, Qt::LeftButton);
  EXPECT_EQ(Stats(), nullptr);
}

TEST_F(InfoWindowsTest, StatisticsOfTheInstrumentAgreeInEitherUnit) {
  ASSERT_EQ(Start(), 0);
  QTest::mouseClick(w().cmdStats, Qt::LeftButton);
  frmStats* stats = Stats();
  ASSERT_NE(stats, nullptr);
  // Each kind's free parameter memory is the instrument's free parameter RAM.
  for (int base : frmStats::kBlockBase) EXPECT_EQ(stats->lblParm(base + 5).Caption(), stats->lblMem(2).Caption()) << base;
  QTest::mouseClick(&stats->optStats(1), Qt::LeftButton);
  for (int base : frmStats::kBlockBase) EXPECT_EQ(stats->lblParm(base + 5).Caption(), stats->lblMem(2).Caption()) << base;
  EXPECT_EQ(stats->lblParm(0).Caption(), std::to_string(peer->vesk().bank().of(emu::Kind::Wave).size()));
}

TEST_F(InfoWindowsTest, TheStatisticsMenuItemWorksWhileBusyTheButtonDoesNot) {
  ASSERT_EQ(Start(), 0);
  link().MidiInBusy = true;
  QTest::mouseClick(w().cmdStats, Qt::LeftButton);
  EXPECT_EQ(Stats(), nullptr);
  w().mnuStats->trigger();
  EXPECT_NE(Stats(), nullptr);
  link().MidiInBusy = false;
}

TEST_F(InfoWindowsTest, WordsOfAByteCount) {
  const struct {
    std::int32_t bytes;
    const char* words;
  } cases[] = {{0, "0"}, {1, "0.5"}, {1001, "500.5"}, {1000, "500"}, {-3, "-1.5"}, {-1, "-0.5"},
               {2147483647, "1073741823.5"}};
  for (const auto& c : cases) EXPECT_EQ(frmStats::WordsText(c.bytes), c.words) << c.bytes;
}

TEST_F(InfoWindowsTest, AboutOpensTheContacts) {
  ASSERT_EQ(Start(), 0);
  w().mnuAbout->trigger();
  frmAbout* about = About();
  ASSERT_NE(about, nullptr);
  EXPECT_FALSE(about->isModal());
  plat::ShellRecorder shell;
  QTest::mouseClick(&about->lblContact(0), Qt::LeftButton);
  QTest::mouseClick(&about->lblContact(1), Qt::LeftButton);
  ASSERT_EQ(shell.requests.size(), 2u);
  EXPECT_EQ(shell.requests[0].verb, "open");
  EXPECT_EQ(shell.requests[0].target, kContactMail);
  EXPECT_EQ(shell.requests[1].target, kContactWeb);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(InfoWindowsTest, SystemInfoStartsWhatTheRegistryNames) {
  ASSERT_EQ(Start(), 0);
  w().mnuAbout->trigger();
  frmAbout* about = About();
  ASSERT_NE(about, nullptr);
  const std::string dirWithProgram = home.path().toStdString();
  QFile program(home.filePath("MSINFO32.EXE"));
  ASSERT_TRUE(program.open(QIODevice::WriteOnly));
  program.close();
  const struct {
    const char* path;         // "PATH" value, null: none
    std::string location;     // "MSINFO" value, empty: none
    bool startable;
    std::string started;      // empty: the box
  } cases[] = {
      {nullptr, "", true, ""},
      {"/opt/sysinfo/msinfo", dirWithProgram, true, "/opt/sysinfo/msinfo"},
      {nullptr, "/nowhere", true, ""},
      {nullptr, dirWithProgram, true, dirWithProgram + "/MSINFO32.EXE"},
      {"/opt/sysinfo/msinfo", "", false, ""},
  };
  for (const auto& c : cases) {
    plat::reg::RegDeleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft");
    if (c.path) SetValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", c.path);
    if (!c.location.empty()) SetValue("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", c.location);
    plat::ShellRecorder shell(c.startable);
    boxes.boxes.clear();
    QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
    if (c.started.empty()) {
      EXPECT_EQ(BoxTexts(), std::vector<std::string>{"System Information Is Unavailable At This Time"}) << c.location;
    } else {
      EXPECT_TRUE(boxes.boxes.empty()) << c.started;
    }
    const std::size_t tried = (c.path || !c.started.empty()) ? 1u : 0u;
    ASSERT_EQ(shell.requests.size(), tried) << c.location;
    if (tried) {
      EXPECT_EQ(shell.requests[0].target, c.path ? c.path : c.started);
    }
  }
  EXPECT_TRUE(about->isVisible());
}

TEST_F(InfoWindowsTest, RegistryValuesAreReadWithinTheirBuffer) {
  plat::reg::HKEY k = 0;
  plat::reg::RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Values", 0, "", 0, plat::reg::KEY_ALL_ACCESS, &k,
                            nullptr);
  plat::reg::RegSetString(k, "Short", "C:\\Tools");
  plat::reg::RegSetString(k, "Long", std::string(1024, 'x'));
  plat::reg::RegSetString(k, "Fits", std::string(1023, 'y'));
  plat::reg::RegSetDword(k, "Number", 0x0A05);
  plat::reg::RegCloseKey(k);
  const struct {
    const char* name;
    bool read;
    std::string value;
  } cases[] = {{"Short", true, "C:\\Tools"},
               {"Fits", true, std::string(1023, 'y')},
               {"Long", false, ""},
               {"Number", true, "&hA05"},
               {"Missing", false, ""}};
  for (const auto& c : cases) {
    std::string value = "stale";
    EXPECT_EQ(frmAbout::GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Values", c.name, value), c.read) << c.name;
    EXPECT_EQ(value, c.value) << c.name;
  }
  std::string value = "stale";
  EXPECT_FALSE(frmAbout::GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nobody", "PATH", value));
  EXPECT_EQ(value, "");
}

TEST_F(InfoWindowsTest, HelpItemsAskForTheHelpFileInTheHomeDirectory) {
  ASSERT_EQ(Start(), 0);
  plat::HelpRecorder help;
  w().mnuHelpTopics->trigger();
  w().mnuHelpHelp->trigger();
  const std::string file = home.filePath("tavoro.hlp").toStdString();
  ASSERT_EQ(help.requests.size(), 2u);
  EXPECT_EQ(help.requests[0].command, 11);
  EXPECT_EQ(help.requests[0].file, file);
  EXPECT_EQ(help.requests[1].command, 9);
  EXPECT_EQ(help.requests[1].file, file);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(InfoWindowsTest, AMissingHelpFileShowsNothing) {
  ASSERT_EQ(Start(), 0);
  plat::ShellRecorder shell;
  w().mnuHelpHelp->trigger();
  EXPECT_TRUE(shell.requests.empty());
  QFile file(home.filePath("tavoro.hlp"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  w().mnuHelpTopics->trigger();
  ASSERT_EQ(shell.requests.size(), 1u);
  EXPECT_EQ(shell.requests[0].target, home.filePath("tavoro.hlp").toStdString());
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
}  // namespace tavoro::testing
