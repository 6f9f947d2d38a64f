#pragma once
// frmAbout: the program's name and version, the maker's contact addresses (opened through the
// desktop) and a button that starts the system information program named in the registry.

#include <string>

#include "platform/controls/buttons.h"
#include "platform/controls/control_array.h"
#include "platform/controls/form.h"
#include "platform/controls/panels.h"
#include "platform/registry/registry.h"

namespace tavoro {

inline constexpr const char* kProgramTitle = "Tavoro";
// The maker's addresses the contact labels show and open.
inline constexpr const char* kContactMail = "mailto:support@brevix.example";
inline constexpr const char* kContactWeb = "https://www.brevix.example/tavoro";
inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

class frmAbout : public plat::ctl::Form {
 public:
  explicit frmAbout(QWidget* parent = nullptr);

  void cmdOK_Click();
  void cmdSysInfo_Click() { StartSysInfo(); }
  void lblContact_Click(int Index);

  // Starts the system information program, or says that it cannot.
  void StartSysInfo();
  // Reads a text (or 32-bit number) value; false with Value emptied when it cannot be read.
  static bool GetKeyValue(plat::reg::HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                          std::string& KeyVal);

  plat::ctl::Label* picBrevixlogo = nullptr;
  plat::ctl::Label* lblTitle = nullptr;
  plat::ctl::Label* lblVersion = nullptr;
  plat::ctl::ControlArray<plat::ctl::Label> lblContact{"lblContact"};
  plat::ctl::CommandButton* cmdOK = nullptr;
  plat::ctl::CommandButton* cmdSysInfo = nullptr;

 private:
  void OnLoad();
};

}  // namespace tavoro
