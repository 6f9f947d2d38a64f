#pragma once
// The splash window, the program's start-up object. Its load settles the home directory, turns the
// start-up trace on for the command line "/b" or "/B", shows the version and the platform, shows
// itself and then loads the main window, whose own load runs the whole link start-up and unloads
// the splash again.

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "link/trace.h"
#include "platform/controls/panels.h"

namespace tavoro {

// What the splash's load works on; the application object provides it.
struct SplashStart {
  StartupTrace& trace;        // DebugMode and the trace file
  std::string& HomeDir;       // set here
  std::string commandLine;    // what follows the program's name
  // Loads the main window (its load event runs inside); 0 when the main window was shown, else
  // the program's exit code.
  std::function<int()> LoadMainWindow;
  // The common error path's reset of the busy flags and lamps (when the link exists yet).
  std::function<void()> ClearBusyAndLamps;
};

inline constexpr const char* kTraceFileName = "tavoro.dbg";

class frmSplash : public QWidget {
 public:
  explicit frmSplash(QWidget* parent = nullptr);

  // The load event. Returns 0 when the main window was loaded and shown, else the exit code the
  // program should end with (every failure has been reported by then).
  int Form_Load(SplashStart& start);

  // Any key pressed on the splash hides it; the start-up under way goes on.
  void Form_KeyPress(int keyAscii);

  plat::ctl::Label* Image1 = nullptr;
  plat::ctl::Label* lblCompany = nullptr;
  plat::ctl::Label* lblVersion = nullptr;
  plat::ctl::Label* lblPlatform = nullptr;

  // "Version 1.0.1" for version 1.0.1.
  static std::string VersionText(int major, int minor, int revision);
  // The home directory from the registry's "Home Directory", else the current directory.
  static std::string ReadHomeDir();
  // The platform label's text for a platform id and OS version; none for an id the label does
  // not name (it then keeps "Platform").
  static std::optional<std::string> PlatformText(int platformId, float version);
  // HomeDir, the path separator and the trace file's name.
  static std::string TracePath(const std::string& homeDir);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tavoro
