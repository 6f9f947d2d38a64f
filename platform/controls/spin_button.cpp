#include "platform/controls/spin_button.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOption>

namespace plat::ctl {

namespace {
constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 80;
}  // namespace

SpinButton::SpinButton(QWidget* parent, Qt::Orientation orientation) : QWidget(parent), Control(this), orientation_(orientation) {
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  repeat_.setSingleShot(false);
  connect(&repeat_, &QTimer::timeout, this, [this] {
    repeat_.setInterval(kRepeatMs);
    if (pressed_ != Part::None && isEnabled()) Spin(pressed_);
  });
}

QSize SpinButton::sizeHint() const { return orientation_ == Qt::Vertical ? QSize(17, 24) : QSize(32, 17); }

SpinButton::Part SpinButton::PartAt(const QPoint& p) const {
  if (!rect().contains(p)) return Part::None;
  if (orientation_ == Qt::Vertical) return p.y() < height() / 2 ? Part::Up : Part::Down;
  return p.x() >= width() / 2 ? Part::Up : Part::Down;
}

void SpinButton::Spin(Part part) {
  if (part == Part::Up)
    Raise(SpinUp);
  else if (part == Part::Down)
    Raise(SpinDown);
}

void SpinButton::StopRepeat() {
  repeat_.stop();
  pressed_ = Part::None;
  update();
}

void SpinButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const Part part = PartAt(event->position().toPoint());
  if (part == Part::None) return;
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  pressed_ = part;
  update();
  repeat_.start(kFirstRepeatMs);
  QPointer<SpinButton> alive(this);
  Spin(part);
  if (alive && !isEnabled()) StopRepeat();
}

void SpinButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) StopRepeat();
  QWidget::mouseReleaseEvent(event);
}

void SpinButton::keyPressEvent(QKeyEvent* event) {
  const bool vertical = orientation_ == Qt::Vertical;
  const int upKey = vertical ? Qt::Key_Up : Qt::Key_Right;
  const int downKey = vertical ? Qt::Key_Down : Qt::Key_Left;
  if (event->key() == upKey) {
    event->accept();
    Spin(Part::Up);
  } else if (event->key() == downKey) {
    event->accept();
    Spin(Part::Down);
  } else {
    QWidget::keyPressEvent(event);
  }
}

void SpinButton::focusInEvent(QFocusEvent* event) {
  update();
  QWidget::focusInEvent(event);
}

void SpinButton::focusOutEvent(QFocusEvent* event) {
  StopRepeat();
  QWidget::focusOutEvent(event);
}

void SpinButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled()) StopRepeat();
  QWidget::changeEvent(event);
}

void SpinButton::hideEvent(QHideEvent* event) {
  StopRepeat();
  QWidget::hideEvent(event);
}

void SpinButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool vertical = orientation_ == Qt::Vertical;
  const QRect upRect = vertical ? QRect(0, 0, width(), height() / 2) : QRect(width() / 2, 0, width() - width() / 2, height());
  const QRect downRect = vertical ? QRect(0, height() / 2, width(), height() - height() / 2) : QRect(0, 0, width() / 2, height());
  auto drawHalf = [&](const QRect& r, bool down, QStyle::PrimitiveElement arrow) {
    QStyleOptionButton button;
    button.initFrom(this);
    button.rect = r;
    button.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
    QStyleOption arrowOption;
    arrowOption.initFrom(this);
    arrowOption.rect = r.adjusted(3, 2, -3, -2);
    style()->drawPrimitive(arrow, &arrowOption, &painter, this);
  };
  drawHalf(upRect, pressed_ == Part::Up, vertical ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowRight);
  drawHalf(downRect, pressed_ == Part::Down, vertical ? QStyle::PE_IndicatorArrowDown : QStyle::PE_IndicatorArrowLeft);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
}

}  // namespace plat::ctl
