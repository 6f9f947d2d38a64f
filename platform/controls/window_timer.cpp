#include "platform/controls/window_timer.h"

#include "platform/controls/control.h"

namespace plat::ctl {

WindowTimer::WindowTimer(QObject* parent) : QObject(parent) {
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (enabled_ && interval_ > 0) Raise(Timer);
  });
}

void WindowTimer::SetInterval(int ms) {
  interval_ = ms < 0 ? 0 : ms;
  Apply();
}

void WindowTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Apply();
}

void WindowTimer::Apply() {
  if (enabled_ && interval_ > 0)
    timer_.start(interval_);
  else
    timer_.stop();
}

}  // namespace plat::ctl
