// The MIDI input and output controls over a backend port (midi_backend.h).
//
// Input path: the backend hands each whole message to the control's inbox from its own thread.
// The inbox (shared with that thread, guarded by a mutex) filters and queues it and posts one
// wake-up to the UI thread. There the control raises Message once per queued message, oldest
// first, and never while a Message handler is still running: a handler may run a nested event
// loop, during which new messages only queue; when it returns, Message is raised for them.
#include "platform/midi/midi_controls.h"

#include <QMetaObject>
#include <QPointer>
#include <algorithm>
#include <bitset>
#include <mutex>
#include <utility>

#include "platform/midi/midi_backend.h"

namespace plat {

namespace {

// Most messages the input holds at once; beyond it arrivals are dropped (and reported once).
constexpr std::size_t kQueueLimit = 4096;

[[noreturn]] void Fail(int code) { throw MidiControlError(code, midi::ErrorText(code)); }

// Delivers asynchronous faults of a port to its control's Error signal on the UI thread. The
// control clears the target when it goes away, so a late fault from the API's thread is dropped.
template <class Control>
struct ErrorCourier {
  std::mutex m;
  Control* target = nullptr;

  void Post(int code, const std::string& text) {
    std::lock_guard lock(m);
    if (!target) return;
    Control* t = target;
    QString qtext = QString::fromStdString(text);
    QMetaObject::invokeMethod(t, [t, code, qtext] { emit t->Error(code, qtext); }, Qt::QueuedConnection);
  }
  midi::ErrorSink Sink(const std::shared_ptr<ErrorCourier>& self) {
    return [self](int code, const std::string& text) { self->Post(code, text); };
  }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// MIDIInput

struct MIDIInput::Impl {
  struct Entry {
    MidiMessage message;
    bool announced = false;  // Message has been raised for it
  };

  // Shared with the backend's thread.
  struct Inbox {
    std::mutex m;
    MIDIInput* target = nullptr;  // cleared when the control goes away
    bool accepting = false;       // open and started
    std::bitset<256> filtered;
    std::deque<Entry> queue;
    bool wakePosted = false;
    bool overflowReported = false;

    void Deliver(std::vector<std::uint8_t>&& bytes) {
      std::lock_guard lock(m);
      if (!target || !accepting || bytes.empty()) return;
      const std::uint8_t status = bytes[0];
      if (status < 0x80 || filtered.test(status)) return;
      if (queue.size() >= kQueueLimit) {
        if (!overflowReported) {
          overflowReported = true;
          MIDIInput* t = target;
          QMetaObject::invokeMethod(
              t, [t] { emit t->Error(midi::ErrQueueFull, QString::fromStdString(midi::ErrorText(midi::ErrQueueFull))); },
              Qt::QueuedConnection);
        }
        return;
      }
      Entry e;
      e.message.status = status;
      if (status == 0xF0) {
        e.message.sysex = Bytes(std::move(bytes));
      } else {
        if (bytes.size() > 1) e.message.data1 = bytes[1];
        if (bytes.size() > 2) e.message.data2 = bytes[2];
      }
      queue.push_back(std::move(e));
      if (!wakePosted) {
        wakePosted = true;
        MIDIInput* t = target;
        QMetaObject::invokeMethod(t, [t] { t->d_->Announce(t); }, Qt::QueuedConnection);
      }
    }
  };

  std::unique_ptr<midi::InPort> port;
  std::shared_ptr<Inbox> inbox = std::make_shared<Inbox>();
  std::shared_ptr<ErrorCourier<MIDIInput>> courier = std::make_shared<ErrorCourier<MIDIInput>>();
  int device = 0;
  bool open = false;
  bool inHandler = false;

  // UI thread: raise Message for each queued message not yet announced, unless a handler runs.
  void Announce(MIDIInput* self) {
    {
      std::lock_guard lock(inbox->m);
      inbox->wakePosted = false;
    }
    if (inHandler) return;  // the running handler's caller picks these up when it returns
    QPointer<MIDIInput> alive(self);
    for (;;) {
      {
        std::lock_guard lock(inbox->m);
        auto it = std::find_if(inbox->queue.begin(), inbox->queue.end(), [](const Entry& e) { return !e.announced; });
        if (it == inbox->queue.end()) return;
        it->announced = true;
      }
      inHandler = true;
      try {
        emit self->Message();
      } catch (...) {
        if (alive) inHandler = false;
        throw;
      }
      if (!alive) return;  // the handler deleted the control
      inHandler = false;
    }
  }

