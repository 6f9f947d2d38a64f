// Real MIDI ports through RtMidi, on JACK or ALSA.
//
// RtMidi reports failures through an error callback (installed here, so it never throws on its
// own threads). During a call made by the control, the callback notes the failure and the call
// turns it into MidiControlError; at any other time it goes to the control's Error signal.
#include <dlfcn.h>
#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/midi/midi_backend.h"
#include "platform/midi/midi_controls.h"

namespace plat::midi {

namespace {

constexpr const char* kClientName = "Tavoro";
constexpr const char* kInPortName = "in";
constexpr const char* kOutPortName = "out";
// RtMidi's JACK output passes each message through a 16 KiB ring buffer and silently drops one
// that does not fit (the length takes 4 bytes, the ring keeps 1 byte free).
constexpr std::size_t kJackLongestMessage = 16384 - 1 - sizeof(int);
// Input buffers sized for the longest System Exclusive message we expect (and then some).
constexpr unsigned kInputBufferSize = 64 * 1024;

// libjack is loaded with RtMidi; look its functions up rather than link it a second time.
template <class F>
F JackFunction(const char* name) {
  static void* lib = dlopen("libjack.so.0", RTLD_LAZY);
  void* p = lib ? dlsym(lib, name) : nullptr;
  F f = nullptr;
  static_assert(sizeof f == sizeof p);
  if (p) std::memcpy(&f, &p, sizeof f);
  return f;
}

void Quiet(const char*) {}
void ToStderr(const char* text) { std::fprintf(stderr, "%s\n", text); }

// While it lives, libjack keeps its complaints to itself (a failed probe is an answer here).
class QuietJack {
 public:
  QuietJack()
      : onError_(JackFunction<decltype(&jack_set_error_function)>("jack_set_error_function")),
        onInfo_(JackFunction<decltype(&jack_set_info_function)>("jack_set_info_function")) {
    if (onError_) onError_(&Quiet);
    if (onInfo_) onInfo_(&Quiet);
  }
  ~QuietJack() {
    if (onError_) onError_(&ToStderr);
    if (onInfo_) onInfo_(&ToStderr);
  }
  QuietJack(const QuietJack&) = delete;
  QuietJack& operator=(const QuietJack&) = delete;

