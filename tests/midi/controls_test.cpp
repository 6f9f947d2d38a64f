// The controls' actions, device selection, errors and what a transmit puts on the wire.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/midi/midi_backend.h"
#include "tests/midi/loopback_fixture.h"

using namespace miditest;
using plat::MIDIInput;
using plat::MIDIOutput;
namespace midi = plat::midi;

using InputControl = LoopbackTest;
using OutputControl = LoopbackTest;
using Transmit = LoopbackTest;

TEST_F(InputControl, OpenStartStopCloseSequence) {
  MIDIInput in;
  EXPECT_EQ(in.DeviceCount(), 1);
  EXPECT_EQ(in.DeviceID(), 0);
  EXPECT_EQ(in.DeviceName(), "Test Peer");
  EXPECT_EQ(in.PortOpen(), 0);

  in.SetAction(midi::Open);
  EXPECT_GE(in.PortOpen(), 1);
  in.SetAction(midi::Start);
  in.SetAction(midi::Release);  // nothing held: harmless
  in.SetAction(midi::Stop);
  in.SetAction(midi::Close);
  EXPECT_EQ(in.PortOpen(), 0);

  // Reopening after a close works; stopping and closing a closed port are harmless.
  in.SetAction(midi::Open);
  in.SetAction(midi::Close);
  in.SetAction(midi::Stop);
  in.SetAction(midi::Close);
  EXPECT_EQ(in.PortOpen(), 0);
}

TEST_F(InputControl, RefusedActionsThrowWithTheirCodes) {
  MIDIInput in;
  EXPECT_EQ(CodeOf([&] { in.SetAction(midi::Start); }), midi::ErrNotOpen);
  for (int bad : {0, 3, 7, 8, -1})
    EXPECT_EQ(CodeOf([&] { in.SetAction(bad); }), midi::ErrBadParameter) << "action " << bad;
  in.SetAction(midi::Open);
  EXPECT_EQ(CodeOf([&] { in.SetAction(midi::Open); }), midi::ErrAllocated);
  EXPECT_GE(in.PortOpen(), 1);  // the refused second open leaves the port open

  try {
    in.SetAction(9);
    FAIL() << "no error";
  } catch (const plat::MidiControlError& e) {
    EXPECT_EQ(std::string(e.what()), midi::ErrorText(midi::ErrBadParameter));
  }
}

TEST_F(InputControl, DeviceNumberOutsideTheDevicesIsRefused) {
  MIDIInput in;
  EXPECT_EQ(CodeOf([&] { in.SetDeviceID(1); }), midi::ErrBadDevice);
  EXPECT_EQ(CodeOf([&] { in.SetDeviceID(-1); }), midi::ErrBadDevice);
  EXPECT_EQ(in.DeviceID(), 0);
}

TEST_F(InputControl, DeviceNameFollowsThePeerAndHasADefault) {
  MIDIInput in;
  EXPECT_EQ(in.DeviceName(), "Test Peer");
  plat::loopback::Detach();
  EXPECT_EQ(in.DeviceCount(), 1);  // still one device, so the program can open
  EXPECT_EQ(in.DeviceName(), "Vesk Emulator");
  in.SetAction(midi::Open);
  in.SetAction(midi::Start);
}

TEST_F(InputControl, FiltersAreKeptPerStatusByte) {
  MIDIInput in;
  EXPECT_FALSE(in.Filter(0xF8));
  in.SetFilter(0xF8, true);
  in.SetFilter(0xFE, true);
  EXPECT_TRUE(in.Filter(0xF8));
  EXPECT_TRUE(in.Filter(0xFE));
  EXPECT_FALSE(in.Filter(0xF9));
  in.SetFilter(0xF8, false);
  EXPECT_FALSE(in.Filter(0xF8));
  // A close does not clear them: the program clears them itself when it reopens.
  in.SetAction(midi::Open);
  in.SetAction(midi::Close);
  EXPECT_TRUE(in.Filter(0xFE));
}

