#pragma once
// The application object: made once in main() (and once per test), it owns every piece of the
// program's state - the start-up trace, the home directory, the edit flags, the object store, the
// page control lists, the instrument link with its settings - and the two start-up windows. There
// are no mutable globals besides it, so each test builds a fresh program.
//
//   tavoro::App app(commandLine);
//   int rc = app.Start();        // the splash's load, which loads and shows the main window
//   if (rc == 0) rc = qapp.exec();

#include <functional>
#include <memory>
#include <string>

#include "editing/edit_flags.h"
#include "editing/page_lists.h"
#include "link/link.h"
#include "link/trace.h"
#include "objects/records.h"

namespace tavoro {

class frmMain;
class frmSplash;

class App {
 public:
  // commandLine: what follows the program's name ("/b" turns the start-up trace on).
  explicit App(std::string commandLine = {});
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Runs the start: 0 once the main window is shown, otherwise the exit code the program must
  // end with (a fatal MIDI failure or a failed load; the user has been told why).
  int Start();

  // --- program state -------------------------------------------------------------------------
  StartupTrace trace;  // DebugMode and the trace file
  std::string HomeDir;
  EditFlags flags;
  ObjectStore store;
  PageControlLists lists;

  bool HasLink() const { return link_ != nullptr; }
  Link& link() { return *link_; }
  bool HasMainWindow() const { return main_ != nullptr; }
  frmMain& main() { return *main_; }
  frmSplash* splash() { return splash_.get(); }

  // The splash's load step that loads the main window; returns the load's exit code.
  int LoadMainWindow();
  // The main window's load is done with the splash: it goes out of sight now and is deleted once
  // its own load has returned.
  void UnloadSplash();
  bool SplashUnloaded() const { return splashUnloaded_; }
  // The main window has closed (its closing ran); the program ends.
  void MainUnloaded();
  std::function<void()> onMainUnloaded;

  // Exit codes of a start that did not end with the main window shown.
  static constexpr int kExitMidiFailure = 2;
  static constexpr int kExitLoadFailure = 3;

 private:
  std::string commandLine_;
  bool splashUnloaded_ = false;
  std::unique_ptr<frmSplash> splash_;
  std::unique_ptr<frmMain> main_;
  std::unique_ptr<Link> link_;  // refers to the main window's controls: goes first
};

}  // namespace tavoro
