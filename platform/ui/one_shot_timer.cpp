// One-shot timers by number. Every timer is a QTimer living in the application's thread, so the
// callback runs there whichever thread armed it. The table of armed timers is the one truth:
// a timer fires only while its id is in the table, and firing or killing removes it.
#include "platform/ui/one_shot_timer.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace plat {
namespace {

struct Armed {
  std::function<void(std::uint32_t)> callback;
  QPointer<QTimer> timer;  // null until made on the application's thread
};

struct TimerTable {
  std::mutex mutex;
  std::map<std::uint32_t, Armed> armed;
  std::uint32_t lastId = 0;
  QPointer<QObject> owner;  // parent of the QTimers, deleted with the application
  QCoreApplication* ownerApp = nullptr;

  std::uint32_t NewId() {
    do {
      ++lastId;
    } while (lastId == 0 || armed.count(lastId) != 0);
    return lastId;
  }
};

TimerTable& Table() {
  static TimerTable table;
  return table;
}

QObject* Owner(QCoreApplication* app) {
  TimerTable& t = Table();
  if (t.owner.isNull() || t.ownerApp != app) {
    auto* owner = new QObject;
    owner->moveToThread(app->thread());
    QObject::connect(app, &QObject::destroyed, [owner]() { delete owner; });
    t.owner = owner;
    t.ownerApp = app;
  }
  return t.owner.data();
}

void Fire(std::uint32_t id) {
  std::function<void(std::uint32_t)> callback;
  {
    TimerTable& t = Table();
    std::lock_guard lock(t.mutex);
    auto it = t.armed.find(id);
    if (it == t.armed.end()) return;  // killed meanwhile
    callback = std::move(it->second.callback);
    if (it->second.timer) it->second.timer->deleteLater();
    t.armed.erase(it);
  }
  if (callback) callback(id);
}

// Runs on the application's thread.
void Start(std::uint32_t id, int delayMs, QObject* owner) {
  TimerTable& t = Table();
  std::lock_guard lock(t.mutex);
  auto it = t.armed.find(id);
  if (it == t.armed.end()) return;  // killed before it could start
  auto* timer = new QTimer(owner);
  timer->setSingleShot(true);
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, timer, [id]() { Fire(id); });
  it->second.timer = timer;
  timer->start(delayMs);
}

}  // namespace

std::uint32_t TimeSetEvent(int delayMs, std::function<void(std::uint32_t id)> callback) {
  QCoreApplication* app = QCoreApplication::instance();
  if (delayMs < 0 || app == nullptr) return 0;
  TimerTable& t = Table();
  std::uint32_t id = 0;
  QObject* owner = nullptr;
  {
    std::lock_guard lock(t.mutex);
    id = t.NewId();
    owner = Owner(app);
    t.armed[id] = Armed{std::move(callback), nullptr};
  }
  if (QThread::currentThread() == app->thread()) {
    Start(id, delayMs, owner);
  } else {
    QMetaObject::invokeMethod(owner, [id, delayMs, owner]() { Start(id, delayMs, owner); }, Qt::QueuedConnection);
  }
  return id;
}

void TimeKillEvent(std::uint32_t id) {
  QPointer<QTimer> timer;
  {
    TimerTable& t = Table();
    std::lock_guard lock(t.mutex);
    auto it = t.armed.find(id);
    if (it == t.armed.end()) return;
    timer = it->second.timer;
    t.armed.erase(it);
  }
  if (!timer) return;
  // The QTimer belongs to the application's thread: stop it there.
  QMetaObject::invokeMethod(timer, [timer]() {
    if (timer) {
      timer->stop();
      timer->deleteLater();
    }
  }, QThread::currentThread() == timer->thread() ? Qt::DirectConnection : Qt::QueuedConnection);
}

}  // namespace plat
