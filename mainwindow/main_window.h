#pragma once
// frmMain, the program's main window "Tavoro": the frame every page shares (object header,
// command buttons, front-panel buttons, activity lamps, menus, status bar), the tab strip with the
// eight pages, the Map page's keyboard, the MIDI controls and the window's timers.
//
// It is loaded (not shown) by the splash window; its load runs the link start-up and shows it.
// Closing it writes the settings and shuts the MIDI ports; a close asked for while one of its
// handlers is waiting for the instrument ends that wait and is carried out once the handler has
// returned, so nothing is torn down under a running handler.

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/about.h"
#include "dialogs/config.h"
#include "dialogs/operation.h"
#include "dialogs/stats.h"
#include "editing/edit_context.h"
#include "editing/editor_view.h"
#include "link/host.h"
#include "link/startup.h"
#include "pages/tab_pages.h"
#include "platform/controls/buttons.h"
#include "platform/controls/control_array.h"
#include "platform/controls/form.h"
#include "platform/controls/index_tab.h"
#include "platform/controls/keyboard.h"
#include "platform/controls/panels.h"
#include "platform/controls/spin_button.h"
#include "platform/controls/status_bar.h"
#include "platform/controls/text_box.h"
#include "platform/controls/window_timer.h"
#include "platform/host/hosted_lamp.h"
#include "platform/midi/midi_controls.h"
#include "platform/ui/lamp.h"
#include "platform/ui/sysinfo.h"

class QAction;
class QMenu;

namespace tavoro {

class App;
class Link;
class PageHandlers;

class frmMain : public QMainWindow, public LinkHost, public StartupHost, public EditorHost, public OperationHost {
 public:
  explicit frmMain(App& app);
  ~frmMain() override;
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // --- load and close ------------------------------------------------------------------------
  enum class LoadResult { Shown, Fatal, Failed };
  // The load event: centring, link start-up, splash unloaded, trace closed, window shown.
  LoadResult Form_Load();
  // The closing: settings written, side windows closed, both ports stopped and closed.
  void Form_QueryUnload();
  bool Unloaded() const { return unloaded_; }
  // The load's centring: the window's top-left corner in twips when the work area is larger than
  // 12000 by 8580 twips, otherwise nothing (the window keeps its place).
  static std::optional<QPoint> CentredTopLeft(const plat::ScreenTwips& screen, int widthTwips, int heightTwips);

  // --- handlers and public operations --------------------------------------------------------
  void Tavorotab_Click();
  void cmdPushButton_Click(int Index);
  // Reads object kind 0-4 again and refills its page (window_downloads.cpp, with AllObjectsDump).
  void ObjectDownload(std::uint8_t ObjType);
  void cmdPlaySample_MouseDown(int Button, int Shift, int X, int Y);
  void cmdPlaySample_MouseUp(int Button, int Shift, int X, int Y);
  void pnlKey_DragOver(int Index);
  void pnlKey_DragDrop();
  void hsbKey_Change() override;
  void ctlMIDIin_Message();
  void tmrComboRetract_Timer();
  void cboTone_DropDown(int Index);
  void cboPreset_DropDown(int Index);
  void cboGlobal_DropDown(int Index);
  // The choice lists' commit handlers, run by tmrComboRetract once a list has closed.
  void cboTone_Change(int Index);
  void cboPreset_Change(int Index);
  void cboGlobal_Change(int Index);
  // The commands (commands.cpp). DownloadMode says what cmdDownLoad_Click downloads: set by the
  // download button's mouse press or menu item just before, back to none once done.
  enum : std::int16_t { kDownloadNone = 0, kDownloadCurrent = 1, kDownloadAll = 2 };
  std::int16_t DownloadMode = kDownloadNone;
  void cmdDownLoad_Click();
  void cmdDownload_MouseDown(int Button, int Shift, int X, int Y);
  void mnuDLobject_Click();
  void mnuDLallObjects_Click();
  void cmdLoadBank_Click();
  void cmdDeleteObject_Click();
  void cmdStereoMerge_Click();
  void cmdConfig_Click();
  void mnuConfig_Click(int tab);  // shows the configuration window on page `tab`
  void cmdStats_Click();
  void mnuStats_Click();
  void mnuAbout_Click();
  void mnuHelp_Click(int command);  // help command 9 (the file) or 11 (its topics)
  // Who commits a list of the given name (another window's list registers itself here; tests
  // may listen in). An empty function removes the entry.
  void SetComboCommit(const std::string& name, std::function<void(int index)> commit) override;

