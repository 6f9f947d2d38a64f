#include "dialogs/stereo_merge.h"

#include <algorithm>
#include <optional>

#include "editing/number_text.h"
#include "objects/codec.h"
#include "objects/downloads.h"
#include "objects/requests.h"
#include "objects/transfer.h"
#include "platform/ui/message_box.h"

namespace tavoro {

namespace {

constexpr std::size_t kWaveDumpLength = 148;
constexpr std::size_t kFlagsPos = 48, kLengthPos = 60;
constexpr int kStereoBit = 32;
constexpr int kHighestMergeable = 255;
constexpr long kRed = 255, kBlack = 0;

// The box's text as a number; nothing for an empty box or anything but digits.
std::optional<int> NumberIn(const std::string& text) {
  if (text.empty() || text.size() > 6 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return std::stoi(text);
}

int PositionOf(const ObjDir& dir, int number) {
  for (std::size_t i = 0; i < dir.Entries.size(); ++i)
    if (dir.Entries[i].Number == number) return static_cast<int>(i);
  return -1;
}

}  // namespace

frmStereoMerge::frmStereoMerge(const OperationContext& ctx, QWidget* owner) : plat::ctl::Form(owner), ctx_(ctx) {
  setObjectName("frmStereoMerge");
  SetCaption("Stereo Merge");
  setFixedSize(412, 216);
  BuildSide(0);
  BuildSide(1);
  const char* captions[] = {"&Merge", "&Close"};
  for (int i = 0; i < 2; ++i) {
    auto* button = new plat::ctl::CommandButton(captions[i], this);
    button->setGeometry(112 + 100 * i, 174, 88, 30);
    cmdMerge.Add(i, button);
  }
  for (int i = 0; i < 2; ++i) {
    cmdMerge(i).Click = [this, i] { cmdMerge_Click(i); };
    txtMerge(i).KeyPress = [this, i](int& key) { txtMerge_KeyPress(i, key); };
    txtMerge(i).Change = [this, i] { txtMerge_Change(i); };
    txtMerge(i).LostFocus = [this, i] { txtMerge_LostFocus(i); };
    spnMerge(i).SpinUp = [this, i] { spnMerge_SpinUp(i); };
    spnMerge(i).SpinDown = [this, i] { spnMerge_SpinDown(i); };
  }
  Form_Load = [this] { OnLoad(); };
  Form_Activate = [this] { cmdMerge(0).SetFocus(); };
  // The window's typing must not leave the main window's change events shut.
  Form_Unload = [this](int&) { ctx_.flags.SuppressChange = false; };
}

void frmStereoMerge::BuildSide(int side) {
  const int left = 8 + 200 * side;
  auto* frame = new plat::ctl::Panel3D(side == 0 ? "Left" : "Right", this);
  frame->SetCaptionAlignment(Qt::AlignHCenter | Qt::AlignTop);
  frame->SetBevelOuter(1);
  frame->setGeometry(left, 8, 196, 156);
  pnlMerge.Add(2 + side, frame);
  const char* labels[] = {" Wave", " Length", " Mode"};
  const int labelIndex[] = {side, 4 + side, 6 + side};
  const int tops[] = {24, 92, 122};
  for (int k = 0; k < 3; ++k) {
    auto* label = new plat::ctl::Panel3D(labels[k], frame);
    label->SetCaptionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(8, tops[k], 70, 24);
    pnlMerge.Add(labelIndex[k], label);
  }
  auto* number = new plat::ctl::TextBox(frame);
  number->SetMaxLength(3);
  number->setGeometry(82, 24, 48, 24);
  txtMerge.Add(side, number);
  auto* spin = new plat::ctl::SpinButton(frame);
  spin->setGeometry(132, 24, 18, 24);
  spnMerge.Add(side, spin);
  struct Shown {
    int index, top, width, length;
  };
  const Shown shown[] = {{2 + side, 58, 180, 14}, {4 + side, 92, 70, 5}, {6 + side, 122, 70, 6}};
  for (const Shown& s : shown) {
    auto* box = new plat::ctl::TextBox(frame);
    box->SetLocked(true);
    box->SetMaxLength(s.length);
    box->setFocusPolicy(Qt::NoFocus);
    box->setGeometry(s.index < 4 ? 8 : 82, s.top, s.width, 24);
    txtMerge.Add(s.index, box);
  }
}

void frmStereoMerge::ShowModal(const OperationContext& ctx) {
  QWidget* owner = ctx.host.MainWindow();
  frmStereoMerge* form = nullptr;
  // Looked for by its C++ type: the window has no meta-object of its own to search by.
  for (QObject* child : owner->children())
    if (auto* f = dynamic_cast<frmStereoMerge*>(child); f != nullptr && f->Loaded()) form = f;
  if (form == nullptr) form = new frmStereoMerge(ctx, owner);
  form->Show(plat::ctl::Form::kModal);
}

plat::Bytes frmStereoMerge::StereoMergeMsg(int left, int right) {
  return plat::Bytes{kStereoMergeCommand, 0x01, 0, 0, 0, 4} + DigitBytes(left, 4) + DigitBytes(right, 4);
}

void frmStereoMerge::OnLoad() {
  EditFlags& f = ctx_.flags;
  f.SuppressChange = true;
  const ObjectStore& s = ctx_.store;
  if (s.WaveDirIdx >= 0 && s.WaveDirIdx < static_cast<int>(s.WaveDir.Entries.size())) {
    const DirEntry& e = s.WaveDir.Entries[static_cast<std::size_t>(s.WaveDirIdx)];
    for (int side = 0; side < 2; ++side) {
      txtMerge(side).SetText(std::to_string(e.Number));
      txtMerge(2 + side).SetText(Trim(e.Name));
    }
  }
  for (int side = 0; side < 2; ++side) {
    txtMerge(4 + side).SetText(ctx_.host.WaveSizeText());
    txtMerge(6 + side).SetText(ctx_.host.WaveModeText());
  }
  f.SuppressChange = false;
}

void frmStereoMerge::ProgramWrite(int box, const std::string& text) {
  ctx_.flags.ProgramTextSet = true;
  txtMerge(box).SetText(text);
  ctx_.flags.ProgramTextSet = false;  // also when the text was already there (no change event)
}

void frmStereoMerge::txtMerge_KeyPress(int Index, int& KeyAscii) {
  EditFlags& f = ctx_.flags;
  auto markEdited = [&] {
    txtMerge(Index).SetForeColor(kRed);
    f.SuppressChange = true;
  };
  if (RequestOutstanding(ctx_)) {
    KeyAscii = 0;
  } else if (KeyAscii == 13) {
    f.LastKeyAscii = 13;
    KeyAscii = 0;
    f.SuppressChange = false;
    txtMerge_Change(Index);
  } else if (KeyAscii == 8) {
    f.LastKeyAscii = 8;
    markEdited();
  } else if (KeyAscii >= '0' && KeyAscii <= '9') {
    markEdited();
  } else if (KeyAscii < '0') {
    KeyAscii = 0;
    markEdited();
  } else {
    KeyAscii = 0;
  }
}

void frmStereoMerge::txtMerge_Change(int Index) {
  EditFlags& f = ctx_.flags;
  if (Index < 0 || Index > 1) return;
  if (f.LastKeyAscii == 8 || f.ProgramTextSet || f.SuppressChange) {
    f.ProgramTextSet = false;
    return;
  }
  const ObjDirStatus& status = ctx_.store.WaveStatus;
  const ObjDir& dir = ctx_.store.WaveDir;
  int position = -1;
  if (f.LastKeyAscii == 13) {
    int n = NumberIn(txtMerge(Index).Text()).value_or(status.LowestNum);
    n = std::clamp<int>(n, status.LowestNum, std::max(status.LowestNum, status.HighestNum));
    position = PositionOf(dir, n);
    if (position < 0) {
      n = status.LowestNum;
      position = PositionOf(dir, n);
    }
    ProgramWrite(Index, std::to_string(n));
  } else if (dynamic_cast<plat::ctl::SpinButton*>(plat::ctl::ActiveControl(this)) != nullptr) {
    if (const auto n = NumberIn(txtMerge(Index).Text())) position = PositionOf(dir, *n);
  } else {
    return;
  }
  if (position < 0) return;
  // As the merge: also from the window shown again after a merge, a close while the look-up
  // waits is carried out once it is over, the ports last (within a merge, one handler nested in
  // another).
  ctx_.host.RunAsHandler([&] { LookUp(Index, dir.Entries[static_cast<std::size_t>(position)]); });
}

void frmStereoMerge::LookUp(int side, const DirEntry& entry) {
  ProgramWrite(2 + side, Trim(entry.Name));
  ObjectTransfer transfer(ctx_.link, ctx_.store);
  const DumpRequest request = ObjectDumpRequest(ObjType::Wave, entry.Number);
  const VeskResponse r = transfer.ReqObjectDump(request.Kind, request.Cmd, request.Arg);
  // The close ended the wait (and released the reply and the lamps): the boxes stay as they are.
  if (ProgramClosing()) return;
  // Only a whole Wave dump is read; anything else leaves the length and the mode as they are.
  const plat::Bytes& reply = r.reply;
  if (r.outcome == VeskResponse::Outcome::Reply && reply.size() == kWaveDumpLength && reply.at(reply.size()) == 0xF7 &&
      AllNibbles(reply, kFlagsPos, kLengthPos + 3)) {
    ProgramWrite(4 + side, std::to_string(HexWord(reply, kLengthPos)));
    ProgramWrite(6 + side, (HexByte(reply, kFlagsPos) & kStereoBit) ? "Stereo" : "Mono");
  }
  ctx_.flags.LastKeyAscii = 0;
  txtMerge(side).SetForeColor(kBlack);
  ctx_.link.MidiInBusy = false;
  ctx_.link.ledMIDIin.SetValue(false);
}

void frmStereoMerge::txtMerge_LostFocus(int Index) {
  if (Index > 1 || !txtMerge(Index).Text().empty()) return;
  ctx_.flags.LastKeyAscii = 13;
  txtMerge(Index).SetText(std::to_string(ctx_.store.WaveStatus.LowestNum));
}

void frmStereoMerge::spnMerge_SpinDown(int Index) {
  if (RequestOutstanding(ctx_)) return;
  const ObjDirStatus& status = ctx_.store.WaveStatus;
  const ObjDir& dir = ctx_.store.WaveDir;
  const auto n = NumberIn(txtMerge(Index).Text());
  int next = n.value_or(status.LowestNum);
  if (n && *n > status.LowestNum && !dir.Entries.empty()) {
    const int position = PositionOf(dir, *n);
    if (position < 0)
      next = dir.Entries.back().Number;
    else if (position > 0)
      next = dir.Entries[static_cast<std::size_t>(position - 1)].Number;
  }
  txtMerge(Index).SetText(std::to_string(next));
}

void frmStereoMerge::spnMerge_SpinUp(int Index) {
  if (RequestOutstanding(ctx_)) return;
  const ObjDirStatus& status = ctx_.store.WaveStatus;
  const ObjDir& dir = ctx_.store.WaveDir;
  const auto n = NumberIn(txtMerge(Index).Text());
  int next = n.value_or(status.LowestNum);
  if (n && *n < status.HighestNum) {
    // A number not in the directory steps to the next Wave above it.
    for (const DirEntry& e : dir.Entries) {
      if (e.Number > *n) {
        next = e.Number;
        break;
      }
    }
  }
  txtMerge(Index).SetText(std::to_string(next));
}

bool frmStereoMerge::Refuse(const std::string& text) {
  plat::BoxRequest box;
  box.title = "Stereo Merge Error";
  box.text = text;
  box.icon = plat::BoxIcon::Critical;
  plat::ShowMessageBox(box);
  return false;
}

void frmStereoMerge::cmdMerge_Click(int Index) {
  if (Index == 1) {
    Unload();
    return;
  }
  if (RequestOutstanding(ctx_)) return;
  // Also from the window shown again after a merge, which is no longer the main window's modal
  // one: a close while the merge waits is carried out once it is over, the ports last.
  ctx_.host.RunAsHandler([this] { Merge(); });
}

void frmStereoMerge::Merge() {
  const auto left = NumberIn(txtMerge(0).Text()), right = NumberIn(txtMerge(1).Text());
  // The same Wave twice, however its number is written ("5" and "05").
  if (txtMerge(0).Text() == txtMerge(1).Text() || (left && left == right)) {
    Refuse("Must use two different waves!");
    return;
  }
  if (txtMerge(6).Text() == "Stereo") {
    Refuse("Left wave is already stereo!");
    return;
  }
  if (txtMerge(7).Text() == "Stereo") {
    Refuse("Right wave is already stereo!");
    return;
  }
  // Past the pair checks: a side without a number, or one the request cannot carry.
  if (!left || !right) {
    Refuse("Choose a wave on both sides!");
    return;
  }
  if (*left > kHighestMergeable || *right > kHighestMergeable) {
    Refuse("Wave numbers above 255 cannot be merged!");
    return;
  }
  // The lengths are signed 16-bit numbers, compared as shown.
  if (ParseInt16(txtMerge(5).Text()).value_or(0) < ParseInt16(txtMerge(4).Text()).value_or(0)) {
    Refuse("Right wave length must be greater than left!");
    return;
  }

  const auto kept = static_cast<std::uint8_t>(*left);
  ProgressRef progress = ProgressRef::Show(ctx_.host.MainWindow(), ctx_.HomeDir, "Merge to Stereo",
                                           "Merging Right Wave w#" + std::to_string(*right) + " and Left Wave w#" +
                                               std::to_string(*left) + "...");
  Hide();
  if (!SendForStatus(ctx_, StereoMergeMsg(*left, *right), kStereoMergeTimeoutMs)) {
    // Kept hidden with its contents: the stereo merge command shows it again.
    progress.Unload();
    return;
  }
  // Once the main window is closing nothing more is read or shown.
  auto closing = [&] {
    if (!ProgramClosing()) return false;
    progress.Unload();
    return true;
  };
  RereadAll(ctx_, progress, "Downloading Vesk Data...");
  if (closing()) return;

  progress.Set("Download Updated Wave", "Downloading merged stereo wave...");
  ctx_.host.SetPanelText(kPanelActivity, "Downloading Wave w#" + std::to_string(kept) + "...");
  ObjectTransfer transfer(ctx_.link, ctx_.store);
  transfer.WaveObjDump(kept);
  if (closing()) return;
  ctx_.host.SetPanelText(kPanelActivity, CurrentBankText(ctx_.store.GlobalData));
  // The merged Wave becomes the Wave shown, so page, header and store agree.
  if (const int position = PositionOf(ctx_.store.WaveDir, kept); position >= 0) {
    ctx_.store.WaveDirIdx = static_cast<std::int16_t>(position);
    ctx_.host.LoadDisplay(0);
  }
  ctx_.host.Tavorotab_Click();
  progress.Unload();
  Show(plat::ctl::Form::kModeless);

  if (NumberIn(txtMerge(0).Text()) == std::optional<int>(kept)) {
    ctx_.flags.LastKeyAscii = 13;
    txtMerge_Change(0);
  } else {
    txtMerge(0).SetText(std::to_string(kept));
  }
  if (ProgramClosing()) return;  // closed during the look-up
  ctx_.flags.SuppressChange = true;
  for (int box : {1, 3, 5, 7}) txtMerge(box).SetText("");
  ctx_.flags.SuppressChange = false;
}

}  // namespace tavoro
