// The README's run command on a machine without a display: scripts/demo starts the emulator on a
// JACK server and Tavoro against its ports; Tavoro comes up ONLINE with the emulator's bank read,
// saves a picture of its main window and ends. The JACK server is the test's own, so parallel
// tests do not meet.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "tests/support/jack_server.h"

namespace {

TEST(RunCommand, HeadlessStartComesUpOnlineAndSavesTheWindow) {
  if (QProcess::execute("sh", {"-c", "command -v jackd >/dev/null"}) != 0) GTEST_SKIP() << "jackd is not installed";
  tavoro::test::JackServer jack;
  ASSERT_TRUE(jack.running()) << jack.log();

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString shot = dir.filePath("tavoro.png");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("TAVORO_SCREENSHOT", shot);
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");

  // JACK drops the MIDI events of a cycle that overruns (an xrun), which a loaded machine causes
  // now and then; the program does not ask again (a reply wait times out with its box). A start
  // counts when one of a few tries reads the whole bank.
  const std::string shown = ": saved; link ONLINE; p# 0 Concert Piano; Current Bank: Factory Bank 1";
  std::string output;
  for (int attempt = 0; attempt < 3; ++attempt) {
    QProcess run;
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start("bash", {QString(TAVORO_SOURCE_DIR "/scripts/demo"), QString(TAVORO_BINARY_DIR)});
    ASSERT_TRUE(run.waitForStarted(10000));
    const bool finished = run.waitForFinished(90000);
    output = run.readAll().toStdString();
    if (!finished) run.kill();
    ASSERT_TRUE(finished) << output;
    EXPECT_EQ(run.exitCode(), 0) << output;
    EXPECT_NE(output.find("using the running JACK server"), std::string::npos) << output;
    if (output.find(shown) != std::string::npos) break;
  }
  // The emulator's bank read and shown: the Preset page with its first Preset.
  EXPECT_NE(output.find(shown), std::string::npos) << output;

  const QImage picture(shot);
  ASSERT_FALSE(picture.isNull()) << output;
  EXPECT_GE(picture.width(), 600);
  EXPECT_GE(picture.height(), 400);
}

}  // namespace
