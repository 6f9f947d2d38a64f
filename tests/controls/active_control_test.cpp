// Sliders, scroll bars and spin buttons: their Change, Scroll and Spin events, reversed ranges,
// and the window's active control while their handlers run.
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "platform/controls/range_controls.h"
#include "platform/controls/spin_button.h"
#include "platform/controls/text_box.h"
#include "tests/controls/window_fixture.h"

using namespace plat::ctl;

namespace {

// Exposes where the slider draws its thumb, so a test can drag it.
class ThumbSlider : public Slider {
 public:
  using Slider::Slider;
  QPoint Thumb() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this).center();
  }
};

class ActiveControlTest : public controls_test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    box = new TextBox(window.get());
    box->SetName("txtEnv1Att");
    box->setGeometry(10, 10, 60, 24);
    slider = new ThumbSlider(Qt::Vertical, window.get());
    slider->SetName("sldEnv1Att");
    slider->SetMin(-99);
    slider->SetMax(99);
    slider->setGeometry(100, 10, 30, 220);
    spin = new SpinButton(window.get());
    spin->SetName("spnMap");
    spin->setGeometry(150, 10, 17, 24);
  }

  std::string Active() {
    Control* c = ActiveControl(window.get());
    return c ? c->Name() : "(none)";
  }

  void Log(const std::string& what) { log.push_back(what + " @" + Active()); }

  TextBox* box = nullptr;
  ThumbSlider* slider = nullptr;
  SpinButton* spin = nullptr;
  std::vector<std::string> log;
};

TEST_F(ActiveControlTest, ProgramWritesRaiseChangeButNeverScroll) {
  slider->Change = [this] { Log("change " + std::to_string(slider->Value())); };
  slider->Scroll = [this] { Log("scroll"); };
  slider->SetValue(12);
  slider->SetValue(12);  // unchanged: nothing
  slider->SetValue(500);  // brought to the end of the range
  EXPECT_EQ(slider->Value(), 99);
  EXPECT_EQ(log, (std::vector<std::string>{"change 12 @(none)", "change 99 @(none)"}));
}

TEST_F(ActiveControlTest, DraggingRaisesScrollForEachMoveAndOneChangeAtTheEnd) {
  Show();
  box->setFocus();
  slider->Change = [this] { Log("change"); };
  slider->Scroll = [this] { Log("scroll"); };
  const QPoint thumb = slider->Thumb();
  QTest::mousePress(slider, Qt::LeftButton, {}, thumb);
  QTest::mouseMove(slider, thumb - QPoint(0, 20));
  QTest::mouseMove(slider, thumb - QPoint(0, 40));
  QTest::mouseRelease(slider, Qt::LeftButton, {}, thumb - QPoint(0, 40));
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log.back(), "change @sldEnv1Att");
  for (std::size_t i = 0; i + 1 < log.size(); ++i) EXPECT_EQ(log[i], "scroll @sldEnv1Att");
  EXPECT_GT(slider->Value(), 0);  // up is toward Max
}

TEST_F(ActiveControlTest, KeysAndClicksOnTheTrackRaiseChange) {
  Show();
  slider->Change = [this] { Log("change " + std::to_string(slider->Value())); };
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_Up);
  EXPECT_EQ(log, std::vector<std::string>{"change 1 @sldEnv1Att"});
}

TEST_F(ActiveControlTest, TheWheelMovesOnlyTheControlWithTheFocus) {
  Show();
  slider->Change = [this] { Log("change " + std::to_string(slider->Value())); };
  auto wheel = [this] {
    const QPointF at(15, 100);
    QWheelEvent event(at, slider->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider, &event);
  };
  box->setFocus();
  wheel();
  EXPECT_EQ(slider->Value(), 0);
  slider->setFocus();
  wheel();
  EXPECT_GT(slider->Value(), 0);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].substr(log[0].find('@')), "@sldEnv1Att");
}

