#include "emulator/transport/reply_scheduler.h"

#include <algorithm>

namespace emu {

ReplyScheduler::ReplyScheduler(Send send, QObject* parent) : QObject(parent), send_(std::move(send)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &ReplyScheduler::fire);
}

void ReplyScheduler::schedule(const std::vector<Reply>& replies) {
  for (const auto& r : replies) schedule(r.bytes, r.delayMs);
}

void ReplyScheduler::schedule(const Message& message, int delayMs) {
  const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(0, delayMs));
  queue_.emplace(due, message);  // equal keys keep their insertion order
  arm();
}

void ReplyScheduler::cancel() {
  queue_.clear();
  timer_.stop();
}

void ReplyScheduler::fire() {
  const auto now = std::chrono::steady_clock::now();
  while (!queue_.empty() && queue_.begin()->first <= now) {
    Message m = std::move(queue_.begin()->second);
    queue_.erase(queue_.begin());
    send_(m);
  }
  arm();
}

void ReplyScheduler::arm() {
  if (queue_.empty()) {
    timer_.stop();
    return;
  }
  using namespace std::chrono;
  const auto wait = duration_cast<milliseconds>(queue_.begin()->first - steady_clock::now() + microseconds(999));
  timer_.start(static_cast<int>(std::max<milliseconds::rep>(0, wait.count())));
}

}  // namespace emu
