// The splash window's load: home directory, trace switch, labels, and the hand-over to the main
// window's load.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "dialogs/splash.h"
#include "platform/registry/registry.h"
#include "platform/ui/message_box.h"
#include "platform/ui/sysinfo.h"

namespace tavoro {
namespace {

namespace reg = plat::reg;

constexpr const char* kAppKey = "Software\\Brevix\\Tavoro\\Application";

class SplashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reg::RegDeleteTree(reg::HKEY_CURRENT_USER, "Software\\Brevix");
    plat::SetOperatingSystemOverride(plat::OperatingSystem{plat::kPlatformLinux, 6.1f});
  }
  void TearDown() override {
    plat::SetOperatingSystemOverride(std::nullopt);
    reg::RegDeleteTree(reg::HKEY_CURRENT_USER, "Software\\Brevix");
  }
  static void SetHome(const std::string* text, std::uint32_t number = 0) {
    reg::HKEY key = 0;
    reg::RegCreateKeyEx(reg::HKEY_CURRENT_USER, kAppKey, 0, "tavoro", 0, reg::KEY_ALL_ACCESS, &key, nullptr);
    if (text)
      reg::RegSetString(key, "Home Directory", *text);
    else
      reg::RegSetDword(key, "Home Directory", number);
    reg::RegCloseKey(key);
  }
  // Runs the load with a main window that only records that it was loaded.
  int Load(const std::string& commandLine, int mainResult = 0) {
    SplashStart start{trace, home, commandLine, [&] {
                        mainLoaded = true;
                        shownWhenMainLoaded = splash.isVisible();
                        trace.Line("frmMain_load()");
                        return mainResult;
                      },
                      {}};
    return splash.Form_Load(start);
  }

  plat::BoxRecorder boxes;
  StartupTrace trace;
  std::string home;
  frmSplash splash;
  bool mainLoaded = false;
  bool shownWhenMainLoaded = false;
};

TEST_F(SplashTest, VersionAndPlatformLabels) {
  EXPECT_EQ(frmSplash::VersionText(1, 0, 1), "Version 1.0.1");
  EXPECT_EQ(splash.lblVersion->Caption(), "Version");
  EXPECT_EQ(splash.lblPlatform->Caption(), "Platform");
  EXPECT_EQ(splash.lblCompany->Caption(), "Brevix");
  ASSERT_EQ(Load(""), 0);
  EXPECT_EQ(splash.lblVersion->Caption().rfind("Version ", 0), 0u);
  EXPECT_EQ(splash.lblPlatform->Caption(), "Platform");  // Linux is none of the platforms named
  EXPECT_TRUE(mainLoaded);
  EXPECT_TRUE(shownWhenMainLoaded);

  plat::SetOperatingSystemOverride(plat::OperatingSystem{plat::kPlatformWindowsNT, 4.0f});
  frmSplash nt;
  SplashStart start{trace, home, "", [] { return 0; }, {}};
  ASSERT_EQ(nt.Form_Load(start), 0);
  EXPECT_EQ(nt.lblPlatform->Caption(), "Windows NT ver 4");
}

TEST(SplashPlatform, TextForEachPlatformId) {
  struct Case { int id; float version; std::optional<std::string> text; };
  for (const Case& c : {Case{plat::kPlatformWin32s, 3.1f, ""}, Case{plat::kPlatformWindows, 4.1f, "Windows 95 ver 4.1"},
                        Case{plat::kPlatformWindowsNT, 4.0f, "Windows NT ver 4"},
                        Case{plat::kPlatformWindowsNT, 3.51f, "Windows NT ver 3.51"},
                        Case{plat::kPlatformLinux, 6.1f, std::nullopt}, Case{3, 4.0f, std::nullopt}}) {
    EXPECT_EQ(frmSplash::PlatformText(c.id, c.version), c.text) << c.id << " " << c.version;
  }
}

TEST_F(SplashTest, HomeDirectoryFromTheSettingsElseTheCurrentDirectory) {
  const std::string current = QDir::currentPath().toStdString();
  EXPECT_EQ(frmSplash::ReadHomeDir(), current);  // no key at all
  const std::string dir = "/srv/tavoro";
  SetHome(&dir);
  EXPECT_EQ(frmSplash::ReadHomeDir(), dir);
  const std::string empty;
  SetHome(&empty);
  EXPECT_EQ(frmSplash::ReadHomeDir(), current);
  SetHome(nullptr, 7);  // a number is no directory
  EXPECT_EQ(frmSplash::ReadHomeDir(), current);
  ASSERT_EQ(Load(""), 0);
  EXPECT_EQ(home, current);
}

TEST_F(SplashTest, TraceSwitchOpensTheFileInTheHomeDirectory) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString();
  SetHome(&path);
  ASSERT_EQ(Load("/b"), 0);
  EXPECT_TRUE(trace.DebugMode);
  trace.DebugTrace.Close();
  QFile f(dir.filePath("tavoro.dbg"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll().toStdString(),
            "\"frmSplash_load(): Debug initiated.\"\r\n"
            "\"frmSplash_load(): Displaying Splash.\"\r\n"
            "\"frmSplash_load(): Loading main form.\"\r\n"
            "\"frmMain_load()\"\r\n");
  EXPECT_EQ(frmSplash::TracePath("/x/"), "/x/tavoro.dbg");
  EXPECT_EQ(frmSplash::TracePath("/x"), "/x/tavoro.dbg");
}

TEST_F(SplashTest, AnyOtherCommandLineLeavesTheTraceOff) {
  for (const char* commandLine : {"", "/b /b", "-b", "b", "/bb"}) {
    ASSERT_EQ(Load(commandLine), 0);
    EXPECT_FALSE(trace.DebugMode) << commandLine;
    EXPECT_FALSE(trace.DebugTrace.IsOpen()) << commandLine;
  }
}

TEST_F(SplashTest, ATraceFileThatCannotBeOpenedIsReportedAndTheStartGoesOn) {
  const std::string stale = "/nonexistent/tavoro-home";
  SetHome(&stale);
  ASSERT_EQ(Load("/B"), 0);
  EXPECT_FALSE(trace.DebugMode);
  EXPECT_TRUE(mainLoaded);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(boxes.boxes[0].text.find("/nonexistent/tavoro-home/tavoro.dbg"), std::string::npos);
}

TEST_F(SplashTest, TheMainWindowsLoadDecidesTheResult) { EXPECT_EQ(Load("", 3), 3); }

TEST_F(SplashTest, AKeyOnlyHidesTheSplash) {
  splash.show();
  QTest::keyClick(&splash, Qt::Key_Space);
  EXPECT_FALSE(splash.isVisible());
}

}  // namespace
}  // namespace tavoro
