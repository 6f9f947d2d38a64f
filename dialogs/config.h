#pragma once
// frmConfig, "Configuration": the MIDI ports and MIDI Thru, the instrument's disk table, and the
// audition and System Exclusive settings, on three tab pages (Midi, Disk, Vesk). The window edits
// the link's settings in memory; they are written to the registry when the program ends.
//
// Edits fall into four groups that Apply (and OK) carry out in order: the ports (reopened, input
// first), MIDI Thru, the disk table (whose edits are in force as soon as they are made, so Cancel
// does not undo them) and the audition values with the device id. Only a change to a port list
// reopens the ports; a reopen that fails puts the previous ports back.
//
// The window keeps its own "program is writing" flags: it is not modal, and the main window's
// typing state must neither mute its boxes nor be consumed by them.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/controls/buttons.h"
#include "platform/controls/control_array.h"
#include "platform/controls/form.h"
#include "platform/controls/index_tab.h"
#include "platform/controls/lists.h"
#include "platform/controls/panels.h"
#include "platform/controls/spin_button.h"
#include "platform/controls/text_box.h"

namespace tavoro {

class Link;

class frmConfig : public plat::ctl::Form {
 public:
  explicit frmConfig(Link& link, QWidget* parent = nullptr);

  enum Tab { kMidiTab = 0, kDiskTab = 1, kVeskTab = 2 };
  enum VeskBox { kNoteBox = 0, kVelocityOnBox = 1, kVelocityOffBox = 2, kChannelBox = 3, kDeviceIdBox = 4, kNoteNameBox = 5 };

  void MidiList_Touched();  // a key or mouse button pressed in either device list
  void Check1_Click();
  void optDevice_Click(int Index);
  void chkInstalled_Click();
  void optType_Click(int Index);
  void txtVolName_Change();
  void txtVeskconfig_KeyPress(int Index, int& KeyAscii);
  void txtVeskconfig_Change(int Index);
  void spnVeskconfig_SpinUp(int Index);
  void spnVeskconfig_SpinDown(int Index);
  void cmdApply_Click();
  void cmdOK_Click();
  void cmdCancel_Click();

  bool MidiChanged = false;
  bool ThruChanged = false;
  bool DiskChanged = false;
  bool VeskChanged = false;
  int CurDevice = 0;

  plat::ctl::IndexTab* vstConfig = nullptr;
  plat::ctl::Elastic* vseMidi = nullptr;
  plat::ctl::Elastic* vseDisk = nullptr;
  plat::ctl::Elastic* vseVesk = nullptr;
  plat::ctl::CommandButton* cmdOK = nullptr;
  plat::ctl::CommandButton* cmdCancel = nullptr;
  plat::ctl::CommandButton* cmdApply = nullptr;
  // Midi page
  plat::ctl::Frame* fraOutput = nullptr;
  plat::ctl::ListBox* lstOutputDevice = nullptr;
  plat::ctl::Frame* fraInput = nullptr;
  plat::ctl::ListBox* lstInputDevice = nullptr;
  plat::ctl::CheckBox* Check1 = nullptr;
  // Disk page
  plat::ctl::ControlArray<plat::ctl::Frame> fraDisk{"fraDisk"};
  plat::ctl::ControlArray<plat::ctl::OptionButton> optDevice{"optDevice"};
  plat::ctl::CheckBox* chkInstalled = nullptr;
  plat::ctl::Panel3D* pnlDisk = nullptr;
  plat::ctl::TextBox* txtVolName = nullptr;
  plat::ctl::Frame* SSFrame1 = nullptr;
  plat::ctl::ControlArray<plat::ctl::OptionButton> optType{"optType"};
  // Vesk page
  plat::ctl::Frame* fraAudition = nullptr;
  plat::ctl::ControlArray<plat::ctl::Panel3D> pnlVeskconfig{"pnlVeskconfig"};
  plat::ctl::ControlArray<plat::ctl::TextBox> txtVeskconfig{"txtVeskconfig"};
  plat::ctl::ControlArray<plat::ctl::SpinButton> spnVeskconfig{"spnVeskconfig"};

  // The number a Vesk box holds (its leading digits); nothing when it holds none. Digits beyond
  // what any setting can hold read as a number above every limit.
  static std::optional<long> BoxNumber(const std::string& text);

 private:
  void OnLoad();
  void OnActivate();
  void BuildMidiPage();
  void BuildDiskPage();
  void BuildVeskPage();
  void ConnectEvents();
  void MarkChanged(bool& group);
  void FillVeskPage();
  void SetTypeOptions(bool enabled);
  void ShowVolName(const std::string& text, bool locked);
  void ApplyVesk();
  void Spin(int Index, int step);
  bool ApplyMidi();

  Link& link_;
  bool suppressChange_ = false;
  bool programTextSet_ = false;
  int lastKeyAscii_ = 0;
};

}  // namespace tavoro
