#pragma once
// A loopback bus with a recording peer, for the controls' tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/midi/loopback.h"
#include "platform/midi/midi_controls.h"
#include "tests/midi/pump.h"

namespace miditest {

using Message = std::vector<std::uint8_t>;

class LoopbackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::midi::SetBackendOverride("loopback");
    plat::loopback::Peer peer;
    peer.portName = "Test Peer";
    peer.fromProgram = [this](const Message& m) { received.push_back(m); };
    plat::loopback::Attach(peer);
  }
  void TearDown() override {
    plat::loopback::Detach();
    plat::midi::SetBackendOverride("");
  }

  // An input opened and started on the loopback device.
  static void OpenStarted(plat::MIDIInput& in) {
    in.SetDeviceID(0);
    in.SetAction(plat::midi::Open);
    in.SetAction(plat::midi::Start);
  }

  std::vector<Message> received;  // what the program transmitted, as the peer saw it
};

// The error code a call throws, or 0.
template <class F>
int CodeOf(F f) {
  try {
    f();
  } catch (const plat::MidiControlError& e) {
    return e.code;
  }
  return 0;
}

}  // namespace miditest
