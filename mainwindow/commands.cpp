// The main window's commands: the downloads (which also bring an offline link back), the windows
// of the bulk operations, configuration, statistics, about, help and exit.
#include <QAction>

#include "dialogs/about.h"
#include "dialogs/config.h"
#include "dialogs/delete_object.h"
#include "dialogs/load_bank.h"
#include "dialogs/stats.h"
#include "dialogs/stereo_merge.h"
#include "editing/page_fillers.h"
#include "link/link.h"
#include "mainwindow/app.h"
#include "mainwindow/main_window.h"
#include "objects/downloads.h"
#include "platform/ui/help.h"
#include "platform/ui/message_box.h"

namespace tavoro {

namespace {

constexpr const char* kHelpFileName = "tavoro.hlp";
constexpr int kProdTimeoutMs = 5000;

// The object kind of the page shown, from its header prefix.
std::uint8_t KindOfPrefix(const std::string& prefix) {
  if (prefix == "t#") return 1;
  if (prefix == "m#") return 2;
  if (prefix == "p#") return 3;
  if (prefix == "mu#") return 4;
  return 0;
}

}  // namespace

void frmMain::ConnectCommands() {
  cmdDownLoad->MouseDown = [this](int button, int shift, int x, int y) { cmdDownload_MouseDown(button, shift, x, y); };
  cmdDownLoad->Click = [this] { cmdDownLoad_Click(); };
  cmdLoadBank->Click = [this] { cmdLoadBank_Click(); };
  cmdDeleteObject->Click = [this] { cmdDeleteObject_Click(); };
  cmdStereoMerge->Click = [this] { cmdStereoMerge_Click(); };
  cmdConfig->Click = [this] { cmdConfig_Click(); };
  cmdStats->Click = [this] { cmdStats_Click(); };
  const auto on = [this](QAction* item, auto handler) { connect(item, &QAction::triggered, this, handler); };
  on(mnuDLobject, [this] { mnuDLobject_Click(); });
  on(mnuDLallObjects, [this] { mnuDLallObjects_Click(); });
  on(mnuLoadBank, [this] { cmdLoadBank_Click(); });
  on(mnuDelete, [this] { cmdDeleteObject_Click(); });
  on(mnuStereoMerge, [this] { cmdStereoMerge_Click(); });
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
// Downloads

void frmMain::cmdDownload_MouseDown(int Button, int, int, int) {
  if (LinkBusy()) return;
  if (Button == plat::ctl::kLeftButton) {
    DownloadMode = kDownloadCurrent;  // the click that follows downloads
  } else if (Button == plat::ctl::kRightButton) {
    DownloadMode = kDownloadAll;
    cmdDownLoad_Click();
  }
}

void frmMain::mnuDLobject_Click() {
  if (LinkBusy()) return;
  DownloadMode = kDownloadCurrent;
  cmdDownLoad_Click();
}

void frmMain::mnuDLallObjects_Click() {
  if (LinkBusy()) return;
  DownloadMode = kDownloadAll;
  cmdDownLoad_Click();
}

bool frmMain::ProdOfflineLink() {
  Link& link = app_.link();
  if (!link.MidiOutLongMsg(link.Frame(FrontPanelKey(0)))) return false;
  const VeskResponse reply = link.GetVeskResponse(kProdTimeoutMs, kStatusMode);
  // The prod's reply is taken here, accepted or not, as the front panel's are.
  link.MidiInBusy = false;
  link.ledMIDIin.SetValue(false);
  if (!reply.Accepted()) return false;
  link.LinkState = 1;
  SetPanelText(kPanelLinkState, "ONLINE");
  cmdLoadBank->SetEnabled(true);
  if (DownloadMode == kDownloadCurrent) {
    SetPanelText(kPanelActivity, "Downloading Global data...");
    ObjectTransfer transfer(link, app_.store);
    if (transfer.GlobalObjDump()) {
      SetPanelText(kPanelActivity, CurrentBankText(app_.store.GlobalData));
      EditContext ctx = Editing();
      LoadGlobalDisplay(ctx);
    }
  }
  return true;
}

void frmMain::cmdDownLoad_Click() {
  HandlerScope scope(*this);
  if (LinkBusy()) return;
  if (app_.link().LinkState == -1 && !ProdOfflineLink()) return;
  if (DownloadMode == kDownloadCurrent) {
    ObjectDownload(KindOfPrefix(lblObjNumHash->Caption()));
    DownloadMode = kDownloadNone;
  } else if (DownloadMode == kDownloadAll) {
    AllObjectsDump();
    SetPanelText(kPanelFreeRam, FreeRamText(app_.store.FreeRamKw));
    Tavorotab_Click();
    DownloadMode = kDownloadNone;
  }
}

// ---------------------------------------------------------------------------------------------
// The bulk operations' windows

// Each operation window runs as one of this window's handlers: a close while the operation
// waits for the instrument ends the wait, and the ports close only once the operation is over.
void frmMain::cmdLoadBank_Click() {
  HandlerScope scope(*this);
  // No second request may cross one outstanding.
  if (LinkBusy()) return;
  if (app_.link().LinkState == -1) {
    plat::BoxRequest box;
    box.text = "Cannot get disk access with Vesk Offline!";
    plat::ShowMessageBox(box);
    return;
  }
  frmLoadBank::ShowModal(Operations());
}

void frmMain::cmdDeleteObject_Click() {
  HandlerScope scope(*this);
  if (!LinkBusy()) frmDeleteObject::ShowModal(Operations());
}

void frmMain::cmdStereoMerge_Click() {
  HandlerScope scope(*this);
  if (!LinkBusy()) frmStereoMerge::ShowModal(Operations());
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
