// The animation control: opening, the frame period from the clip, looping, AutoPlay and Stop.
#include "platform/controls/animation.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "tools/hourglass/avi_writer.h"

using plat::ctl::Animation;

namespace {

std::string WriteClip(const QTemporaryDir& dir, int frames, std::uint32_t periodUs) {
  avi_writer::Clip c;
  c.width = 4;
  c.height = 2;
  c.framePeriodUs = periodUs;
  c.palette = {0x000000, 0xFFFFFF};
  for (int i = 0; i < frames; ++i) c.frames.push_back(std::vector<std::uint32_t>(8, static_cast<std::uint32_t>(i % 2)));
  const auto bytes = avi_writer::WriteAvi(c, avi_writer::Coding::Raw8);
  const QString path = dir.filePath("clip.avi");
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  return path.toStdString();
}

TEST(AnimationTest, OpenPlaysInALoopOnlyWithAutoPlay) {
  QTemporaryDir dir;
  const std::string path = WriteClip(dir, 3, 20000);
  Animation ani;
  EXPECT_FALSE(ani.Open(dir.filePath("none.avi").toStdString()));
  EXPECT_FALSE(ani.IsOpen());

  ASSERT_TRUE(ani.Open(path));
  EXPECT_EQ(ani.FrameCount(), 3);
  EXPECT_EQ(ani.FramePeriodMs(), 20);
  EXPECT_FALSE(ani.Playing());
  EXPECT_EQ(ani.Frame(1).pixel(0, 0), 0xFFFFFFFFu);

  ani.SetAutoPlay(true);  // starts the open clip
  EXPECT_TRUE(ani.Playing());
  std::vector<int> seen;
  ASSERT_TRUE(QTest::qWaitFor([&] {
    if (seen.empty() || seen.back() != ani.CurrentFrame()) seen.push_back(ani.CurrentFrame());
    return seen.size() >= 5;
  }, 3000));
  EXPECT_EQ(seen[3], seen[0]);  // round the loop: 3 frames later the same frame again
  ani.Stop();
  EXPECT_FALSE(ani.Playing());

  // A file that is no clip leaves the control empty and still.
  QFile bad(dir.filePath("bad.avi"));
  bad.open(QIODevice::WriteOnly);
  bad.write("RIFF....AVI LIST");
  bad.close();
  EXPECT_FALSE(ani.Open(bad.fileName().toStdString()));
  EXPECT_FALSE(ani.IsOpen());
  EXPECT_FALSE(ani.Playing());
}

}  // namespace
