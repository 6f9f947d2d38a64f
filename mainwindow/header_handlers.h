#pragma once
// The object header: stepping to the previous or next existing object with the spin button,
// selecting an object by typing its number, and renaming the object in the name box. The kind is
// the one the header's label names for the page shown.

#include <cstdint>
#include <functional>

#include "mainwindow/connect_controls.h"
#include "mainwindow/edit_protocol.h"

namespace tavoro {

class frmMain;

class HeaderHandlers {
 public:
  HeaderHandlers(EditProtocol& edit, frmMain& window);

  // Sets the header's handlers; `scope` wraps each one as a window handler.
  void Connect(const HandlerScope& scope);

  void spnObjectNum_SpinDown();
  void spnObjectNum_SpinUp();
  void txtObjectNum_KeyPress(int& KeyAscii);
  void txtObjectNum_Change();
  void txtObjectName_KeyPress(int& KeyAscii);
  void txtObjectName_Change();

 private:
  void Step(int direction);
  // Enter in a header box: the box's change handler runs as a commit.
  void Enter(int& KeyAscii, const std::function<void()>& change);

  EditProtocol& edit_;
  frmMain& window_;
  // True while Enter typed into the name box runs its change handler: only that commits a
  // rename, never the program's own write of a name (an object selected by number, say).
  bool nameEnter_ = false;
};

}  // namespace tavoro
