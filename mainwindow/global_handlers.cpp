#include "mainwindow/global_handlers.h"

#include <string>

#include "editing/multi_global_senders.h"
#include "editing/page_fillers.h"
#include "editing/sender_support.h"
#include "mainwindow/dir_walk.h"
#include "objects/transfer.h"

namespace tavoro {

using plat::ctl::TextBox;

namespace {

constexpr int kGroupBox = 0, kPolyBox = 1, kPartBox = 2, kPresetBox = 3, kPresetNameBox = 4, kVolumeBox = 5,
              kChannelBox = 6, kOmniVolumeBox = 7, kBankNameBox = 8, kTuneBox = 9;
constexpr std::uint8_t kMultiNibbles = 2;
constexpr std::uint8_t kParmP1 = 0x11, kParmP2 = 0x03, kTuneP1 = 0x32, kTuneP2 = 0x01;
// Where the Multi's fields lie in its dump.
constexpr int kPolyPos = 56, kPriorityPos = 72, kPresetPos = 88, kVolumePos = 120, kGroupEnablePos = 152,
              kPartEnablePos = 52;
constexpr std::uint8_t kPartEnableNibbles = 4;

struct Bounds {
  int low, high;
};
std::optional<Bounds> SpinBounds(int Index) {
  switch (Index) {
    case kGroupBox: return Bounds{0, 7};
    case kPolyBox: return Bounds{0, 16};
    case kPartBox:
    case kChannelBox: return Bounds{1, 16};
    default: return std::nullopt;
  }
}

}  // namespace

GlobalHandlers::GlobalHandlers(EditProtocol& edit, TabPages& pages) : edit_(edit), pages_(pages) {}

std::optional<int> GlobalHandlers::Group() const {
  return NumberWithin(pages_.txtGlobal(kGroupBox).Text(), 0, 7);
}

std::optional<int> GlobalHandlers::Part() const {
  return NumberWithin(pages_.txtGlobal(kPartBox).Text(), 1, 16);
}

void GlobalHandlers::txtGlobal_KeyPress(int Index, int& KeyAscii) {
  if (!pages_.txtGlobal.Exists(Index)) return;
  BoxKeys keys = BoxKeys::Unsigned;
  switch (Index) {
    case kPresetBox:
    case kVolumeBox:
    case kOmniVolumeBox: break;
    case kTuneBox: keys = BoxKeys::SignedDecimal; break;
    default: KeyAscii = 0; return;  // selectors, names and the channel only show
  }
  edit_.KeyPress(pages_.txtGlobal(Index), KeyAscii, keys, [this, Index] { txtGlobal_Change(Index); });
}

void GlobalHandlers::txtGlobal_Change(int Index) {
  if (!pages_.txtGlobal.Exists(Index)) return;
  TextBox& box = pages_.txtGlobal(Index);
  if (!edit_.CommitsFromAnyPaired(box)) return;

  ObjectStore& s = edit_.store();
  GlobalRecord& gd = s.GlobalData;
  switch (Index) {
    case kChannelBox: SendGlobal(box, pages_.spnGlobal(kChannelBox), gd.MidiChannel, kParmP1, kParmP2, 1); return;
    case kOmniVolumeBox:
      SendGlobal(box, pages_.sldGlobal(kOmniVolumeBox), gd.OmniPolyVolume, kParmP1, kParmP2, 1);
      return;
    case kTuneBox: SendGlobal(box, box, gd.MasterTune, kTuneP1, kTuneP2, 0); return;
    default: break;
  }

  MultiRecord& m = s.CurMulti;
  EditContext ctx = edit_.Context();
  bool sent = false;
  switch (Index) {
    case kGroupBox:
    case kPartBox: {
      // A selector: the sender shows the selected group's or part's values; nothing is sent.
      std::int16_t selected = static_cast<std::int16_t>(LeadingNumber(box.Text()).value_or(0));
      Change_MultiParm(ctx, box, pages_.spnGlobal(Index), selected, 0, 0, 1);
      return;
    }
    case kPolyBox: {
      const auto g = Group();
      if (!g) return;
      sent = Change_MultiParm(ctx, box, pages_.spnGlobal(Index), m.MaxPolyphony.at(static_cast<std::size_t>(*g)),
                              static_cast<std::int16_t>(kPolyPos + 2 * *g), kMultiNibbles, 1);
      break;
    }
    case kPresetBox:
    case kVolumeBox: {
      const auto p = Part();
      if (!p) return;
      const auto part = static_cast<std::size_t>(*p - 1);
      if (Index == kPresetBox)
        sent = Change_MultiParm(ctx, box, pages_.spnGlobal(Index), m.PartPreset.at(part),
                                static_cast<std::int16_t>(kPresetPos + 2 * (*p - 1)), kMultiNibbles, 1);
      else
        sent = Change_MultiParm(ctx, box, pages_.sldGlobal(Index), m.PartVolume.at(part),
                                static_cast<std::int16_t>(kVolumePos + 2 * (*p - 1)), kMultiNibbles, 1);
      break;
    }
    default: return;  // the Preset's and the bank's names only show
  }
  if (sent) edit_.ReadBack(ObjType::Multi);
}

bool GlobalHandlers::SendGlobal(plat::ctl::Control& control, plat::ctl::Control& second, std::int16_t& field,
                                std::uint8_t P1, std::uint8_t P2, std::uint8_t isUnsigned) {
  ObjectStore& s = edit_.store();
  const GlobalRecord before = s.GlobalData;
  EditContext ctx = edit_.Context();
  if (Change_GlobalParm(ctx, control, second, field, P1, P2, isUnsigned)) {
    if (edit_.Transfer().GlobalObjDump()) LoadGlobalDisplay(ctx);
    return true;
  }
  // Refused or not sent: the Global data stay what the instrument holds.
  s.GlobalData = before;
  ShowGlobalChoices();
  return false;
}

void GlobalHandlers::txtGlobal_LostFocus(int Index) {
  if (Index != kPresetBox && Index != kVolumeBox) return;  // the other boxes stay as they are
  const auto p = Part();
  if (!p) return;
  const MultiRecord& m = edit_.store().CurMulti;
  const auto part = static_cast<std::size_t>(*p - 1);
  edit_.RefillIfEmpty(pages_.txtGlobal(Index),
                      std::to_string(Index == kPresetBox ? m.PartPreset.at(part) : m.PartVolume.at(part)));
}

void GlobalHandlers::sldGlobal_Change(int Index) {
  edit_.SliderChange(pages_.sldGlobal, pages_.txtGlobal, Index, [this, Index] { txtGlobal_Change(Index); });
}

void GlobalHandlers::sldGlobal_Scroll(int Index) { edit_.SliderScroll(pages_.sldGlobal, pages_.txtGlobal, Index); }

void GlobalHandlers::Spin(int Index, int direction) {
  if (edit_.Busy() || !pages_.txtGlobal.Exists(Index)) return;
  TextBox& box = pages_.txtGlobal(Index);
  const auto shown = LeadingNumber(box.Text());
  if (!shown) return;  // an empty box does not step
  if (Index == kPresetBox) {
    StepBoxToExisting(edit_, box, ObjType::Preset, *shown, direction, "Load Preset Object",
                      "There are no Preset Objects loaded into the Vesk");
    return;
  }
  const auto b = SpinBounds(Index);
  if (!b) return;
  StepWithin(box, *shown, direction, b->low, b->high);
}

void GlobalHandlers::spnGlobal_SpinDown(int Index) { Spin(Index, -1); }
void GlobalHandlers::spnGlobal_SpinUp(int Index) { Spin(Index, +1); }

void GlobalHandlers::optGlobal_Click(int Index) {
  if (edit_.Busy()) return;
  EditFlags& f = edit_.flags();
  if (f.SuppressChange || f.ProgramTextSet) {
    f.ProgramTextSet = false;
    return;
  }
  if (Index >= 0 && Index <= 7) MultiOption(Index);
  if (Index >= 8 && Index <= 12) GlobalOption(Index);
}

void GlobalHandlers::MultiOption(int Index) {
  MultiRecord& m = edit_.store().CurMulti;
  EditFlags& f = edit_.flags();
  std::int32_t* wide = nullptr;
  std::int16_t* field = nullptr;
  std::int32_t value = 0;
  int position = 0;
  std::uint8_t count = kMultiNibbles;
  if (Index <= 5) {
    const auto g = Group();
    if (!g) return;
    if (Index <= 3) {
      field = &m.Priority.at(static_cast<std::size_t>(*g)), value = Index, position = kPriorityPos + 2 * *g;
    } else {
      const int bit = 1 << *g;
      field = &m.GroupEnable, value = Index == 5 ? (m.GroupEnable | bit) : (m.GroupEnable & ~bit);
      position = kGroupEnablePos;
    }
  } else {
    const auto p = Part();
    if (!p) return;
    const std::int32_t bit = std::int32_t{1} << (*p - 1);
    wide = &m.PartEnable, value = Index == 7 ? (m.PartEnable | bit) : (m.PartEnable & ~bit);
    position = kPartEnablePos, count = kPartEnableNibbles;
  }
  const std::int32_t old = wide != nullptr ? *wide : *field;
  if (wide != nullptr)
    *wide = value;
  else
    *field = static_cast<std::int16_t>(value);
  f.SendPending = true;
  ObjectTransfer t = edit_.Transfer();
  const bool accepted =
      wide != nullptr
          ? t.ObjectUpload(ObjType::Multi, m.Number, value, static_cast<std::int16_t>(position), count, true)
          : t.ObjectUpload(ObjType::Multi, m.Number, static_cast<std::int16_t>(value),
                           static_cast<std::int16_t>(position), count, true);
  f.SendPending = false;
  if (accepted) {
    edit_.ReadBack(ObjType::Multi);
    return;
  }
  // Refused: the Multi keeps what the instrument holds, and so do the options.
  if (wide != nullptr)
    *wide = old;
  else
    *field = static_cast<std::int16_t>(old);
  ShowMultiChoices();
}

void GlobalHandlers::GlobalOption(int Index) {
  EditFlags& f = edit_.flags();
  GlobalRecord& gd = edit_.store().GlobalData;
  plat::ctl::OptionButton& option = pages_.optGlobal(Index);
  f.SendPending = true;
  SendGlobal(option, option, Index <= 10 ? gd.ReceiveMode : gd.ProgChange, kParmP1, kParmP2, 1);
  f.SendPending = false;
}

void GlobalHandlers::cboGlobal_Change(int Index) {
  if (edit_.flags().SuppressChange || Index != 0 || !pages_.cboGlobal.Exists(Index)) return;
  plat::ctl::ComboBox& list = pages_.cboGlobal(Index);
  if (list.ListIndex() < 0) return;  // no entry shown: nothing to commit
  SendGlobal(list, list, edit_.store().GlobalData.PlaybackMode, kParmP1, kParmP2, 1);
}

void GlobalHandlers::ShowMultiChoices() {
  const MultiRecord& m = edit_.store().CurMulti;
  EditFlags& f = edit_.flags();
  if (const auto g = Group()) {
    SelectOptionQuietly(f, pages_.optGlobal, 0, 4, m.Priority.at(static_cast<std::size_t>(*g)));
    SelectOptionQuietly(f, pages_.optGlobal, 4, 2, (m.GroupEnable >> *g) & 1);
  }
  if (const auto p = Part()) SelectOptionQuietly(f, pages_.optGlobal, 6, 2, (m.PartEnable >> (*p - 1)) & 1);
}

void GlobalHandlers::ShowGlobalChoices() {
  const GlobalRecord& gd = edit_.store().GlobalData;
  EditFlags& f = edit_.flags();
  SelectOptionQuietly(f, pages_.optGlobal, 8, 3, gd.ReceiveMode);
  SelectOptionQuietly(f, pages_.optGlobal, 11, 2, gd.ProgChange);
  if (pages_.cboGlobal.Exists(0)) {
    plat::ctl::ComboBox& list = pages_.cboGlobal(0);
    list.SetListIndex(gd.PlaybackMode >= 0 && gd.PlaybackMode < list.ListCount() ? gd.PlaybackMode : -1);
  }
}

void GlobalHandlers::Connect(const HandlerScope& scope) {
  TabPages& p = pages_;
  ConnectBoxes(p.txtGlobal, scope, *this, &GlobalHandlers::txtGlobal_KeyPress, &GlobalHandlers::txtGlobal_Change,
               &GlobalHandlers::txtGlobal_LostFocus);
  ConnectSliders(p.sldGlobal, scope, *this, &GlobalHandlers::sldGlobal_Change, &GlobalHandlers::sldGlobal_Scroll);
  ConnectSpins(p.spnGlobal, scope, *this, &GlobalHandlers::spnGlobal_SpinDown, &GlobalHandlers::spnGlobal_SpinUp);
  ConnectOptions(p.optGlobal, scope, *this, &GlobalHandlers::optGlobal_Click);
}

}  // namespace tavoro