TEST_F(OutputControl, DefaultDeviceIsTheFirstPort) {
  MIDIOutput out;
  EXPECT_EQ(out.DeviceID(), -1);
  EXPECT_EQ(out.DeviceCount(), 1);
  EXPECT_EQ(out.DeviceName(), plat::kDefaultOutputName);  // not the first port's name again
  out.SetAction(midi::Open);
  EXPECT_GE(out.PortOpen(), 1);
  out.SetAction(midi::Close);
  out.SetDeviceID(0);
  EXPECT_EQ(out.DeviceID(), 0);
  EXPECT_EQ(out.DeviceName(), "Test Peer");
  out.SetDeviceID(-1);
  EXPECT_EQ(out.DeviceID(), -1);
}

TEST_F(OutputControl, StopAndCloseOfAClosedPortAreHarmless) {
  // The program stops and closes the default device before reopening it, open or not.
  MIDIOutput out;
  out.SetAction(midi::Stop);
  out.SetAction(midi::Close);
  out.SetAction(midi::Release);
  EXPECT_EQ(out.PortOpen(), 0);
  out.SetAction(midi::Open);
  EXPECT_EQ(CodeOf([&] { out.SetAction(midi::Open); }), midi::ErrAllocated);
}

TEST_F(OutputControl, RefusedActionsAndDevices) {
  MIDIOutput out;
  EXPECT_EQ(CodeOf([&] { out.SetAction(midi::Transmit); }), midi::ErrNotOpen);
  EXPECT_EQ(CodeOf([&] { out.SetAction(midi::Start); }), midi::ErrNotOpen);
  EXPECT_EQ(CodeOf([&] { out.SetAction(3); }), midi::ErrBadParameter);
  EXPECT_EQ(CodeOf([&] { out.SetDeviceID(1); }), midi::ErrBadDevice);
  EXPECT_EQ(CodeOf([&] { out.SetDeviceID(-2); }), midi::ErrBadDevice);
  EXPECT_EQ(out.DeviceID(), -1);
  EXPECT_TRUE(received.empty());
}

namespace {
void OpenOut(MIDIOutput& out) {
  out.SetAction(midi::Open);
  out.SetAction(midi::Start);
}
void Send(MIDIOutput& out) {
  out.SetAction(midi::Start);
  out.SetAction(midi::Transmit);
  out.SetAction(midi::Stop);
}
}  // namespace

TEST_F(Transmit, ShortMessageLengthFollowsItsStatus) {
  MIDIOutput out;
  OpenOut(out);
  struct Case {
    std::uint8_t status;
    Message sent;
  };
  for (const Case& c : {Case{0x90, {0x90, 0x3C, 0x40}}, Case{0x8F, {0x8F, 0x3C, 0x40}}, Case{0xB0, {0xB0, 0x3C, 0x40}},
                        Case{0xE3, {0xE3, 0x3C, 0x40}}, Case{0xC5, {0xC5, 0x3C}}, Case{0xD0, {0xD0, 0x3C}},
                        Case{0xF1, {0xF1, 0x3C}}, Case{0xF2, {0xF2, 0x3C, 0x40}}, Case{0xF6, {0xF6}},
                        Case{0xF8, {0xF8}}, Case{0xFE, {0xFE}}}) {
    received.clear();
    out.SetMessageStatus(c.status);
    out.SetMessageData1(0x3C);
    out.SetMessageData2(0x40);
    Send(out);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], c.sent) << std::hex << int(c.status);
  }
}

TEST_F(Transmit, MessagesThatCannotBeSentAreRefused) {
  MIDIOutput out;
  OpenOut(out);
  for (std::uint8_t status : {0x00, 0x40, 0x7F, 0xF0, 0xF4, 0xF5, 0xF7}) {
    out.SetMessageStatus(status);
    EXPECT_EQ(CodeOf([&] { out.SetAction(midi::Transmit); }), midi::ErrBadParameter) << int(status);
  }
  out.SetMessageStatus(0x90);
  out.SetMessageData1(0x80);  // a data byte must stay below 80
  EXPECT_EQ(CodeOf([&] { out.SetAction(midi::Transmit); }), midi::ErrBadParameter);
  out.SetMessageData1(0x10);
  out.SetMessageData2(0xFF);
  EXPECT_EQ(CodeOf([&] { out.SetAction(midi::Transmit); }), midi::ErrBadParameter);
  out.SetMessageStatus(0xC0);  // two bytes: data 2 is not sent, so not checked
  out.SetAction(midi::Transmit);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], (Message{0xC0, 0x10}));
}

