#include "platform/ui/message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

namespace {

TEST(BoxRecorder, RecordsEveryBoxAndAnswersWithItsReply) {
  plat::BoxRecorder recorder(plat::BoxResult::Yes);
  plat::BoxRequest request{"Title", "Line 1\r\nLine 2", plat::BoxIcon::Critical, plat::BoxButtons::YesNo};
  EXPECT_EQ(plat::ShowMessageBox(request), plat::BoxResult::Yes);
  recorder.reply = plat::BoxResult::No;
  EXPECT_EQ(plat::ShowMessageBox({"", "second", plat::BoxIcon::None, plat::BoxButtons::Ok}), plat::BoxResult::No);
  ASSERT_EQ(recorder.boxes.size(), 2u);
  EXPECT_EQ(recorder.boxes[0].title, "Title");
  EXPECT_EQ(recorder.boxes[0].text, "Line 1\r\nLine 2");
  EXPECT_EQ(recorder.boxes[0].icon, plat::BoxIcon::Critical);
  EXPECT_EQ(recorder.boxes[0].buttons, plat::BoxButtons::YesNo);
  EXPECT_EQ(recorder.boxes[1].title, "");
}

TEST(BoxRecorder, AnInnerRecorderHandsBackToTheOuterOne) {
  plat::BoxRecorder outer;
  {
    plat::BoxRecorder inner(plat::BoxResult::Cancel);
    EXPECT_EQ(plat::ShowMessageBox({"", "to inner"}), plat::BoxResult::Cancel);
    EXPECT_EQ(inner.boxes.size(), 1u);
  }
  EXPECT_EQ(plat::ShowMessageBox({"", "to outer"}), plat::BoxResult::Ok);
  ASSERT_EQ(outer.boxes.size(), 1u);
  EXPECT_EQ(outer.boxes[0].text, "to outer");
}

// The real box, shown offscreen and answered by clicking one of its buttons.
struct Seen {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

plat::BoxResult ShowAndClick(const plat::BoxRequest& request, QMessageBox::StandardButton click, Seen* seen) {
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    poll.stop();
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    seen->buttons = box->standardButtons();
    if (click == QMessageBox::NoButton) {
      box->reject();
    } else {
      box->button(click)->click();
    }
  });
  poll.start(5);
  return plat::ShowMessageBox(request);
}

TEST(MessageBox, RealBoxShowsTheRequestAndReturnsTheButtonClicked) {
  QApplication::setApplicationDisplayName(QStringLiteral("Tavoro"));
  Seen seen;
  EXPECT_EQ(ShowAndClick({"", "Cannot go on\r\nReally", plat::BoxIcon::Critical, plat::BoxButtons::Ok},
                         QMessageBox::Ok, &seen),
            plat::BoxResult::Ok);
  EXPECT_EQ(seen.title, QStringLiteral("Tavoro"));  // empty title: the application's
  EXPECT_EQ(seen.text, QStringLiteral("Cannot go on\nReally"));
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

  EXPECT_EQ(ShowAndClick({"Delete", "Sure?", plat::BoxIcon::Question, plat::BoxButtons::YesNoCancel},
                         QMessageBox::No, &seen),
            plat::BoxResult::No);
  EXPECT_EQ(seen.title, QStringLiteral("Delete"));
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

  // Closed without a button: the safe answer.
  EXPECT_EQ(ShowAndClick({"", "Go?", plat::BoxIcon::Exclamation, plat::BoxButtons::OkCancel}, QMessageBox::NoButton,
                         &seen),
            plat::BoxResult::Cancel);
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
}

TEST(MessageBox, TextThatIsNotUtf8IsShownByteForCharacter) {
  Seen seen;
  ShowAndClick({"", std::string("Wave \xE9t\xE9"), plat::BoxIcon::Information, plat::BoxButtons::Ok},
               QMessageBox::Ok, &seen);
  EXPECT_EQ(seen.text, QString::fromLatin1("Wave \xE9t\xE9"));
  ShowAndClick({"", "caf\xC3\xA9", plat::BoxIcon::None, plat::BoxButtons::Ok}, QMessageBox::Ok, &seen);
  EXPECT_EQ(seen.text, QString::fromUtf8("caf\xC3\xA9"));
}

// A box opens centred over the window that shows it and wholly on the screen; with no window
// active (the one that asked has just hidden itself), over the program's main window.
TEST(MessageBox, OpensCentredOverItsWindowAndWhollyOnTheScreen) {
  struct Case { const char* what; QRect mainAt; bool sideActive; };
  const Case cases[] = {{"the active window", {40, 30, 400, 300}, true},
                        {"no window active", {40, 30, 400, 300}, false},
                        {"the main window past the screen's corner", {600, 450, 400, 300}, false}};
  QWidget main;
  QWidget side(&main, Qt::Window);
  side.setGeometry(300, 200, 200, 150);
  for (const Case& c : cases) {
    main.setGeometry(c.mainAt);
    main.show();
    side.setVisible(c.sideActive);
    QApplication::setActiveWindow(c.sideActive ? &side : nullptr);
    QRect placed, screen;
    plat::SetMessageBoxShownHook([&](QMessageBox& box, const plat::BoxRequest&) {
      placed = box.frameGeometry();
      screen = box.screen()->availableGeometry();
      box.reject();
    });
    plat::ShowMessageBox({"", "Where does this box open?"});
    plat::SetMessageBoxShownHook({});
    const QRect owner = (c.sideActive ? side : main).frameGeometry();
    EXPECT_TRUE(screen.contains(placed)) << c.what;
    if (screen.contains(owner)) { EXPECT_LE((placed.center() - owner.center()).manhattanLength(), 2) << c.what; }
  }
}

}  // namespace
