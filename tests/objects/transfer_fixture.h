#pragma once
// The object transfer over the loopback MIDI bus against the instrument emulator, with recording
// lamps, status bar and message boxes.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "emulator/loopback/loopback_peer.h"
#include "link/link.h"
#include "objects/transfer.h"
#include "platform/midi/midi_controls.h"
#include "platform/ui/message_box.h"
#include "platform/ui/wait.h"

namespace tavoro::testing {

class PanelRecorder : public LinkHost {
 public:
  void SetPanelText(int panel, const std::string& text) override { panels[panel] = text; }
  bool ProgressWindowActive() override { return false; }
  void UnloadProgressWindow() override {}
  std::map<int, std::string> panels;
};

inline plat::Bytes ToBytes(const emu::Message& m) { return plat::Bytes(m); }
inline emu::Message ToMessage(const plat::Bytes& b) { return b.vec(); }

// Lets events run for `ms` real milliseconds.
inline void RunEventsFor(int ms) { plat::WaitUntil([] { return false; }, ms); }

class TransferFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::ResetWaitsEnding();
    plat::SetTimeoutScale(0.02);  // the 5000 ms reply wait ends after 100 ms
    emulator = std::make_unique<emu::LoopbackPeer>();
    in = std::make_unique<plat::MIDIInput>();
    out = std::make_unique<plat::MIDIOutput>();
    link = std::make_unique<Link>(LinkParts{*in, *out, ledIn, ledOut, host, trace});
    link->settings.InDeviceId = 0;
    link->settings.OutDeviceId = 0;
    ASSERT_TRUE(link->OpenInputDevice());
    ASSERT_TRUE(link->OpenOutputDevice());
    xfer = std::make_unique<ObjectTransfer>(*link, store);
  }
  void TearDown() override {
    xfer.reset();
    link.reset();
    in.reset();
    out.reset();
    emulator.reset();
    plat::SetTimeoutScale(1.0);
    plat::ResetWaitsEnding();
  }

  emu::Vesk& vesk() { return emulator->vesk(); }
  // The dump the emulator sends for an object (with its own device id at position 7).
  plat::Bytes EmuDump(emu::Kind k, int number) { return ToBytes(vesk().dump(k, number)); }
  int FirstNumber(emu::Kind k) { return vesk().bank().of(k).begin()->first; }
  // The last message the instrument received.
  plat::Bytes LastSent() { return vesk().received().empty() ? plat::Bytes{} : ToBytes(vesk().received().back()); }

  // No flag left set, no lamp left lit.
  void ExpectIdle() {
    EXPECT_FALSE(link->MidiInBusy);
    EXPECT_FALSE(link->MidiOutBusy);
    EXPECT_FALSE(ledIn.Value());
  }

  plat::BoxRecorder boxes;
  plat::PlainLamp ledIn, ledOut;
  PanelRecorder host;
  StartupTrace trace;
  std::unique_ptr<emu::LoopbackPeer> emulator;
  std::unique_ptr<plat::MIDIInput> in;
  std::unique_ptr<plat::MIDIOutput> out;
  std::unique_ptr<Link> link;
  ObjectStore store;
  std::unique_ptr<ObjectTransfer> xfer;
};

}  // namespace tavoro::testing
