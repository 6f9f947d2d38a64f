// Backend choice, the zero-device port, and the helpers the backends share.
#include "platform/midi/midi_backend.h"

#include <cctype>
#include <cstdlib>
#include <mutex>

#include "platform/midi/midi_controls.h"

namespace plat::midi {

namespace {

std::mutex& OverrideMutex() {
  static std::mutex m;
  return m;
}
std::string& OverrideName() {
  static std::string name;
  return name;
}

bool Known(const std::string& api) { return api == "jack" || api == "alsa" || api == "loopback"; }

// A MIDI system that could not start: no devices, so nothing can be opened.
class NullInPort final : public InPort {
 public:
  int Count() override { return 0; }
  std::string Name(int) override { return {}; }
  void Open(int, Sink, ErrorSink) override { throw MidiControlError(ErrBadDevice, ErrorText(ErrBadDevice)); }
  void Close() override {}
};

class NullOutPort final : public OutPort {
 public:
  int Count() override { return 0; }
  std::string Name(int) override { return {}; }
  void Open(int, ErrorSink) override { throw MidiControlError(ErrBadDevice, ErrorText(ErrBadDevice)); }
  void Close() override {}
  void Send(const std::vector<std::uint8_t>&) override { throw MidiControlError(ErrNotOpen, ErrorText(ErrNotOpen)); }
};

}  // namespace

std::string ErrorText(int code) {
  switch (code) {
    case ErrFailed: return "The MIDI system reported an error.";
    case ErrBadDevice: return "The MIDI device number is not valid.";
    case ErrAllocated: return "The MIDI port is already open.";
    case ErrNotOpen: return "The MIDI port is not open.";
    case ErrQueueFull: return "The MIDI input queue is full; a message was lost.";
    case ErrBadParameter: return "The MIDI port cannot do this action or send this message.";
    default: return {};
  }
}

void SetBackendOverride(const std::string& api) {
  std::lock_guard lock(OverrideMutex());
  OverrideName() = api;
}

std::string ResolveBackend() {
  std::string api;
  {
    std::lock_guard lock(OverrideMutex());
    api = OverrideName();
  }
  if (!Known(api)) {
    const char* env = std::getenv("TAVORO_MIDI_API");
    api = env ? env : "";
    for (char& c : api) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (api == "loopback") return api;
  if (api == "jack") return JackServerRunning() ? "jack" : "none";
  if (api == "alsa") return AlsaSequencerPresent() ? "alsa" : "none";
  if (JackServerRunning()) return "jack";
  return AlsaSequencerPresent() ? "alsa" : "none";
}

std::string ChosenBackend() { return ResolveBackend(); }

std::unique_ptr<InPort> MakeInPort(const std::string& backend) {
  if (backend == "loopback") return MakeLoopbackInPort();
  if (backend == "jack" || backend == "alsa") return MakeRtMidiInPort(backend == "jack");
  return MakeNullInPort();
}

std::unique_ptr<OutPort> MakeOutPort(const std::string& backend) {
  if (backend == "loopback") return MakeLoopbackOutPort();
  if (backend == "jack" || backend == "alsa") return MakeRtMidiOutPort(backend == "jack");
  return MakeNullOutPort();
}

std::unique_ptr<InPort> MakeNullInPort() { return std::make_unique<NullInPort>(); }
std::unique_ptr<OutPort> MakeNullOutPort() { return std::make_unique<NullOutPort>(); }

std::string StripClientPort(std::string_view name) {
  // Trailing " <digits>:<digits>".
  std::size_t end = name.size();
  std::size_t i = end;
  while (i > 0 && std::isdigit(static_cast<unsigned char>(name[i - 1]))) --i;
  if (i == end || i == 0 || name[i - 1] != ':') return std::string(name);
  std::size_t colon = i - 1;
  i = colon;
  while (i > 0 && std::isdigit(static_cast<unsigned char>(name[i - 1]))) --i;
  if (i == colon || i == 0 || name[i - 1] != ' ') return std::string(name);
  return std::string(name.substr(0, i - 1));
}

std::size_t ShortMessageLength(std::uint8_t status) {
  if (status < 0x80) return 0;
  if (status < 0xF0) {
    const std::uint8_t kind = status & 0xF0;
    return (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
  }
  switch (status) {
    case 0xF1:
    case 0xF3: return 2;
    case 0xF2: return 3;
    case 0xF6: return 1;
    case 0xF0:
    case 0xF4:
    case 0xF5:
    case 0xF7: return 0;
    default: return 1;  // F8..FF, real-time
  }
}

void SysExAssembler::Feed(const std::uint8_t* data, std::size_t size, const Sink& out) {
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t b = data[i];
    if (!assembling_) {
      if (b == 0xF0) {
        assembling_ = true;
        overflow_ = false;
        partial_.assign(1, b);
        ++i;
        continue;
      }
      if (b < 0x80 || b == 0xF7) return;  // stray data or end byte: nothing to put it to
      // A short or real-time message: the API delivers those whole, so the rest of the piece
      // belongs to it (up to the next System Exclusive start, which should not happen).
      std::size_t end = i + 1;
      while (end < size && data[end] != 0xF0) ++end;
      out(std::vector<std::uint8_t>(data + i, data + end));
      i = end;
      continue;
    }
    // Inside a System Exclusive message.
    if (b >= 0xF8) {  // real-time byte: passes through, the message goes on
      out(std::vector<std::uint8_t>{b});
      ++i;
      continue;
    }
    if (b >= 0x80 && b != 0xF7) {  // any other status ends the unfinished message unseen
      assembling_ = false;
      partial_.clear();
      continue;  // look at this byte again as a new message
    }
    if (!overflow_) {
      if (partial_.size() >= limit_) {
        overflow_ = true;
        partial_.clear();
        partial_.shrink_to_fit();
      } else {
        partial_.push_back(b);
      }
    }
    ++i;
    if (b == 0xF7) {
      assembling_ = false;
      if (!overflow_) out(std::move(partial_));
      partial_.clear();
    }
  }
}

}  // namespace plat::midi
