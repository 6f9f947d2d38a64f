#pragma once
// The emulator plugged into the program in-process: it attaches to the loopback MIDI bus, takes
// every message the program transmits, and answers through the bus when each reply is due (Qt
// timers on the UI thread, so tests run the program's real wait loop).
//
//   emu::LoopbackPeer peer;          // attached; detached again when it goes away
//   peer.vesk().setSilent(true);
//   peer.vesk().received();          // what the program sent
//   peer.sendUnsolicited(msg, 10);   // a message nobody asked for

#include <QObject>
#include <memory>

#include "emulator/core/vesk.h"
#include "emulator/transport/reply_scheduler.h"

namespace emu {

class LoopbackPeer : public QObject {
  Q_OBJECT
 public:
  explicit LoopbackPeer(std::uint8_t deviceId = 0, QObject* parent = nullptr);
  ~LoopbackPeer() override;
  LoopbackPeer(const LoopbackPeer&) = delete;
  LoopbackPeer& operator=(const LoopbackPeer&) = delete;

  Vesk& vesk() { return vesk_; }
  const Vesk& vesk() const { return vesk_; }

  void sendUnsolicited(const Message& message, int delayMs = 0);
  // Replies scheduled and not yet delivered.
  int pendingReplies() const { return scheduler_.pending(); }
  void cancelPending() { scheduler_.cancel(); }

 private:
  void fromProgram(const Message& message);

  Vesk vesk_;
  ReplyScheduler scheduler_;
  std::shared_ptr<bool> alive_;
};

}  // namespace emu
