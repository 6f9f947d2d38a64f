// Opening the MIDI ports on the device numbers of the settings.
#include "link/link.h"

namespace tavoro {

namespace {
constexpr std::uint8_t kStatusF9 = 0xF9;
constexpr std::uint8_t kActiveSense = 0xFE;
constexpr std::uint8_t kClock = 0xF8;
}  // namespace

bool Link::OpenInputDevice() {
  return Trap(*this, "OpenInputDevice()", "Error opening MIDI input device", false, [&] {
    const std::string name = settings.InDeviceName;
    Trace("OpenInputDevice()");
    if (ctlMIDIin.PortOpen() >= 1) {
      Trace("OpenInputDevice(): " + name, " Device already open.");
      Trace("OpenInputDevice(): MIDIIN_STOP.");
      InAction(plat::midi::Stop);
      Trace("OpenInputDevice(): MIDIIN_CLOSE " + name);
      InAction(plat::midi::Close);
      Trace("OpenInputDevice(): FILTER_F9 False");
      InFilter(kStatusF9, false);
      Trace("OpenInputDevice(): FILTER_ACTIVE_SENSE False");
      InFilter(kActiveSense, false);
      Trace("OpenInputDevice(): FILTER_CLOCK False");
      InFilter(kClock, false);
    }
    InDevice(settings.InDeviceId);
    Trace("OpenInputDevice(): MIDIIN_OPEN " + name);
    InAction(plat::midi::Open);
    Trace("OpenInputDevice(): MIDIIN_START " + name);
    InAction(plat::midi::Start);
    Trace("OpenInputDevice(): FILTER_F9 True " + name);
    InFilter(kStatusF9, true);
    Trace("OpenInputDevice(): FILTER_ACTIVE_SENSE True " + name);
    InFilter(kActiveSense, true);
    Trace("OpenInputDevice(): FILTER_CLOCK True " + name);
    InFilter(kClock, true);
    return true;
  });
}

bool Link::OpenOutputDevice() {
  return Trap(*this, "OpenOutputDevice()", "Error opening MIDI output device", false, [&] {
    const std::string name = settings.OutDeviceName;
    Trace("OpenOutputDevice()");
    if (ctlMIDIout.DeviceID() == -1 || ctlMIDIout.PortOpen() >= 1) {
      Trace("OpenOutputDevice(): " + name + " Device already open.");
      Trace("OpenOutputDevice(): MIDIOUT_STOP " + name);
      OutAction(plat::midi::Stop);
      Trace("OpenOutputDevice(): MIDIOUT_CLOSE " + name);
      OutAction(plat::midi::Close);
    }
    OutDevice(settings.OutDeviceId);
    Trace("OpenOutputDevice(): MIDIOUT_OPEN " + name);
    OutAction(plat::midi::Open);
    return true;
  });
}

}  // namespace tavoro
