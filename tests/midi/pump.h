#pragma once
// Lets queued events run until a condition holds or the time runs out (for tests).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

namespace miditest {

inline bool PumpUntil(const std::function<bool()>& done, int ms = 2000) {
  QElapsedTimer t;
  t.start();
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (done()) return true;
    if (t.elapsed() > ms) return false;
    QThread::msleep(1);
  }
}

// Runs the queued events for a little while (to show that nothing more arrives).
inline void Pump(int ms = 30) {
  PumpUntil([] { return false; }, ms);
}

}  // namespace miditest
