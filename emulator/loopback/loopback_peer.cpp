#include "emulator/loopback/loopback_peer.h"

#include "platform/midi/loopback.h"

namespace emu {

LoopbackPeer::LoopbackPeer(std::uint8_t deviceId, QObject* parent)
    : QObject(parent),
      vesk_(deviceId),
      scheduler_([](const Message& m) { plat::loopback::SendToProgram(m); }, this),
      alive_(std::make_shared<bool>(true)) {
  plat::loopback::Peer peer;
  peer.portName = "Vesk Emulator";
  // The bus may hold a copy of the callback a little longer than this object lives.
  std::weak_ptr<bool> alive = alive_;
  peer.fromProgram = [this, alive](const std::vector<std::uint8_t>& m) {
    if (alive.lock()) fromProgram(m);
  };
  plat::loopback::Attach(std::move(peer));
}

LoopbackPeer::~LoopbackPeer() {
  alive_.reset();
  scheduler_.cancel();
  plat::loopback::Detach();
}

void LoopbackPeer::sendUnsolicited(const Message& message, int delayMs) { scheduler_.schedule(message, delayMs); }

void LoopbackPeer::fromProgram(const Message& message) { scheduler_.schedule(vesk_.handle(message)); }

}  // namespace emu
