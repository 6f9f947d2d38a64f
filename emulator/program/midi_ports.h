#pragma once
// The emulator's two MIDI ports on JACK or ALSA, through RtMidi. Incoming messages arrive on
// RtMidi's thread and are handed whole to the callback given at open.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "emulator/core/wire.h"

class RtMidiIn;
class RtMidiOut;

namespace emu {

// True when a JACK server answers (it is never started for this question).
bool JackServerRunning();

class MidiPorts {
 public:
  using Receive = std::function<void(const Message&)>;
  MidiPorts();
  ~MidiPorts();

  // Opens "name" input and output ports: virtual ports others connect to, or, with `connectTo`,
  // ports connected to that client's first output and input port. Throws std::runtime_error.
  void open(const std::string& api, const std::string& name, const std::string& connectTo, Receive receive);
  void close();
  void send(const Message& m);

  // The full names the ports are known by on the system (for the user and for test scripts).
  std::string inputName() const { return inputName_; }
  std::string outputName() const { return outputName_; }

 private:
  static void onMessage(double, std::vector<unsigned char>* message, void* self);

  std::unique_ptr<RtMidiIn> in_;
  std::unique_ptr<RtMidiOut> out_;
  Receive receive_;
  std::string inputName_, outputName_;
};

}  // namespace emu
