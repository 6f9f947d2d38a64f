#pragma once
// Sliders and scroll bars: a 16-bit Value between Min and Max.
//
// - Change: raised when the value changes by a click, a key, the program (SetValue) or at the end
//   of a thumb drag (once, when the drag moved the value); not raised when SetValue writes the
//   value the control already holds.
// - Scroll: raised for every move of the thumb while it is dragged; Value already shows the
//   thumb's place.
// - Min may be greater than Max (a reversed range): the Min end stays where it is (a slider's
//   bottom or left end, a scroll bar's top or left end) and the values run the other way.
//   A value outside the range is brought to the nearer end.
// - A press in the groove steps the value by LargeChange and repeats the step while the button
//   is held. Its Change is raised once the press has armed that repeat, so a handler that waits
//   (and lets the release through meanwhile) finds the repeat stopped by the release; no repeat
//   step is taken while a Change handler of the control is still running. The repeat also ends
//   when the control loses the focus, as it does when a message box opens or its window stops
//   being the active one: the release then goes elsewhere and could never end it.
// - Both take the focus when clicked, so the window's active control is the one being moved.
//   The mouse wheel moves only the control that has the focus: a wheel over another one would
//   change a value that no handler takes for the user's (it is passed on to the container).

#include <QScrollBar>
#include <QSlider>
#include <functional>

#include "platform/controls/control.h"

namespace plat::ctl {

template <class Base>
class RangeControl : public Base, public Control {
 public:
  int Value() const { return Base::value(); }
  void SetValue(int value);
  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  int SmallChange() const { return Base::singleStep(); }
  void SetSmallChange(int value) { Base::setSingleStep(value); }
  int LargeChange() const { return Base::pageStep(); }
  void SetLargeChange(int value) { Base::setPageStep(value); }

  void CopyPropertiesFrom(const Control& model) override;

  std::function<void()> Change;
  std::function<void()> Scroll;

 protected:
  RangeControl(Qt::Orientation orientation, QWidget* parent);
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void ApplyRange();
  void OnValueChanged();
  void RaiseChange();

  int min_ = 0;
  int max_ = 32767;
  int valueAtPress_ = 0;
  bool pressing_ = false;     // inside the base's press handling
  bool changeHeld_ = false;   // the press changed the value: Change follows the press
  bool inChange_ = false;     // a Change handler is running (it may be waiting)
};

extern template class RangeControl<QSlider>;
extern template class RangeControl<QScrollBar>;

// The outside slider controls: vertical (Min at the bottom) or horizontal (Min at the left).
class Slider : public RangeControl<QSlider> {
 public:
  explicit Slider(Qt::Orientation orientation, QWidget* parent = nullptr);
  explicit Slider(QWidget* parent = nullptr) : Slider(Qt::Vertical, parent) {}
};

// Scroll bars: vertical (Min at the top) or horizontal (Min at the left).
class ScrollBar : public RangeControl<QScrollBar> {
 public:
  explicit ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);
  explicit ScrollBar(QWidget* parent = nullptr) : ScrollBar(Qt::Horizontal, parent) {}
};

}  // namespace plat::ctl
