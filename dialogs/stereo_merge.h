#pragma once
// frmStereoMerge, "Stereo Merge": merges two mono Waves into one stereo Wave that keeps the left
// Wave's number. Each side takes a Wave number (typed and committed with Enter, or stepped
// through the Wave directory) and shows the Wave's name, length and mode as the instrument
// reports them. The pair is checked before anything is sent; after an acceptance every kind is
// read again, the merged Wave is shown on the Wave page and the window comes back with it on the
// left and the right side empty.
//
//   frmStereoMerge::ShowModal(ctx);   // from the main window's stereo merge button and menu item

#include "dialogs/operation.h"
#include "platform/controls/buttons.h"
#include "platform/controls/control_array.h"
#include "platform/controls/form.h"
#include "platform/controls/panels.h"
#include "platform/controls/spin_button.h"
#include "platform/controls/text_box.h"

namespace tavoro {

inline constexpr std::uint8_t kStereoMergeCommand = 0x31;
inline constexpr int kStereoMergeTimeoutMs = 20000;

class frmStereoMerge : public plat::ctl::Form {
 public:
  frmStereoMerge(const OperationContext& ctx, QWidget* owner);

  // Shows the window modally: the one still loaded (hidden after a merge that failed, with its
  // contents), else a new one.
  static void ShowModal(const OperationContext& ctx);

  // The message: command 31, sub-code 01, length 4 as four digits, the two numbers as four each.
  static plat::Bytes StereoMergeMsg(int left, int right);

  void txtMerge_KeyPress(int Index, int& KeyAscii);
  void txtMerge_Change(int Index);
  void txtMerge_LostFocus(int Index);
  void spnMerge_SpinUp(int Index);
  void spnMerge_SpinDown(int Index);
  void cmdMerge_Click(int Index);

  // Number boxes 0 (left) and 1 (right); names 2, 3; lengths 4, 5; modes 6, 7.
  plat::ctl::ControlArray<plat::ctl::TextBox> txtMerge{"txtMerge"};
  plat::ctl::ControlArray<plat::ctl::Panel3D> pnlMerge{"pnlMerge"};
  plat::ctl::ControlArray<plat::ctl::SpinButton> spnMerge{"spnMerge"};
  plat::ctl::ControlArray<plat::ctl::CommandButton> cmdMerge{"cmdMerge"};

 private:
  void OnLoad();
  void BuildSide(int side);
  // Writes a box as the program, its change event ignored.
  void ProgramWrite(int box, const std::string& text);
  // Shows the Wave's name, then its length and mode as the instrument gives them.
  void LookUp(int side, const DirEntry& entry);
  bool Refuse(const std::string& text);
  void Merge();

  OperationContext ctx_;
};

}  // namespace tavoro