  // --- LinkHost ------------------------------------------------------------------------------
  void SetPanelText(int panel, const std::string& text) override;
  bool ProgressWindowActive() override;
  void UnloadProgressWindow() override;

  // --- StartupHost ---------------------------------------------------------------------------
  void SetCommandEnabled(Command command, bool enabled) override;
  void BuildControlLists() override;
  void ClearObjDisplay(std::uint8_t kind) override;
  bool AllObjectsDump() override;
  std::int32_t FreeRamKw() override;
  void SetWaveScrollIndex(std::int16_t index) override;
  void SetSuppressChange(bool on) override;

  // --- OperationHost (operations.cpp) --------------------------------------------------------
  QWidget* MainWindow() override { return this; }
  std::string PageLabel() override;
  bool LoadDisplay(std::uint8_t kind) override;
  std::string WaveSizeText() override;
  std::string WaveModeText() override;
  void RunAsHandler(const std::function<void()>& operation) override;
  // What the delete, load bank and stereo merge windows work on (frmDeleteObject::ShowModal,
  // frmLoadBank::ShowModal, frmStereoMerge::ShowModal); valid once the link exists.
  OperationContext Operations();

  // The window's mouse pointer: 11 hourglass, 0 default.
  void SetMousePointer(int pointer);
  int MousePointer() const;

  // The controls the editing procedures reach beyond the pages.
  EditorView View();
  // What the senders and page fillers work on; valid once the link exists.
  EditContext Editing();

  // --- frame controls ------------------------------------------------------------------------
  plat::ctl::IndexTab* Tavorotab = nullptr;
  TabPages pages;  // vseTabStrip(0..7) and every page control

  plat::ctl::Panel3D* pnlObjNum = nullptr;
  plat::ctl::Panel3D* pnlObjName = nullptr;
  plat::ctl::Label* lblObjNumHash = nullptr;
  plat::ctl::TextBox* txtObjectNum = nullptr;
  plat::ctl::TextBox* txtObjectName = nullptr;
  plat::ctl::SpinButton* spnObjectNum = nullptr;

  plat::ctl::ControlArray<plat::ctl::Elastic> vsElastic{"vsElastic"};
  plat::ctl::PictureButton* cmdDownLoad = nullptr;
  plat::ctl::PictureButton* cmdLoadBank = nullptr;
  plat::ctl::PictureButton* cmdDeleteObject = nullptr;
  plat::ctl::PictureButton* cmdStereoMerge = nullptr;
  plat::ctl::PictureButton* cmdConfig = nullptr;
  plat::ctl::PictureButton* cmdStats = nullptr;
  plat::ctl::PictureButton* cmdPlaySample = nullptr;
  plat::ctl::ControlArray<plat::ctl::PictureButton> cmdPushButton{"cmdPushButton"};

  plat::ctl::Keyboard* keyboard = nullptr;  // pnlKey, picMap, lblKey, hsbKey
  plat::ctl::ControlArray<plat::ctl::Panel3D>& pnlKey();
  plat::ctl::ScrollBar& hsbKey();
  plat::ctl::ControlArray<plat::ctl::Label>& lblKey();
  plat::ctl::PictureBox& picMap();
  plat::ctl::ControlArray<plat::ctl::Label> lblZone{"lblZone"};

