#pragma once
// What the benchmarks that talk to the in-process emulator share: the process's CPU clock, the
// link opened on the loopback bus to the emulator, and a main() that sets up the loopback MIDI
// bus, an application object and a box that answers at once.

#include <string>

#include "emulator/loopback/loopback_peer.h"
#include "link/link.h"

namespace tavoro::bench {

// CPU time used by the whole process so far, in seconds.
double CpuSeconds();

class NullHost : public LinkHost {
 public:
  void SetPanelText(int, const std::string&) override {}
  bool ProgressWindowActive() override { return false; }
  void UnloadProgressWindow() override {}
};

// The emulator on the loopback bus and a link with both ports open to it.
struct LoopbackLink {
  LoopbackLink();
  emu::LoopbackPeer peer;
  plat::MIDIInput in;
  plat::MIDIOutput out;
  plat::PlainLamp ledIn, ledOut;
  NullHost host;
  StartupTrace trace;
  Link link;
};

}  // namespace tavoro::bench
