#pragma once
// A spin button: two arrows, up (or right) and down (or left). A click on an arrow raises SpinUp
// or SpinDown, repeated while the mouse button is held; the Up and Down (Right and Left) keys do
// the same while it has the focus. The repeat stops when the button is released, and also when
// the spin button loses the focus (a message box opened by a handler), is hidden or disabled. It takes the focus when clicked, before the event is raised,
// so the event's handler finds the spin button as the window's active control.

#include <QTimer>
#include <QWidget>
#include <functional>

#include "platform/controls/control.h"

namespace plat::ctl {

class SpinButton : public QWidget, public Control {
 public:
  explicit SpinButton(QWidget* parent = nullptr, Qt::Orientation orientation = Qt::Vertical);

  Qt::Orientation Orientation() const { return orientation_; }

  QSize sizeHint() const override;

  std::function<void()> SpinUp;
  std::function<void()> SpinDown;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  enum class Part { None, Up, Down };
  Part PartAt(const QPoint& p) const;
  void Spin(Part part);
  void StopRepeat();

  Qt::Orientation orientation_;
  Part pressed_ = Part::None;
  QTimer repeat_;
};

}  // namespace plat::ctl