TEST_F(Transmit, LoadedSysExGoesOnceThenTheShortMessageAgain) {
  MIDIOutput out;
  OpenOut(out);
  const plat::Bytes sysex{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F, 0x11, 0x01, 0x01, 0x00, 0xF7};
  out.SetMessageStatus(0xF0);
  out.SetSysExMessage(sysex);
  Send(out);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], sysex.vec());

  // Nothing loaded since: the short message is sent; with status F0 that is refused.
  EXPECT_EQ(CodeOf([&] { out.SetAction(midi::Transmit); }), midi::ErrBadParameter);
  out.SetMessageStatus(0x90);
  out.SetMessageData1(0x3C);
  out.SetMessageData2(0x00);
  out.SetAction(midi::Release);  // as before an echo: harmless
  Send(out);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[1], (Message{0x90, 0x3C, 0x00}));

  // Loading again sends it again, even with a short-message status set.
  out.SetSysExMessage(sysex);
  Send(out);
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[2], sysex.vec());
}

TEST_F(Transmit, MalformedSysExIsRefusedAndNotSent) {
  MIDIOutput out;
  OpenOut(out);
  for (const plat::Bytes& bad : {plat::Bytes{}, plat::Bytes{0xF0}, plat::Bytes{0xF0, 0x01, 0x02},
                                 plat::Bytes{0x01, 0x02, 0xF7}, plat::Bytes{0xF0, 0x01, 0x80, 0xF7},
                                 plat::Bytes{0xF0, 0xF8, 0xF7}}) {
    out.SetSysExMessage(bad);
    EXPECT_EQ(CodeOf([&] { out.SetAction(midi::Transmit); }), midi::ErrBadParameter) << plat::ToHex(bad);
  }
  EXPECT_TRUE(received.empty());
  out.SetSysExMessage(plat::Bytes{0xF0, 0xF7});  // empty body: still a whole message
  out.SetAction(midi::Transmit);
  EXPECT_EQ(received.size(), 1u);
}

TEST_F(Transmit, LargeSysExReachesThePeerWhole) {
  MIDIOutput out;
  OpenOut(out);
  std::vector<std::uint8_t> big(16 * 1024 + 100, 0x55);
  big.front() = 0xF0;
  big.back() = 0xF7;
  out.SetSysExMessage(plat::Bytes(big));
  out.SetAction(midi::Transmit);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], big);
}

TEST_F(Transmit, WithoutAPeerMessagesVanish) {
  plat::loopback::Detach();
  MIDIOutput out;
  OpenOut(out);
  out.SetMessageStatus(0x90);
  out.SetAction(midi::Transmit);
  out.SetSysExMessage(plat::Bytes{0xF0, 0x01, 0xF7});
  out.SetAction(midi::Transmit);
  EXPECT_TRUE(received.empty());
}

// ---------------------------------------------------------------------------------------------
// Backend choice and a MIDI system that cannot start.

namespace {
// Points JACK at a server name nobody runs, for the life of the object.
class NoJackServer {
 public:
  NoJackServer() {
    if (const char* old = std::getenv("JACK_DEFAULT_SERVER")) old_ = old, had_ = true;
    setenv("JACK_DEFAULT_SERVER", ("tavoro-nobody-" + std::to_string(getpid())).c_str(), 1);
  }
  ~NoJackServer() {
    if (had_)
      setenv("JACK_DEFAULT_SERVER", old_.c_str(), 1);
    else
      unsetenv("JACK_DEFAULT_SERVER");
  }