  plat::ctl::StatusBar* stbMainForm = nullptr;
  // The activity lamps: lamp controls when the lamp library is registered, else plain lamps.
  plat::Lamp* ledMIDIout = nullptr;
  plat::Lamp* ledMIDIin = nullptr;
  QWidget* ledMIDIoutWidget = nullptr;  // null for a plain lamp
  QWidget* ledMIDIinWidget = nullptr;

  plat::MIDIOutput ctlMIDIout;
  plat::MIDIInput ctlMIDIin;
  plat::ctl::WindowTimer tmrComboRetract;

  QMenu* mnuFile = nullptr;
  QAction* mnuLoadBank = nullptr;
  QAction* sep1 = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuConfig = nullptr;
  QAction* mnuConfigMidi = nullptr;
  QAction* mnuConfigDisk = nullptr;
  QAction* mnuConfigVesk = nullptr;
  QMenu* mnuTools = nullptr;
  QMenu* mnuDownload = nullptr;
  QAction* mnuDLobject = nullptr;
  QAction* mnuDLallObjects = nullptr;
  QAction* mnuStereoMerge = nullptr;
  QAction* mnuDelete = nullptr;
  QAction* sep3 = nullptr;
  QAction* mnuStats = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuHelpTopics = nullptr;
  QAction* mnuHelpHelp = nullptr;
  QAction* mnuAbout = nullptr;

  // The keyboard's held notes during one drag (at most kMaxHeld).
  const std::vector<std::int16_t>& HeldNotes() const { return heldNotes_; }
  static constexpr int kMaxHeld = 768;

  // Runs `body` as one of the window's handlers: a close asked for meanwhile waits until the
  // outermost handler has returned.
  template <class F>
  void Handler(F&& body) {
    HandlerScope scope(*this);
    body();
  }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  class HandlerScope {
   public:
    explicit HandlerScope(frmMain& w) : w_(w) { ++w_.handlerDepth_; }
    ~HandlerScope() { w_.LeaveHandler(); }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

   private:
    frmMain& w_;
  };

  void BuildMenus();
  void BuildHeader(QWidget* band);
  void BuildCommandButtons(QWidget* band);
  void BuildFrontPanel(QWidget* band);
  void BuildKeyboard();
  void BuildStatusBar();
  void ConnectEvents();
  void ConnectCommands();
  // The download's prod of an offline link; true once the link is back online.
  bool ProdOfflineLink();
  frmConfig& ShowConfig();
  frmConfig* MakeConfig();
  frmStats* MakeStats();
  void Centre();
  void LeaveHandler();
  bool LinkBusy() const;
  void ArmComboRetract() override;
  // A note on or off, straight through the output port, blinking the out lamp.
  void SendShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);
  void NoteOn(int note);
  void NoteOff(int note);
  void InAction(int action);
  void OutAction(int action);

  App& app_;
  plat::LampFactory lampFactory_;
  std::unique_ptr<plat::Lamp> ledOut_;
  std::unique_ptr<plat::Lamp> ledIn_;
  std::vector<std::int16_t> heldNotes_;
  bool auditionHeld_ = false;
  int handlerDepth_ = 0;
  bool closePending_ = false;
  bool unloaded_ = false;
  std::map<std::string, std::function<void(int)>> comboCommit_;
  std::int32_t lastBankNumber_ = 0;  // the bank last asked for in this run
  // The side windows, one of each at a time.
  plat::ctl::FormSlot<frmConfig> configForm_{[this] { return MakeConfig(); }};
  plat::ctl::FormSlot<frmStats> statsForm_{[this] { return MakeStats(); }};
  plat::ctl::FormSlot<frmAbout> aboutForm_{[this] { return new frmAbout(this); }};
  std::unique_ptr<PageHandlers> handlers_;  // the object pages' handlers
};

}  // namespace tavoro
