#include "mainwindow/preset_handlers.h"

#include <string>

#include "editing/page_fillers.h"
#include "editing/preset_senders.h"
#include "editing/sender_support.h"
#include "mainwindow/dir_walk.h"
#include "objects/transfer.h"

namespace tavoro {

using plat::ctl::TextBox;

namespace {

constexpr int kPivotBox = 2, kGroupBox = 5, kPolyBox = 6, kEntryBox = 7, kMapBox = 8, kPanBox = 16;
constexpr int kLayerBStride = 192;  // a layer-B field lies this many nibbles after layer A's
constexpr std::uint8_t kPresetNibbles = 2;
constexpr std::uint8_t kOff = 255;  // an Aux controller list's "Off"
constexpr int kSignedHighest = 127;

// A box's field: where it lies in the Preset dump (layer A for a layer field) and its sign.
struct BoxField {
  std::int16_t* field = nullptr;
  int position = 0;
  bool isSigned = false;
};

// Spin bounds per box.
struct Bounds {
  int low, high;
};
std::optional<Bounds> SpinBounds(int Index) {
  switch (Index) {
    case kPivotBox: case 14: return Bounds{0, 127};
    case kGroupBox: return Bounds{0, 7};
    case kPolyBox: return Bounds{0, 16};
    case kEntryBox: return Bounds{1, 4};
    case 9: case 10: case 11: return Bounds{0, 128};
    case 13: return Bounds{-24, 24};
    default: return std::nullopt;
  }
}

bool IsSignedBox(int Index) {
  return Index == 0 || Index == 1 || Index == 12 || Index == 13 || Index == kPanBox || (Index >= 17 && Index <= 23);
}

bool TakesNoKeys(int Index) {
  // The note names, the selectors, the polyphony and the Map's name only show.
  return Index == 3 || Index == kGroupBox || Index == kPolyBox || Index == kEntryBox || Index == 15 || Index == 25;
}

}  // namespace

PresetHandlers::PresetHandlers(EditProtocol& edit, TabPages& pages) : edit_(edit), pages_(pages) {}

PresetLayer& PresetHandlers::Layer() {
  ObjectStore& s = edit_.store();
  return s.CurPreset.Layer.at(s.PresetLayerSel > 1 ? 0 : s.PresetLayerSel);
}

std::optional<int> PresetHandlers::Group() const {
  return NumberWithin(pages_.txtPreset(kGroupBox).Text(), 0, 7);
}

std::optional<int> PresetHandlers::Entry() const {
  return NumberWithin(pages_.txtPreset(kEntryBox).Text(), 1, 4);
}

plat::ctl::Control& PresetHandlers::Paired(int Index) {
  if (pages_.sldPreset.Exists(Index)) return pages_.sldPreset(Index);
  if (pages_.hsldPreset.Exists(Index)) return pages_.hsldPreset(Index);
  return pages_.spnPreset(Index);
}

namespace {

// The field box `Index` edits, for the layer shown; nothing for the selectors and display boxes
// and for a group or entry that is not selected.
std::optional<BoxField> FieldOf(PresetRecord& p, PresetLayer& l, int Index, std::optional<int> g, std::optional<int> e) {
  switch (Index) {
    case 0: return BoxField{&p.Val0, 90, true};
    case 1: return BoxField{&p.Val1, 94, true};
    case kPivotBox: return BoxField{&p.PivotPoint, 98, false};
    case 4: return BoxField{&p.Val4, 100, false};
    case kPolyBox:
      if (!g) return std::nullopt;
      return BoxField{&p.MaxPolyphony.at(static_cast<std::size_t>(*g)), 52 + 2 * *g, false};
    default: break;
  }
  BoxField f;
  switch (Index) {
    case kMapBox:
      if (!e) return std::nullopt;
      f = {&l.LayerMap.at(static_cast<std::size_t>(*e - 1)), 152 + 2 * (*e - 1), false};
      break;
    case 9: case 10: case 11:
      f = {&l.SwitchPoint.at(static_cast<std::size_t>(Index - 9)), 160 + 2 * (Index - 9), false};
      break;
    case 12: f = {&l.Transpose, 166, true}; break;
    case 13: f = {&l.Val13, 168, true}; break;
    case 14: f = {&l.Val14, 186, false}; break;
    case kPanBox: f = {&l.Val16, 172, true}; break;
    case 17: f = {&l.Val17, 188, true}; break;
    case 18: f = {&l.Val18, 174, true}; break;
    case 19: f = {&l.Val19, 176, true}; break;
    case 20: f = {&l.Val20, 190, true}; break;
    case 21: f = {&l.Val21, 178, true}; break;
    case 22: f = {&l.Val22, 180, true}; break;
    case 23: f = {&l.Val23, 182, true}; break;
    case 24: f = {&l.Val24, 184, false}; break;
    default: return std::nullopt;
  }
  return f;
}

}  // namespace

void PresetHandlers::txtPreset_KeyPress(int Index, int& KeyAscii) {
  if (TakesNoKeys(Index) || !pages_.txtPreset.Exists(Index)) {
    KeyAscii = 0;
    return;
  }
  edit_.KeyPress(pages_.txtPreset(Index), KeyAscii, IsSignedBox(Index) ? BoxKeys::Signed : BoxKeys::Unsigned,
                 [this, Index] { txtPreset_Change(Index); });
}

void PresetHandlers::txtPreset_Change(int Index) {
  if (!pages_.txtPreset.Exists(Index)) return;
  TextBox& box = pages_.txtPreset(Index);
  if (!edit_.CommitsFromAnyPaired(box)) return;

  EditContext ctx = edit_.Context();
  const int layerShift = kLayerBStride * (edit_.store().PresetLayerSel == 1 ? 1 : 0);
  if (Index == kGroupBox || Index == kEntryBox) {
    // A selector: the sender shows the selected group's or map entry's values; nothing is sent.
    std::int16_t selected = static_cast<std::int16_t>(LeadingNumber(box.Text()).value_or(0));
    Change_PresetParm(ctx, box, Paired(Index), selected, 0, 0, 1);
    return;
  }
  PresetRecord& p = edit_.store().CurPreset;
  const auto f = FieldOf(p, Layer(), Index, Group(), Entry());
  if (!f) return;
  const bool layerField = Index >= kMapBox;
  const int position = f->position + (layerField ? layerShift : 0);
  if (Change_PresetParm(ctx, box, Paired(Index), *f->field, static_cast<std::int16_t>(position), kPresetNibbles,
                        f->isSigned ? 0 : 1))
    edit_.ReadBack(ObjType::Preset);
}

void PresetHandlers::txtPreset_LostFocus(int Index) {
  if (!pages_.txtPreset.Exists(Index) || Index == kPolyBox || Index == kMapBox) return;  // selectors stay empty
  const auto f = FieldOf(edit_.store().CurPreset, Layer(), Index, Group(), Entry());
  if (!f) return;
  int v = *f->field;
  if (f->isSigned && v > kSignedHighest) v -= 256;
  edit_.RefillIfEmpty(pages_.txtPreset(Index), Index == kPanBox && v == 0 ? "Map" : std::to_string(v));
}

void PresetHandlers::sldPreset_Change(int Index) {
  edit_.SliderChange(pages_.sldPreset, pages_.txtPreset, Index, [this, Index] { txtPreset_Change(Index); });
}

void PresetHandlers::sldPreset_Scroll(int Index) { edit_.SliderScroll(pages_.sldPreset, pages_.txtPreset, Index); }

// The box may show "Map" for the layer's own pan: a slider moved then writes its number into the
// box, which commits it like any other value.
void PresetHandlers::hsldPreset_Change(int Index) {
  edit_.SliderChange(pages_.hsldPreset, pages_.txtPreset, Index, [this, Index] { txtPreset_Change(Index); });
}

void PresetHandlers::hsldPreset_Scroll(int Index) { edit_.SliderScroll(pages_.hsldPreset, pages_.txtPreset, Index); }

void PresetHandlers::Spin(int Index, int direction) {
  if (edit_.Busy() || !pages_.txtPreset.Exists(Index)) return;
  TextBox& box = pages_.txtPreset(Index);
  if (box.Text().empty()) return;
  ObjectStore& s = edit_.store();
  std::optional<long> v = LeadingNumber(box.Text());
  if (!v && Index >= 9 && Index <= 11) v = Layer().SwitchPoint.at(static_cast<std::size_t>(Index - 9));  // arrows
  if (!v) return;
  if (Index == kMapBox) {
    StepBoxToExisting(edit_, box, ObjType::Map, *v, direction, "Load map Object",
                      "There are no Map Objects loaded into the Vesk");
    return;
  }
  if (Index == kEntryBox && !s.MapLoaded) return;
  const auto b = SpinBounds(Index);
  if (!b) return;
  StepWithin(box, *v, direction, b->low, b->high);
}

void PresetHandlers::spnPreset_SpinDown(int Index) { Spin(Index, -1); }
void PresetHandlers::spnPreset_SpinUp(int Index) { Spin(Index, +1); }

bool PresetHandlers::Upload(std::int16_t value, int position) {
  ObjectStore& s = edit_.store();
  EditFlags& f = edit_.flags();
  f.SendPending = true;
  const bool accepted = edit_.Transfer().ObjectUpload(ObjType::Preset, s.CurPreset.Number, value,
                                                      static_cast<std::int16_t>(position), kPresetNibbles, true);
  f.SendPending = false;
  if (accepted) edit_.ReadBack(ObjType::Preset);
  return accepted;
}

void PresetHandlers::optPreset_Click(int Index) {
  if (edit_.Busy() || edit_.flags().SuppressChange) return;
  ObjectStore& s = edit_.store();
  PresetRecord& p = s.CurPreset;
  if (Index == 9 || Index == 10) {
    s.PresetLayerSel = static_cast<std::uint8_t>(Index - 9);
    EditContext ctx = edit_.Context();
    LoadPresetDisplay(ctx);
    return;
  }
  const int layerShift = kLayerBStride * (s.PresetLayerSel == 1 ? 1 : 0);
  std::int16_t* field = nullptr;
  std::int16_t value = 0;
  int position = 0;
  if (Index >= 0 && Index <= 5) {
    const auto g = Group();
    if (!g) return;
    if (Index <= 3) {
      field = &p.Priority.at(static_cast<std::size_t>(*g)), value = static_cast<std::int16_t>(Index);
      position = 68 + 2 * *g;
    } else {
      const int bit = 1 << *g;
      field = &p.GroupEnable, value = static_cast<std::int16_t>(Index == 5 ? (p.GroupEnable | bit) : (p.GroupEnable & ~bit));
      position = 102;
    }
  } else if (Index >= 6 && Index <= 8) {
    field = &Layer().Output, value = static_cast<std::int16_t>(Index - 6), position = 170 + layerShift;
  } else {
    return;
  }
  const std::int16_t old = *field;
  *field = value;
  if (Upload(value, position)) return;
  // Refused: the Preset keeps what the instrument holds, and so do the options.
  *field = old;
  ShowChoices();
}

void PresetHandlers::cboPreset_Change(int Index) {
  if (edit_.flags().SuppressChange || !pages_.cboPreset.Exists(Index)) return;
  const int chosen = pages_.cboPreset(Index).ListIndex();
  if (chosen < 0) return;  // no entry shown: nothing to commit
  ObjectStore& s = edit_.store();
  PresetRecord& p = s.CurPreset;
  std::int16_t* field = nullptr;
  std::int16_t value = static_cast<std::int16_t>(chosen);
  int position = 0;
  switch (Index) {
    case 0: field = &p.PresetMode, position = 50; break;
    case 1: case 2: case 3:
      field = &p.AuxCtl.at(static_cast<std::size_t>(Index - 1)), position = 84 + 2 * (Index - 1);
      value = static_cast<std::int16_t>(chosen == 0 ? kOff : chosen - 1);
      break;
    case 4: field = &p.ModSource, position = 92; break;
    case 5: field = &p.XfadeCtlr, position = 96; break;
    case 6:
      if (s.PresetLayerSel > 1) return;
      field = &Layer().MapSwitchCtlr, position = 150 + kLayerBStride * s.PresetLayerSel;
      break;
    default: return;
  }
  const std::int16_t old = *field;
  *field = value;
  if (Upload(value, position)) return;
  *field = old;
  ShowChoices();
}

void PresetHandlers::ShowChoices() {
  PresetRecord& p = edit_.store().CurPreset;
  EditFlags& f = edit_.flags();
  if (const auto g = Group()) {
    const auto gi = static_cast<std::size_t>(*g);
    SelectOptionQuietly(f, pages_.optPreset, 0, 4, p.Priority.at(gi));
    SelectOptionQuietly(f, pages_.optPreset, 4, 2, (p.GroupEnable >> *g) & 1);
  }
  SelectOptionQuietly(f, pages_.optPreset, 6, 3, Layer().Output);
  const int lists[7] = {p.PresetMode,     p.AuxCtl[0] == kOff ? 0 : p.AuxCtl[0] + 1,
                        p.AuxCtl[1] == kOff ? 0 : p.AuxCtl[1] + 1, p.AuxCtl[2] == kOff ? 0 : p.AuxCtl[2] + 1,
                        p.ModSource,      p.XfadeCtlr, Layer().MapSwitchCtlr};
  for (int i = 0; i < 7; ++i) {
    if (!pages_.cboPreset.Exists(i)) continue;
    plat::ctl::ComboBox& list = pages_.cboPreset(i);
    list.SetListIndex(lists[i] >= 0 && lists[i] < list.ListCount() ? lists[i] : -1);
  }
}

void PresetHandlers::Connect(const HandlerScope& scope) {
  TabPages& p = pages_;
  ConnectBoxes(p.txtPreset, scope, *this, &PresetHandlers::txtPreset_KeyPress, &PresetHandlers::txtPreset_Change,
               &PresetHandlers::txtPreset_LostFocus);
  ConnectSliders(p.sldPreset, scope, *this, &PresetHandlers::sldPreset_Change, &PresetHandlers::sldPreset_Scroll);
  ConnectSliders(p.hsldPreset, scope, *this, &PresetHandlers::hsldPreset_Change, &PresetHandlers::hsldPreset_Scroll);
  ConnectSpins(p.spnPreset, scope, *this, &PresetHandlers::spnPreset_SpinDown, &PresetHandlers::spnPreset_SpinUp);
  ConnectOptions(p.optPreset, scope, *this, &PresetHandlers::optPreset_Click);
}

}  // namespace tavoro