 private:
  decltype(&jack_set_error_function) onError_;
  decltype(&jack_set_info_function) onInfo_;
};

void NeverStartJack() {
  static std::once_flag once;
  std::call_once(once, [] { setenv("JACK_NO_START_SERVER", "1", 0); });
}

// JACK makes a new connection part of its graph at the start of a later cycle, and a message
// sent before that is lost. After RtMidi has connected our port to the device's, wait (at most a
// moment) until the device's port shows a connection to a port of ours.
void AwaitJackConnection(const std::string& devicePort, const std::string& ourPortName) {
  auto open = JackFunction<decltype(&jack_client_open)>("jack_client_open");
  auto close = JackFunction<decltype(&jack_client_close)>("jack_client_close");
  auto byName = JackFunction<decltype(&jack_port_by_name)>("jack_port_by_name");
  auto connections = JackFunction<decltype(&jack_port_get_all_connections)>("jack_port_get_all_connections");
  auto release = JackFunction<decltype(&jack_free)>("jack_free");
  if (!open || !close || !byName || !connections || !release) return;
  jack_status_t status{};
  jack_client_t* watcher = [&] {
    QuietJack quiet;
    return open("Tavoro watch", JackNoStartServer, &status);
  }();
  if (!watcher) return;
  const std::string prefix = std::string(kClientName);
  const std::string suffix = ":" + ourPortName;
  auto ours = [&](const std::string& name) {
    return name.rfind(prefix, 0) == 0 && name.size() > suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (bool connected = false; !connected && std::chrono::steady_clock::now() < deadline;) {
    if (jack_port_t* port = byName(watcher, devicePort.c_str())) {
      if (const char** names = connections(watcher, port)) {
        for (const char** n = names; *n && !connected; ++n) connected = ours(*n);
        release(static_cast<void*>(names));
      }
    }
    if (!connected) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  close(watcher);
}

// Collects what RtMidi reports for one port.
class Reports {
 public:
  explicit Reports() = default;

  static void Callback(RtMidiError::Type type, const std::string& text, void* self) {
    static_cast<Reports*>(self)->Note(type, text);
  }

  // Brackets a call made on the UI thread; End() gives what went wrong during it ("" for nothing).
  void Begin() {
    std::lock_guard lock(m_);
    syncThread_ = std::this_thread::get_id();
    inSync_ = true;
    syncText_.clear();
  }
  std::string End() {
    std::lock_guard lock(m_);
    inSync_ = false;
    return std::move(syncText_);
  }
  void SetAsync(ErrorSink sink) {
    std::lock_guard lock(m_);
    async_ = std::move(sink);
  }

 private:
  void Note(RtMidiError::Type type, const std::string& text) {
    std::lock_guard lock(m_);
    if (inSync_ && std::this_thread::get_id() == syncThread_) {
      if (syncText_.empty()) syncText_ = text.empty() ? ErrorText(ErrFailed) : text;
      return;
    }
    if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING) return;
    if (async_) async_(ErrFailed, text);
  }

  std::mutex m_;
  bool inSync_ = false;
  std::thread::id syncThread_;
  std::string syncText_;
  ErrorSink async_;
};

// Runs one RtMidi call for the control; a reported or thrown failure becomes MidiControlError.
template <class F>
auto Call(Reports& reports, F f) {
  reports.Begin();
  try {
    if constexpr (std::is_void_v<decltype(f())>) {
      f();
      if (std::string text = reports.End(); !text.empty()) throw MidiControlError(ErrFailed, text);
    } else {
      auto result = f();
      if (std::string text = reports.End(); !text.empty()) throw MidiControlError(ErrFailed, text);
      return result;
    }
  } catch (const RtMidiError& e) {
    reports.End();
    throw MidiControlError(ErrFailed, e.getMessage());
  }
}

// A port of this program's own clients: "Tavoro", or under JACK "Tavoro-01" and on for a
// further client of that name.
bool IsOwnPort(const std::string& name) {
  const std::string client = name.substr(0, name.find(':'));
  const std::string dashed = std::string(kClientName) + "-";
  if (client == kClientName) return true;
  return client.size() > dashed.size() && client.rfind(dashed, 0) == 0 &&
         client.find_first_not_of("0123456789", dashed.size()) == std::string::npos;
}

// One device of a port object: its RtMidi port number and its name.
struct Device {
  unsigned port;
  std::string name;
};

// The devices an RtMidi port object offers, in its order, without the program's own ports
// (choosing one would connect the program to itself). Never throws: a port system that fails to
// answer has no devices.
std::vector<Device> Devices(RtMidi* rt, Reports& reports) {
  std::vector<Device> devices;
  if (!rt) return devices;
  try {
    reports.Begin();
    const unsigned n = rt->getPortCount();
    for (unsigned port = 0; port < n; ++port) {
      const std::string name = rt->getPortName(port);
      if (!name.empty() && !IsOwnPort(name)) devices.push_back({port, StripClientPort(name)});
    }
    reports.End();
  } catch (...) {
    reports.End();
    devices.clear();
  }
  return devices;
}

int DeviceCountOf(RtMidi* rt, Reports& reports) { return static_cast<int>(Devices(rt, reports).size()); }

std::string DeviceNameOf(RtMidi* rt, Reports& reports, int device) {
  const std::vector<Device> devices = Devices(rt, reports);
  if (device < 0 || device >= static_cast<int>(devices.size())) return {};
  return devices[static_cast<std::size_t>(device)].name;
}

// The RtMidi port number of a device; a device that is gone is no device.
unsigned PortOf(RtMidi* rt, Reports& reports, int device) {
  const std::vector<Device> devices = Devices(rt, reports);
  if (device < 0 || device >= static_cast<int>(devices.size()))
    throw MidiControlError(ErrBadDevice, ErrorText(ErrBadDevice));
  return devices[static_cast<std::size_t>(device)].port;
}

RtMidi::Api ApiOf(bool jack) { return jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA; }

class RtInPort final : public InPort {
 public:
  explicit RtInPort(bool jack) : jack_(jack) {
    if (jack) NeverStartJack();
    try {
      in_ = std::make_unique<RtMidiIn>(ApiOf(jack), kClientName, 100);
      in_->setErrorCallback(&Reports::Callback, &reports_);
      in_->setBufferSize(kInputBufferSize, 4);
      in_->ignoreTypes(false, false, false);  // System Exclusive, timing and sensing all come in
      in_->setCallback(&RtInPort::Received, this);
    } catch (...) {
      in_.reset();  // the MIDI system cannot start: no devices
    }
  }
  ~RtInPort() override {
    try {
      Close();
    } catch (...) {
    }
    in_.reset();  // stops RtMidi's thread before the members it calls into go away
  }

  int Count() override { return DeviceCountOf(in_.get(), reports_); }
  std::string Name(int device) override { return DeviceNameOf(in_.get(), reports_, device); }

  void Open(int device, Sink sink, ErrorSink errors) override {
    if (!in_) throw MidiControlError(ErrBadDevice, ErrorText(ErrBadDevice));
    {
      std::lock_guard lock(m_);
      sink_ = std::move(sink);
      assembler_ = SysExAssembler();
    }
    reports_.SetAsync(std::move(errors));
    try {
      const unsigned port = PortOf(in_.get(), reports_, device);
      const std::string devicePort = Call(reports_, [&] { return in_->getPortName(port); });
      Call(reports_, [&] { in_->openPort(port, kInPortName); });
      if (jack_) AwaitJackConnection(devicePort, kInPortName);
    } catch (...) {
      std::lock_guard lock(m_);
      sink_ = nullptr;
      throw;
    }
  }

  void Close() override {
    if (in_) {
      try {
        Call(reports_, [&] { in_->closePort(); });
      } catch (...) {
      }
    }
    std::lock_guard lock(m_);  // waits for a delivery in progress
    sink_ = nullptr;
  }

 private:
  static void Received(double, std::vector<unsigned char>* message, void* self) {
    if (!message || message->empty()) return;
    auto* port = static_cast<RtInPort*>(self);
    std::lock_guard lock(port->m_);
    if (!port->sink_) return;
    port->assembler_.Feed(message->data(), message->size(), port->sink_);
  }

  bool jack_;
  std::mutex m_;
  Sink sink_;
  SysExAssembler assembler_;
  Reports reports_;
  std::unique_ptr<RtMidiIn> in_;  // last: destroyed first
};

class RtOutPort final : public OutPort {
 public:
  explicit RtOutPort(bool jack) : jack_(jack) {
    if (jack) NeverStartJack();
    try {
      out_ = std::make_unique<RtMidiOut>(ApiOf(jack), kClientName);
      out_->setErrorCallback(&Reports::Callback, &reports_);
    } catch (...) {
      out_.reset();
    }
  }
  ~RtOutPort() override { out_.reset(); }

  int Count() override { return DeviceCountOf(out_.get(), reports_); }
  std::string Name(int device) override { return DeviceNameOf(out_.get(), reports_, device); }

  void Open(int device, ErrorSink errors) override {
    if (!out_) throw MidiControlError(ErrBadDevice, ErrorText(ErrBadDevice));
    reports_.SetAsync(std::move(errors));
    const unsigned port = PortOf(out_.get(), reports_, device);
    const std::string devicePort = Call(reports_, [&] { return out_->getPortName(port); });
    Call(reports_, [&] { out_->openPort(port, kOutPortName); });
    if (jack_) AwaitJackConnection(devicePort, kOutPortName);
  }

  void Close() override {
    if (!out_) return;
    try {
      Call(reports_, [&] { out_->closePort(); });
    } catch (...) {
    }
  }

  void Send(const std::vector<std::uint8_t>& message) override {
    if (!out_) throw MidiControlError(ErrNotOpen, ErrorText(ErrNotOpen));
    if (jack_ && message.size() > kJackLongestMessage)
      throw MidiControlError(ErrBadParameter, "A JACK MIDI port carries at most " + std::to_string(kJackLongestMessage) +
                                                  " bytes in one message; this one has " +
                                                  std::to_string(message.size()) + ".");
    Call(reports_, [&] { out_->sendMessage(message.data(), message.size()); });
  }

 private:
  bool jack_;
  Reports reports_;
  std::unique_ptr<RtMidiOut> out_;
};

}  // namespace

bool JackServerRunning() {
  NeverStartJack();
  auto open = JackFunction<decltype(&jack_client_open)>("jack_client_open");
  auto close = JackFunction<decltype(&jack_client_close)>("jack_client_close");
  if (!open || !close) return false;
  QuietJack quiet;
  // No server fails at once with JackServerFailed. JackServerError means a server is there but
  // did not answer in time (a loaded machine): ask again a few times, then take it as running.
  bool running = false;
  for (int attempt = 0; attempt < 5 && !running; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    jack_status_t status{};
    jack_client_t* client = open("Tavoro probe", JackNoStartServer, &status);
    if (client) close(client);
    running = client != nullptr;
    if (!running && !(status & JackServerError)) break;
    if (!running && attempt == 4) running = true;
  }
  return running;
}

bool AlsaSequencerPresent() { return access("/dev/snd/seq", R_OK | W_OK) == 0; }

std::unique_ptr<InPort> MakeRtMidiInPort(bool jack) { return std::make_unique<RtInPort>(jack); }
std::unique_ptr<OutPort> MakeRtMidiOutPort(bool jack) { return std::make_unique<RtOutPort>(jack); }

}  // namespace plat::midi
