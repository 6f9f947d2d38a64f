// The controls over real JACK MIDI ports: a private jackd with the dummy driver, a peer made with
// RtMidi, and System Exclusive messages both ways.
#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>

#include <functional>
#include <memory>
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

// The device of a client whose name starts with `client` and whose port name ends with `suffix`.
template <class Control>
int DeviceEndingWith(Control& c, const std::string& suffix, const std::string& client = "Peer") {
  for (int i = 0; i < c.DeviceCount(); ++i) {
    c.SetDeviceID(i);
    const std::string name = c.DeviceName();
    if (name.rfind(client, 0) == 0 && name.size() >= suffix.size() &&
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

// JACK drops the MIDI events of a cycle that overruns (an xrun), which a loaded test machine
// causes now and then. A message counts as carried when it arrives whole after at most a few
// tries; what the controls do with it is checked exactly.
bool Carried(const std::function<void()>& send, const std::function<bool()>& arrived) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    send();
    if (PumpUntil(arrived, 2000)) return true;
  }
  return false;
}

class JackPorts : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(jack.running()) << "jackd did not start:\n" << jack.log();
    midi::SetBackendOverride("jack");
  }
  void TearDown() override { midi::SetBackendOverride(""); }

  // The peer's ports, once the controls can see them (a loaded server may refuse a client).
  std::unique_ptr<Peer> MakePeer(MIDIInput& in, MIDIOutput* out) {
    for (int attempt = 0; attempt < 5; ++attempt) {
      auto peer = std::make_unique<Peer>();
      if (PumpUntil([&] { return DeviceEndingWith(in, ":out") >= 0 && (!out || DeviceEndingWith(*out, ":in") >= 0); },
                    2000))
        return peer;
    }
    return nullptr;
  }

  tavoro::test::JackServer jack;
};

}  // namespace

TEST_F(JackPorts, SysExBothWaysThroughOpenedPorts) {
  ASSERT_TRUE(midi::JackServerRunning());
  ASSERT_EQ(midi::ChosenBackend(), "jack");
  MIDIInput in;
  MIDIOutput out;
  std::unique_ptr<Peer> peer = MakePeer(in, &out);
  ASSERT_TRUE(peer) << jack.log();

  in.SetDeviceID(DeviceEndingWith(in, ":out"));
  in.SetAction(midi::Open);
  in.SetAction(midi::Start);
  in.SetFilter(0xF8, true);
  out.SetDeviceID(DeviceEndingWith(out, ":in"));
  out.SetAction(midi::Open);
  ASSERT_GE(in.PortOpen(), 1);
  ASSERT_GE(out.PortOpen(), 1);
  // The program's own open ports are never offered: choosing one would connect it to itself.
  MIDIInput otherIn;
  MIDIOutput otherOut;
  EXPECT_EQ(DeviceEndingWith(otherIn, ":out", "Tavoro"), -1);
  EXPECT_EQ(DeviceEndingWith(otherOut, ":in", "Tavoro"), -1);

  // Program to peer: a framed request, a long message and a short one.
  const Message request{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x01, 0x01, 0x00, 0xF7};
  const Message longOne = SysEx(16000, 3);
  for (const Message& m : {request, longOne}) {
    auto send = [&] {
      out.SetMessageStatus(0xF0);
      out.SetSysExMessage(plat::Bytes(m));
      out.SetAction(midi::Start);
      out.SetAction(midi::Transmit);
      out.SetAction(midi::Stop);
    };
    ASSERT_TRUE(Carried(send, [&] { return !peer->Got().empty() && peer->Got().back() == m; }))
        << m.size() << "-byte message not received\n" << jack.log();
  }
  out.SetMessageStatus(0x90);
  out.SetMessageData1(0x3C);
  out.SetMessageData2(0x40);
  ASSERT_TRUE(Carried([&] { out.SetAction(midi::Transmit); },
                      [&] { return peer->Got().back() == Message{0x90, 0x3C, 0x40}; }));
  for (const Message& got : peer->Got())  // nothing arrives cut or joined
    EXPECT_TRUE((got == request || got == longOne || got == Message{0x90, 0x3C, 0x40})) << got.size();

  // More than RtMidi's JACK output can carry is refused, not lost silently.
  out.SetSysExMessage(plat::Bytes(SysEx(20000, 1)));
  try {
    out.SetAction(midi::Transmit);
    ADD_FAILURE() << "an overlong message was accepted";
  } catch (const plat::MidiControlError& e) {
    EXPECT_EQ(e.code, midi::ErrBadParameter);
  }

  // Peer to program: each message raised, whole; filtered ones dropped.
  std::vector<Message> seen;
  QObject::connect(&in, &MIDIInput::Message, [&] {
    const plat::Bytes sysex = in.SysExMessage();
    seen.push_back(sysex.empty() ? Message{in.MessageStatus(), in.MessageData1()} : sysex.vec());
    in.SetAction(midi::Release);
  });
  const Message reply{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x00, 0x00, 0xF7};
  const Message longReply = SysEx(16379, 9);  // the longest a JACK peer using RtMidi can send
  for (const Message& m : {reply, Message{0xB0, 0x07}, longReply}) {
    ASSERT_TRUE(Carried(
        [&] {
          peer->Send({0xF8});
          peer->Send(m);
        },
        [&] { return !seen.empty() && seen.back() == m; }))
        << m.size() << "-byte message not received\n" << jack.log();
  }
  for (const Message& got : seen)
    EXPECT_TRUE((got == reply || got == Message{0xB0, 0x07} || got == longReply)) << got.size();
  EXPECT_EQ(in.MessageCount(), 0);

  in.SetAction(midi::Stop);
  in.SetAction(midi::Close);
  out.SetAction(midi::Close);
}

TEST_F(JackPorts, PortsConnectedByJackConnectAlsoCarryMessages) {
  // Our input opened on the peer's output, then a second source wired to it from outside.
  MIDIInput in;  // the only client named "Tavoro" here
  std::unique_ptr<Peer> peer = MakePeer(in, nullptr);
  ASSERT_TRUE(peer) << jack.log();
  RtMidiOut other(RtMidi::UNIX_JACK, "Other");
  other.openVirtualPort("out");
  in.SetDeviceID(DeviceEndingWith(in, ":out"));
  in.SetAction(midi::Open);
  in.SetAction(midi::Start);
  ASSERT_EQ(jack.Run({"jack_connect", "Other:out", "Tavoro:in"}), 0) << jack.log();
  const Message m{0xF0, 0x7D, 0x01, 0xF7};
  ASSERT_TRUE(Carried([&] { other.sendMessage(&m); }, [&] { return in.MessageCount() >= 1; })) << jack.log();
  EXPECT_EQ(in.SysExMessage().vec(), m);
}
