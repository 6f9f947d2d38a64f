// Waits as nested event loops. The loop sleeps in the event dispatcher; the dispatcher's awake
// and aboutToBlock signals re-test the condition once per round of events, so a wait that gets
// nothing costs no CPU and a wait whose condition comes true ends after the event that did it.
#include "platform/ui/wait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <set>
#include <thread>

namespace plat {
namespace {

std::atomic<bool>& EndingFlag() {
  static std::atomic<bool> ending{false};
  return ending;
}

// The dispatchers that running waits sleep in, so RequestWaitsEnd can wake them from any thread.
struct ActiveWaits {
  std::mutex mutex;
  std::multiset<QAbstractEventDispatcher*> dispatchers;
};
ActiveWaits& Active() {
  static ActiveWaits active;
  return active;
}

double ScaleFromEnvironment() {
  const char* text = std::getenv("TAVORO_TIMEOUT_SCALE");
  if (text == nullptr || *text == '\0') return 1.0;
  char* end = nullptr;
  double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(value) || value <= 0.0) return 1.0;
  return value;
}

std::atomic<double>& Scale() {
  static std::atomic<double> scale{ScaleFromEnvironment()};
  return scale;
}

// Without an application object there is no event loop to sleep in: poll at a modest pace.
WaitResult PollWithoutEventLoop(const std::function<bool()>& condition, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  for (;;) {
    if (WaitsEnding()) return WaitResult::Closing;
    if (condition()) return WaitResult::Done;
    if (timeoutMs >= 0 && std::chrono::steady_clock::now() >= deadline) return WaitResult::TimedOut;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace

WaitResult WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
  if (WaitsEnding()) return WaitResult::Closing;
  if (condition()) return WaitResult::Done;
  if (timeoutMs == 0) return WaitResult::TimedOut;
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (QCoreApplication::instance() == nullptr || dispatcher == nullptr)
    return PollWithoutEventLoop(condition, timeoutMs);

  QEventLoop loop;
  WaitResult result = WaitResult::TimedOut;
  bool finished = false;
  std::exception_ptr failure;
  auto finish = [&](WaitResult r) {
    if (finished) return;
    finished = true;
    result = r;
    loop.exit();
  };
  // A throwing condition must not unwind through Qt's signal machinery: keep it for later.
  auto test = [&]() {
    if (finished) return;
    if (WaitsEnding()) return finish(WaitResult::Closing);
    try {
      if (condition()) finish(WaitResult::Done);
    } catch (...) {
      failure = std::current_exception();
      finish(WaitResult::Done);
    }
  };

  QObject context;  // disconnects the dispatcher signals when the wait returns
  QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, &context, test, Qt::DirectConnection);
  QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &context, test, Qt::DirectConnection);
  QTimer timer;
  if (timeoutMs > 0) {
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    // The condition is looked at once more before the wait counts as timed out.
    QObject::connect(&timer, &QTimer::timeout, &context, [&]() {
      test();
      finish(WaitResult::TimedOut);
    });
    timer.start(timeoutMs);
  }
  {
    std::lock_guard lock(Active().mutex);
    Active().dispatchers.insert(dispatcher);
  }
  // A request to end that came between the first test and the registration is not lost.
  if (WaitsEnding()) finish(WaitResult::Closing);
  if (!finished) loop.exec(QEventLoop::AllEvents);
  {
    std::lock_guard lock(Active().mutex);
    Active().dispatchers.erase(Active().dispatchers.find(dispatcher));
  }
  if (failure) std::rethrow_exception(failure);
  return result;
}

void RequestWaitsEnd() {
  EndingFlag().store(true);
  std::lock_guard lock(Active().mutex);
  for (QAbstractEventDispatcher* dispatcher : Active().dispatchers) dispatcher->wakeUp();
}

bool WaitsEnding() { return EndingFlag().load(); }

void ResetWaitsEnding() { EndingFlag().store(false); }

double TimeoutScale() { return Scale().load(); }

void SetTimeoutScale(double factor) {
  if (std::isfinite(factor) && factor > 0.0) Scale().store(factor);
}

int ScaledTimeout(int ms) {
  if (ms <= 0) return ms;
  double scaled = std::round(static_cast<double>(ms) * TimeoutScale());
  if (scaled < 1.0) return 1;
  if (scaled >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(scaled);
}

}  // namespace plat
