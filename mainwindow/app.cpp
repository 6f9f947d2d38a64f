#include "mainwindow/app.h"

#include "dialogs/splash.h"
#include "mainwindow/main_window.h"

namespace tavoro {

App::App(std::string commandLine) : commandLine_(std::move(commandLine)) {}

App::~App() {
  // The link refers to the main window's ports and lamps: it goes first.
  link_.reset();
  main_.reset();
  splash_.reset();
  trace.DebugTrace.Close();
}

int App::Start() {
  splash_ = std::make_unique<frmSplash>();
  SplashStart start{trace, HomeDir, commandLine_, [this] { return LoadMainWindow(); },
                    [this] {
                      if (link_) link_->ClearBusyAndLamps();
                    }};
  const int rc = splash_->Form_Load(start);
  // Whatever happened, the splash has served its turn.
  splash_.reset();
  if (rc != 0) {
    // The program ends here: no window stays behind, and the trace is closed.
    if (main_) main_->hide();
    trace.DebugTrace.Close();
    trace.DebugMode = false;
  }
  return rc;
}

int App::LoadMainWindow() {
  main_ = std::make_unique<frmMain>(*this);
  link_ = std::make_unique<Link>(
      LinkParts{main_->ctlMIDIin, main_->ctlMIDIout, *main_->ledMIDIin, *main_->ledMIDIout, *main_, trace});
  link_->settings.HomeDir = HomeDir;
  switch (main_->Form_Load()) {
    case frmMain::LoadResult::Shown: return 0;
    case frmMain::LoadResult::Fatal: return kExitMidiFailure;
    case frmMain::LoadResult::Failed: break;
  }
  return kExitLoadFailure;
}

void App::UnloadSplash() {
  splashUnloaded_ = true;
  if (splash_) splash_->hide();
}

void App::MainUnloaded() {
  if (onMainUnloaded) onMainUnloaded();
}

}  // namespace tavoro
