// tavoro-linkdemo: starts the instrument link the way the editor does and prints what it did:
// reads the settings, opens the MIDI ports, prods the instrument with the front-panel key 0,
// reports ONLINE or OFFLINE, writes the settings back and closes the ports.
//
//   tavoro-linkdemo [--device NAME]
//
// NAME (default "Vesk Emulator") picks the ports when the settings name none yet. The MIDI
// system and the settings location come from TAVORO_MIDI_API and TAVORO_REGISTRY_DIR.
// Message boxes are printed instead of shown. Exit status: 0 online, 1 no usable MIDI port,
// 2 bad arguments, 3 offline.
#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "link/link.h"
#include "platform/registry/registry.h"
#include "platform/ui/message_box.h"

namespace {

using namespace tavoro;

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::string OneLine(std::string text) {
  for (std::size_t p; (p = text.find("\r\n")) != std::string::npos;) text.replace(p, 2, " / ");
  return text;
}

class ConsoleHost : public LinkHost {
 public:
  void SetPanelText(int panel, const std::string& text) override {
    Say("status bar panel " + std::to_string(panel) + ": " + text);
  }
  bool ProgressWindowActive() override { return false; }
  void UnloadProgressWindow() override {}
};

// The first device whose name contains `part`, or -1.
template <class Control>
int FindDevice(Control& control, int first, const std::string& part) {
  for (int k = first; k < control.DeviceCount(); ++k) {
    control.SetDeviceID(k);
    if (control.DeviceName().find(part) != std::string::npos) return k;
  }
  return -1;
}

// When the settings name no MIDI ports yet, stores the ports of the device asked for, so the
// link's own settings reading finds them by name.
void RememberPorts(plat::MIDIInput& in, plat::MIDIOutput& out, const std::string& device) {
  namespace reg = plat::reg;
  const std::string path = std::string(kRegistryBase) + std::string(kMidiInterfaceKey);
  reg::HKEY key = 0;
  if (reg::RegCreateKeyEx(reg::HKEY_CURRENT_USER, path, 0, kRegistryKeyClass, 0, reg::KEY_ALL_ACCESS, &key,
                          nullptr) != reg::ERROR_SUCCESS)
    return;
  RegValue v;
  if (ReadRegValue(key, "Input", v) != 0 || !RegText(v)) {
    if (int k = FindDevice(in, 0, device); k >= 0) {
      WriteRegValue(key, "Input", reg::REG_SZ, in.DeviceName());
      Say("settings: input port set to \"" + in.DeviceName() + "\"");
    }
  }
  if (ReadRegValue(key, "Output", v) != 0 || !RegText(v)) {
    if (int k = FindDevice(out, 0, device); k >= 0) {
      WriteRegValue(key, "Output", reg::REG_SZ, out.DeviceName());
      Say("settings: output port set to \"" + out.DeviceName() + "\"");
    }
  }
  reg::RegCloseKey(key);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("Tavoro");
  std::string device = "Vesk Emulator";
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--device" && i + 1 < argc) {
      device = argv[++i];
    } else {
      std::fprintf(stderr, "usage: tavoro-linkdemo [--device NAME]\n");
      return 2;
    }
  }
  plat::SetMessageBoxHandler([](const plat::BoxRequest& box) {
    Say("message box: " + OneLine(box.text));
    return plat::BoxResult::Ok;
  });

  plat::MIDIInput in;
  plat::MIDIOutput out;
  plat::PlainLamp ledIn, ledOut;
  ConsoleHost host;
  StartupTrace trace;
  Link link(LinkParts{in, out, ledIn, ledOut, host, trace});

  Say("settings: " + plat::reg::RegistryDirectory());
  Say("MIDI: " + std::to_string(in.DeviceCount()) + " input and " + std::to_string(out.DeviceCount()) +
      " output devices");
  for (int k = 0; k < in.DeviceCount(); ++k) {
    in.SetDeviceID(k);
    Say("  input " + std::to_string(k) + ": " + in.DeviceName());
  }
  for (int k = 0; k < out.DeviceCount(); ++k) {
    out.SetDeviceID(k);
    Say("  output " + std::to_string(k) + ": " + out.DeviceName());
  }
  if (in.DeviceCount() == 0 || out.DeviceCount() == 0) {
    Say("Cannot initialise MIDI interface(s)...Exiting");
    return 1;
  }

  RememberPorts(in, out, device);
  link.GetRegistry();
  const Settings& s = link.settings;
  Say("settings read: input " + std::to_string(s.InDeviceId) + " \"" + s.InDeviceName + "\", output " +
      std::to_string(s.OutDeviceId) + " \"" + s.OutDeviceName + "\", SysEx device id " +
      std::to_string(s.SysExDeviceId) + ", MIDI Thru " + std::to_string(s.MidiThru));

  if (!link.OpenInputDevice() || !link.OpenOutputDevice()) {
    Say("Cannot initialise MIDI interface(s)...Exiting");
    return 1;
  }
  Say("ports open");

  const plat::Bytes prod = link.Frame(FrontPanelKey(0));
  Say("prod: " + plat::ToHex(prod));
  link.MidiOutLongMsg(prod);
  const VeskResponse r = link.GetVeskResponse(5000, kStatusMode);
  link.MidiInBusy = false;
  ledIn.SetValue(false);
  if (r.GotReply()) Say("reply: " + plat::ToHex(r.reply));
  Say("status: " + (r.text.empty() ? std::string("(none)") : r.text) +
      (r.status && *r.status != 0 ? " (" + std::string(StatusText(*r.status)) + ")" : ""));
  link.LinkState = r.Accepted() ? 1 : -1;
  host.SetPanelText(kPanelLinkState, r.Accepted() ? "ONLINE" : "OFFLINE");

  link.SetRegistry();
  Say("settings written");
  in.SetAction(plat::midi::Stop);
  in.SetAction(plat::midi::Close);
  out.SetAction(plat::midi::Stop);
  out.SetAction(plat::midi::Close);
  Say("ports closed");
  return r.Accepted() ? 0 : 3;
}
