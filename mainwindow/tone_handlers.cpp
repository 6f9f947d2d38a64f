#include "mainwindow/tone_handlers.h"

#include <string>

#include "editing/number_text.h"
#include "mainwindow/dir_walk.h"

namespace tavoro {

using plat::ctl::TextBox;

namespace {

constexpr std::uint8_t kToneNibbles = 2;
constexpr std::int16_t kWaveNumPos = 50;

// cboTone 0-7: the field each list sets, and its place in the Tone dump.
struct ListField {
  std::int16_t ToneRecord::*field;
  std::int16_t position;
};
constexpr ListField kLists[] = {
    {&ToneRecord::DcaAuxSrc, 76}, {&ToneRecord::DcfAuxSrc, 90},    {&ToneRecord::DcoAuxSrc, 102},
    {&ToneRecord::PanAuxSrc, 134}, {&ToneRecord::LfoWaveshape, 108}, {&ToneRecord::LfoSrc1, 112},
    {&ToneRecord::LfoSrc2, 116},   {&ToneRecord::LfoQuantSrc, 124}};

// optToneEnvSel: four sets of three (none, envelope 1, envelope 2).
constexpr ListField kEnvSel[] = {{&ToneRecord::DcaEnvSel, 70},
                                 {&ToneRecord::DcfEnvSel, 82},
                                 {&ToneRecord::DcoEnvSel, 94},
                                 {&ToneRecord::PanEnvSel, 126}};

// optToneModMode: sixteen pairs; the even member clears the pair's bit, the odd one sets it.
struct ModeBit {
  std::int16_t ToneRecord::*field;
  std::int16_t bit;
};
constexpr ModeBit kModeBits[16] = {
    {&ToneRecord::DcaDcfModeBits, 1}, {&ToneRecord::DcaDcfModeBits, 2}, {&ToneRecord::DcoModeBits, 32},
    {&ToneRecord::DcoModeBits, 1},    {&ToneRecord::DcoModeBits, 2},    {&ToneRecord::DcoModeBits, 8},
    {&ToneRecord::DcoModeBits, 16},   {&ToneRecord::DcoModeBits, 4},    {&ToneRecord::DcoModeBits, 64},
    {&ToneRecord::PanModeBits, 1},    {&ToneRecord::PanModeBits, 2},    {&ToneRecord::PanModeBits, 8},
    {&ToneRecord::PanModeBits, 16},   {&ToneRecord::PanModeBits, 32},   {&ToneRecord::PanModeBits, 4},
    {&ToneRecord::PanModeBits, 64}};

// Where a mode field travels: the DCA/DCF bits are one nibble of their own.
struct ModePlace {
  std::int16_t position;
  std::uint8_t count;
};
ModePlace PlaceOf(int Index) {
  if (Index <= 3) return {141, 1};
  if (Index <= 17) return {120, 2};
  return {138, 2};
}

}  // namespace

ToneHandlers::ToneHandlers(EditProtocol& edit, TabPages& pages) : edit_(edit), pages_(pages) {}

bool ToneHandlers::UploadField(std::int16_t value, std::int16_t position, std::uint8_t count) {
  EditFlags& f = edit_.flags();
  f.SendPending = true;
  const bool accepted =
      edit_.Transfer().ObjectUpload(ObjType::Tone, edit_.store().CurTone.Number, value, position, count, true);
  f.SendPending = false;
  if (accepted) edit_.ReadBack(ObjType::Tone);
  return accepted;
}

void ToneHandlers::cboTone_Change(int Index) {
  if (edit_.flags().SuppressChange) return;
  if (Index < 0 || Index >= static_cast<int>(std::size(kLists)) || !pages_.cboTone.Exists(Index)) return;
  const int chosen = pages_.cboTone(Index).ListIndex();
  if (chosen < 0) return;  // no entry shown: nothing to commit
  const ListField& l = kLists[Index];
  std::int16_t& field = edit_.store().CurTone.*l.field;
  field = static_cast<std::int16_t>(chosen);
  UploadField(field, l.position, kToneNibbles);
}

void ToneHandlers::optToneEnvSel_Click(int Index) {
  if (edit_.Busy() || edit_.flags().SuppressChange) return;
  if (Index < 0 || Index >= 3 * static_cast<int>(std::size(kEnvSel))) return;
  const ListField& l = kEnvSel[Index / 3];
  std::int16_t& field = edit_.store().CurTone.*l.field;
  field = static_cast<std::int16_t>(Index % 3);
  UploadField(field, l.position, kToneNibbles);
}

void ToneHandlers::optToneModMode_Click(int Index) {
  if (edit_.Busy() || edit_.flags().SuppressChange) return;
  if (Index < 0 || Index > 31) return;
  const ModeBit& m = kModeBits[Index / 2];
  std::int16_t& field = edit_.store().CurTone.*m.field;
  const std::int16_t before = field;
  const bool set = (Index % 2) == 1;
  if (set && (field & m.bit) == 0) field = static_cast<std::int16_t>(field + m.bit);
  if (!set && (field & m.bit) != 0) field = static_cast<std::int16_t>(field - m.bit);
  const ModePlace place = PlaceOf(Index);
  if (UploadField(field, place.position, place.count)) return;
  // Refused: the field keeps what the instrument holds, or the next mode-bit upload of the same
  // field would carry the refused bit along; the options show it again.
  field = before;
  ShowModeBits(m.field);
}

void ToneHandlers::ShowModeBits(std::int16_t ToneRecord::*field) {
  const std::int16_t value = edit_.store().CurTone.*field;
  EditFlags& f = edit_.flags();
  const bool wasSuppressed = f.SuppressChange;
  f.SuppressChange = true;
  for (int pair = 0; pair < 16; ++pair) {
    if (kModeBits[pair].field != field) continue;
    const int shown = 2 * pair + ((value & kModeBits[pair].bit) != 0 ? 1 : 0);
    if (pages_.optToneModMode.Exists(shown)) pages_.optToneModMode(shown).SetValue(true);
  }
  f.SuppressChange = wasSuppressed;
}

void ToneHandlers::txtTone_KeyPress(int Index, int& KeyAscii) {
  if (Index != 0) {
    KeyAscii = 0;  // the Wave's name only shows
    return;
  }
  edit_.KeyPress(pages_.txtTone(0), KeyAscii, BoxKeys::Unsigned, [this] { txtTone_Change(0); });
}

void ToneHandlers::txtTone_LostFocus(int Index) {
  if (Index != 0) return;
  edit_.RefillIfEmpty(pages_.txtTone(0), std::to_string(edit_.store().CurTone.WaveNum));
}

void ToneHandlers::txtTone_Change(int) {
  TextBox& box = pages_.txtTone(0);
  if (!edit_.MayCommit(box)) return;
  EditFlags& f = edit_.flags();
  const plat::ctl::Control* active = edit_.Active();
  const bool fromStepper = active != nullptr && active->Tag() == "spn";
  const bool enter = f.LastKeyAscii == EditProtocol::kEnter;
  if (!fromStepper && !enter) return;

  ObjectStore& s = edit_.store();
  const std::vector<DirEntry>& waves = s.WaveDir.Entries;
  auto refill = [&] {
    f.LastKeyAscii = 0;
    edit_.WriteShown(box, std::to_string(s.CurTone.WaveNum));
  };
  const auto typed = LeadingNumber(box.Text());
  if (!typed) {
    if (enter) refill();
    return;
  }
  long v = *typed;
  if (enter) {
    const std::int16_t lowest = s.WaveStatus.LowestNum, highest = s.WaveStatus.HighestNum;
    if (v > highest) v = highest;
    if (v < lowest) v = lowest;
    // The next existing Wave at or above the number; none when the directory holds no Wave up
    // there (or none at all): nothing is sent.
    const DirEntry* found = nullptr;
    for (const DirEntry& e : waves) {
      if (e.Number == v || e.Number > v || e.Number == highest) {
        found = &e;
        break;
      }
    }
    if (found == nullptr) {
      refill();
      return;
    }
    v = found->Number;
    if (LeadingNumber(box.Text()) != v) edit_.WriteShown(box, std::to_string(v));
  }
  auto useWave = [&](std::int16_t number) {
    s.CurTone.WaveNum = number;
    for (const DirEntry& e : waves) {
      if (e.Number != number) continue;
      edit_.WriteQuietly(pages_.txtTone(1), Trim(e.Name));
      break;
    }
  };
  const std::int16_t held = s.CurTone.WaveNum;
  useWave(static_cast<std::int16_t>(v));
  f.LastKeyAscii = 0;
  if (edit_.Transfer().ObjectUpload(ObjType::Tone, s.CurTone.Number, s.CurTone.WaveNum, kWaveNumPos, kToneNibbles,
                                    true)) {
    box.SetForeColor(EditProtocol::kShownColour);
    edit_.ReadBack(ObjType::Tone);
    return;
  }
  // Refused or unanswered: the Tone keeps the Wave the instrument holds, named again; the
  // number not taken shows red.
  useWave(held);
  box.SetForeColor(EditProtocol::kEditColour);
}

void ToneHandlers::StepWave(int Index, int direction) {
  if (edit_.Busy() || !pages_.txtTone.Exists(Index)) return;
  TextBox& box = pages_.txtTone(Index);
  const auto shown = LeadingNumber(box.Text());
  if (!shown) return;
  StepBoxToExisting(edit_, box, ObjType::Wave, *shown, direction, "Load Wave Object",
                    "There are no Wave Objects loaded into the Vesk");
}

void ToneHandlers::spnTone_SpinDown(int Index) { StepWave(Index, -1); }
void ToneHandlers::spnTone_SpinUp(int Index) { StepWave(Index, +1); }

void ToneHandlers::Connect(const std::function<void(const std::function<void()>&)>& scope) {
  TabPages& p = pages_;
  for (int i : p.optToneEnvSel.Indexes())
    p.optToneEnvSel(i).Click = [this, i, scope] { scope([&] { optToneEnvSel_Click(i); }); };
  for (int i : p.optToneModMode.Indexes())
    p.optToneModMode(i).Click = [this, i, scope] { scope([&] { optToneModMode_Click(i); }); };
  for (int i : p.txtTone.Indexes()) {
    p.txtTone(i).KeyPress = [this, i, scope](int& key) { scope([&] { txtTone_KeyPress(i, key); }); };
    p.txtTone(i).Change = [this, i, scope] { scope([&] { txtTone_Change(i); }); };
    p.txtTone(i).LostFocus = [this, i, scope] { scope([&] { txtTone_LostFocus(i); }); };
  }
  for (int i : p.spnTone.Indexes()) {
    p.spnTone(i).SpinDown = [this, i, scope] { scope([&] { spnTone_SpinDown(i); }); };
    p.spnTone(i).SpinUp = [this, i, scope] { scope([&] { spnTone_SpinUp(i); }); };
  }
}

}  // namespace tavoro
