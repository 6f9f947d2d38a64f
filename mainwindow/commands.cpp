// The main window's commands: configuration, statistics, about, help and exit.
#include <QAction>

#include "dialogs/about.h"
#include "dialogs/config.h"
#include "dialogs/stats.h"
#include "link/link.h"
#include "mainwindow/app.h"
#include "mainwindow/main_window.h"
#include "platform/ui/help.h"

namespace tavoro {

namespace {

constexpr const char* kHelpFileName = "tavoro.hlp";

// The one window of a kind: made and loaded when there is none, then shown, not modal.
template <class F, class Make>
F& ShowSideWindow(QPointer<F>& slot, Make make) {
  if (!slot) {
    slot = make();
    slot->setAttribute(Qt::WA_DeleteOnClose);
    slot->Form_Load();
  }
  slot->show();
  slot->raise();
  slot->activateWindow();
  return *slot;
}

}  // namespace

void frmMain::ConnectCommands() {
  cmdConfig->Click = [this] { cmdConfig_Click(); };
  cmdStats->Click = [this] { cmdStats_Click(); };
  const auto on = [this](QAction* item, auto handler) { connect(item, &QAction::triggered, this, handler); };
  on(mnuHelpTopics, [this] { mnuHelp_Click(plat::kHelpFinder); });
  on(mnuHelpHelp, [this] { mnuHelp_Click(plat::kHelpForceFile); });
  on(mnuExit, [this] { close(); });
  on(mnuConfigMidi, [this] { mnuConfig_Click(frmConfig::kMidiTab); });
  on(mnuConfigDisk, [this] { mnuConfig_Click(frmConfig::kDiskTab); });
  on(mnuConfigVesk, [this] { mnuConfig_Click(frmConfig::kVeskTab); });
  on(mnuStats, [this] { mnuStats_Click(); });
  on(mnuAbout, [this] { mnuAbout_Click(); });
}

// ---------------------------------------------------------------------------------------------
// Side windows

frmConfig& frmMain::ShowConfig() {
  return ShowSideWindow(configForm_, [this] { return new frmConfig(app_.link(), this); });
}

void frmMain::cmdConfig_Click() {
  if (!LinkBusy()) ShowConfig();
}

void frmMain::mnuConfig_Click(int tab) {
  if (!LinkBusy()) ShowConfig().vstConfig->SetCurrTab(tab);
}

void frmMain::mnuStats_Click() {
  ShowSideWindow(statsForm_, [this] { return new frmStats(app_.store, this); });
}

void frmMain::cmdStats_Click() {
  if (!LinkBusy()) mnuStats_Click();
}

void frmMain::mnuAbout_Click() {
  ShowSideWindow(aboutForm_, [this] { return new frmAbout(this); });
}

// ---------------------------------------------------------------------------------------------
// Help

void frmMain::mnuHelp_Click(int command) {
  // A missing help file, or one the desktop cannot open, shows nothing from this program.
  const std::string& home = app_.HomeDir;
  const std::string file = home.empty() || home.back() == '/' ? home + kHelpFileName : home + "/" + kHelpFileName;
  plat::ShowHelp({command, file});
}

}  // namespace tavoro
