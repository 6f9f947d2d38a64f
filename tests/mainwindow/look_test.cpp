// Pictures of the window: every tab page is drawn, and with TAVORO_SCREENSHOT_DIR set the
// pictures are saved there (main-<tab>.png) for a person to look at.
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <cstdlib>

#include "tests/mainwindow/app_fixture.h"

namespace tavoro::testing {
namespace {

using LookTest = AppFixture;

TEST_F(LookTest, EveryTabPageIsDrawn) {
  ASSERT_EQ(Start(), 0);
  const char* dir = std::getenv("TAVORO_SCREENSHOT_DIR");
  for (int tab = 0; tab < 8; ++tab) {
    w().Tavorotab->SetCurrTab(tab);
    w().Tavorotab_Click();
    QApplication::processEvents();
    const QImage picture = w().grab().toImage();
    ASSERT_FALSE(picture.isNull());
    EXPECT_GE(picture.width(), 600);
    if (dir != nullptr && *dir != '\0') {
      QDir().mkpath(dir);
      picture.save(QString("%1/main-%2.png").arg(dir).arg(tab));
    }
  }
}

}  // namespace
}  // namespace tavoro::testing
