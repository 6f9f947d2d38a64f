#pragma once
// frmDeleteObject, "Delete Object": deletes on the instrument the object of the page shown, every
// object of that kind, or the whole memory. The object offered is the one the store holds for the
// page's kind (its directory entry), never what the header's boxes show. Confirmed deletions run
// with the progress window up; after an acceptance every kind is read again.
//
//   frmDeleteObject::ShowModal(ctx);   // from the main window's delete button and menu item

#include "dialogs/operation.h"
#include "platform/controls/buttons.h"
#include "platform/controls/control_array.h"
#include "platform/controls/form.h"
#include "platform/controls/panels.h"
#include "platform/controls/text_box.h"

namespace tavoro {

inline constexpr std::uint8_t kDeleteCommand = 0x03;
inline constexpr std::uint8_t kWholeMemory = 0x7F;
inline constexpr int kDeleteTimeoutMs = 20000;

class frmDeleteObject : public plat::ctl::Form {
 public:
  frmDeleteObject(const OperationContext& ctx, QWidget* owner);

  // Makes, loads and shows the window modally; returns when it is gone.
  static void ShowModal(const OperationContext& ctx);

  // The message: command 03, the kind, length 2 as four digits, the number as four digits.
  static plat::Bytes ObjectDeleteMsg(std::uint8_t kind, int number);

  void cmdDelObj_Click();
  void cmdCancel_Click();

  plat::ctl::ControlArray<plat::ctl::OptionButton> optDelObj{"optDelObj"};
  plat::ctl::ControlArray<plat::ctl::TextBox> txtDelObj{"txtDelObj"};
  plat::ctl::Panel3D* pnlDelObj = nullptr;
  plat::ctl::CommandButton* cmdDelObj = nullptr;
  plat::ctl::CommandButton* cmdCancel = nullptr;

 private:
  void OnLoad();

  OperationContext ctx_;
};

}  // namespace tavoro
