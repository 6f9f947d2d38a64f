// The progress window: the clip from the home directory or the still hourglass, the busy pointers
// while it is loaded, and the guarded hold that outlives a close by the reply wait.
#include "dialogs/progress.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace tavoro {
namespace {

class ProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home.isValid());
    main.resize(300, 200);
    main.show();
  }
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  void PutClip(const QByteArray& bytes) {
    QFile f(home.filePath(kHourGlassClip));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  static QByteArray OwnClip() {
    QFile f(TAVORO_SOURCE_DIR "/resources/HourGlas.avi");
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  std::string Home() const { return home.path().toStdString(); }

  QTemporaryDir home;
  QWidget main;
};

TEST_F(ProgressTest, TheClipPlaysWhenItCanElseTheStillPictureShows) {
  struct Case {
    const char* name;
    QByteArray clip;  // empty: no file
    bool animated;
  };
  const QByteArray own = OwnClip();
  ASSERT_FALSE(own.isEmpty());
  const Case cases[] = {
      {"the program's clip", own, true},
      {"no clip", {}, false},
      {"a clip that is no AVI", QByteArray("RIFF\x10\0\0\0WAVEfmt ", 16), false},
      {"a clip cut short", own.left(300), false},
  };
  for (const Case& c : cases) {
    QFile::remove(home.filePath(kHourGlassClip));
    if (!c.clip.isEmpty()) PutClip(c.clip);
    ProgressRef progress = ProgressRef::Show(&main, Home(), "Delete Wave", "Deleting Wave w#3   Kick");
    frmProgress* f = progress.get();
    ASSERT_NE(f, nullptr) << c.name;
    EXPECT_TRUE(f->isVisible()) << c.name;
    EXPECT_EQ(f->Caption(), "Delete Wave");
    EXPECT_EQ(f->lblProgress->Caption(), "Deleting Wave w#3   Kick");
    EXPECT_EQ(f->aniProgress->Visible(), c.animated) << c.name;
    EXPECT_EQ(f->imgHourGlass->Visible(), !c.animated) << c.name;
    if (const QByteArray dir = qgetenv("TAVORO_SCREENSHOT_DIR"); !dir.isEmpty())
      f->grab().save(QString("%1/progress-%2.png").arg(QString::fromLocal8Bit(dir)).arg(c.animated ? "clip" : "still"));
    if (c.animated) {
      const int first = f->aniProgress->CurrentFrame();
      EXPECT_TRUE(f->aniProgress->Playing());
      EXPECT_TRUE(QTest::qWaitFor([&] { return f->aniProgress->CurrentFrame() != first; }, 2000)) << c.name;
    }
    progress.Unload();
    EXPECT_EQ(progress.get(), nullptr);
  }
}

TEST_F(ProgressTest, PointersAreBusyWhileLoadedAndDefaultAfterwards) {
  plat::ctl::SetMousePointer(&main, 11);  // an hourglass from before
  ProgressRef progress = ProgressRef::Show(&main, Home(), "Load Bank", "Loading Bank from Floppy Disk...");
  EXPECT_EQ(plat::ctl::MousePointer(&main), 11);
  EXPECT_EQ(progress.get()->MousePointer(), 13);
  frmProgress* f = progress.get();
  progress.Unload();
  EXPECT_EQ(plat::ctl::MousePointer(&main), 0);
  EXPECT_EQ(f->MousePointer(), 0);
  EXPECT_FALSE(f->aniProgress->Visible());
  EXPECT_FALSE(f->imgHourGlass->Visible());
}

// Closed from outside (as the reply wait does on a time-out): later writes and unloads do
// nothing, before and after the window is deleted.
TEST_F(ProgressTest, WritesAfterAnOutsideCloseDoNothing) {
  ProgressRef progress = ProgressRef::Show(&main, Home(), "Merge to Stereo", "Merging...");
  QPointer<frmProgress> f = progress.get();
  f->close();
  EXPECT_EQ(progress.get(), nullptr);
  EXPECT_EQ(plat::ctl::MousePointer(&main), 0);
  progress.Set("Download Vesk Objects", "Downloading Vesk Data...");
  progress.Unload();
  EXPECT_EQ(f->lblProgress->Caption(), "Merging...");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(f.isNull());
  progress.Set("Download Vesk Objects", "Downloading Vesk Data...");
  progress.Unload();
}

}  // namespace
}  // namespace tavoro
