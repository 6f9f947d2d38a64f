// Pictures of the windows: every tab page and side window is drawn, and with
// TAVORO_SCREENSHOT_DIR set the pictures are saved there (main-<tab>.png, config-<tab>.png,
// stats.png, about.png) for a person to look at.
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <cstdlib>

#include "tests/mainwindow/app_fixture.h"

namespace tavoro::testing {
namespace {

using LookTest = AppFixture;

// Draws a window and, with TAVORO_SCREENSHOT_DIR set, saves the picture as <name>.png.
QImage Picture(QWidget& window, const QString& name) {
  QApplication::processEvents();
  const QImage picture = window.grab().toImage();
  const char* dir = std::getenv("TAVORO_SCREENSHOT_DIR");
  if (dir != nullptr && *dir != '\0') {
    QDir().mkpath(dir);
    picture.save(QString("%1/%2.png").arg(dir, name));
  }
  return picture;
}

TEST_F(LookTest, EveryTabPageIsDrawn) {
  ASSERT_EQ(Start(), 0);
  for (int tab = 0; tab < 8; ++tab) {
    w().Tavorotab->SetCurrTab(tab);
    w().Tavorotab_Click();
    const QImage picture = Picture(w(), QString("main-%1").arg(tab));
    ASSERT_FALSE(picture.isNull());
    EXPECT_GE(picture.width(), 600);
  }
}

TEST_F(LookTest, TheSideWindowsAreDrawn) {
  ASSERT_EQ(Start(), 0);
  QAction* configPages[] = {w().mnuConfigMidi, w().mnuConfigDisk, w().mnuConfigVesk};
  for (int tab = 0; tab < 3; ++tab) {
    configPages[tab]->trigger();
    QWidget* config = WindowTitled("Configuration");
    ASSERT_NE(config, nullptr);
    const QImage picture = Picture(*config, QString("config-%1").arg(tab));
    EXPECT_GE(picture.width(), 300);
  }
  w().mnuStats->trigger();
  QWidget* stats = WindowTitled("Vesk Statistics");
  ASSERT_NE(stats, nullptr);
  EXPECT_GE(Picture(*stats, "stats").width(), 300);
  w().mnuAbout->trigger();
  QWidget* about = WindowTitled("About Tavoro");
  ASSERT_NE(about, nullptr);
  EXPECT_GE(Picture(*about, "about").width(), 300);
}

}  // namespace
}  // namespace tavoro::testing
