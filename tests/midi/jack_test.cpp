// The controls over real JACK MIDI ports: a private jackd with the dummy driver, a peer made with
// RtMidi, and System Exclusive messages both ways.
#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

#include <mutex>

#include "platform/midi/midi_backend.h"
#include "platform/midi/midi_controls.h"
#include "tests/midi/pump.h"
#include "tests/support/jack_server.h"

using miditest::PumpUntil;
using plat::MIDIInput;
using plat::MIDIOutput;
namespace midi = plat::midi;
using Message = std::vector<std::uint8_t>;

namespace {

// The other end: one JACK input and one output port, made straight with RtMidi.
class Peer {
 public:
  Peer() : in_(RtMidi::UNIX_JACK, "Peer"), out_(RtMidi::UNIX_JACK, "Peer") {
    in_.ignoreTypes(false, false, false);
    in_.setCallback(&Peer::Received, this);
    in_.openVirtualPort("in");
    out_.openVirtualPort("out");
  }
  ~Peer() {
    in_.closePort();
    out_.closePort();
  }
  void Send(const Message& m) { out_.sendMessage(&m); }
  std::vector<Message> Got() {
    std::lock_guard lock(m_);
    return got_;
  }

 private:
  static void Received(double, std::vector<unsigned char>* m, void* self) {
    auto* peer = static_cast<Peer*>(self);
    std::lock_guard lock(peer->m_);
    peer->got_.push_back(*m);
  }
  std::mutex m_;
  std::vector<Message> got_;
  RtMidiIn in_;
  RtMidiOut out_;
};

template <class Control>
int DeviceEndingWith(Control& c, const std::string& suffix) {
  for (int i = 0; i < c.DeviceCount(); ++i) {
    const std::string name = [&] {
      c.SetDeviceID(i);
      return c.DeviceName();
    }();
    if (name.rfind("Peer", 0) == 0 && name.size() >= suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
      return i;
  }
  return -1;
}

Message SysEx(std::size_t size, std::uint8_t seed) {
  Message m(size);
  for (std::size_t i = 0; i < size; ++i) m[i] = static_cast<std::uint8_t>((i + seed) & 0x7F);
  m.front() = 0xF0;
  m.back() = 0xF7;
  return m;
}

class JackPorts : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(jack.running()) << "jackd did not start:\n" << jack.log();
    midi::SetBackendOverride("jack");
  }
  void TearDown() override { midi::SetBackendOverride(""); }
  tavoro::test::JackServer jack;
};

}  // namespace

TEST_F(JackPorts, SysExBothWaysThroughOpenedPorts) {
  ASSERT_TRUE(midi::JackServerRunning());
  ASSERT_EQ(midi::ChosenBackend(), "jack");
  Peer peer;
  MIDIInput in;
  MIDIOutput out;
  const int source = DeviceEndingWith(in, ":out");
  const int sink = DeviceEndingWith(out, ":in");
  ASSERT_GE(source, 0);
  ASSERT_GE(sink, 0);

  in.SetDeviceID(source);
  in.SetAction(midi::Open);
  in.SetAction(midi::Start);
  in.SetFilter(0xF8, true);
  out.SetDeviceID(sink);
  out.SetAction(midi::Open);
  ASSERT_GE(in.PortOpen(), 1);
  ASSERT_GE(out.PortOpen(), 1);

  // Program to peer: a framed request, a long message and a short one.
  const Message request{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x01, 0x01, 0x00, 0xF7};
  const Message longOne = SysEx(16000, 3);
  for (const Message& m : {request, longOne}) {
    out.SetMessageStatus(0xF0);
    out.SetSysExMessage(plat::Bytes(m));
    out.SetAction(midi::Start);
    out.SetAction(midi::Transmit);
    out.SetAction(midi::Stop);
    ASSERT_TRUE(PumpUntil([&] { return peer.Got().size() >= 1 && peer.Got().back() == m; }, 5000));
  }
  out.SetMessageStatus(0x90);
  out.SetMessageData1(0x3C);
  out.SetMessageData2(0x40);
  out.SetAction(midi::Transmit);
  ASSERT_TRUE(PumpUntil([&] { return peer.Got().size() == 3; }, 5000));
  EXPECT_EQ(peer.Got()[2], (Message{0x90, 0x3C, 0x40}));

  // More than RtMidi's JACK output can carry is refused, not lost silently.
  out.SetSysExMessage(plat::Bytes(SysEx(20000, 1)));
  try {
    out.SetAction(midi::Transmit);
    ADD_FAILURE() << "an overlong message was accepted";
  } catch (const plat::MidiControlError& e) {
    EXPECT_EQ(e.code, midi::ErrBadParameter);
  }

  // Peer to program: each message raised once, whole, filtered ones dropped.
  std::vector<Message> seen;
  QObject::connect(&in, &MIDIInput::Message, [&] {
    const plat::Bytes sysex = in.SysExMessage();
    seen.push_back(sysex.empty() ? Message{in.MessageStatus(), in.MessageData1()} : sysex.vec());
    in.SetAction(midi::Release);
  });
  const Message reply{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x00, 0x00, 0xF7};
  const Message longReply = SysEx(16379, 9);  // the longest a JACK peer using RtMidi can send
  peer.Send(reply);
  peer.Send({0xF8});
  peer.Send({0xB0, 0x07});
  ASSERT_TRUE(PumpUntil([&] { return seen.size() == 2; }, 5000));
  peer.Send(longReply);
  ASSERT_TRUE(PumpUntil([&] { return seen.size() == 3; }, 5000));
  EXPECT_EQ(seen[0], reply);
  EXPECT_EQ(seen[1], (Message{0xB0, 0x07}));
  EXPECT_EQ(seen[2], longReply);

  in.SetAction(midi::Stop);
  in.SetAction(midi::Close);
  out.SetAction(midi::Close);
}

TEST_F(JackPorts, PortsConnectedByJackConnectAlsoCarryMessages) {
  // Our input opened on the peer's output, then a second source wired to it from outside.
  Peer peer;
  RtMidiOut other(RtMidi::UNIX_JACK, "Other");
  other.openVirtualPort("out");
  MIDIInput in;
  const int source = DeviceEndingWith(in, ":out");
  ASSERT_GE(source, 0);
  in.SetDeviceID(source);
  in.SetAction(midi::Open);
  in.SetAction(midi::Start);
  ASSERT_EQ(jack.Run({"jack_connect", "Other:out", "Tavoro:in"}), 0) << jack.log();
  const Message m{0xF0, 0x7D, 0x01, 0xF7};
  other.sendMessage(&m);
  ASSERT_TRUE(PumpUntil([&] { return in.MessageCount() == 1; }, 5000));
  EXPECT_EQ(in.SysExMessage().vec(), m);
}