 private:
  std::string old_;
  bool had_ = false;
};

void ExpectNoDevices() {
  MIDIInput in;
  MIDIOutput out;
  EXPECT_EQ(in.DeviceCount(), 0);
  EXPECT_EQ(out.DeviceCount(), 0);
  EXPECT_EQ(in.DeviceName(), "");
  EXPECT_EQ(out.DeviceName(), "");
  EXPECT_EQ(in.PortOpen(), 0);
  EXPECT_EQ(in.MessageCount(), 0);
  EXPECT_EQ(CodeOf([&] { in.SetDeviceID(0); }), midi::ErrBadDevice);
  EXPECT_EQ(CodeOf([&] { in.SetAction(midi::Open); }), midi::ErrBadDevice);
  EXPECT_EQ(CodeOf([&] { out.SetAction(midi::Open); }), midi::ErrBadDevice);
  EXPECT_EQ(CodeOf([&] { out.SetAction(midi::Transmit); }), midi::ErrNotOpen);
  in.SetAction(midi::Stop);
  in.SetAction(midi::Close);
  out.SetAction(midi::Stop);
  out.SetAction(midi::Close);
}
}  // namespace

TEST(MidiBackend, ChosenByOverrideThenEnvironment) {
  NoJackServer noServer;
  const char* env = std::getenv("TAVORO_MIDI_API");
  const std::string saved = env ? env : "";
  setenv("TAVORO_MIDI_API", "alsa", 1);
  plat::midi::SetBackendOverride("loopback");
  EXPECT_EQ(plat::midi::ChosenBackend(), "loopback");
  plat::midi::SetBackendOverride("");
  EXPECT_NE(plat::midi::ChosenBackend(), "loopback");
  setenv("TAVORO_MIDI_API", "LoopBack", 1);
  EXPECT_EQ(plat::midi::ChosenBackend(), "loopback");
  setenv("TAVORO_MIDI_API", saved.c_str(), 1);
}

TEST(MidiBackend, JackWithoutAServerHasNoDevicesAndNeverThrows) {
  NoJackServer noServer;
  plat::midi::SetBackendOverride("jack");
  EXPECT_FALSE(plat::midi::JackServerRunning());
  EXPECT_EQ(plat::midi::ChosenBackend(), "none");
  ExpectNoDevices();
  plat::midi::SetBackendOverride("");
}

TEST(MidiBackend, AlsaWithoutASequencerHasNoDevices) {
  if (plat::midi::AlsaSequencerPresent()) GTEST_SKIP() << "this machine has an ALSA sequencer";
  plat::midi::SetBackendOverride("alsa");
  EXPECT_EQ(plat::midi::ChosenBackend(), "none");
  ExpectNoDevices();
  // Even built directly, the RtMidi ports of a system that cannot start stay quiet.
  auto in = plat::midi::MakeRtMidiInPort(false);
  EXPECT_EQ(in->Count(), 0);
  EXPECT_EQ(in->Name(0), "");
  EXPECT_THROW(in->Open(0, {}, {}), plat::MidiControlError);
  plat::midi::SetBackendOverride("");
}

TEST(MidiBackend, AutomaticChoiceFallsBackWithoutJack) {
  NoJackServer noServer;
  const char* env = std::getenv("TAVORO_MIDI_API");
  const std::string saved = env ? env : "";
  unsetenv("TAVORO_MIDI_API");
  const std::string chosen = plat::midi::ChosenBackend();
  setenv("TAVORO_MIDI_API", saved.c_str(), 1);
  EXPECT_EQ(chosen, plat::midi::AlsaSequencerPresent() ? "alsa" : "none");
}

TEST(MidiErrorText, KnownCodesHaveTextOthersNone) {
  for (int code : {midi::ErrFailed, midi::ErrBadDevice, midi::ErrAllocated, midi::ErrNotOpen, midi::ErrQueueFull,
                   midi::ErrBadParameter})
    EXPECT_FALSE(midi::ErrorText(code).empty()) << code;
  EXPECT_TRUE(midi::ErrorText(0).empty());
  EXPECT_TRUE(midi::ErrorText(65).empty());
}
