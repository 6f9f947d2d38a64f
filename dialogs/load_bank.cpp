#include "dialogs/load_bank.h"

#include <QFileInfo>

#include "dialogs/device_pictures.h"
#include "platform/ui/message_box.h"

namespace tavoro {

namespace {

constexpr int kLastBank = 9999;
constexpr int kFloppyType = 3;

std::string InHome(const std::string& home, const char* name) {
  return home.empty() || home.back() == '/' ? home + name : home + "/" + name;
}

}  // namespace

frmLoadBank::frmLoadBank(const OperationContext& ctx, QWidget* owner) : plat::ctl::Form(owner), ctx_(ctx) {
  setObjectName("frmLoadBank");
  SetCaption("Load Disk Bank");
  setFixedSize(340, 204);

  pnlLoadBank = new plat::ctl::Panel3D(this);
  pnlLoadBank->SetName("pnlLoadBank");
  pnlLoadBank->SetBevelOuter(1);
  pnlLoadBank->setGeometry(8, 8, 324, 142);

  auto* label = new plat::ctl::Label("Disk Device", pnlLoadBank);
  label->setGeometry(14, 12, 180, 18);
  lblLoadBank.Add(0, label);
  cboLoadBank = new plat::ctl::ComboBox(pnlLoadBank);
  cboLoadBank->SetName("cboLoadBank");
  cboLoadBank->setGeometry(14, 32, 190, 26);
  cboLoadBank->AddItem(kFloppyDisk);

  picLoadDiskBank = new plat::ctl::Label(pnlLoadBank);
  picLoadDiskBank->SetName("picLoadDiskBank");
  picLoadDiskBank->setGeometry(232, 14, 76, 76);
  picLoadDiskBank->setAlignment(Qt::AlignCenter);
  picLoadDiskBank->setFrameShape(QFrame::StyledPanel);

  auto* caption = new plat::ctl::Panel3D(" Bank Number", pnlLoadBank);
  caption->SetCaptionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  caption->setGeometry(14, 82, 110, 26);
  pnlBankNum.Add(0, caption);
  auto* box = new plat::ctl::TextBox(pnlLoadBank);
  box->SetMaxLength(4);
  box->setGeometry(128, 82, 56, 26);
  txtBankNum.Add(0, box);
  auto* spin = new plat::ctl::SpinButton(pnlLoadBank);
  spin->setGeometry(186, 82, 18, 26);
  spnBankNum.Add(0, spin);

  cmdLoad = new plat::ctl::CommandButton("&Load", this);
  cmdLoad->SetName("cmdLoad");
  cmdLoad->setGeometry(70, 162, 88, 30);
  cmdLoad->setDefault(true);
  cmdCancel = new plat::ctl::CommandButton("&Cancel", this);
  cmdCancel->SetName("cmdCancel");
  cmdCancel->setGeometry(182, 162, 88, 30);

  cboLoadBank->DropDown = [this] { cboLoadBank_DropDown(); };
  txtBankNum(0).KeyPress = [this](int& key) { txtBankNum_KeyPress(key); };
  txtBankNum(0).SetDeleteKeyFiltered(false);  // the filter takes digits only; Delete and cut still erase
  spnBankNum(0).SpinUp = [this] { spnBankNum_SpinUp(); };
  spnBankNum(0).SpinDown = [this] { spnBankNum_SpinDown(); };
  cmdLoad->Click = [this] { cmdLoad_Click(); };
  cmdCancel->Click = [this] { cmdCancel_Click(); };
  Form_Load = [this] { OnLoad(); };
  Form_Activate = [this] { cmdLoad->SetFocus(); };
  Form_Unload = [this](int&) { OnUnload(); };
}

void frmLoadBank::ShowModal(const OperationContext& ctx) {
  auto* form = new frmLoadBank(ctx, ctx.host.MainWindow());
  form->Show(plat::ctl::Form::kModal);
}

plat::Bytes frmLoadBank::LoadBankMsg(std::uint8_t unit, int bank) {
  return plat::Bytes{kLoadBankCommand, 0x01, 0, 0, 0, 3} + DigitBytes(unit, 2) + DigitBytes(bank, 4);
}

int frmLoadBank::DevTypeOf(int device) const {
  const auto& disks = ctx_.link.settings.DiskDevices;
  return device >= 0 && device < static_cast<int>(disks.size()) ? disks[static_cast<std::size_t>(device)].DevType : -1;
}

void frmLoadBank::OnLoad() {
  const auto& disks = ctx_.link.settings.DiskDevices;
  ListToDevice = {0};
  DeviceToList.fill(-1);
  DeviceToList[0] = 0;
  int position = 1;
  for (int d = 1; d < static_cast<int>(disks.size()) && d < 8; ++d) {
    if (disks[static_cast<std::size_t>(d)].Installed != 1) continue;
    ListToDevice.push_back(static_cast<std::uint8_t>(d));
    DeviceToList[static_cast<std::size_t>(d)] = position++;
    cboLoadBank->AddItem(disks[static_cast<std::size_t>(d)].VolName);
  }
  // By position, never by name (two devices may share a volume name); a last device that is no
  // longer installed gives way to the floppy drive.
  const int last = ctx_.link.settings.LastDisk < 8 ? ctx_.link.settings.LastDisk : 0;
  const int listed = DeviceToList[static_cast<std::size_t>(last)];
  cboLoadBank->SetListIndex(listed >= 0 ? listed : 0);
  ctx_.host.SetComboCommit("cboLoadBank", [this](int) { cboLoadBank_Change(); });
  cboLoadBank_Change();
  ShowBankBox(cboLoadBank->Text() == kFloppyDisk);
}

void frmLoadBank::OnUnload() { ctx_.host.SetComboCommit("cboLoadBank", {}); }

void frmLoadBank::ShowBankBox(bool floppy) {
  spnBankNum(0).SetEnabled(!floppy);
  txtBankNum(0).SetLocked(floppy);
  txtBankNum(0).SetText(floppy ? "0" : std::to_string(ctx_.LastBankNumber));
}

void frmLoadBank::cboLoadBank_Change() {
  const int position = cboLoadBank->ListIndex();
  if (position < 0 || position >= static_cast<int>(ListToDevice.size())) return;
  const int type = DevTypeOf(ListToDevice[static_cast<std::size_t>(position)]);
  if (QFileInfo::exists(plat::ctl::ToQ(InHome(ctx_.HomeDir, kResourceFile)))) {
    const QPixmap picture = DevicePicture(type);
    if (!picture.isNull()) picLoadDiskBank->setPixmap(picture);
  }
  ShowBankBox(type == kFloppyType);
}

void frmLoadBank::cboLoadBank_DropDown() {
  if (RequestOutstanding(ctx_)) return;
  ctx_.host.ArmComboRetract();
}

void frmLoadBank::spnBankNum_SpinUp() { StepBankNumber(+1); }
void frmLoadBank::spnBankNum_SpinDown() { StepBankNumber(-1); }

void frmLoadBank::StepBankNumber(int step) {
  plat::ctl::TextBox& box = txtBankNum(0);
  if (box.Text().empty()) {
    box.SetText("0");
    return;
  }
  const int n = std::stoi(box.Text()) + step;
  if (n >= 0 && n <= kLastBank) box.SetText(std::to_string(n));
}

void frmLoadBank::txtBankNum_KeyPress(int& KeyAscii) {
  if (RequestOutstanding(ctx_) || KeyAscii < '0' || KeyAscii > '9') KeyAscii = 0;
}

void frmLoadBank::cmdCancel_Click() { Unload(); }

void frmLoadBank::cmdLoad_Click() {
  if (RequestOutstanding(ctx_)) return;
  const std::string text = txtBankNum(0).Text();
  const int position = cboLoadBank->ListIndex();
  if (text.empty() || position < 0 || position >= static_cast<int>(ListToDevice.size())) {
    plat::BoxRequest box;
    box.text = text.empty() ? "Please select a valid Bank Number to load." : "Please select a Disk Device to load from.";
    plat::ShowMessageBox(box);
    if (text.empty()) txtBankNum(0).SetFocus();
    return;
  }
  Settings& settings = ctx_.link.settings;
  settings.LastDisk = ListToDevice[static_cast<std::size_t>(position)];
  ctx_.LastBankNumber = std::stoi(text);
  const int bank = ctx_.LastBankNumber;
  const std::string device = cboLoadBank->Text();
  const std::string progressText = device != kFloppyDisk
                                       ? "Loading Bank #" + std::to_string(bank) + " from " + device + "..."
                                       : "Loading Bank from " + device + "...";
  const std::uint8_t unit = settings.DiskDevices[settings.LastDisk].DevNum == 0
                                ? kFloppyUnit
                                : static_cast<std::uint8_t>(settings.LastDisk - 1);

  // From here on the window is gone: only the context is used.
  OperationContext ctx = ctx_;
  ProgressRef progress = ProgressRef::Show(ctx.host.MainWindow(), ctx.HomeDir, "Load Bank", progressText);
  Unload();
  // The floppy drive takes as long as it takes: no time-out.
  if (SendForStatus(ctx, LoadBankMsg(unit, bank), unit == kFloppyUnit ? kNoTimeout : kDiskLoadTimeoutMs))
    RereadAll(ctx, progress, "Downloading Vesk Data...");
  EndOperation(ctx, progress);
}

}  // namespace tavoro
