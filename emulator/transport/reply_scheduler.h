#pragma once
// Sends the instrument's replies when they are due, on the Qt event loop of the thread that owns
// the scheduler: a reply with delay 0 leaves on the next turn of the loop, never from inside
// handle(), so the client's real wait loop receives it. Replies due at the same moment leave in
// the order they were scheduled.

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <map>
#include <vector>

#include "emulator/core/vesk.h"

namespace emu {

class ReplyScheduler : public QObject {
  Q_OBJECT
 public:
  using Send = std::function<void(const Message&)>;
  explicit ReplyScheduler(Send send, QObject* parent = nullptr);

  void schedule(const std::vector<Reply>& replies);
  void schedule(const Message& message, int delayMs);
  int pending() const { return static_cast<int>(queue_.size()); }
  void cancel();

 private:
  void fire();
  void arm();

  Send send_;
  std::multimap<std::chrono::steady_clock::time_point, Message> queue_;
  QTimer timer_;
};

}  // namespace emu
