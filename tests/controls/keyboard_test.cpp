// The on-screen keyboard: key geometry in twips, and drags that always end with one drop.
#include "platform/controls/keyboard.h"

#include <algorithm>
#include <string>
#include <vector>

#include "tests/controls/window_fixture.h"

using namespace plat::ctl;

namespace {

class KeyboardTest : public controls_test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    kbd = new Keyboard(window.get());
    kbd->move(10, 10);
    window->resize(kbd->width() + 20, kbd->height() + 60);
    kbd->Keys().On(&Panel3D::DragOver, [this](int index, Control*, int, int, int state) {
      events.push_back("over " + std::to_string(index) + "/" + std::to_string(state));
    });
    kbd->Keys().On(&Panel3D::DragDrop, [this](int index, Control* source, int, int) {
      events.push_back("drop " + std::to_string(index) + " from " + std::to_string(source ? source->Index() : -1));
    });
  }

  // Events a drag raised, without the moves within one panel.
  std::vector<std::string> Crossings() const {
    std::vector<std::string> out;
    for (const auto& e : events)
      if (e.size() < 2 || e.compare(e.size() - 2, 2, "/2") != 0) out.push_back(e);
    return out;
  }

  // Where the centre of `key` lies for `grabber`, the pressed panel that receives every mouse
  // event until the button is released.
  QPoint At(QWidget* grabber, int key) {
    const QWidget& k = kbd->Keys()(key);
    return grabber->mapFromGlobal(k.mapToGlobal(k.rect().center()));
  }

  Keyboard* kbd = nullptr;
  std::vector<std::string> events;
};

TEST_F(KeyboardTest, SeventyTwoKeysAndTheBackdropLaidOutInTwips) {
  auto& keys = kbd->Keys();
  EXPECT_EQ(keys.Count(), 73);
  EXPECT_TRUE(keys.Exists(128));
  EXPECT_EQ(keys(0).Name(), "pnlKey");
  EXPECT_EQ(keys(0).Left(), 0);
  EXPECT_EQ(keys(0).Width(), Keyboard::kWhiteKeyWidth);
  EXPECT_EQ(keys(1).Width(), Keyboard::kBlackKeyWidth);
  // White keys side by side; a black key centred on the line between its neighbours.
  EXPECT_EQ(keys(2).Left(), Keyboard::kWhiteKeyWidth);
  EXPECT_EQ(keys(4).Left(), 2 * Keyboard::kWhiteKeyWidth);
  EXPECT_EQ(keys(5).Left(), 3 * Keyboard::kWhiteKeyWidth);
  EXPECT_EQ(keys(12).Left(), 7 * Keyboard::kWhiteKeyWidth);
  EXPECT_EQ(keys(1).Left() + keys(1).Width() / 2, keys(2).Left());
  EXPECT_EQ(keys(71).Left() + keys(71).Width(), keys(128).Width());
  EXPECT_EQ(keys(0).BackColor(), 0xFFFFFF);
  EXPECT_EQ(keys(1).BackColor(), 0);
  EXPECT_EQ(keys(13).BevelOuter(), 2);
  for (int i = 0; i < 72; ++i) EXPECT_EQ(Keyboard::IsBlackKey(i), keys(i).BackColor() == 0) << i;

  EXPECT_EQ(kbd->ZonePicture().Name(), "picMap");
  EXPECT_EQ(kbd->ZonePicture().ScaleMode(), PictureBox::kTwips);
  EXPECT_EQ(kbd->ZonePicture().Left(), keys(128).Left());
  EXPECT_EQ(kbd->ZonePicture().Width(), keys(128).Width());
  EXPECT_EQ(kbd->OctaveLabels().Count(), 6);
  EXPECT_EQ(kbd->OctaveLabels()(2).Left(), keys(24).Left());
  EXPECT_EQ(kbd->OctaveBar().Min(), 0);
  EXPECT_EQ(kbd->OctaveBar().Max(), 5);
}

