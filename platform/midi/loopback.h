#pragma once
// The in-process loopback MIDI bus: with TAVORO_MIDI_API=loopback (or SetBackendOverride in tests)
// the MIDI controls see one input and one output device named by the attached peer, and every
// message the program transmits is handed to the peer instead of a port. The peer (the instrument
// emulator in tests) answers through SendToProgram, from any thread; delivery to the program is
// queued onto the UI thread like a real port's.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace plat::loopback {

struct Peer {
  std::string portName = "Vesk Emulator";
  // Called on the UI thread with each whole message the program transmits (short or SysEx).
  std::function<void(const std::vector<std::uint8_t>&)> fromProgram;
};

// Plugs a peer into the bus (replacing any previous one). Detach before the peer goes away.
void Attach(Peer peer);
void Detach();
bool Attached();

// Hands one whole message (F0..F7, or a 1-3 byte short message) to the program's input port.
// Dropped when the input port is not open and started, as a real port would.
void SendToProgram(const std::vector<std::uint8_t>& message);

}  // namespace plat::loopback
