#include "mainwindow/map_handlers.h"

#include <string>

#include "editing/map_senders.h"
#include "editing/page_fillers.h"
#include "editing/sender_support.h"
#include "mainwindow/dir_walk.h"
#include "mainwindow/main_window.h"
#include "objects/transfer.h"

namespace tavoro {

using plat::ctl::TextBox;

namespace {

constexpr int kZoneBox = 0, kToneBox = 1, kToneNameBox = 2, kLowKeyBox = 3, kHighKeyBox = 4, kLowNameBox = 5,
              kHighNameBox = 6, kVolumeBox = 7, kTransposeBox = 8, kPanBox = 9, kGroupBox = 10;
constexpr std::int16_t kToneNumPos = 22;
constexpr std::uint8_t kZoneNibbles = 2;
constexpr int kSignedHighest = 127;  // a signed byte field shows values above this as negative

// Where each zone field lies in the whole Map's dump: zone k starts at 84 + 32k.
constexpr int kZonesStart = 84, kZoneStride = 32;
constexpr int kOutputOffset = 14, kKeyModeOffset = 16, kGroupOffset = 18;
constexpr std::int16_t kFixedKeys = 8;   // KeyMode of a zone that plays at a fixed pitch
constexpr std::int16_t kExclusive = 16;  // GroupByte's high nibble 1: the group is exclusive

// The zone boxes the sender commits: field, zone-message position and sign.
struct ZoneBox {
  int index;
  std::int16_t MapZone::*field;
  std::int16_t position;
  std::uint8_t isUnsigned;
};
constexpr ZoneBox kZoneBoxes[] = {{kLowKeyBox, &MapZone::LowKey, 24, 1},   {kHighKeyBox, &MapZone::HighKey, 26, 1},
                                  {kVolumeBox, &MapZone::Volume, 30, 1},   {kTransposeBox, &MapZone::Transpose, 28, 0},
                                  {kPanBox, &MapZone::Pan, 32, 0},         {kGroupBox, &MapZone::GroupByte, 38, 1}};

const ZoneBox* ZoneBoxOf(int Index) {
  for (const ZoneBox& b : kZoneBoxes)
    if (b.index == Index) return &b;
  return nullptr;
}

int Signed(int v) { return v > kSignedHighest ? v - 256 : v; }

std::string Trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

MapHandlers::MapHandlers(EditProtocol& edit, frmMain& window) : edit_(edit), window_(window), pages_(window.pages) {}

MapZone* MapHandlers::Zone() {
  ObjectStore& s = edit_.store();
  const int k = s.CurZoneIdx;
  if (k < 0 || k >= static_cast<int>(s.CurMap.Zones.size())) return nullptr;
  return &s.CurMap.Zones[static_cast<std::size_t>(k)];
}

void MapHandlers::txtMap_KeyPress(int Index, int& KeyAscii) {
  if (Index == kToneNameBox || Index == kLowNameBox || Index == kHighNameBox || !pages_.txtMap.Exists(Index)) {
    KeyAscii = 0;  // names only show
    return;
  }
  const BoxKeys keys = Index == kTransposeBox || Index == kPanBox ? BoxKeys::Signed : BoxKeys::Unsigned;
  edit_.KeyPress(pages_.txtMap(Index), KeyAscii, keys, [this, Index] { txtMap_Change(Index); });
}

void MapHandlers::txtMap_Change(int Index) {
  if (!pages_.txtMap.Exists(Index)) return;
  TextBox& box = pages_.txtMap(Index);
  if (!edit_.CommitsFromAnyPaired(box)) return;
  const bool enter = edit_.flags().LastKeyAscii == EditProtocol::kEnter;
  if (Zone() == nullptr) return;  // no Map held: nothing to edit

  EditContext ctx = edit_.Context();
  if (Index == kZoneBox) {
    Change_MapParm(ctx, box, pages_.spnMap(kZoneBox), nullptr, 0, 0, 1);
    window_.hsbKey_Change();
    return;
  }
  if (Index == kToneBox) {
    CommitTone(enter);
    return;
  }
  const ZoneBox* b = ZoneBoxOf(Index);
  if (b == nullptr) return;
  plat::ctl::Control& paired = Index == kVolumeBox ? static_cast<plat::ctl::Control&>(pages_.sldMap(Index))
                               : Index == kPanBox  ? static_cast<plat::ctl::Control&>(pages_.sldMapH(Index))
                                                   : static_cast<plat::ctl::Control&>(pages_.spnMap(Index));
  if (Change_MapParm(ctx, box, paired, b->field, b->position, kZoneNibbles, b->isUnsigned))
    edit_.Transfer().MapZoneObjDump();
  // The zones' key ranges may have changed.
  if (Index == kLowKeyBox || Index == kHighKeyBox) window_.hsbKey_Change();
}

void MapHandlers::CommitTone(bool enter) {
  TextBox& box = pages_.txtMap(kToneBox);
  ObjectStore& s = edit_.store();
  EditFlags& f = edit_.flags();
  auto refill = [&] {
    f.LastKeyAscii = 0;
    if (const MapZone* z = Zone()) edit_.WriteShown(box, std::to_string(z->ToneNum));
  };
  const auto typed = LeadingNumber(box.Text());
  if (!typed) {
    if (enter) refill();
    return;
  }
  int v = static_cast<int>(*typed);
  if (enter) {
    // A number that holds no Tone selects the next Tone above it, within the numbers in use.
    const auto found = ExistingAtOrAbove(s.ToneDir, s.ToneStatus, v);
    if (!found) {
      refill();  // no Tone to choose from
      return;
    }
    v = *found;
    if (LeadingNumber(box.Text()) != v) edit_.WriteShown(box, std::to_string(v));
  }
  MapZone* zone = Zone();
  if (zone == nullptr) return;
  const std::int16_t old = zone->ToneNum;
  const std::string oldName = pages_.txtMap(kToneNameBox).Text();
  zone->ToneNum = static_cast<std::int16_t>(v);
  for (const DirEntry& e : s.ToneDir.Entries) {
    if (e.Number != v) continue;
    edit_.WriteQuietly(pages_.txtMap(kToneNameBox), Trimmed(e.Name));
    break;
  }
  f.LastKeyAscii = 0;
  ObjectTransfer t = edit_.Transfer();
  if (t.ObjectUpload(ObjType::MapZone, s.CurMap.Number, static_cast<std::int16_t>(v), kToneNumPos, kZoneNibbles,
                     true)) {
    box.SetForeColor(EditProtocol::kShownColour);
    t.MapZoneObjDump();
    return;
  }
  // Refused: the zone keeps the Tone the instrument holds; the box shows the choice in red.
  if (MapZone* z = Zone()) z->ToneNum = old;
  box.SetForeColor(EditProtocol::kEditColour);
  edit_.WriteQuietly(pages_.txtMap(kToneNameBox), oldName);
}

void MapHandlers::txtMap_LostFocus(int Index) {
  const MapZone* z = Zone();
  if (z == nullptr || !pages_.txtMap.Exists(Index)) return;
  int stored = 0;
  switch (Index) {
    case kZoneBox: stored = edit_.store().CurZoneIdx; break;
    case kToneBox: stored = z->ToneNum; break;
    case kLowKeyBox: stored = z->LowKey; break;
    case kHighKeyBox: stored = z->HighKey; break;
    case kVolumeBox: stored = z->Volume; break;
    case kTransposeBox: stored = Signed(z->Transpose); break;
    case kPanBox: stored = Signed(z->Pan); break;
    case kGroupBox: stored = z->GroupByte & 15; break;
    default: return;  // the names are never refilled
  }
  edit_.RefillIfEmpty(pages_.txtMap(Index), std::to_string(stored));
}

void MapHandlers::sldMap_Change(int Index) {
  edit_.SliderChange(pages_.sldMap, pages_.txtMap, Index, [this, Index] { txtMap_Change(Index); });
}

void MapHandlers::sldMap_Scroll(int Index) { edit_.SliderScroll(pages_.sldMap, pages_.txtMap, Index); }

void MapHandlers::sldMapH_Change(int Index) {
  edit_.SliderChange(pages_.sldMapH, pages_.txtMap, Index, [this, Index] { txtMap_Change(Index); });
}

void MapHandlers::sldMapH_Scroll(int Index) { edit_.SliderScroll(pages_.sldMapH, pages_.txtMap, Index); }

void MapHandlers::Spin(int Index, int direction) {
  if (edit_.Busy() || !pages_.txtMap.Exists(Index)) return;
  TextBox& box = pages_.txtMap(Index);
  const auto shown = LeadingNumber(box.Text());
  if (!shown) return;  // an empty box does not step
  if (Index == kToneBox) {
    StepBoxToExisting(edit_, box, ObjType::Tone, *shown, direction, "Load Tone Object",
                      "There are no Tone Objects loaded into the Vesk");
    return;
  }
  long low = 0, high = 0;
  switch (Index) {
    case kZoneBox: high = edit_.store().CurMap.LastZone; break;
    case kLowKeyBox:
    case kHighKeyBox: high = 127; break;
    case kTransposeBox: low = -127, high = 127; break;
    case kGroupBox: high = 7; break;
    default: return;
  }
  StepWithin(box, *shown, direction, low, high);
}

void MapHandlers::spnMap_SpinDown(int Index) { Spin(Index, -1); }
void MapHandlers::spnMap_SpinUp(int Index) { Spin(Index, +1); }

void MapHandlers::optMap_Click(int Index) {
  if (edit_.Busy() || edit_.flags().SuppressChange) return;
  MapZone* zone = Zone();
  if (zone == nullptr) return;
  // Each option sets its own state: a click on the option already shown sends nothing.
  std::int16_t MapZone::*field = nullptr;
  std::int16_t wanted = 0;
  std::int16_t sent = 0;
  int offset = 0;
  switch (Index) {
    case 0:
    case 1:
      field = &MapZone::Output, wanted = static_cast<std::int16_t>(Index), sent = wanted, offset = kOutputOffset;
      break;
    case 2:
    case 3:
      field = &MapZone::KeyMode, wanted = Index == 3 ? kFixedKeys : 0;
      sent = static_cast<std::int16_t>(wanted * 16);  // the key mode is the zone byte's high nibble
      offset = kKeyModeOffset;
      break;
    case 4:
    case 5:
      field = &MapZone::GroupByte;
      wanted = static_cast<std::int16_t>(Index == 4 ? (zone->GroupByte | kExclusive) : (zone->GroupByte & ~kExclusive));
      sent = wanted, offset = kGroupOffset;
      break;
    default: return;
  }
  const std::int16_t old = zone->*field;
  if (old == wanted) return;
  ObjectStore& s = edit_.store();
  const int k = s.CurZoneIdx;
  zone->*field = wanted;
  EditFlags& f = edit_.flags();
  f.SendPending = true;
  const bool accepted = edit_.Transfer().ObjectUpload(ObjType::Map, s.CurMap.Number, sent,
                                                      static_cast<std::int16_t>(kZonesStart + kZoneStride * k + offset),
                                                      kZoneNibbles, true);
  f.SendPending = false;
  if (accepted) {
    edit_.ReadBack(ObjType::Map);
    // Reading a Map starts at its first zone; the page stays on the zone being edited.
    if (k > 0 && k <= s.CurMap.LastZone && k < static_cast<int>(s.CurMap.Zones.size())) {
      s.CurZoneIdx = static_cast<std::int16_t>(k);
      EditContext ctx = edit_.Context();
      LoadMapDisplay(ctx);
    }
    return;
  }
  // Refused: the zone and its options show what the instrument holds.
  if (MapZone* z = Zone()) z->*field = old;
  ShowOptions();
}

void MapHandlers::ShowOptions() {
  const MapZone* z = Zone();
  if (z == nullptr) return;
  EditFlags& f = edit_.flags();
  SelectOptionQuietly(f, pages_.optMap, 0, 2, z->Output);
  SelectOptionQuietly(f, pages_.optMap, 2, 2, z->KeyMode == 0 ? 0 : z->KeyMode == kFixedKeys ? 1 : -1);
  const int kind = (z->GroupByte & 0xF0) >> 4;
  SelectOptionQuietly(f, pages_.optMap, 4, 2, kind == 1 ? 0 : kind == 0 ? 1 : -1);
}

void MapHandlers::Connect(const HandlerScope& scope) {
  TabPages& p = pages_;
  ConnectBoxes(p.txtMap, scope, *this, &MapHandlers::txtMap_KeyPress, &MapHandlers::txtMap_Change,
               &MapHandlers::txtMap_LostFocus);
  ConnectSliders(p.sldMap, scope, *this, &MapHandlers::sldMap_Change, &MapHandlers::sldMap_Scroll);
  ConnectSliders(p.sldMapH, scope, *this, &MapHandlers::sldMapH_Change, &MapHandlers::sldMapH_Scroll);
  ConnectSpins(p.spnMap, scope, *this, &MapHandlers::spnMap_SpinDown, &MapHandlers::spnMap_SpinUp);
  ConnectOptions(p.optMap, scope, *this, &MapHandlers::optMap_Click);
}

}  // namespace tavoro
