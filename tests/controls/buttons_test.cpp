// Option buttons and check boxes: Click on the program's Value writes, and the option sets.
#include "platform/controls/buttons.h"

#include <map>

#include "platform/controls/control_array.h"
#include "platform/controls/panels.h"
#include "tests/controls/window_fixture.h"

using namespace plat::ctl;

namespace {

class OptionTest : public controls_test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    // One array over two frames, as the page's options lie: 0-2 in the first, 3-4 in the second.
    first = new Frame("Priority", window.get());
    first->setGeometry(0, 0, 180, 140);
    second = new Frame("Overflow", window.get());
    second->setGeometry(200, 0, 180, 140);
    for (int i = 0; i < 5; ++i) {
      auto* o = new OptionButton("opt " + std::to_string(i), i < 3 ? first : second);
      o->setGeometry(10, 20 + 25 * (i % 3), 150, 22);
      opt.Add(i, o);
    }
    opt.On(&OptionButton::Click, [this](int index) { ++clicks[index]; });
  }

  std::vector<bool> Values() {
    std::vector<bool> v;
    for (int i : opt.Indexes()) v.push_back(opt(i).Value());
    return v;
  }

  Frame* first = nullptr;
  Frame* second = nullptr;
  ControlArray<OptionButton> opt{"optGlobal"};
  std::map<int, int> clicks;
};

TEST_F(OptionTest, SettingValueTrueRaisesClickOnceAndSelectsWithinItsFrameOnly) {
  opt(1).SetValue(true);
  opt(4).SetValue(true);
  EXPECT_EQ(clicks, (std::map<int, int>{{1, 1}, {4, 1}}));
  EXPECT_EQ(Values(), (std::vector<bool>{false, true, false, false, true}));

  opt(2).SetValue(true);  // moves the first frame's selection; the deselected option raises nothing
  EXPECT_EQ(Values(), (std::vector<bool>{false, false, true, false, true}));
  EXPECT_EQ(clicks[1], 1);
  EXPECT_EQ(clicks[2], 1);

  opt(2).SetValue(true);  // already selected: no event
  EXPECT_EQ(clicks[2], 1);
}

TEST_F(OptionTest, TheProgramCanLeaveASetWithNothingSelected) {
  opt(0).SetValue(true);
  opt(0).SetValue(false);
  EXPECT_EQ(Values(), (std::vector<bool>(5, false)));
  EXPECT_EQ(clicks[0], 1);
}

TEST_F(OptionTest, UserClicksRaiseClickAlsoOnTheSelectedOption) {
  Show();
  QTest::mouseClick(&opt(3), Qt::LeftButton, {}, QPoint(8, 11));
  EXPECT_TRUE(opt(3).Value());
  QTest::mouseClick(&opt(3), Qt::LeftButton, {}, QPoint(8, 11));
  EXPECT_TRUE(opt(3).Value());  // a click never deselects
  EXPECT_EQ(clicks[3], 2);
  QTest::mouseClick(&opt(4), Qt::LeftButton, {}, QPoint(8, 11));
  EXPECT_EQ(Values(), (std::vector<bool>{false, false, false, false, true}));
  EXPECT_EQ(&opt(4), dynamic_cast<OptionButton*>(ActiveControl(window.get())));
}

TEST_F(OptionTest, AnExplicitGroupSpansContainersAndSplitsOne) {
  OptionGroup pair;
  opt(0).SetGroup(&pair);
  opt(3).SetGroup(&pair);
  opt(1).SetValue(true);
  opt(0).SetValue(true);  // a different set from option 1 although in the same frame
  EXPECT_TRUE(opt(1).Value());
  opt(3).SetValue(true);
  EXPECT_EQ(Values(), (std::vector<bool>{false, true, false, true, false}));
}

TEST(CheckBoxTest, ClickIsRaisedOnUserClicksAndOnValueChangesOnly) {
  QWidget window;
  auto* chk = new CheckBox("&Installed", &window);
  int clicks = 0;
  chk->Click = [&] { ++clicks; };
  chk->SetValue(1);
  chk->SetValue(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(chk->Value(), 1);
  chk->SetValue(2);
  EXPECT_EQ(chk->Value(), 2);
  chk->click();  // a click clears a grayed box
  EXPECT_EQ(chk->Value(), 0);
  EXPECT_EQ(clicks, 3);
}

TEST(PictureButtonTest, CarriesItsHintAndReportsBothMouseButtons) {
  QWidget window;
  auto* cmd = new PictureButton("Download", &window);
  cmd->SetToolTipText("Download Object(s)");
  EXPECT_EQ(cmd->ToolTipText(), "Download Object(s)");
  std::vector<int> downs;
  int clicks = 0;
  cmd->MouseDown = [&](int button, int, int, int) { downs.push_back(button); };
  cmd->Click = [&] { ++clicks; };
  window.show();
  QTest::mouseClick(cmd, Qt::RightButton);
  QTest::mouseClick(cmd, Qt::LeftButton);
  EXPECT_EQ(downs, (std::vector<int>{kRightButton, kLeftButton}));
  EXPECT_EQ(clicks, 1);
}

}  // namespace
