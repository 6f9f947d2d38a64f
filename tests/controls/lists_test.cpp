// Combo boxes: entries, ListIndex and Text, the DropDown event and the dropped state that the
// choice-list commit polls, and the commit after the list has closed.
#include "platform/controls/lists.h"

#include <QAbstractItemView>
#include <QWheelEvent>
#include <vector>

#include "platform/controls/window_timer.h"
#include "tests/controls/window_fixture.h"

using namespace plat::ctl;

namespace {

class ComboTest : public controls_test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    cbo = new ComboBox(window.get());
    cbo->SetName("cboTone");
    cbo->SetIndex(4);
    cbo->setGeometry(10, 10, 160, 24);
    for (const char* s : {"triangle", "square", "sawtooth (ramp)", "sine", "clipped sine"}) cbo->AddItem(s);
  }
  ComboBox* cbo = nullptr;
};

TEST_F(ComboTest, ListIndexAndTextAgree) {
  EXPECT_EQ(cbo->ListCount(), 5);
  EXPECT_EQ(cbo->List(2), "sawtooth (ramp)");
  EXPECT_EQ(cbo->List(5), "");
  cbo->SetText("sine");
  EXPECT_EQ(cbo->ListIndex(), 3);
  cbo->SetText("grunge");  // no such entry
  EXPECT_EQ(cbo->ListIndex(), -1);
  EXPECT_EQ(cbo->Text(), "");
  cbo->SetListIndex(0);
  EXPECT_EQ(cbo->Text(), "triangle");
  cbo->SetListIndex(-1);
  EXPECT_EQ(cbo->ListIndex(), -1);

  ComboBox empty;
  EXPECT_EQ(empty.ListIndex(), -1);
}

// The window's commit timer: armed by DropDown, it commits once the list has closed.
TEST_F(ComboTest, ChoiceIsCommittedOnceAfterTheListHasClosed) {
  Show();
  cbo->SetText("triangle");
  WindowTimer retract;
  std::vector<int> commits;
  cbo->DropDown = [&] {
    retract.SetInterval(1);
    retract.SetEnabled(true);
  };
  retract.Timer = [&] {
    auto* active = dynamic_cast<ComboBox*>(ScreenActiveControl());
    if (!active) {
      retract.SetEnabled(false);
      return;
    }
    if (active->IsDropped()) return;
    commits.push_back(active->ListIndex());
    retract.SetEnabled(false);
  };

  cbo->setFocus();
  EXPECT_FALSE(cbo->IsDropped());
  QTest::keyClick(cbo, Qt::Key_Down, Qt::AltModifier);  // opens the list
  ASSERT_TRUE(QTest::qWaitFor([&] { return cbo->IsDropped(); }));
  QTest::qWait(20);
  EXPECT_TRUE(commits.empty());  // nothing while open

  QAbstractItemView* view = cbo->view();
  for (int i = 0; i < 3; ++i) QTest::keyClick(view, Qt::Key_Down);
  QTest::keyClick(view, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !commits.empty(); }));
  QTest::qWait(20);
  EXPECT_EQ(commits, std::vector<int>{3});
  EXPECT_FALSE(cbo->IsDropped());
  EXPECT_FALSE(retract.Enabled());
}

TEST_F(ComboTest, OpeningAndClosingWithoutAChoiceStillEndsOnce) {
  Show();
  cbo->SetText("square");
  int drops = 0;
  cbo->DropDown = [&] { ++drops; };
  cbo->setFocus();
  cbo->showPopup();
  EXPECT_EQ(drops, 1);
  EXPECT_TRUE(cbo->IsDropped());
  cbo->hidePopup();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !cbo->IsDropped(); }));
  EXPECT_EQ(cbo->ListIndex(), 1);
}

TEST_F(ComboTest, TheClosedBoxNeverChangesItsEntryWithoutOpening) {
  Show();
  cbo->SetListIndex(1);
  int drops = 0;
  cbo->DropDown = [&] { ++drops; };
  cbo->setFocus();
  QTest::keyClick(cbo, Qt::Key_Down);
  EXPECT_EQ(cbo->ListIndex(), 1);
  EXPECT_EQ(drops, 1);
  EXPECT_TRUE(cbo->IsDropped());
  cbo->hidePopup();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !cbo->IsDropped(); }));
  QTest::keyClicks(cbo, "s");
  EXPECT_EQ(cbo->ListIndex(), 1);
  EXPECT_EQ(drops, 2);
  cbo->hidePopup();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !cbo->IsDropped(); }));
  QWheelEvent wheel(QPointF(5, 5), cbo->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(cbo, &wheel);
  EXPECT_EQ(cbo->ListIndex(), 1);
}

TEST(ListBoxTest, SelectionByIndex) {
  ListBox lst;
  lst.AddItem("MIDI Mapper");
  lst.AddItem("Port 1");
  int clicks = 0;
  lst.Click = [&] { ++clicks; };
  EXPECT_EQ(lst.ListIndex(), -1);
  lst.SetListIndex(1);
  EXPECT_EQ(lst.Text(), "Port 1");
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(lst.List(0), "MIDI Mapper");
  EXPECT_EQ(lst.List(7), "");
}

}  // namespace
