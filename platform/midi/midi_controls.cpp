// Placeholder: controls with no devices until the backends are written.
#include "platform/midi/midi_controls.h"

namespace plat {

struct MIDIInput::Impl {};
MIDIInput::MIDIInput(QObject* parent) : QObject(parent), d_(std::make_unique<Impl>()) {}
MIDIInput::~MIDIInput() = default;
void MIDIInput::SetAction(int) { throw MidiControlError(2, "no MIDI input device"); }
int MIDIInput::DeviceID() const { return 0; }
void MIDIInput::SetDeviceID(int) {}
std::string MIDIInput::DeviceName() const { return {}; }
int MIDIInput::DeviceCount() const { return 0; }
int MIDIInput::PortOpen() const { return 0; }
void MIDIInput::SetFilter(std::uint8_t, bool) {}
bool MIDIInput::Filter(std::uint8_t) const { return false; }
int MIDIInput::MessageCount() const { return 0; }
std::uint8_t MIDIInput::MessageStatus() const { return 0; }
std::uint8_t MIDIInput::MessageData1() const { return 0; }
std::uint8_t MIDIInput::MessageData2() const { return 0; }
Bytes MIDIInput::SysExMessage() const { return {}; }

struct MIDIOutput::Impl {};
MIDIOutput::MIDIOutput(QObject* parent) : QObject(parent), d_(std::make_unique<Impl>()) {}
MIDIOutput::~MIDIOutput() = default;
void MIDIOutput::SetAction(int) { throw MidiControlError(2, "no MIDI output device"); }
int MIDIOutput::DeviceID() const { return 0; }
void MIDIOutput::SetDeviceID(int) {}
std::string MIDIOutput::DeviceName() const { return {}; }
int MIDIOutput::DeviceCount() const { return 0; }
int MIDIOutput::PortOpen() const { return 0; }
void MIDIOutput::SetMessageStatus(std::uint8_t) {}
void MIDIOutput::SetMessageData1(std::uint8_t) {}
void MIDIOutput::SetMessageData2(std::uint8_t) {}
void MIDIOutput::SetSysExMessage(const Bytes&) {}

}  // namespace plat
