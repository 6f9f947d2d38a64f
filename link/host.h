#pragma once
// What the instrument link needs of the main window, kept narrow so the link can be driven and
// tested without the window: the status-bar panels by number and the progress window.

#include <string>

namespace tavoro {

class LinkHost {
 public:
  virtual ~LinkHost() = default;
  // Text of the main window's status-bar panel `panel` (1 to 9; 8 is the link state).
  virtual void SetPanelText(int panel, const std::string& text) = 0;
  // True when the program's active window is the progress window ("frmProgress").
  virtual bool ProgressWindowActive() = 0;
  // Unloads the progress window (called only while it is the active window).
  virtual void UnloadProgressWindow() = 0;
};

// Panel numbers the link writes.
inline constexpr int kPanelLinkState = 8;

}  // namespace tavoro
