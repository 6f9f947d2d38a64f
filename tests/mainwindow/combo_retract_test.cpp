// The choice-list commit timer: a list's opening arms it, and it commits once the list has closed.
#include <QApplication>

#include "platform/controls/lists.h"
#include "tests/mainwindow/app_fixture.h"

namespace tavoro::testing {
namespace {

class ComboRetractTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    ASSERT_EQ(Start(), 0);
    for (const char* name : {"cboTone", "cboPreset", "cboGlobal", "cboLoadBank"})
      w().SetComboCommit(name, [this, name](int index) { commits.emplace_back(name, index); });
    QApplication::setActiveWindow(&w());
  }
  // Opens the list as the user does: the list gets the focus and drops down.
  void Open(plat::ctl::ComboBox& combo, int tab) {
    w().Tavorotab->SetCurrTab(tab);
    w().activateWindow();
    QApplication::setActiveWindow(&w());
    combo.setFocus();
    QApplication::processEvents();
    ASSERT_EQ(plat::ctl::ScreenActiveControl(), &combo);
    combo.showPopup();
  }
  // Lets the timer tick until a commit came (or two seconds passed).
  void WaitForCommit() { plat::WaitUntil([this] { return !commits.empty(); }, 2000); }
  std::vector<std::pair<std::string, int>> commits;
};

TEST_F(ComboRetractTest, CommitsOnceAfterTheListHasClosed) {
  auto& combo = w().pages.cboTone(7);
  Open(combo, 5);
  EXPECT_TRUE(w().tmrComboRetract.Enabled());
  EXPECT_EQ(w().tmrComboRetract.Interval(), 1);
  RunEventsFor(30);
  EXPECT_TRUE(commits.empty());  // still open
  combo.SetListIndex(3);
  combo.hidePopup();
  WaitForCommit();
  RunEventsFor(20);
  EXPECT_EQ(commits, (std::vector<std::pair<std::string, int>>{{"cboTone", 7}}));
  EXPECT_FALSE(w().tmrComboRetract.Enabled());
}

TEST_F(ComboRetractTest, OpeningAndClosingWithoutAChangeStillCommits) {
  auto& combo = w().pages.cboPreset(2);
  Open(combo, 0);
  combo.hidePopup();
  WaitForCommit();
  EXPECT_EQ(commits, (std::vector<std::pair<std::string, int>>{{"cboPreset", 2}}));
}

TEST_F(ComboRetractTest, TheGlobalListIsServedToo) {
  auto& combo = w().pages.cboGlobal(0);
  Open(combo, 7);
  combo.hidePopup();
  WaitForCommit();
  EXPECT_EQ(commits, (std::vector<std::pair<std::string, int>>{{"cboGlobal", 0}}));
}

TEST_F(ComboRetractTest, OpeningWhileARequestIsOutstandingArmsNothing) {
  link().MidiOutBusy = true;
  auto& combo = w().pages.cboTone(0);
  Open(combo, 3);
  link().MidiOutBusy = false;
  EXPECT_FALSE(w().tmrComboRetract.Enabled());
  combo.hidePopup();
  RunEventsFor(30);
  EXPECT_TRUE(commits.empty());
}

TEST_F(ComboRetractTest, FocusMovedOnToANonListCommitsNothing) {
  auto& combo = w().pages.cboTone(1);
  Open(combo, 3);
  combo.hidePopup();
  w().txtObjectName->setFocus();
  w().tmrComboRetract_Timer();
  EXPECT_FALSE(w().tmrComboRetract.Enabled());
  EXPECT_TRUE(commits.empty());
}

TEST_F(ComboRetractTest, ACommitThatWaitsIsNotTickedIntoAgain) {
  int calls = 0;
  w().SetComboCommit("cboTone", [&](int) {
    ++calls;
    RunEventsFor(30);  // as a commit waiting for the instrument's reply does
  });
  auto& combo = w().pages.cboTone(2);
  Open(combo, 3);
  combo.hidePopup();
  plat::WaitUntil([&] { return calls > 0; }, 2000);
  RunEventsFor(60);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace tavoro::testing
