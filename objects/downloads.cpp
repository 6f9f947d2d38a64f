#include "objects/downloads.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "link/trap.h"
#include "platform/text.h"
#include "platform/ui/message_box.h"
#include "platform/ui/wait.h"

namespace tavoro {

namespace {

constexpr int kHourglass = 11, kDefaultPointer = 0;

// The texts and the own status panel of each object kind.
struct KindRow {
  const char* trace;     // bulk download, start-up trace
  const char* checking;  // bulk download, panel 7 while the status is read
  const char* loading;   // bulk download, panel 7 before the number
  int panel;             // the kind's own status panel
  const char* none;      // that panel when the kind has no objects
  const char* prompt;    // single download, empty number box
  const char* heading;   // single download, no objects: the box's heading...
  const char* missing;   // ...and its message
};

constexpr std::array<KindRow, 5> kRows = {{
    {"AllObjectsDump(): Downloading Wave data.", "Checking Wave status...", "Downloading Wave w#", kPanelWave, "w# -",
     "Please select a Wave number to download", "Download wave Object",
     "There are no Wave Objects loaded into the Vesk"},
    {"AllObjectsDump(): Downloading Tone data.", "Checking Tone status...", "Downloading Tone t#", kPanelTone, "t# -",
     "Please select a Tone number to download", "Download Tone Object",
     "There are no Tone Objects loaded into the Vesk"},
    {"AllObjectsDump(): Downloading Map data.", "Checking Map status...", "Downloading Map m#", kPanelMap, "m# -",
     "Please select a map number to download", "Download map Object", "There are no Map Objects loaded into the Vesk"},
    {"AllObjectsDump(): Downloading Preset data.", "Checking Preset status...", "Downloading Preset p#", kPanelPreset,
     "p# -", "Please select a Preset number to download", "Download Preset Object",
     "There are no Preset Objects loaded into the Vesk"},
    {"AllObjectsDump(): Downloading Multi data.", "Checking Multi status...", "Downloading Multi mu#", kPanelMulti,
     "mu# -", "Please select a Multi number to download", "", ""},
}};

bool KindObjDump(ObjectTransfer& x, ObjType kind, std::int16_t number) {
  switch (kind) {
    case ObjType::Wave: return x.WaveObjDump(number);
    case ObjType::Tone: return x.ToneObjDump(number);
    case ObjType::Map: return x.MapObjDump(number);
    case ObjType::Preset: return x.PresetObjDump(number);
    case ObjType::Multi: return x.MultiObjDump(number);
    default: throw std::out_of_range("object kind " + std::to_string(Code(kind)));
  }
}

const std::string& RecordName(const ObjectStore& s, ObjType kind) {
  switch (kind) {
    case ObjType::Wave: return s.CurWave.Name;
    case ObjType::Tone: return s.CurTone.Name;
    case ObjType::Map: return s.CurMap.Name;
    case ObjType::Preset: return s.CurPreset.Name;
    case ObjType::Multi: return s.CurMulti.Name;
    default: throw std::out_of_range("object kind " + std::to_string(Code(kind)));
  }
}

// The number box's text as a decimal 16-bit number; anything else is a failure of the download.
std::int16_t ObjectNumber(const std::string& text) {
  if (const auto n = plat::ParseInt16(text)) return *n;
  throw std::invalid_argument("'" + text + "' is not an object number");
}

void EnableDelete(DownloadHost& host, bool on) {
  host.SetCommandEnabled(DownloadHost::Command::DeleteObject, on);
  host.SetCommandEnabled(DownloadHost::Command::DeleteMenu, on);
}

void EnableStereoMerge(DownloadHost& host, bool on) {
  host.SetCommandEnabled(DownloadHost::Command::StereoMerge, on);
  host.SetCommandEnabled(DownloadHost::Command::StereoMergeMenu, on);
}

void ShowBankName(ObjectTransfer& x) {
  x.link().host.SetPanelText(kPanelActivity, CurrentBankText(x.store().GlobalData));
}

void ReadGlobalData(ObjectTransfer& x, DownloadHost& host) {
  if (x.GlobalObjDump()) host.LoadDisplay(Code(ObjType::Global));
}

// One kind of the bulk download: status, and when the kind has objects its directory and the
// object with the lowest number in use.
void DumpFirstObject(ObjectTransfer& x, DownloadHost& host, ObjType kind) {
  Link& link = x.link();
  ObjectStore& s = x.store();
  const KindRow& row = kRows[Code(kind)];
  KindStore k = StoreOf(s, kind);

  link.trace.Line(row.trace);
  link.host.SetPanelText(kPanelActivity, row.checking);
  k.Status = x.GetObjDirStatus(Code(kind));
  link.host.SetPanelText(kPanelFreeRam, FreeRamText(s.FreeRamKw));

  if (!k.Loaded) {
    EnableDelete(host, false);
    host.SetObjectNameLocked(true);
    host.SetObjectNumLocked(true);
    if (kind == ObjType::Wave) EnableStereoMerge(host, false);
    link.host.SetPanelText(row.panel, row.none);
    host.ClearObjDisplay(Code(kind));
    return;
  }

  if (kind == ObjType::Preset) s.PresetLayerSel = 0;
  k.Dir = x.GetObjDir(Code(kind));
  // Until an entry is found the index designates none, so nothing later reads a stale position.
  k.DirIdx = -1;
  const std::size_t count = std::min(k.Dir.Entries.size(), static_cast<std::size_t>(std::max<int>(k.Dir.Count, 0)));
  for (std::size_t i = 0; i < count; ++i) {
    if (k.Dir.Entries[i].Number == k.Status.LowestNum) {
      k.DirIdx = static_cast<std::int16_t>(i);
      break;
    }
  }
  if (k.DirIdx < 0)
    throw std::runtime_error("no directory entry carries the lowest number " + std::to_string(k.Status.LowestNum));

  const std::int16_t number = k.Dir.Entries[static_cast<std::size_t>(k.DirIdx)].Number;
  link.host.SetPanelText(kPanelActivity, row.loading + std::to_string(number) + "...");
  const bool dumped = KindObjDump(x, kind, number);
  // A Map is shown only with its Tones known.
  if (dumped && (kind != ObjType::Map || s.ToneLoaded)) host.LoadDisplay(Code(kind));
  EnableDelete(host, true);
  if (kind == ObjType::Wave) EnableStereoMerge(host, true);
}

}  // namespace

std::string FreeRamText(std::int32_t freeRamKw) { return "Free RAM: " + std::to_string(freeRamKw) + " kw"; }

std::string CurrentBankText(const GlobalRecord& global) {
  return global.BankName.empty() ? std::string("Current Bank: -") : "Current Bank: " + global.BankName;
}

bool AllObjectsDump(ObjectTransfer& x, DownloadHost& host) {
  Link& link = x.link();
  auto offline = [&] { link.host.SetPanelText(kPanelLinkState, "OFFLINE"); };
  auto onError = [&] {
    host.SetMousePointer(kDefaultPointer);
    RunErrorPath(link, "AllObjectsDump()", "Error Downloading requested object");
  };
  return TrapWith(onError, false, [&] {
    link.trace.Line("AllObjectsDump()");
    if (link.LinkState == -1) {
      offline();
      return false;
    }
    host.SetMousePointer(kHourglass);
    for (ObjType kind : {ObjType::Wave, ObjType::Tone, ObjType::Map, ObjType::Preset, ObjType::Multi}) {
      if (plat::WaitsEnding()) {  // the program is closing: nothing more is read or shown
        host.SetMousePointer(kDefaultPointer);
        return false;
      }
      DumpFirstObject(x, host, kind);
      if (link.LinkState == -1) {
        offline();
        host.SetMousePointer(kDefaultPointer);
        return false;
      }
    }
    link.trace.Line("AllObjectsDump(): Downloading Global data.");
    link.host.SetPanelText(kPanelActivity, "Downloading Global data...");
    ReadGlobalData(x, host);
    ShowBankName(x);
    host.SetMousePointer(kDefaultPointer);
    return true;
  });
}

void ObjectDownload(ObjectTransfer& x, DownloadHost& host, std::uint8_t ObjType) {
  if (!IsObjectKind(ObjType)) return;
  Link& link = x.link();
  ObjectStore& s = x.store();
  const auto kind = static_cast<tavoro::ObjType>(ObjType);
  const KindRow& row = kRows[ObjType];
  Trap(link, "ObjectDownload() ", "Error uploading data object to Vesk", false, [&] {
    KindStore k = StoreOf(s, kind);
    k.Status = x.GetObjDirStatus(ObjType);
    link.host.SetPanelText(kPanelFreeRam, FreeRamText(s.FreeRamKw));

    if (!k.Loaded) {
      if (kind == ObjType::Multi) {
        host.SetObjectNameLocked(true);
        host.SetObjectNumLocked(true);
        host.ClearObjDisplay(ObjType);
        ReadGlobalData(x, host);
      } else {
        MidiErrorMsg(-1, row.heading, row.missing);
      }
      return false;
    }

    k.Dir = x.GetObjDir(ObjType);
    const std::string typed = host.ObjectNumText();
    if (typed.empty()) {
      plat::BoxRequest box;
      box.text = row.prompt;
      plat::ShowMessageBox(box);
      host.SetObjectNumLocked(false);
      return false;
    }
    // The number typed is read whether or not the directory holds it.
    KindObjDump(x, kind, ObjectNumber(typed));
    if (kind == ObjType::Multi) ReadGlobalData(x, host);

    // The page shows the record as it now stands, also when the dump failed.
    host.LoadDisplay(ObjType);
    host.SetObjectNameLocked(false);
    host.SetObjectNumLocked(false);
    if (k.DirIdx < 0 || static_cast<std::size_t>(k.DirIdx) >= k.Dir.Entries.size())
      throw std::out_of_range("directory index " + std::to_string(k.DirIdx) + " designates no entry");
    host.SetObjectNumText(std::to_string(k.Dir.Entries[static_cast<std::size_t>(k.DirIdx)].Number));
    host.SetObjectNameText(plat::Trim(RecordName(s, kind)));

    const std::string label = host.PageLabel();
    for (int panel = kPanelPreset; panel <= kPanelMulti; ++panel) {
      if (host.PanelTag(panel) == label) {
        link.host.SetPanelText(panel, label + " " + host.ObjectNumText());
        break;
      }
    }
    ShowBankName(x);
    host.SetObjectNumForeColor(0);
    return true;
  });
}

}  // namespace tavoro
