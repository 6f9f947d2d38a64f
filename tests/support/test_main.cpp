// The one main of every test executable: a QApplication on the offscreen platform (so window
// tests run without a display) and a registry directory of the test run's own, so no test ever
// reads or writes the user's settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QTemporaryDir registryDir;
  if (!std::getenv("TAVORO_REGISTRY_DIR")) setenv("TAVORO_REGISTRY_DIR", registryDir.path().toLocal8Bit().constData(), 1);
  if (!std::getenv("TAVORO_MIDI_API")) setenv("TAVORO_MIDI_API", "loopback", 1);
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
