#pragma once
// Inside the control layer: the event filter that turns a control widget's focus, mouse and key
// events into the control's common events (control.h).

#include <QObject>
#include <QWidget>

namespace plat::ctl {

class Control;

class ControlEvents : public QObject {
 public:
  explicit ControlEvents(Control* owner);
  void Detach() { owner_ = nullptr; }
  // Mouse buttons pressed in `part` (a child that covers the control) count as the control's.
  void ListenToPart(QWidget* part);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Control* owner_;
};

}  // namespace plat::ctl
