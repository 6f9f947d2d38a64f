// A headless run with a picture asked for never waits on a message box: with no lamp library
// registered and no instrument, the start-up's boxes are pictured and closed, and the program ends.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

TEST(HeadlessScreenshot, AStartUpBoxIsPicturedAndTheProgramEnds) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString shot = dir.filePath("tavoro.png");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("TAVORO_SCREENSHOT", shot);
  env.insert("TAVORO_REGISTRY_DIR", dir.filePath("registry"));  // nothing registered
  env.insert("TAVORO_MIDI_API", "loopback");
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");

  QProcess run;
  run.setProcessEnvironment(env);
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.setWorkingDirectory(dir.path());
  run.start(TAVORO_PROGRAM, {});
  ASSERT_TRUE(run.waitForStarted(10000));
  const bool finished = run.waitForFinished(60000);
  const std::string output = run.readAll().toStdString();
  if (!finished) run.kill();
  ASSERT_TRUE(finished) << "still waiting on a box:\n" << output;
  EXPECT_NE(output.find(": saved; message box: "), std::string::npos) << output;
  EXPECT_NE(output.find("could not be created"), std::string::npos) << output;  // the lamp library's box
  EXPECT_FALSE(QImage(shot).isNull()) << output;
}

}  // namespace
