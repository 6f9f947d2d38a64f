#pragma once
// frmLoadBank, "Load Disk Bank": asks the instrument to load a numbered bank from its floppy drive
// or one of the devices on its SCSI bus. The list holds the floppy drive and every installed SCSI
// device of the disk table; the picture shows the chosen device's type when the file tavoro.res
// lies in the home directory. A floppy load waits as long as the instrument takes; a SCSI load up
// to a minute. The device and bank asked for are offered again next time.
//
//   frmLoadBank::ShowModal(ctx);   // from the main window's load bank button and menu item

#include <array>
#include <vector>

#include "dialogs/operation.h"
#include "platform/controls/buttons.h"
#include "platform/controls/control_array.h"
#include "platform/controls/form.h"
#include "platform/controls/lists.h"
#include "platform/controls/panels.h"
#include "platform/controls/spin_button.h"
#include "platform/controls/text_box.h"

namespace tavoro {

inline constexpr std::uint8_t kLoadBankCommand = 0x30;
inline constexpr std::uint8_t kFloppyUnit = 0x7F;
inline constexpr int kDiskLoadTimeoutMs = 60000;
inline constexpr const char* kFloppyDisk = "Floppy Disk";
inline constexpr const char* kResourceFile = "tavoro.res";

class frmLoadBank : public plat::ctl::Form {
 public:
  frmLoadBank(const OperationContext& ctx, QWidget* owner);

  static void ShowModal(const OperationContext& ctx);

  // The message: command 30, sub-code 01, length 3 as four digits, the unit as two digits, the
  // bank as four.
  static plat::Bytes LoadBankMsg(std::uint8_t unit, int bank);

  void cboLoadBank_Change();
  void cboLoadBank_DropDown();
  void spnBankNum_SpinUp();
  void spnBankNum_SpinDown();
  void txtBankNum_KeyPress(int& KeyAscii);
  void cmdLoad_Click();
  void cmdCancel_Click();

  // List position to device index, and device index to list position (-1: not listed).
  std::vector<std::uint8_t> ListToDevice;
  std::array<int, 8> DeviceToList{};

  plat::ctl::ControlArray<plat::ctl::Label> lblLoadBank{"lblLoadBank"};
  plat::ctl::ComboBox* cboLoadBank = nullptr;
  plat::ctl::Label* picLoadDiskBank = nullptr;
  plat::ctl::ControlArray<plat::ctl::Panel3D> pnlBankNum{"pnlBankNum"};
  plat::ctl::ControlArray<plat::ctl::TextBox> txtBankNum{"txtBankNum"};
  plat::ctl::ControlArray<plat::ctl::SpinButton> spnBankNum{"spnBankNum"};
  plat::ctl::Panel3D* pnlLoadBank = nullptr;
  plat::ctl::CommandButton* cmdLoad = nullptr;
  plat::ctl::CommandButton* cmdCancel = nullptr;

 private:
  void OnLoad();
  void OnUnload();
  // Number box and spin button for a floppy (locked at 0) or another device (last bank).
  void ShowBankBox(bool floppy);
  // An empty box becomes 0; otherwise one step, within 0 to 9999.
  void StepBankNumber(int step);
  int DevTypeOf(int device) const;

  OperationContext ctx_;
};

}  // namespace tavoro
