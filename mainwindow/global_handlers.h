#pragma once
// The Global page: its Multi half (allocation groups and parts of the current Multi, each edit an
// upload of the Multi, which is read back) and its Global half (each edit its own Global
// parameter message, after which the Global data are read again). Both halves share the page's
// control arrays and their handlers.

#include <cstdint>
#include <functional>
#include <optional>

#include "mainwindow/connect_controls.h"
#include "mainwindow/edit_protocol.h"
#include "objects/records.h"
#include "pages/tab_pages.h"

namespace tavoro {

class GlobalHandlers {
 public:
  GlobalHandlers(EditProtocol& edit, TabPages& pages);

  // Sets the handlers of the page's controls; `scope` wraps each one as a window handler.
  void Connect(const HandlerScope& scope);

  void txtGlobal_KeyPress(int Index, int& KeyAscii);
  void txtGlobal_Change(int Index);
  void txtGlobal_LostFocus(int Index);
  void sldGlobal_Change(int Index);
  void sldGlobal_Scroll(int Index);
  void spnGlobal_SpinDown(int Index);
  void spnGlobal_SpinUp(int Index);
  void optGlobal_Click(int Index);
  // Run by the choice-list timer once the list has closed.
  void cboGlobal_Change(int Index);

 private:
  // The group (0-7) box 0 selects and the part (1-16) box 2 selects.
  std::optional<int> Group() const;
  std::optional<int> Part() const;
  void Spin(int Index, int direction);
  void MultiOption(int Index);
  void GlobalOption(int Index);
  // One Global parameter through its sender; the Global data are read again once accepted, and a
  // refused change leaves them, and the choices shown, as the instrument holds them.
  bool SendGlobal(plat::ctl::Control& control, plat::ctl::Control& second, std::int16_t& field, std::uint8_t P1,
                  std::uint8_t P2, std::uint8_t isUnsigned);
  void ShowMultiChoices();
  void ShowGlobalChoices();

  EditProtocol& edit_;
  TabPages& pages_;
};

}  // namespace tavoro
