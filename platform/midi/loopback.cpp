// The in-process loopback bus and its ports: one input and one output device, named by the peer.
#include "platform/midi/loopback.h"

#include <map>
#include <mutex>
#include <optional>

#include "platform/midi/midi_backend.h"
#include "platform/midi/midi_controls.h"

namespace plat::loopback {

namespace {

struct Bus {
  std::mutex m;
  std::optional<Peer> peer;
  std::map<const void*, midi::Sink> inputs;  // open loopback input ports
};

Bus& TheBus() {
  static Bus bus;
  return bus;
}

std::string PortName() {
  Bus& bus = TheBus();
  std::lock_guard lock(bus.m);
  return bus.peer ? bus.peer->portName : Peer{}.portName;
}

class InPort final : public midi::InPort {
 public:
  ~InPort() override { Close(); }
  int Count() override { return 1; }
  std::string Name(int device) override { return device == 0 ? PortName() : std::string(); }
  void Open(int device, midi::Sink sink, midi::ErrorSink) override {
    if (device != 0) throw MidiControlError(midi::ErrBadDevice, midi::ErrorText(midi::ErrBadDevice));
    Bus& bus = TheBus();
    std::lock_guard lock(bus.m);
    bus.inputs[this] = std::move(sink);
  }
  void Close() override {
    Bus& bus = TheBus();
    std::lock_guard lock(bus.m);
    bus.inputs.erase(this);
  }
};

class OutPort final : public midi::OutPort {
 public:
  int Count() override { return 1; }
  std::string Name(int device) override { return device == 0 ? PortName() : std::string(); }
  void Open(int device, midi::ErrorSink) override {
    if (device != 0) throw MidiControlError(midi::ErrBadDevice, midi::ErrorText(midi::ErrBadDevice));
  }
  void Close() override {}
  void Send(const std::vector<std::uint8_t>& message) override {
    std::function<void(const std::vector<std::uint8_t>&)> deliver;
    {
      Bus& bus = TheBus();
      std::lock_guard lock(bus.m);
      if (bus.peer) deliver = bus.peer->fromProgram;
    }
    // Outside the lock: the peer may answer at once through SendToProgram.
    if (deliver) deliver(message);
  }
};

}  // namespace

void Attach(Peer peer) {
  Bus& bus = TheBus();
  std::lock_guard lock(bus.m);
  bus.peer = std::move(peer);
}

void Detach() {
  Bus& bus = TheBus();
  std::lock_guard lock(bus.m);
  bus.peer.reset();
}

bool Attached() {
  Bus& bus = TheBus();
  std::lock_guard lock(bus.m);
  return bus.peer.has_value();
}

void SendToProgram(const std::vector<std::uint8_t>& message) {
  Bus& bus = TheBus();
  // Under the lock, so a port that closes meanwhile is never handed a message afterwards. The
  // sinks only queue the message and post to the UI thread; they never call back into the bus.
  std::lock_guard lock(bus.m);
  for (auto& [port, sink] : bus.inputs) sink(std::vector<std::uint8_t>(message));
}

}  // namespace plat::loopback

namespace plat::midi {
std::unique_ptr<InPort> MakeLoopbackInPort() { return std::make_unique<loopback::InPort>(); }
std::unique_ptr<OutPort> MakeLoopbackOutPort() { return std::make_unique<loopback::OutPort>(); }
}  // namespace plat::midi