  template <class F>
  auto WithHead(F f, decltype(f(std::declval<const MidiMessage&>())) none) const {
    std::lock_guard lock(inbox->m);
    return inbox->queue.empty() ? none : f(inbox->queue.front().message);
  }

  void Close() {
    if (open) port->Close();
    open = false;
    std::lock_guard lock(inbox->m);
    inbox->accepting = false;
    inbox->queue.clear();
    inbox->overflowReported = false;
  }
};

MIDIInput::MIDIInput(QObject* parent) : QObject(parent), d_(std::make_unique<Impl>()) {
  d_->port = midi::MakeInPort(midi::ResolveBackend());
  d_->inbox->target = this;
  d_->courier->target = this;
}

MIDIInput::~MIDIInput() {
  try {
    d_->Close();
  } catch (...) {
  }
  {
    std::lock_guard lock(d_->inbox->m);
    d_->inbox->target = nullptr;
  }
  std::lock_guard lock(d_->courier->m);
  d_->courier->target = nullptr;
}

void MIDIInput::SetAction(int action) {
  switch (action) {
    case midi::Open: {
      if (d_->open) Fail(midi::ErrAllocated);
      if (d_->device < 0 || d_->device >= d_->port->Count()) Fail(midi::ErrBadDevice);
      std::weak_ptr<Impl::Inbox> weak = d_->inbox;
      d_->port->Open(
          d_->device,
          [weak](std::vector<std::uint8_t>&& m) {
            if (auto in = weak.lock()) in->Deliver(std::move(m));
          },
          d_->courier->Sink(d_->courier));
      d_->open = true;
      return;
    }
    case midi::Close:
      d_->Close();
      return;
    case midi::Start: {
      if (!d_->open) Fail(midi::ErrNotOpen);
      std::lock_guard lock(d_->inbox->m);
      d_->inbox->accepting = true;
      return;
    }
    case midi::Stop: {
      std::lock_guard lock(d_->inbox->m);
      d_->inbox->accepting = false;
      return;
    }
    case midi::Release: {
      std::lock_guard lock(d_->inbox->m);
      if (!d_->inbox->queue.empty()) d_->inbox->queue.pop_front();
      if (d_->inbox->queue.empty()) d_->inbox->overflowReported = false;
      return;
    }
    default:
      Fail(midi::ErrBadParameter);
  }
}

int MIDIInput::DeviceID() const { return d_->device; }

void MIDIInput::SetDeviceID(int id) {
  if (id < 0 || id >= d_->port->Count()) Fail(midi::ErrBadDevice);
  d_->device = id;
}

std::string MIDIInput::DeviceName() const { return d_->port->Name(d_->device); }
int MIDIInput::DeviceCount() const { return d_->port->Count(); }
int MIDIInput::PortOpen() const { return d_->open ? 1 : 0; }

void MIDIInput::SetFilter(std::uint8_t status, bool filterOut) {
  std::lock_guard lock(d_->inbox->m);
  d_->inbox->filtered.set(status, filterOut);
}

bool MIDIInput::Filter(std::uint8_t status) const {
  std::lock_guard lock(d_->inbox->m);
  return d_->inbox->filtered.test(status);
}

int MIDIInput::MessageCount() const {
  std::lock_guard lock(d_->inbox->m);
  return static_cast<int>(d_->inbox->queue.size());
}

std::uint8_t MIDIInput::MessageStatus() const {
  return d_->WithHead([](const MidiMessage& m) { return m.status; }, std::uint8_t{0});
}
std::uint8_t MIDIInput::MessageData1() const {
  return d_->WithHead([](const MidiMessage& m) { return m.data1; }, std::uint8_t{0});
}
std::uint8_t MIDIInput::MessageData2() const {
  return d_->WithHead([](const MidiMessage& m) { return m.data2; }, std::uint8_t{0});
}
Bytes MIDIInput::SysExMessage() const {
  return d_->WithHead([](const MidiMessage& m) { return m.sysex; }, Bytes{});
}

// ---------------------------------------------------------------------------------------------
// MIDIOutput

struct MIDIOutput::Impl {
  std::unique_ptr<midi::OutPort> port;
  std::shared_ptr<ErrorCourier<MIDIOutput>> courier = std::make_shared<ErrorCourier<MIDIOutput>>();
  int device = -1;
  bool open = false;
  std::uint8_t status = 0, data1 = 0, data2 = 0;
  Bytes sysex;
  bool sysexLoaded = false;  // a System Exclusive message was loaded since the last transmit

