#pragma once
// A link over the loopback MIDI bus with recording lamps, host and message boxes, and a scripted
// instrument on the other end of the bus for the cases that need exact control of what arrives
// when.

#include <gtest/gtest.h>

#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "link/link.h"
#include "platform/midi/loopback.h"
#include "platform/ui/message_box.h"
#include "platform/ui/wait.h"
#include "tests/link/recording_host.h"

namespace tavoro::testing {

using ByteVec = std::vector<std::uint8_t>;

inline ByteVec StatusReply(std::uint8_t status, std::uint8_t id = 0x7F) {
  return {0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, id, 0x00, status, 0xF7};
}

// Answers each message from the program with the replies queued for it (after a delay each).
class ScriptedPeer {
 public:
  struct Answer {
    std::vector<ByteVec> messages;  // sent back together, in order
    int delayMs = 0;                 // real milliseconds (not scaled)
  };

  ScriptedPeer() {
    plat::loopback::Peer peer;
    peer.fromProgram = [this](const ByteVec& m) { OnMessage(m); };
    plat::loopback::Attach(std::move(peer));
  }
  ~ScriptedPeer() { plat::loopback::Detach(); }

  void Then(Answer a) { script.push_back(std::move(a)); }
  void ThenStatus(std::uint8_t status, int delayMs = 0) { Then({{StatusReply(status)}, delayMs}); }
  void ThenSilence() { Then({{}, 0}); }

  // Sends to the program now (unasked), from outside any request.
  static void Send(const ByteVec& m) { plat::loopback::SendToProgram(m); }

  std::vector<ByteVec> received;
  std::deque<Answer> script;

 private:
  void OnMessage(const ByteVec& m) {
    received.push_back(m);
    if (script.empty()) return;
    Answer a = std::move(script.front());
    script.pop_front();
    if (a.messages.empty()) return;
    auto send = [msgs = a.messages] {
      for (const auto& r : msgs) plat::loopback::SendToProgram(r);
    };
    if (a.delayMs <= 0) send();
    else QTimer::singleShot(a.delayMs, send);
  }
};

// Lets events run for `ms` real milliseconds (only for checking that nothing happens).
inline void RunEventsFor(int ms) { plat::WaitUntil([] { return false; }, ms); }

class LinkFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::ResetWaitsEnding();
    plat::SetTimeoutScale(0.01);  // 5000 ms waits end after 50 ms
    AttachPeer();
    in = std::make_unique<plat::MIDIInput>();
    out = std::make_unique<plat::MIDIOutput>();
    link = std::make_unique<Link>(LinkParts{*in, *out, ledIn, ledOut, host, trace});
    link->onControlLog = [this](const std::string& op) {
      if (op == "in.action 6") ++handled;
    };
  }
  void TearDown() override {
    link.reset();
    in.reset();
    out.reset();
    DetachPeer();
    plat::SetTimeoutScale(1.0);
    plat::ResetWaitsEnding();
  }
  // The instrument on the other end of the bus; the scripted one unless a test wants another.
  virtual void AttachPeer() { peer = std::make_unique<ScriptedPeer>(); }
  virtual void DetachPeer() { peer.reset(); }
  // Opens both ports on device 0 (the loopback's one device each).
  void OpenPorts() {
    link->settings.InDeviceId = 0;
    link->settings.OutDeviceId = 0;
    ASSERT_TRUE(link->OpenInputDevice());
    ASSERT_TRUE(link->OpenOutputDevice());
  }
  // Waits (generously: the machine may be busy) until the input handler has taken `n` messages
  // since the test began.
  bool WaitHandled(int n) { return plat::WaitUntil([&] { return handled >= n; }, 5000) == plat::WaitResult::Done; }
  // Sends the front-panel key message and waits in status mode.
  VeskResponse PressKey(std::uint8_t key, int timeout = 5000) {
    link->MidiOutLongMsg(link->Frame(FrontPanelKey(key)));
    return link->GetVeskResponse(timeout, kStatusMode);
  }

  int handled = 0;  // messages the input handler has released
  plat::BoxRecorder boxes;
  plat::PlainLamp ledIn, ledOut;
  RecordingHost host;
  StartupTrace trace;
  std::unique_ptr<ScriptedPeer> peer;
  std::unique_ptr<plat::MIDIInput> in;
  std::unique_ptr<plat::MIDIOutput> out;
  std::unique_ptr<Link> link;
};

}  // namespace tavoro::testing
