#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <memory>

#include <QFile>
#include <QTemporaryDir>

#include "platform/ui/find_window.h"
#include "platform/ui/help.h"
#include "platform/ui/shell.h"
#include "platform/ui/sysinfo.h"

namespace {

TEST(SysInfo, ScreenInTwipsFollowsThePrimaryScreenUnlessFixed) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  plat::ScreenTwips real = plat::PrimaryScreenTwips();
  EXPECT_EQ(real.screenWidth, screen->geometry().width() * 15);
  EXPECT_EQ(real.screenHeight, screen->geometry().height() * 15);
  EXPECT_FLOAT_EQ(real.workAreaWidth, static_cast<float>(screen->availableGeometry().width() * 15));
  EXPECT_FLOAT_EQ(real.workAreaHeight, static_cast<float>(screen->availableGeometry().height() * 15));

  plat::SetScreenTwipsOverride(plat::ScreenTwips{12000, 8580, 12000, 9000});
  plat::ScreenTwips fixed = plat::PrimaryScreenTwips();
  EXPECT_FLOAT_EQ(fixed.workAreaWidth, 12000);
  EXPECT_FLOAT_EQ(fixed.workAreaHeight, 8580);
  EXPECT_EQ(fixed.screenHeight, 9000);
  plat::SetScreenTwipsOverride(std::nullopt);
  EXPECT_EQ(plat::PrimaryScreenTwips().screenWidth, real.screenWidth);
}

TEST(SysInfo, OperatingSystemComesFromUname) {
  utsname names{};
  ASSERT_EQ(uname(&names), 0);
  const plat::OperatingSystem os = plat::CurrentOperatingSystem();
  EXPECT_EQ(os.platformId, plat::kPlatformLinux);
  EXPECT_EQ(os.version, plat::ReleaseVersion(names.release));
  EXPECT_GT(os.version, 0.0f);

  struct Case { const char* release; float version; };
  for (const Case& c : {Case{"6.1.0-18-amd64", 6.1f}, Case{"5", 5.0f}, Case{"4.19.", 4.19f}, Case{"", 0.0f},
                        Case{"rc1", 0.0f}, Case{"6.", 6.0f}}) {
    EXPECT_EQ(plat::ReleaseVersion(c.release), c.version) << c.release;
  }
  plat::SetOperatingSystemOverride(plat::OperatingSystem{plat::kPlatformWindowsNT, 4.0f});
  EXPECT_EQ(plat::CurrentOperatingSystem().platformId, plat::kPlatformWindowsNT);
  plat::SetOperatingSystemOverride(std::nullopt);
}

TEST(Shell, RecorderTakesEveryRequestAndHandsBack) {
  plat::ShellRecorder outer(false);
  {
    plat::ShellRecorder recorder;
    EXPECT_TRUE(plat::ShellOpen("mailto:someone@example.com"));
    EXPECT_TRUE(plat::StartProgram("/usr/bin/true"));
    ASSERT_EQ(recorder.requests.size(), 2u);
    EXPECT_EQ(recorder.requests[0].verb, "open");
    EXPECT_EQ(recorder.requests[0].target, "mailto:someone@example.com");
    EXPECT_EQ(recorder.requests[1].verb, "run");
    EXPECT_EQ(recorder.requests[1].target, "/usr/bin/true");
  }
  EXPECT_FALSE(plat::ShellOpen("www.example.com"));
  ASSERT_EQ(outer.requests.size(), 1u);
}

TEST(Shell, StartingAMissingProgramFails) {
  EXPECT_FALSE(plat::StartProgram("/nonexistent/program"));
  EXPECT_FALSE(plat::StartProgram(""));
}

TEST(Help, AnExistingFileGoesToTheDesktopAMissingOneNowhere) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string present = dir.filePath("tavoro.hlp").toStdString();
  QFile file(QString::fromStdString(present));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  struct Case {
    std::string file;
    int command;
    bool opened;
  };
  const Case cases[] = {
      {present, plat::kHelpForceFile, true},
      {present, plat::kHelpFinder, true},
      {dir.filePath("missing.hlp").toStdString(), plat::kHelpForceFile, false},
      {dir.path().toStdString(), plat::kHelpFinder, false},  // a directory is no help file
      {"", plat::kHelpForceFile, false},
  };
  for (const Case& c : cases) {
    plat::ShellRecorder shell;
    EXPECT_EQ(plat::ShowHelp({c.command, c.file}), c.opened) << c.file;
    ASSERT_EQ(shell.requests.size(), c.opened ? 1u : 0u) << c.file;
    if (c.opened) {
      EXPECT_EQ(shell.requests[0].verb, "open");
      EXPECT_EQ(shell.requests[0].target, present);
    }
  }
}

TEST(Help, RecorderTakesTheRequestInsteadOfTheDesktop) {
  plat::ShellRecorder shell;
  {
    plat::HelpRecorder help(false);
    EXPECT_FALSE(plat::ShowHelp({plat::kHelpFinder, "/nowhere/tavoro.hlp"}));
    ASSERT_EQ(help.requests.size(), 1u);
    EXPECT_EQ(help.requests[0].command, plat::kHelpFinder);
    EXPECT_EQ(help.requests[0].file, "/nowhere/tavoro.hlp");
  }
  EXPECT_FALSE(plat::ShowHelp({plat::kHelpForceFile, "/nowhere/tavoro.hlp"}));
  EXPECT_TRUE(shell.requests.empty());
}

TEST(FindWindow, FindsTopLevelWindowsByTitleShownOrNot) {
  EXPECT_EQ(plat::FindTopLevelWindow("Configuration"), nullptr);
  auto main = std::make_unique<QWidget>();
  main->setWindowTitle("Tavoro");
  auto config = std::make_unique<QDialog>(main.get());  // a window with a parent counts too
  config->setWindowTitle("Configuration");
  auto stats = std::make_unique<QWidget>();
  stats->setWindowTitle("Vesk Statistics");
  stats->show();
  QWidget child(main.get());  // not a window
  child.setWindowTitle("Progress");

  EXPECT_EQ(plat::FindTopLevelWindow("Configuration"), config.get());
  EXPECT_EQ(plat::FindTopLevelWindow("vesk statistics"), stats.get());
  EXPECT_EQ(plat::FindTopLevelWindow("Progress"), nullptr);
  EXPECT_EQ(plat::FindTopLevelWindow("Config"), nullptr);  // whole titles only
  config.reset();
  EXPECT_EQ(plat::FindTopLevelWindow("Configuration"), nullptr);
}

}  // namespace