  void Close() {
    if (open) port->Close();
    open = false;
  }

  std::vector<std::uint8_t> Outgoing() {
    if (sysexLoaded) {
      sysexLoaded = false;
      const auto& v = sysex.vec();
      if (v.size() < 2 || v.front() != 0xF0 || v.back() != 0xF7) Fail(midi::ErrBadParameter);
      for (std::size_t i = 1; i + 1 < v.size(); ++i)
        if (v[i] > 0x7F) Fail(midi::ErrBadParameter);
      return v;
    }
    const std::size_t n = midi::ShortMessageLength(status);
    if (n == 0) Fail(midi::ErrBadParameter);
    if ((n > 1 && data1 > 0x7F) || (n > 2 && data2 > 0x7F)) Fail(midi::ErrBadParameter);
    std::vector<std::uint8_t> m{status, data1, data2};
    m.resize(n);
    return m;
  }
};

MIDIOutput::MIDIOutput(QObject* parent) : QObject(parent), d_(std::make_unique<Impl>()) {
  d_->port = midi::MakeOutPort(midi::ResolveBackend());
  d_->courier->target = this;
}

MIDIOutput::~MIDIOutput() {
  try {
    d_->Close();
  } catch (...) {
  }
  std::lock_guard lock(d_->courier->m);
  d_->courier->target = nullptr;
}

void MIDIOutput::SetAction(int action) {
  switch (action) {
    case midi::Open: {
      if (d_->open) Fail(midi::ErrAllocated);
      const int count = d_->port->Count();
      const int device = d_->device == -1 ? 0 : d_->device;  // -1: the system default, the first port
      if (device < 0 || device >= count) Fail(midi::ErrBadDevice);
      d_->port->Open(device, d_->courier->Sink(d_->courier));
      d_->open = true;
      return;
    }
    case midi::Close:
      d_->Close();
      return;
    case midi::Start:
      if (!d_->open) Fail(midi::ErrNotOpen);
      return;
    case midi::Stop:
    case midi::Release:  // nothing is held on the output side
      return;
    case midi::Transmit: {
      if (!d_->open) Fail(midi::ErrNotOpen);
      d_->port->Send(d_->Outgoing());
      return;
    }
    default:
      Fail(midi::ErrBadParameter);
  }
}

int MIDIOutput::DeviceID() const { return d_->device; }

void MIDIOutput::SetDeviceID(int id) {
  if (id < -1 || id >= d_->port->Count()) Fail(midi::ErrBadDevice);
  d_->device = id;
}

std::string MIDIOutput::DeviceName() const {
  if (d_->device != -1) return d_->port->Name(d_->device);
  // The default has a name of its own, so a list of devices never shows the first port twice.
  return d_->port->Count() > 0 ? std::string(kDefaultOutputName) : std::string();
}
int MIDIOutput::DeviceCount() const { return d_->port->Count(); }
int MIDIOutput::PortOpen() const { return d_->open ? 1 : 0; }

void MIDIOutput::SetMessageStatus(std::uint8_t status) { d_->status = status; }
void MIDIOutput::SetMessageData1(std::uint8_t d) { d_->data1 = d; }
void MIDIOutput::SetMessageData2(std::uint8_t d) { d_->data2 = d; }
void MIDIOutput::SetSysExMessage(const Bytes& message) {
  d_->sysex = message;
  d_->sysexLoaded = true;
}

}  // namespace plat
