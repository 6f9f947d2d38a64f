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

frmConfig* frmMain::MakeConfig() { return new frmConfig(app_.link(), this); }
frmStats* frmMain::MakeStats() { return new frmStats(app_.store, this); }

frmConfig& frmMain::ShowConfig() {
  frmConfig& config = configForm_.Get();
  config.Show(plat::ctl::Form::kModeless);
  return config;
}

void frmMain::cmdConfig_Click() {
  if (!LinkBusy()) ShowConfig();
}

void frmMain::mnuConfig_Click(int tab) {
  if (!LinkBusy()) ShowConfig().vstConfig->SetCurrTab(tab);
}

void frmMain::mnuStats_Click() {
  frmStats& stats = statsForm_.Get();
  stats.Load();
  stats.Show(plat::ctl::Form::kModeless);
}

void frmMain::cmdStats_Click() {
  if (!LinkBusy()) mnuStats_Click();
}

void frmMain::mnuAbout_Click() { aboutForm_.Get().Show(plat::ctl::Form::kModeless); }

// ---------------------------------------------------------------------------------------------
// Help

void frmMain::mnuHelp_Click(int command) {
  // A missing help file, or one the desktop cannot open, shows nothing from this program.
  const std::string& home = app_.HomeDir;
  const std::string file = home.empty() || home.back() == '/' ? home + kHelpFileName : home + "/" + kHelpFileName;
  plat::ShowHelp({command, file});
}

}  // namespace tavoro
