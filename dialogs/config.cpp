#include "dialogs/config.h"

#include <stdexcept>

#include "editing/note_name.h"
#include "link/link.h"

namespace tavoro {

namespace {

constexpr int kChannelLimit = 16;
constexpr int kValueLimit = 127;
constexpr const char* kFloppyVolume = "Floppy Disk";
constexpr int kFloppy = 0;
constexpr std::int16_t kFloppyType = 3;
constexpr std::int16_t kNoType = -1;

int UpperLimit(int box) { return box == frmConfig::kChannelBox ? kChannelLimit : kValueLimit; }
int LowerLimit(int box) { return box == frmConfig::kChannelBox ? 1 : 0; }

// Sets a control's state while the window's own events stay quiet.
class Quiet {
 public:
  explicit Quiet(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~Quiet() { flag_ = before_; }
  Quiet(const Quiet&) = delete;
  Quiet& operator=(const Quiet&) = delete;

 private:
  bool& flag_;
  bool before_;
};

}  // namespace

std::optional<long> frmConfig::BoxNumber(const std::string& text) {
  long value = 0;
  std::size_t digits = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    // Past six digits the number is above every limit; stop before it can overflow.
    if (digits < 6) value = value * 10 + (c - '0');
    else value = 1000000;
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  return value;
}

// ---------------------------------------------------------------------------------------------
// Load and activation

void frmConfig::OnLoad() {
  Quiet quiet(suppressChange_);
  const Settings& s = link_.settings;

  // The lists are read device by device; the controls are left on the devices the ports use.
  plat::MIDIOutput& out = link_.ctlMIDIout;
  lstOutputDevice->Clear();
  const int outBefore = out.DeviceID();
  for (int d = -1; d < out.DeviceCount(); ++d) {
    out.SetDeviceID(d);
    lstOutputDevice->AddItem(out.DeviceName());
  }
  try {
    out.SetDeviceID(outBefore);
  } catch (const std::exception&) {  // the device went away meanwhile: the next open sets it
  }
  lstOutputDevice->SetListIndex(s.OutDeviceId + 1);

  plat::MIDIInput& in = link_.ctlMIDIin;
  lstInputDevice->Clear();
  const int inBefore = in.DeviceID();
  for (int d = 0; d < in.DeviceCount(); ++d) {
    in.SetDeviceID(d);
    lstInputDevice->AddItem(in.DeviceName());
  }
  try {
    in.SetDeviceID(inBefore);
  } catch (const std::exception&) {
  }
  lstInputDevice->SetListIndex(s.InDeviceId);

  Check1->SetValue(s.MidiThru != 0 ? 1 : 0);
  optDevice(kFloppy).SetValue(true);
  FillVeskPage();
  cmdApply->SetEnabled(false);
}

void frmConfig::FillVeskPage() {
  Quiet quiet(suppressChange_);
  const Settings& s = link_.settings;
  txtVeskconfig(kNoteBox).SetText(std::to_string(s.PlaybackNote));
  txtVeskconfig(kNoteNameBox).SetText(NoteName(s.PlaybackNote));
  txtVeskconfig(kVelocityOnBox).SetText(std::to_string(s.PlaybackVelocityOn));
  txtVeskconfig(kVelocityOffBox).SetText(std::to_string(s.PlaybackVelocityOff));
  txtVeskconfig(kChannelBox).SetText(std::to_string(s.PlaybackChannel + 1));
  txtVeskconfig(kDeviceIdBox).SetText(std::to_string(s.SysExDeviceId));
}

void frmConfig::OnActivate() { cmdOK->setFocus(Qt::OtherFocusReason); }

void frmConfig::MarkChanged(bool& group) {
  group = true;
  cmdApply->SetEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// Midi page

void frmConfig::MidiList_Touched() { MarkChanged(MidiChanged); }

void frmConfig::Check1_Click() {
  if (!suppressChange_) MarkChanged(ThruChanged);
}

// ---------------------------------------------------------------------------------------------
// Disk page

void frmConfig::optDevice_Click(int Index) {
  if (Index < 0 || Index >= kDiskDeviceCount) return;
  Quiet quiet(suppressChange_);
  CurDevice = Index;
  const int installed = link_.settings.DiskDevices[static_cast<std::size_t>(Index)].Installed != 0 ? 1 : 0;
  // The box's handler runs once per choice: through the box's own click when its value changes.
  if (chkInstalled->Value() != installed)
    chkInstalled->SetValue(installed);
  else
    chkInstalled_Click();
}

void frmConfig::SetTypeOptions(bool enabled) {
  for (int i : optType.Indexes()) {
    if (!enabled) optType(i).SetValue(false);
    optType(i).SetEnabled(enabled);
  }
}

void frmConfig::ShowVolName(const std::string& text, bool locked) {
  // The program's own write is no edit of the volume name.
  Quiet quiet(suppressChange_);
  txtVolName->SetText(text);
  txtVolName->SetLocked(locked);
}

void frmConfig::chkInstalled_Click() {
  DiskDevice& device = link_.settings.DiskDevices[static_cast<std::size_t>(CurDevice)];
  const bool ticked = chkInstalled->Value() == 1;
  if (ticked && CurDevice == kFloppy) {
    SetTypeOptions(false);
    ShowVolName(kFloppyVolume, true);
  } else if (ticked) {
    SetTypeOptions(true);
    ShowVolName(device.VolName, false);
    if (device.DevType >= 0 && device.DevType < optType.Count()) optType(device.DevType).SetValue(true);
  } else {
    SetTypeOptions(false);
    // The floppy drive is always a floppy drive, installed or not.
    device.DevType = CurDevice == kFloppy ? kFloppyType : kNoType;
    ShowVolName(CurDevice == kFloppy ? kFloppyVolume : "", true);
  }
  if (suppressChange_) return;
  device.Installed = ticked ? 1 : 0;
  MarkChanged(DiskChanged);
}

void frmConfig::optType_Click(int Index) {
  if (suppressChange_) return;
  link_.settings.DiskDevices[static_cast<std::size_t>(CurDevice)].DevType = static_cast<std::int16_t>(Index);
  MarkChanged(DiskChanged);
}

void frmConfig::txtVolName_Change() {
  if (suppressChange_) return;
  link_.settings.DiskDevices[static_cast<std::size_t>(CurDevice)].VolName = txtVolName->Text();
  MarkChanged(DiskChanged);
}

// ---------------------------------------------------------------------------------------------
// Vesk page

void frmConfig::txtVeskconfig_KeyPress(int, int& KeyAscii) {
  if (KeyAscii >= '0' && KeyAscii <= '9')
    lastKeyAscii_ = KeyAscii;
  else
    KeyAscii = 0;
}

void frmConfig::txtVeskconfig_Change(int Index) {
  plat::ctl::TextBox& box = txtVeskconfig(Index);
  if (box.Text().empty() || suppressChange_ || programTextSet_) {
    programTextSet_ = false;  // the change caused by the limit's own write
    return;
  }
  if (Index != kNoteNameBox) {
    std::optional<long> value = BoxNumber(box.Text());
    if (value && *value > UpperLimit(Index)) {
      programTextSet_ = true;
      box.SetText(std::to_string(UpperLimit(Index)));
      value = UpperLimit(Index);
    }
    if (Index == kNoteBox && value) txtVeskconfig(kNoteNameBox).SetText(NoteName(static_cast<std::int16_t>(*value)));
  }
  MarkChanged(VeskChanged);
}

void frmConfig::Spin(int Index, int step) {
  plat::ctl::TextBox& box = txtVeskconfig(Index);
  const std::optional<long> value = BoxNumber(box.Text());
  if (box.Text().empty() || !value) {
    box.SetText(std::to_string(LowerLimit(Index)));
    return;
  }
  long next = *value;
  if (step > 0 && next < UpperLimit(Index)) ++next;
  if (step < 0 && next > LowerLimit(Index)) --next;
  box.SetText(std::to_string(next));
}

void frmConfig::spnVeskconfig_SpinUp(int Index) { Spin(Index, +1); }
void frmConfig::spnVeskconfig_SpinDown(int Index) { Spin(Index, -1); }

// ---------------------------------------------------------------------------------------------
// Apply, OK, Cancel

bool frmConfig::ApplyMidi() {
  const int in = lstInputDevice->ListIndex();
  const int out = lstOutputDevice->ListIndex();
  Settings& s = link_.settings;
  if (in < 0 || out < 0) {
    // No device chosen in a list: the ports stay as they are.
    MidiChanged = false;
    return true;
  }
  const Settings before = s;
  s.InDeviceId = static_cast<std::int16_t>(in);
  s.OutDeviceId = static_cast<std::int16_t>(out - 1);
  s.InDeviceName = lstInputDevice->List(in);
  s.OutDeviceName = lstOutputDevice->List(out);
  if (!link_.OpenInputDevice() || !link_.OpenOutputDevice()) {
    // The opener has told the user why; the ports that worked before come back.
    s.InDeviceId = before.InDeviceId;
    s.OutDeviceId = before.OutDeviceId;
    s.InDeviceName = before.InDeviceName;
    s.OutDeviceName = before.OutDeviceName;
    if (link_.OpenInputDevice()) link_.OpenOutputDevice();
    return false;
  }
  MidiChanged = false;
  return true;
}

void frmConfig::ApplyVesk() {
  Settings& s = link_.settings;
  // A box left empty (or a channel of 0) keeps the value in force, which the page shows again.
  const auto take = [this](int box, std::int16_t& setting, int offset) {
    const std::optional<long> v = BoxNumber(txtVeskconfig(box).Text());
    if (v && *v >= LowerLimit(box) && *v <= UpperLimit(box)) setting = static_cast<std::int16_t>(*v - offset);
  };
  take(kNoteBox, s.PlaybackNote, 0);
  take(kVelocityOnBox, s.PlaybackVelocityOn, 0);
  take(kVelocityOffBox, s.PlaybackVelocityOff, 0);
  take(kChannelBox, s.PlaybackChannel, 1);
  take(kDeviceIdBox, s.SysExDeviceId, 0);
  FillVeskPage();
  VeskChanged = false;
}

void frmConfig::cmdApply_Click() {
  if (MidiChanged && !ApplyMidi()) return;
  if (ThruChanged) {
    link_.settings.MidiThru = static_cast<std::int16_t>(Check1->Value() == 1 ? 1 : 0);
    ThruChanged = false;
  }
  if (DiskChanged) {
    for (int i = 0; i < kDiskDeviceCount; ++i) link_.settings.DiskDevices[static_cast<std::size_t>(i)].DevNum = static_cast<std::int16_t>(i);
    DiskChanged = false;
  }
  if (VeskChanged) ApplyVesk();
  cmdApply->SetEnabled(false);
}

void frmConfig::cmdOK_Click() {
  cmdApply_Click();
  Unload();
}

void frmConfig::cmdCancel_Click() { Unload(); }

}  // namespace tavoro