TEST_F(ActiveControlTest, AReversedRangeKeepsTheMinEndInPlace) {
  slider->SetMin(99);
  slider->SetMax(-99);
  EXPECT_EQ(slider->Min(), 99);
  EXPECT_EQ(slider->Max(), -99);
  slider->SetValue(-150);
  EXPECT_EQ(slider->Value(), -99);
  slider->SetValue(0);
  Show();
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_Up);  // toward the Max end at the top: -1
  EXPECT_EQ(slider->Value(), -1);

  ScrollBar bar(Qt::Horizontal);
  bar.SetMin(100);
  bar.SetMax(1);
  bar.SetValue(50);
  EXPECT_EQ(bar.Value(), 50);
  EXPECT_TRUE(bar.invertedAppearance());
}

TEST_F(ActiveControlTest, TheDraggedSliderIsTheActiveControlInItsHandlers) {
  Show();
  box->setFocus();
  EXPECT_EQ(Active(), "txtEnv1Att");
  box->LostFocus = [this] { Log("box lost focus"); };
  slider->Change = [this] { Log("change"); };
  QTest::mouseClick(slider, Qt::LeftButton, {}, slider->Thumb() - QPoint(0, 60));  // a page step
  EXPECT_EQ(log, (std::vector<std::string>{"box lost focus @sldEnv1Att", "change @sldEnv1Att"}));
}

TEST_F(ActiveControlTest, SpinButtonsTakeTheFocusBeforeTheirEventsRun) {
  Show();
  box->setFocus();
  box->LostFocus = [this] { Log("box lost focus"); };
  spin->SpinUp = [this] { Log("up"); };
  spin->SpinDown = [this] { Log("down"); };
  QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(8, 3));
  QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(8, 20));
  QTest::keyClick(spin, Qt::Key_Up);
  EXPECT_EQ(log, (std::vector<std::string>{"box lost focus @spnMap", "up @spnMap", "down @spnMap", "up @spnMap"}));
}

TEST_F(ActiveControlTest, HoldingASpinButtonRepeatsUntilItLosesTheFocus) {
  Show();
  int ups = 0;
  spin->SpinUp = [&] {
    if (++ups == 3) box->setFocus();  // as a message box would take it
  };
  QTest::mousePress(spin, Qt::LeftButton, {}, QPoint(8, 3));
  ASSERT_TRUE(QTest::qWaitFor([&] { return ups >= 3; }, 2000));
  QTest::qWait(300);
  EXPECT_EQ(ups, 3);
  QTest::mouseRelease(spin, Qt::LeftButton, {}, QPoint(8, 3));
}

TEST_F(ActiveControlTest, ASpinButtonIsActiveEvenInAnInactiveWindow) {
  window->show();  // shown but never activated
  spin->SpinUp = [this] { Log("up"); };
  QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(8, 3));
  EXPECT_EQ(log, std::vector<std::string>{"up @spnMap"});
}

TEST_F(ActiveControlTest, AControlThatDisablesItselfStaysActiveUntilTheFocusMovesOn) {
  Show();
  slider->setFocus();
  // As the scroll-bar handler does: disable, write the box (whose handler asks), enable.
  slider->Change = [this] {
    slider->SetEnabled(false);
    Log("disabled");
    slider->SetEnabled(true);
  };
  slider->SetValue(5);
  EXPECT_EQ(log, std::vector<std::string>{"disabled @sldEnv1Att"});
  EXPECT_TRUE(slider->hasFocus());  // given back when enabled again

  slider->SetEnabled(false);
  EXPECT_EQ(Active(), "sldEnv1Att");
  box->setFocus();
  EXPECT_EQ(Active(), "txtEnv1Att");
  slider->SetEnabled(true);
  EXPECT_EQ(Active(), "txtEnv1Att");
}

TEST_F(ActiveControlTest, TheScreensActiveControlIsTheActiveWindows) {
  Show();
  spin->setFocus();
  EXPECT_EQ(ScreenActiveControl(), spin);
}

}  // namespace
