#pragma once
// A shown, active top-level window for the control tests (offscreen).

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <memory>

namespace controls_test {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<QWidget>();
    window->resize(400, 300);
  }
  void TearDown() override { window.reset(); }

  // Shows the window and makes it the active one, so focus and key events behave as on screen.
  void Show() {
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  std::unique_ptr<QWidget> window;
};

}  // namespace controls_test
