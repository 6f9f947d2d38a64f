#include "platform/controls/range_controls.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QWheelEvent>
#include <algorithm>

namespace plat::ctl {

template <class Base>
RangeControl<Base>::RangeControl(Qt::Orientation orientation, QWidget* parent) : Base(orientation, parent), Control(this) {
  Base::setFocusPolicy(Qt::StrongFocus);
  Base::setTracking(true);
  ApplyRange();
  QObject::connect(this, &QAbstractSlider::valueChanged, this, [this] { OnValueChanged(); });
  QObject::connect(this, &QAbstractSlider::sliderPressed, this, [this] { valueAtPress_ = Base::value(); });
  QObject::connect(this, &QAbstractSlider::sliderReleased, this, [this] {
    if (Base::value() != valueAtPress_) Raise(Change);
  });
}

template <class Base>
void RangeControl<Base>::ApplyRange() {
  const bool reversed = min_ > max_;
  Base::setInvertedAppearance(reversed);
  Base::setInvertedControls(reversed);
  Base::setRange(std::min(min_, max_), std::max(min_, max_));
}

template <class Base>
void RangeControl<Base>::SetValue(int value) {
  const int v = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
  if (v == Base::value()) return;
  Base::setValue(v);
}

template <class Base>
void RangeControl<Base>::SetMin(int value) {
  min_ = value;
  ApplyRange();
}

template <class Base>
void RangeControl<Base>::SetMax(int value) {
  max_ = value;
  ApplyRange();
}

template <class Base>
void RangeControl<Base>::OnValueChanged() {
  if (Base::isSliderDown())
    Raise(Scroll);
  else if (pressing_)
    changeHeld_ = true;
  else
    RaiseChange();
}

template <class Base>
void RangeControl<Base>::RaiseChange() {
  const bool outer = !inChange_;
  inChange_ = true;
  Raise(Change);
  if (outer) inChange_ = false;
}

template <class Base>
void RangeControl<Base>::mousePressEvent(QMouseEvent* event) {
  // A groove press steps the value first and arms its repeat after: raising Change in between
  // would let a waiting handler take the release before the repeat exists, and the repeat would
  // then run on with nothing to stop it.
  pressing_ = true;
  changeHeld_ = false;
  Base::mousePressEvent(event);
  pressing_ = false;
  if (changeHeld_) {
    changeHeld_ = false;
    RaiseChange();
  }
}

template <class Base>
void RangeControl<Base>::timerEvent(QTimerEvent* event) {
  // The held button's repeat waits while the last step's handler is still at work.
  if (inChange_) return;
  Base::timerEvent(event);
}

template <class Base>
void RangeControl<Base>::focusOutEvent(QFocusEvent* event) {
  Base::setRepeatAction(QAbstractSlider::SliderNoAction);
  Base::focusOutEvent(event);
}

template <class Base>
void RangeControl<Base>::wheelEvent(QWheelEvent* event) {
  if (!Base::hasFocus()) {
    event->ignore();
    return;
  }
  Base::wheelEvent(event);
}

template <class Base>
void RangeControl<Base>::CopyPropertiesFrom(const Control& model) {
  Control::CopyPropertiesFrom(model);
  if (const auto* m = dynamic_cast<const RangeControl<Base>*>(&model)) {
    Base::setOrientation(m->orientation());
    min_ = m->min_;
    max_ = m->max_;
    ApplyRange();
    Base::setSingleStep(m->SmallChange());
    Base::setPageStep(m->LargeChange());
    Base::setValue(m->Value());
  }
}

template class RangeControl<QSlider>;
template class RangeControl<QScrollBar>;

Slider::Slider(Qt::Orientation orientation, QWidget* parent) : RangeControl<QSlider>(orientation, parent) {
  setSingleStep(1);
  setPageStep(10);
}

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent) : RangeControl<QScrollBar>(orientation, parent) {
  setSingleStep(1);
  setPageStep(1);
}

}  // namespace plat::ctl
