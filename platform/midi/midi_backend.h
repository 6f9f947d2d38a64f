#pragma once
// What the MIDI controls need of a port backend, and the helpers the backends share. Internal to
// the platform layer (and its tests): the program talks to MIDIInput / MIDIOutput only.
//
// A backend port is one input or output of one MIDI API. It enumerates devices, opens one of
// them, and (input) hands every whole received message to a sink, from whatever thread the API
// delivers on. Failures of synchronous calls throw MidiControlError; faults that happen later on
// the API's own thread go to the error sink. Count() and Name() never throw.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat::midi {

// Called with each whole message (a short message, or one System Exclusive message F0..F7).
using Sink = std::function<void(std::vector<std::uint8_t>&& message)>;
// Called with an asynchronous fault: code (see ErrorCode in midi_controls.h) and text.
using ErrorSink = std::function<void(int code, const std::string& text)>;

class InPort {
 public:
  virtual ~InPort() = default;
  virtual int Count() = 0;
  virtual std::string Name(int device) = 0;  // "" when out of range
  virtual void Open(int device, Sink sink, ErrorSink errors) = 0;
  virtual void Close() = 0;  // no delivery to the sink once this returns
};

class OutPort {
 public:
  virtual ~OutPort() = default;
  virtual int Count() = 0;
  virtual std::string Name(int device) = 0;
  virtual void Open(int device, ErrorSink errors) = 0;
  virtual void Close() = 0;
  virtual void Send(const std::vector<std::uint8_t>& message) = 0;
};

// The backend a control made now would use: "jack", "alsa", "loopback" or "none".
std::string ResolveBackend();
std::unique_ptr<InPort> MakeInPort(const std::string& backend);
std::unique_ptr<OutPort> MakeOutPort(const std::string& backend);

// Per backend (midi_rtmidi.cpp, loopback.cpp, and the zero-device port here).
std::unique_ptr<InPort> MakeRtMidiInPort(bool jack);
std::unique_ptr<OutPort> MakeRtMidiOutPort(bool jack);
std::unique_ptr<InPort> MakeLoopbackInPort();
std::unique_ptr<OutPort> MakeLoopbackOutPort();
std::unique_ptr<InPort> MakeNullInPort();
std::unique_ptr<OutPort> MakeNullOutPort();

// True when a JACK server answers (never starts one).
bool JackServerRunning();
// True when the ALSA sequencer device can be opened.
bool AlsaSequencerPresent();

// "Midi Through:Midi Through Port-0 14:0" -> "Midi Through:Midi Through Port-0": ALSA appends the
// client:port numbers, which change from boot to boot, so names stored in settings leave them out.
std::string StripClientPort(std::string_view name);

// Bytes of a short message with this status byte, including the status; 0 for a byte that does
// not start a short message (data bytes, F0, F7 and the undefined F4, F5).
std::size_t ShortMessageLength(std::uint8_t status);

// Puts System Exclusive messages back together when an API hands them over in pieces (ALSA's
// sequencer splits long ones). Feed each received piece; whole messages come out in order.
// Real-time bytes (F8..FF) in the middle of a System Exclusive message pass straight through; any
// other status byte abandons an unfinished one. A message longer than the limit is dropped whole.
class SysExAssembler {
 public:
  explicit SysExAssembler(std::size_t limit = 1u << 20) : limit_(limit) {}
  void Feed(const std::uint8_t* data, std::size_t size, const Sink& out);
  bool Assembling() const { return assembling_; }

 private:
  std::vector<std::uint8_t> partial_;
  bool assembling_ = false;
  bool overflow_ = false;
  std::size_t limit_;
};

}  // namespace plat::midi
