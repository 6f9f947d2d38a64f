// Forms: loaded once, shown modal or not, hidden and unloaded; a modal Show returns only when the
// window is down once its handler has returned; one instance per form through FormSlot.
#include "platform/controls/form.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/controls/control.h"
#include "platform/controls/lists.h"

using plat::ctl::Form;
using plat::ctl::FormSlot;

namespace {

// A form that writes its events into a shared log.
Form* LoggingForm(std::vector<std::string>& log, bool refuseUnload = false) {
  auto* f = new Form;
  f->resize(200, 100);
  f->Form_Load = [&log] { log.push_back("load"); };
  f->Form_Activate = [&log] { log.push_back("activate"); };
  f->Form_Unload = [&log, refuseUnload](int& cancel) {
    log.push_back("unload");
    if (refuseUnload) cancel = 1;
  };
  return f;
}

void DeleteLater() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

TEST(FormTest, LoadRunsOnceAndEveryShowingActivates) {
  std::vector<std::string> log;
  FormSlot<Form> slot([&] { return LoggingForm(log); });
  Form& first = slot.Get();
  EXPECT_EQ(slot.Loaded(), nullptr);
  first.Show();
  first.Show();  // already up: no second load, no activation
  first.Hide();
  first.Show();
  EXPECT_EQ(log, (std::vector<std::string>{"load", "activate", "activate"}));
  EXPECT_EQ(&slot.Get(), &first);

  first.close();  // the title bar's close unloads
  EXPECT_FALSE(first.isVisible());
  EXPECT_EQ(log.back(), "unload");
  Form& second = slot.Get();  // a fresh instance, loaded anew
  EXPECT_NE(&second, &first);
  second.Load();
  EXPECT_EQ(log.back(), "load");
  second.Unload();
  DeleteLater();
}

TEST(FormTest, ACancelledUnloadKeepsTheWindow) {
  std::vector<std::string> log;
  FormSlot<Form> slot([&] { return LoggingForm(log, true); });
  Form& f = slot.Get();
  f.Show();
  f.Unload();
  EXPECT_TRUE(f.Loaded());
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(&slot.Get(), &f);
  delete &f;
}

// What the handler running inside a modal Show does, and whether Show has returned afterwards
// and the window is still up (and modal).
TEST(FormTest, ModalShowEndsWhenTheWindowIsDownAfterTheHandler) {
  struct Case {
    const char* name;
    std::function<void(Form&)> handler;
    bool up;
    Qt::WindowModality modality;
  };
  const Case cases[] = {
      {"hide", [](Form& f) { f.Hide(); }, false, Qt::NonModal},
      {"unload", [](Form& f) { f.Unload(); }, false, Qt::NonModal},
      {"hide then modeless show", [](Form& f) { f.Hide(); f.Show(Form::kModeless); }, true, Qt::NonModal},
      {"modeless show while up", [](Form& f) { f.Show(Form::kModeless); }, true, Qt::NonModal},
  };
  for (const Case& c : cases) {
    std::vector<std::string> log;
    QPointer<Form> f = LoggingForm(log);
    QTimer::singleShot(0, f, [&] { c.handler(*f); });
    f->Show(Form::kModal);  // returns only through the handler
    ASSERT_TRUE(f) << c.name;
    EXPECT_FALSE(f->InModalShow()) << c.name;
    EXPECT_EQ(f->isVisible(), c.up) << c.name;
    EXPECT_EQ(f->windowModality(), c.modality) << c.name;
    delete f;
  }
}

// Hidden while a message box asks, shown again as modal: the first Show is still running and
// ends only with the next hide.
TEST(FormTest, AModalWindowHiddenAndShownAgainStaysModal) {
  std::vector<std::string> log;
  QPointer<Form> f = LoggingForm(log);
  bool stillModalAfterHandler = false;
  QTimer::singleShot(0, f, [&] {
    f->Hide();
    QTest::qWait(5);  // the box's own event loop
    f->Show(Form::kModal);
    QTimer::singleShot(0, f, [&] {
      stillModalAfterHandler = f->InModalShow() && f->isVisible() && f->windowModality() == Qt::ApplicationModal;
      f->Unload();
    });
  });
  f->Show(Form::kModal);
  EXPECT_TRUE(stillModalAfterHandler);
  EXPECT_EQ(log, (std::vector<std::string>{"load", "activate", "activate", "unload"}));
  DeleteLater();
  EXPECT_FALSE(f);
}

TEST(FormTest, MousePointersOfTheWindow) {
  struct Case {
    int pointer;
    Qt::CursorShape shape;
  };
  const Case cases[] = {{11, Qt::WaitCursor}, {13, Qt::BusyCursor}, {0, Qt::ArrowCursor}, {99, Qt::ArrowCursor}};
  Form f;
  for (const Case& c : cases) {
    f.SetMousePointer(c.pointer);
    EXPECT_EQ(f.MousePointer(), c.pointer);
    EXPECT_EQ(f.cursor().shape(), c.shape) << c.pointer;
  }
}

// A click on an entry of a list box raises the box's MouseDown and MouseUp, at the place within
// the box, and selects the entry.
TEST(FormTest, ListBoxReportsButtonsPressedOnItsEntries) {
  Form f;
  f.resize(300, 200);
  auto* lst = new plat::ctl::ListBox(&f);
  lst->setGeometry(10, 10, 200, 120);
  lst->AddItem("MIDI Mapper");
  lst->AddItem("Port 1");
  std::vector<int> events;
  lst->MouseDown = [&](int button, int, int x, int y) {
    events.push_back(button);
    EXPECT_GT(x, 0);
    EXPECT_GT(y, 0);
  };
  lst->MouseUp = [&](int button, int, int, int) { events.push_back(-button); };
  f.Show();
  const QRect second = lst->visualItemRect(lst->item(1));
  QTest::mouseClick(lst->viewport(), Qt::LeftButton, {}, second.center());
  QTest::mouseClick(lst->viewport(), Qt::RightButton, {}, second.center());
  EXPECT_EQ(events, (std::vector<int>{1, -1, 2, -2}));
  EXPECT_EQ(lst->ListIndex(), 1);
}

}  // namespace
