#include "link/startup.h"

#include <stdexcept>
#include <string>

#include "platform/ui/message_box.h"

namespace tavoro {

namespace {

constexpr int kProdTimeoutMs = 5000;

void ShowFatalBox() {
  plat::BoxRequest box;
  box.text = kCannotInitialiseMidi;
  box.icon = plat::BoxIcon::Critical;
  box.buttons = plat::BoxButtons::Ok;
  plat::ShowMessageBox(box);
}

void SetOnline(Link& link, StartupHost& host) {
  link.LinkState = 1;
  link.host.SetPanelText(kPanelLinkState, "ONLINE");
  host.SetCommandEnabled(StartupHost::Command::LoadBank, true);
}

}  // namespace

InitResult Initialise(Link& link, StartupHost& host) {
  // While the MIDI check phase is on, any failure is fatal; outside it, a failure takes the
  // general error path.
  bool midiCheck = false;
  try {
    link.trace.Line("Initialise()");
    link.SysExHeader = MakeSysExHeader();

    midiCheck = true;
    if (link.ctlMIDIin.DeviceCount() <= 0) throw std::runtime_error("no MIDI input device");
    if (link.ctlMIDIout.DeviceCount() <= 0) throw std::runtime_error("no MIDI output device");
    midiCheck = false;

    link.GetRegistry();

    midiCheck = true;
    if (!link.OpenInputDevice()) throw std::runtime_error("MIDI input cannot be opened");
    if (!link.OpenOutputDevice()) throw std::runtime_error("MIDI output cannot be opened");
    midiCheck = false;

    link.trace.Line("Initialise(): Initialising arrays.");
    host.SetWaveScrollIndex(-1);
    host.BuildControlLists();

    const plat::Bytes prod = link.Frame(FrontPanelKey(0));
    link.trace.Line("Initialise(): Prodding Vesk");
    link.MidiOutLongMsg(prod);
    const VeskResponse reply = link.GetVeskResponse(kProdTimeoutMs, kStatusMode);
    link.MidiInBusy = false;
    link.ledMIDIin.SetValue(false);

    if (!reply.Accepted()) {
      link.trace.Line("Initialise(): Vesk Not responding to prod.");
      link.LinkState = -1;
      link.host.SetPanelText(kPanelLinkState, "OFFLINE");
      for (std::uint8_t kind : {0, 1, 2, 3, 4, 18}) host.ClearObjDisplay(kind);
      host.SetCommandEnabled(StartupHost::Command::DeleteObject, false);
      host.SetCommandEnabled(StartupHost::Command::DeleteMenu, false);
      host.SetCommandEnabled(StartupHost::Command::StereoMerge, false);
      host.SetCommandEnabled(StartupHost::Command::StereoMergeMenu, false);
      return InitResult::Offline;
    }

    link.trace.Line("Initialise(): Vesk responded to prod.");
    SetOnline(link, host);
    if (!host.AllObjectsDump()) return InitResult::Failed;
    // The downloads may have found the link gone meanwhile; start-up leaves it online.
    SetOnline(link, host);
    host.SetSuppressChange(true);
    host.Tavorotab_Click();
    host.SetSuppressChange(false);
    link.host.SetPanelText(6, "Free RAM: " + std::to_string(host.FreeRamKw()) + " kw");
    return InitResult::Online;
  } catch (...) {
    if (midiCheck) {
      ShowFatalBox();
      return InitResult::Fatal;
    }
    RunErrorPath(link, "Initialise()", " Initialisation error");
    return InitResult::Failed;
  }
}

}  // namespace tavoro