TEST_F(KeyboardTest, DraggingAcrossKeysReportsEachKeyAndTheDrop) {
  Show();
  QWidget* key3 = &kbd->Keys()(3);
  QTest::mousePress(key3, Qt::LeftButton, {}, key3->rect().center());
  QTest::mouseMove(key3, At(key3, 3) + QPoint(1, 0));
  QTest::mouseMove(key3, At(key3, 4));
  QTest::mouseMove(key3, At(key3, 3));
  QTest::mouseRelease(key3, Qt::LeftButton, {}, At(key3, 3));
  EXPECT_EQ(Crossings(), (std::vector<std::string>{"over 3/0", "over 3/1", "over 4/0", "over 4/1", "over 3/0", "drop 3 from 3"}));
  EXPECT_FALSE(kbd->Dragging());
}

TEST_F(KeyboardTest, ReleasingOffTheKeyboardStillDrops) {
  Show();
  QWidget* key = &kbd->Keys()(10);
  QTest::mousePress(key, Qt::LeftButton, {}, key->rect().center());
  QTest::mouseMove(key, At(key, 11));
  const QPoint outside = key->mapFrom(window.get(), QPoint(5, window->height() - 5));
  QTest::mouseMove(key, outside);
  QTest::mouseRelease(key, Qt::LeftButton, {}, outside);
  EXPECT_EQ(Crossings(), (std::vector<std::string>{"over 10/0", "over 10/1", "over 11/0", "over 11/1", "drop 10 from 10"}));
}

TEST_F(KeyboardTest, AGapBetweenKeysIsTheBackdrop) {
  Show();
  kbd->Keys()(71).SetVisible(false);
  QWidget* key = &kbd->Keys()(69);
  QTest::mousePress(key, Qt::LeftButton, {}, key->rect().center());
  QTest::mouseMove(key, At(key, 71));
  QTest::mouseRelease(key, Qt::LeftButton, {}, At(key, 71));
  EXPECT_EQ(Crossings(), (std::vector<std::string>{"over 69/0", "over 69/1", "over 128/0", "drop 128 from 69"}));
}

TEST_F(KeyboardTest, LosingTheActiveWindowEndsTheDrag) {
  Show();
  QWidget* key = &kbd->Keys()(0);
  QTest::mousePress(key, Qt::LeftButton, {}, key->rect().center());
  ASSERT_TRUE(kbd->Dragging());
  QWidget other;
  other.show();
  other.activateWindow();
  QApplication::setActiveWindow(&other);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_FALSE(kbd->Dragging());
  EXPECT_EQ(events.back(), "drop 0 from 0");
  QTest::mouseRelease(key, Qt::LeftButton, {}, key->rect().center());
  EXPECT_EQ(std::count(events.begin(), events.end(), "drop 0 from 0"), 1);
}

TEST_F(KeyboardTest, EndDragAndHidingEndTheDragOnce) {
  Show();
  QWidget* key = &kbd->Keys()(7);
  QTest::mousePress(key, Qt::LeftButton, {}, key->rect().center());
  kbd->EndDrag();
  kbd->EndDrag();
  EXPECT_EQ(Crossings(), (std::vector<std::string>{"over 7/0", "drop 7 from 7"}));
  QTest::mouseRelease(key, Qt::LeftButton, {}, key->rect().center());

  events.clear();
  QTest::mousePress(key, Qt::LeftButton, {}, key->rect().center());
  kbd->hide();
  EXPECT_EQ(Crossings(), (std::vector<std::string>{"over 7/0", "drop 7 from 7"}));
}

TEST_F(KeyboardTest, AClickWithoutMovingPlaysAndReleasesTheKey) {
  Show();
  QWidget* key = &kbd->Keys()(5);
  QTest::mouseClick(key, Qt::LeftButton, {}, key->rect().center());
  EXPECT_EQ(Crossings(), (std::vector<std::string>{"over 5/0", "drop 5 from 5"}));
}

}  // namespace
