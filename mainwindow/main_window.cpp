#include "mainwindow/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>
#include <array>

#include "editing/clear_display.h"
#include "editing/page_fillers.h"
#include "editing/page_lists.h"
#include "link/link.h"
#include "mainwindow/app.h"
#include "mainwindow/icons.h"
#include "mainwindow/page_handlers.h"
#include "pages/page_texts.h"
#include "platform/controls/lists.h"
#include "platform/ui/find_window.h"
#include "platform/ui/sysinfo.h"
#include "platform/ui/wait.h"

namespace tavoro {

namespace {

using plat::ctl::Control;
using plat::ctl::Elastic;
using plat::ctl::Label;
using plat::ctl::Panel3D;
using plat::ctl::PictureButton;

// Front-panel buttons: caption and the key code each sends (the first four in reverse order).
struct PanelKey {
  const char* caption;
  std::uint8_t code;
};
constexpr std::array<PanelKey, 12> kPanelKeys = {{{"Wave", 3},
                                                  {"Tone", 2},
                                                  {"Map", 1},
                                                  {"Preset", 0},
                                                  {"Disk", 4},
                                                  {"Globl", 5},
                                                  {"Util", 6},
                                                  {"Exec", 7},
                                                  {"+/Inc", 8},
                                                  {"-/Dec", 9},
                                                  {"<-", 10},
                                                  {"->", 11}}};
constexpr int kExecButton = 7;
constexpr int kFrontPanelTimeoutMs = 5000;

// The pages of the tab strip: header captions, prefix, download item, page button.
struct TabRow {
  const char* numCaption;
  const char* nameCaption;
  const char* prefix;
  const char* downloadItem;
  int pageButton;
};
constexpr std::array<TabRow, 8> kTabRows = {{{"Preset Num", "Preset Name", "p#", "&Current Preset", 3},
                                             {"Preset Num", "Preset Name", "p#", "&Current Preset", 3},
                                             {"Map Num", "Map Name", "m#", "&Current Map", 2},
                                             {"Tone Num", "Tone Name", "t#", "&Current Tone", 1},
                                             {"Tone Num", "Tone Name", "t#", "&Current Tone", 1},
                                             {"Tone Num", "Tone Name", "t#", "&Current Tone", 1},
                                             {"Wave Num", "Wave Name", "w#", "&Current Wave", 0},
                                             {"Multi Num", "Multi Name", "mu#", "&Current Multi", 5}}};

// Centring thresholds of the work area, in twips.
constexpr float kCentreMinWidth = 12000.0f;
constexpr float kCentreMinHeight = 8580.0f;

QString Q(const char* text) { return QString::fromLatin1(text); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction

frmMain::frmMain(App& app) : QMainWindow(nullptr), pages(nullptr), app_(app) {
  setObjectName("frmMain");
  setWindowTitle("Tavoro");

  BuildMenus();

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(4, 2, 4, 0);
  column->setSpacing(3);

  auto* band = new QWidget(central);
  band->setObjectName("frameBand");
  auto* bandRow = new QHBoxLayout(band);
  bandRow->setContentsMargins(0, 0, 0, 0);
  bandRow->setSpacing(4);
  BuildHeader(band);
  BuildCommandButtons(band);
  BuildFrontPanel(band);
  column->addWidget(band);

  Tavorotab = new plat::ctl::IndexTab(central);
  Tavorotab->SetName("Tavorotab");
  Tavorotab->SetCaption(std::string(tavoro::pages::kTabCaptions));
  for (int tab = 0; tab < TabPages::kTabCount; ++tab) Tavorotab->SetPage(tab, &pages.vseTabStrip(tab));
  Tavorotab->SetCurrTab(0);
  column->addWidget(Tavorotab, 1);

  BuildKeyboard();
  BuildStatusBar();
  column->addWidget(stbMainForm);
  setCentralWidget(central);

  tmrComboRetract.SetName("tmrComboRetract");
  tmrComboRetract.SetEnabled(false);

  comboCommit_["cboTone"] = [this](int index) { cboTone_Change(index); };
  comboCommit_["cboPreset"] = [this](int index) { cboPreset_Change(index); };
  comboCommit_["cboGlobal"] = [this](int index) { cboGlobal_Change(index); };

  ConnectEvents();
  handlers_ = std::make_unique<PageHandlers>(app_, *this);
  hsbKey_Change();
  adjustSize();
}

frmMain::~frmMain() {
  // What the window's parts raise while they go (a drag ended by hiding the keyboard, a tab
  // change) must not reach the handlers any more: the link may be gone already.
  for (int i : pnlKey().Indexes()) {
    pnlKey()(i).DragOver = nullptr;
    pnlKey()(i).DragDrop = nullptr;
  }
  cmdPlaySample->MouseDown = nullptr;
  cmdPlaySample->MouseUp = nullptr;
  Tavorotab->Click = nullptr;
  hsbKey().Change = nullptr;
  tmrComboRetract.Timer = nullptr;
  for (int i : cmdPushButton.Indexes()) cmdPushButton(i).Click = nullptr;
}

void frmMain::BuildMenus() {
  QMenuBar* bar = menuBar();
  auto action = [this](QMenu* menu, const char* name, const char* caption) {
    QAction* a = menu->addAction(Q(caption));
    a->setObjectName(Q(name));
    return a;
  };
  auto separator = [](QMenu* menu, const char* name) {
    QAction* s = menu->addSeparator();
    s->setObjectName(Q(name));
    return s;
  };

  mnuFile = bar->addMenu(Q("&File"));
  mnuFile->setObjectName("mnuFile");
  mnuLoadBank = action(mnuFile, "mnuLoadBank", "&Load Disk Bank");
  sep1 = separator(mnuFile, "sep1");
  mnuExit = action(mnuFile, "mnuExit", "E&xit");

  mnuConfig = bar->addMenu(Q("C&onfig"));
  mnuConfig->setObjectName("mnuConfig");
  mnuConfigMidi = action(mnuConfig, "mnuConfigMidi", "&Midi");
  mnuConfigDisk = action(mnuConfig, "mnuConfigDisk", "&Disk");
  mnuConfigVesk = action(mnuConfig, "mnuConfigVesk", "&Vesk");

  mnuTools = bar->addMenu(Q("&Tools"));
  mnuTools->setObjectName("mnuTools");
  mnuDownload = mnuTools->addMenu(Q("Down&load"));
  mnuDownload->setObjectName("mnuDownload");
  mnuDownload->menuAction()->setObjectName("mnuDownload");
  mnuDLobject = action(mnuDownload, "mnuDLobject", "&Current Object");
  mnuDLallObjects = action(mnuDownload, "mnuDLallObjects", "&All Objects");
  mnuStereoMerge = action(mnuTools, "mnuStereoMerge", "Stereo &Merge");
  mnuDelete = action(mnuTools, "mnuDelete", "&Delete");
  sep3 = separator(mnuTools, "sep3");
  mnuStats = action(mnuTools, "mnuStats", "Vesk &Stats");

  mnuHelp = bar->addMenu(Q("&Help"));
  mnuHelp->setObjectName("mnuHelp");
  mnuHelpTopics = action(mnuHelp, "mnuHelpTopics", "Help &Topics");
  mnuHelpHelp = action(mnuHelp, "mnuHelpHelp", "&Help");
  mnuHelp->addSeparator();
  mnuAbout = action(mnuHelp, "mnuAbout", "&About");
}

void frmMain::BuildHeader(QWidget* band) {
  auto* header = new QWidget(band);
  auto* grid = new QGridLayout(header);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(2);

  pnlObjNum = new Panel3D("Preset Num", header);
  pnlObjNum->SetName("pnlObjNum");
  pnlObjName = new Panel3D("Preset Name", header);
  pnlObjName->SetName("pnlObjName");
  for (Panel3D* p : {pnlObjNum, pnlObjName}) {
    p->SetBevelOuter(2);
    p->setFixedHeight(20);
  }

  lblObjNumHash = new Label("p#", header);
  lblObjNumHash->SetName("lblObjNumHash");
  lblObjNumHash->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QFont hashFont = lblObjNumHash->font();
  hashFont.setBold(true);
  lblObjNumHash->setFont(hashFont);
  lblObjNumHash->setMinimumWidth(lblObjNumHash->fontMetrics().horizontalAdvance("mu#") + 4);

  txtObjectNum = new plat::ctl::TextBox(header);
  txtObjectNum->SetName("txtObjectNum");
  txtObjectNum->SetTag("txt");
  txtObjectNum->SetMaxLength(3);
  txtObjectNum->setFixedWidth(txtObjectNum->fontMetrics().horizontalAdvance("0000") + 12);

  spnObjectNum = new plat::ctl::SpinButton(header);
  spnObjectNum->SetName("spnObjectNum");

  txtObjectName = new plat::ctl::TextBox(header);
  txtObjectName->SetName("txtObjectName");
  txtObjectName->SetTag("txt");
  txtObjectName->SetMaxLength(14);
  txtObjectName->SetText("No Preset Loaded");
  txtObjectName->setFixedWidth(txtObjectName->fontMetrics().horizontalAdvance("MMMMMMMMMM") + 8);

  auto* numRow = new QHBoxLayout;
  numRow->setSpacing(2);
  numRow->addWidget(lblObjNumHash);
  numRow->addWidget(txtObjectNum);
  numRow->addWidget(spnObjectNum);
  grid->addWidget(pnlObjNum, 0, 0);
  grid->addLayout(numRow, 1, 0);
  grid->addWidget(pnlObjName, 0, 1);
  grid->addWidget(txtObjectName, 1, 1);
  band->layout()->addWidget(header);
}

void frmMain::BuildCommandButtons(QWidget* band) {
  struct CommandButton {
    PictureButton** slot;
    const char* name;
    const char* hint;
    CommandPicture picture;
    int group;
  };
  const std::array<CommandButton, 7> commands = {{
      {&cmdDownLoad, "cmdDownLoad", "Download Object(s)", CommandPicture::Download, 0},
      {&cmdLoadBank, "cmdLoadBank", "Load Disk Bank", CommandPicture::LoadBank, 0},
      {&cmdDeleteObject, "cmdDeleteObject", "Delete Object", CommandPicture::Delete, 0},
      {&cmdStereoMerge, "cmdStereoMerge", "Stereo Merge", CommandPicture::StereoMerge, 0},
      {&cmdConfig, "cmdConfig", "Config", CommandPicture::Config, 1},
      {&cmdStats, "cmdStats", "Vesk Stats", CommandPicture::Stats, 1},
      {&cmdPlaySample, "cmdPlaySample", "Audition", CommandPicture::Audition, 1},
  }};
  for (int g = 0; g < 2; ++g) {
    auto* group = new Elastic(band);
    vsElastic.Add(g, group);
    group->setFrameShape(QFrame::StyledPanel);
    group->setFrameShadow(QFrame::Raised);
    auto* row = new QHBoxLayout(group);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    for (const CommandButton& c : commands) {
      if (c.group != g) continue;
      auto* button = new PictureButton(group);
      button->SetName(c.name);
      button->SetPicture(CommandIcon(c.picture));
      button->SetToolTipText(c.hint);
      button->setIconSize(QSize(22, 22));
      button->setAutoRaise(true);
      button->setFixedSize(30, 30);
      row->addWidget(button);
      *c.slot = button;
    }
    band->layout()->addWidget(group);
  }
}

void frmMain::BuildFrontPanel(QWidget* band) {
  auto* panel = new Elastic(band);
  vsElastic.Add(2, panel);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Raised);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(3, 2, 3, 2);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(2);
  QFont small = panel->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  for (int i = 0; i < static_cast<int>(kPanelKeys.size()); ++i) {
    auto* button = new PictureButton(kPanelKeys[static_cast<std::size_t>(i)].caption, panel);
    button->setFont(small);
    button->setFixedSize(40, 20);
    cmdPushButton.Add(i, button);
    grid->addWidget(button, i / 6, i % 6);
  }

  // The activity lamps beside the front panel: out above in.
  auto* lamps = new QWidget(band);
  auto* lampGrid = new QGridLayout(lamps);
  lampGrid->setContentsMargins(2, 2, 2, 2);
  lampGrid->setHorizontalSpacing(3);
  lampGrid->setVerticalSpacing(4);
  const auto storedOut = plat::StoredLedMIDIout();
  const auto storedIn = plat::StoredLedMIDIin();
  ledOut_ = lampFactory_.Create(lamps, storedOut, &ledMIDIoutWidget);
  ledIn_ = lampFactory_.Create(lamps, storedIn, &ledMIDIinWidget);
  ledMIDIout = ledOut_.get();
  ledMIDIin = ledIn_.get();
  if (ledMIDIoutWidget) {
    ledMIDIoutWidget->setFixedSize(ledMIDIoutWidget->sizeHint());
    ledMIDIoutWidget->setObjectName("ledMIDIout");
    ledMIDIoutWidget->setToolTip("MIDI Out");
    lampGrid->addWidget(ledMIDIoutWidget, 0, 0);
    lampGrid->addWidget(new QLabel("Out", lamps), 0, 1);
  }
  if (ledMIDIinWidget) {
    ledMIDIinWidget->setFixedSize(ledMIDIinWidget->sizeHint());
    ledMIDIinWidget->setObjectName("ledMIDIin");
    ledMIDIinWidget->setToolTip("MIDI In");
    lampGrid->addWidget(ledMIDIinWidget, 1, 0);
    lampGrid->addWidget(new QLabel("In", lamps), 1, 1);
  }

  band->layout()->addWidget(panel);
  band->layout()->addWidget(lamps);
  static_cast<QHBoxLayout*>(band->layout())->addStretch(1);
}

void frmMain::BuildKeyboard() {
  // The keyboard lives on the Map page, under the page's own controls: the page's layout moves
  // into an upper part, and the keyboard goes below it.
  Elastic& mapPage = pages.vseTabStrip(TabPages::kMap);
  auto* upper = new QWidget(&mapPage);
  if (auto* old = qobject_cast<QBoxLayout*>(mapPage.layout())) {
    auto* moved = new QBoxLayout(old->direction());
    moved->setContentsMargins(old->contentsMargins());
    moved->setSpacing(old->spacing());
    while (old->count() > 0) {
      const int stretch = old->stretch(0);
      QLayoutItem* item = old->takeAt(0);
      if (QLayout* inner = item->layout()) {
        moved->addLayout(inner, stretch);
      } else if (QWidget* widget = item->widget()) {
        const Qt::Alignment alignment = item->alignment();
        delete item;
        moved->addWidget(widget, stretch, alignment);
      } else {
        moved->addItem(item);
      }
    }
    delete old;
    upper->setLayout(moved);
  }
  keyboard = new plat::ctl::Keyboard(&mapPage);
  keyboard->setObjectName("keyboard");
  if (mapPage.layout() == nullptr) {
    auto* column = new QVBoxLayout(&mapPage);
    column->setContentsMargins(0, 0, 0, 4);
    column->setSpacing(2);
    column->addWidget(upper);
    column->addSpacing(6);
    column->addWidget(keyboard, 0, Qt::AlignHCenter);
    column->addStretch(1);
  } else {
    // A page laid out otherwise keeps its layout; the keyboard sits under its contents.
    delete upper;
    keyboard->move(0, mapPage.sizeHint().height());
  }
  hsbKey().SetTag("hsc");
  hsbKey().SetValue(2);

  // Zone number labels over the zone strip: member 0 exists with the window, hidden.
  auto* zone = new Label(&picMap());
  zone->setAlignment(Qt::AlignCenter);
  zone->SetForeColor(0xFFFFFF);
  zone->hide();
  lblZone.Add(0, zone);
}

void frmMain::BuildStatusBar() {
  stbMainForm = new plat::ctl::StatusBar(this);
  stbMainForm->SetName("stbMainForm");
  struct Panel {
    const char* text;
    const char* key;
    const char* tag;
    const char* hint;
    int minWidth;
    bool stretch;
  };
  const std::array<Panel, 9> panels = {{
      {"p#", "pnlPresetNum", "p#", "Current Preset", 56, false},
      {"m#", "pnlMapNum", "m#", "Current Map", 56, false},
      {"t#", "pnlToneNum", "t#", "Current Tone", 56, false},
      {"w#", "pnlWaveNum", "w#", "Current Wave", 56, false},
      {"mu#", "pnlMultiNum", "mu#", "Current Multi", 56, false},
      {"Free Mem:", "pnlFreeMem", "freeMem", "Free Sample RAM", 120, false},
      {"Current Bank:", "pnlCurrBank", "currBank", "Current Bank", 150, true},
      {"OFFLINE", "pnlVeskstatus", "Veskstatus", "Vesk Status", 64, false},
      {"Midi IO", "pnlIO", "IO", "MIDI Data Flow", 56, false},
  }};
  for (const Panel& p : panels) {
    auto& panel = stbMainForm->Add(p.key, p.text, p.tag, p.hint, p.stretch);
    panel.setMinimumWidth(p.minWidth);
  }
  stbMainForm->Panels(8).setAlignment(Qt::AlignCenter);
}

void frmMain::ConnectEvents() {
  Tavorotab->Click = [this] { Tavorotab_Click(); };
  for (int i : cmdPushButton.Indexes()) cmdPushButton(i).Click = [this, i] { cmdPushButton_Click(i); };
  cmdPlaySample->MouseDown = [this](int button, int shift, int x, int y) { cmdPlaySample_MouseDown(button, shift, x, y); };
  cmdPlaySample->MouseUp = [this](int button, int shift, int x, int y) { cmdPlaySample_MouseUp(button, shift, x, y); };
  for (int i : pnlKey().Indexes()) {
    Panel3D& key = pnlKey()(i);
    key.DragOver = [this, i](Control*, int, int, int) { pnlKey_DragOver(i); };
    key.DragDrop = [this](Control*, int, int) { pnlKey_DragDrop(); };
  }
  hsbKey().Change = [this] { hsbKey_Change(); };
  tmrComboRetract.Timer = [this] { tmrComboRetract_Timer(); };
  for (int i : pages.cboTone.Indexes()) pages.cboTone(i).DropDown = [this, i] { cboTone_DropDown(i); };
  for (int i : pages.cboPreset.Indexes()) pages.cboPreset(i).DropDown = [this, i] { cboPreset_DropDown(i); };
  for (int i : pages.cboGlobal.Indexes()) pages.cboGlobal(i).DropDown = [this, i] { cboGlobal_DropDown(i); };
  ConnectCommands();
}

plat::ctl::ControlArray<Panel3D>& frmMain::pnlKey() { return keyboard->Keys(); }
plat::ctl::ScrollBar& frmMain::hsbKey() { return keyboard->OctaveBar(); }
plat::ctl::ControlArray<Label>& frmMain::lblKey() { return keyboard->OctaveLabels(); }
plat::ctl::PictureBox& frmMain::picMap() { return keyboard->ZonePicture(); }

EditorView frmMain::View() {
  EditorView v;
  v.pages = &pages;
  v.txtObjectNum = txtObjectNum;
  v.txtObjectName = txtObjectName;
  v.pnlKey = &pnlKey();
  v.hsbKey = &hsbKey();
  v.picMap = &picMap();
  v.lblZone = &lblZone;
  return v;
}

EditContext frmMain::Editing() { return EditContext{app_.link(), app_.store, app_.flags, View(), app_.lists, this}; }

// ---------------------------------------------------------------------------------------------
// Load and close

std::optional<QPoint> frmMain::CentredTopLeft(const plat::ScreenTwips& screen, int widthTwips, int heightTwips) {
  if (!(screen.workAreaWidth > kCentreMinWidth && screen.workAreaHeight > kCentreMinHeight)) return std::nullopt;
  // Integer division truncates toward zero, also for a window larger than the screen.
  return QPoint((screen.screenWidth - widthTwips) / 2, (screen.screenHeight - heightTwips) / 2);
}

void frmMain::Centre() {
  const QRect frame = frameGeometry();
  const auto place = CentredTopLeft(plat::PrimaryScreenTwips(), plat::ctl::TwipsFromPixels(frame.width()),
                                    plat::ctl::TwipsFromPixels(frame.height()));
  if (place) move(plat::ctl::PixelsFromTwips(place->x()), plat::ctl::PixelsFromTwips(place->y()));
}

frmMain::LoadResult frmMain::Form_Load() {
  HandlerScope scope(*this);
  Link& link = app_.link();
  try {
    link.trace.Line("frmMain_load()");
    Centre();
    if (Initialise(link, *this) == InitResult::Fatal) return LoadResult::Fatal;
    app_.UnloadSplash();
    if (link.trace.DebugMode) {
      link.trace.Line("frmMain_load(): Loading Main Screen.");
      link.trace.DebugTrace.Close();
      link.trace.DebugMode = false;
    }
    show();
    return LoadResult::Shown;
  } catch (...) {
    RunErrorPath(link, "frmMain_Load()", "Error loading Main screen");
    return LoadResult::Failed;
  }
}

void frmMain::Form_QueryUnload() {
  Link& link = app_.link();
  link.SetRegistry();
  for (const char* title : {"Progress", "Configuration", "Vesk Statistics"}) {
    if (QWidget* w = plat::FindTopLevelWindow(title)) w->close();
  }
  // A port that fails to stop or close is left as it is; the program is ending anyway.
  try {
    if (ctlMIDIin.PortOpen() != 0) {
      InAction(plat::midi::Stop);
      InAction(plat::midi::Close);
    }
  } catch (const std::exception&) {
  }
  try {
    if (ctlMIDIout.PortOpen() != 0) {
      OutAction(plat::midi::Stop);
      OutAction(plat::midi::Close);
    }
  } catch (const std::exception&) {
  }
}

bool frmMain::LinkBusy() const {
  if (!app_.HasLink()) return false;
  const Link& link = app_.link();
  return link.MidiOutBusy || link.MidiInBusy;
}

void frmMain::closeEvent(QCloseEvent* event) {
  if (unloaded_) {
    event->accept();
    return;
  }
  if (!app_.HasLink()) {  // closed before the load ran: nothing to write back
    unloaded_ = true;
    event->accept();
    return;
  }
  // Every wait ends now; a handler that was waiting finishes, and the close follows.
  plat::RequestWaitsEnd();
  if (handlerDepth_ > 0) {
    closePending_ = true;
    event->ignore();
    return;
  }
  pnlKey_DragDrop();  // no note left sounding
  if (auditionHeld_) cmdPlaySample_MouseUp(plat::ctl::kLeftButton, 0, 0, 0);
  Form_QueryUnload();
  unloaded_ = true;
  closePending_ = false;
  event->accept();
  app_.MainUnloaded();
}

void frmMain::LeaveHandler() {
  if (--handlerDepth_ > 0 || !closePending_) return;
  QTimer::singleShot(0, this, [this] {
    if (!unloaded_) close();
  });
}

void frmMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // An audition note held while the window loses the focus is released at once.
  if (event->type() == QEvent::ActivationChange && !isActiveWindow() && auditionHeld_)
    cmdPlaySample_MouseUp(plat::ctl::kLeftButton, 0, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// LinkHost and StartupHost

void frmMain::SetPanelText(int panel, const std::string& text) { stbMainForm->Panels(panel).SetText(text); }

bool frmMain::ProgressWindowActive() {
  QWidget* active = QApplication::activeWindow();
  return active != nullptr && active->objectName() == "frmProgress";
}

void frmMain::UnloadProgressWindow() {
  if (QWidget* active = QApplication::activeWindow(); active && active->objectName() == "frmProgress") active->close();
}

void frmMain::SetCommandEnabled(Command command, bool enabled) {
  switch (command) {
    case Command::LoadBank: cmdLoadBank->SetEnabled(enabled); break;
    case Command::DeleteObject: cmdDeleteObject->SetEnabled(enabled); break;
    case Command::DeleteMenu: mnuDelete->setEnabled(enabled); break;
    case Command::StereoMerge: cmdStereoMerge->SetEnabled(enabled); break;
    case Command::StereoMergeMenu: mnuStereoMerge->setEnabled(enabled); break;
  }
}

void frmMain::BuildControlLists() { app_.lists = BuildPageControlLists(pages, hsbKey()); }

void frmMain::ClearObjDisplay(std::uint8_t kind) {
  tavoro::ClearObjDisplay(View(), app_.lists, app_.flags, app_.link(), kind);
}

std::int32_t frmMain::FreeRamKw() { return app_.store.FreeRamKw; }
void frmMain::SetWaveScrollIndex(std::int16_t index) { app_.flags.WaveScrollIndex = index; }
void frmMain::SetSuppressChange(bool on) { app_.flags.SuppressChange = on; }

void frmMain::SetMousePointer(int pointer) { plat::ctl::SetMousePointer(this, pointer); }
int frmMain::MousePointer() const { return plat::ctl::MousePointer(this); }

// ---------------------------------------------------------------------------------------------
// Page tabs and object header

void frmMain::Tavorotab_Click() {
  HandlerScope scope(*this);
  int tab = Tavorotab->CurrTab();
  if (tab < 0 || tab >= static_cast<int>(kTabRows.size())) tab = 0;
  const TabRow& row = kTabRows[static_cast<std::size_t>(tab)];
  pnlObjNum->SetCaption(row.numCaption);
  pnlObjName->SetCaption(row.nameCaption);
  lblObjNumHash->SetCaption(row.prefix);
  mnuDLobject->setText(Q(row.downloadItem));

  ObjectStore& s = app_.store;
  bool loaded = false;
  const ObjDir* dir = nullptr;
  int dirIdx = 0;
  std::string name;
  switch (tab) {
    case 0: case 1: loaded = s.PresetLoaded; dir = &s.PresetDir; dirIdx = s.PresetDirIdx; name = s.CurPreset.Name; break;
    case 2: loaded = s.MapLoaded; dir = &s.MapDir; dirIdx = s.MapDirIdx; name = s.CurMap.Name; break;
    case 3: case 4: case 5: loaded = s.ToneLoaded; dir = &s.ToneDir; dirIdx = s.ToneDirIdx; name = s.CurTone.Name; break;
    case 6: loaded = s.WaveLoaded; dir = &s.WaveDir; dirIdx = s.WaveDirIdx; name = s.CurWave.Name; break;
    default: loaded = s.MultiLoaded; dir = &s.MultiDir; dirIdx = s.MultiDirIdx; name = s.CurMulti.Name; break;
  }
  // A directory position that names no entry counts as nothing loaded.
  if (loaded && (dirIdx < 0 || dirIdx >= static_cast<int>(dir->Entries.size()))) loaded = false;
  mnuDLobject->setEnabled(loaded);

  if (loaded) {
    txtObjectName->SetLocked(false);
    txtObjectNum->SetLocked(false);
    txtObjectNum->SetText(std::to_string(dir->Entries[static_cast<std::size_t>(dirIdx)].Number));
    const auto first = name.find_first_not_of(' ');
    const auto last = name.find_last_not_of(' ');
    txtObjectName->SetText(first == std::string::npos ? std::string() : name.substr(first, last - first + 1));
    cmdDeleteObject->SetEnabled(true);
    mnuDelete->setEnabled(true);
  } else {
    txtObjectNum->SetText("");
    txtObjectName->SetText("None Loaded");
    txtObjectName->SetLocked(true);
    txtObjectNum->SetLocked(true);
    cmdDeleteObject->SetEnabled(false);
    mnuDelete->setEnabled(false);
  }
  // The name is the program's own text now: no edit, committed or refused, is left showing.
  txtObjectName->SetForeColor(EditProtocol::kShownColour);

  if (app_.HasLink() && app_.link().LinkState == 1) cmdPushButton_Click(row.pageButton);
}

// ---------------------------------------------------------------------------------------------
// Front panel, audition, keyboard

void frmMain::cmdPushButton_Click(int Index) {
  HandlerScope scope(*this);
  Link& link = app_.link();
  if (link.MidiOutBusy || link.MidiInBusy) return;
  if (Index < 0 || Index >= static_cast<int>(kPanelKeys.size())) return;
  Trap(link, "cmdPushButton()", "Error updating Vesk front panel display", false, [&] {
    link.MidiOutLongMsg(link.Frame(FrontPanelKey(kPanelKeys[static_cast<std::size_t>(Index)].code)));
    const VeskResponse reply =
        link.GetVeskResponse(Index == kExecButton ? kNoTimeout : kFrontPanelTimeoutMs, kStatusMode);
    link.MidiInBusy = false;
    link.ledMIDIin.SetValue(false);
    if (reply.Accepted() && link.LinkState == -1) {
      link.LinkState = 1;
      SetPanelText(kPanelLinkState, "ONLINE");
      cmdLoadBank->SetEnabled(true);
    }
    return true;
  });
}

void frmMain::InAction(int action) {
  Link& link = app_.link();
  if (link.onControlLog) link.onControlLog("in.action " + std::to_string(action));
  ctlMIDIin.SetAction(action);
}

void frmMain::OutAction(int action) {
  Link& link = app_.link();
  if (link.onControlLog) link.onControlLog("out.action " + std::to_string(action));
  ctlMIDIout.SetAction(action);
}

void frmMain::SendShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  if (!app_.HasLink()) return;
  Link& link = app_.link();
  // A note that cannot go out is not worth a box: the key or button is simply silent.
  TrapSilent(false, [&] {
    ctlMIDIout.SetMessageStatus(status);
    ctlMIDIout.SetMessageData1(data1);
    ctlMIDIout.SetMessageData2(data2);
    link.ArmLedTimer();
    OutAction(plat::midi::Start);
    OutAction(plat::midi::Transmit);
    OutAction(plat::midi::Stop);
    return true;
  });
}

void frmMain::NoteOn(int note) {
  if (!app_.HasLink()) return;
  const Settings& s = app_.link().settings;
  SendShortMessage(static_cast<std::uint8_t>(0x90 | (s.PlaybackChannel & 0x0F)), static_cast<std::uint8_t>(note & 0x7F),
                   static_cast<std::uint8_t>(s.PlaybackVelocityOn & 0x7F));
}

void frmMain::NoteOff(int note) {
  if (!app_.HasLink()) return;
  const Settings& s = app_.link().settings;
  SendShortMessage(static_cast<std::uint8_t>(0x80 | (s.PlaybackChannel & 0x0F)), static_cast<std::uint8_t>(note & 0x7F),
                   static_cast<std::uint8_t>(s.PlaybackVelocityOff & 0x7F));
}

void frmMain::cmdPlaySample_MouseDown(int Button, int, int, int) {
  if (Button != plat::ctl::kLeftButton || !app_.HasLink()) return;
  auditionHeld_ = true;
  NoteOn(app_.link().settings.PlaybackNote);
}

void frmMain::cmdPlaySample_MouseUp(int Button, int, int, int) {
  if (Button != plat::ctl::kLeftButton || !app_.HasLink()) return;
  auditionHeld_ = false;
  NoteOff(app_.link().settings.PlaybackNote);
}

void frmMain::pnlKey_DragOver(int Index) {
  if (Index == plat::ctl::Keyboard::kBackdrop || Index < 0 || Index >= plat::ctl::Keyboard::kKeys) return;
  if (!app_.HasLink()) return;
  const int note = hsbKey().Value() * 12 + Index;
  if (note > 127) return;
  if (!heldNotes_.empty() && heldNotes_.back() == note) return;  // still on the last key played
  pnlKey()(Index).SetBevelOuter(0);
  if (static_cast<int>(heldNotes_.size()) < kMaxHeld) {
    NoteOn(note);
    heldNotes_.push_back(static_cast<std::int16_t>(note));
  } else {
    // The list is full: the last entry makes room, and its note is not left sounding.
    NoteOff(heldNotes_.back());
    NoteOn(note);
    heldNotes_.back() = static_cast<std::int16_t>(note);
  }
}

void frmMain::pnlKey_DragDrop() {
  if (heldNotes_.empty()) return;
  const int base = hsbKey().Value() * 12;
  const std::vector<std::int16_t> held = std::move(heldNotes_);
  heldNotes_.clear();
  for (std::int16_t note : held) {
    NoteOff(note);
    const int index = note - base;
    if (index >= 0 && index < plat::ctl::Keyboard::kKeys) pnlKey()(index).SetBevelOuter(2);
  }
}

void frmMain::hsbKey_Change() {
  const int p = hsbKey().Value();
  for (int j = 0; j < 6; ++j) {
    if (!lblKey().Exists(j)) continue;
    lblKey()(j).SetCaption(j == 0 && p == 0 ? std::string("C-") : "C" + std::to_string(p + j - 1));
  }
  for (int i = 0; i < plat::ctl::Keyboard::kKeys; ++i) pnlKey()(i).SetTag(std::to_string(12 * p + i));
  // Notes above 127 have no key: the last four panels go at the top octave and come back below it.
  for (int i = 68; i < plat::ctl::Keyboard::kKeys; ++i) pnlKey()(i).SetVisible(p != 5);
  Plot_MapZones(View(), app_.store, app_.lists);
}

void frmMain::ctlMIDIin_Message() { app_.link().ctlMIDIin_Message(); }

// ---------------------------------------------------------------------------------------------
// Choice-list commit

void frmMain::ArmComboRetract() {
  if (LinkBusy()) return;  // opened during an exchange: nothing will be committed
  tmrComboRetract.SetInterval(1);
  tmrComboRetract.SetEnabled(true);
}

void frmMain::cboTone_DropDown(int) { ArmComboRetract(); }
void frmMain::cboPreset_DropDown(int) { ArmComboRetract(); }
void frmMain::cboGlobal_DropDown(int) { ArmComboRetract(); }

void frmMain::tmrComboRetract_Timer() {
  HandlerScope scope(*this);
  auto* combo = dynamic_cast<plat::ctl::ComboBox*>(plat::ctl::ScreenActiveControl());
  if (combo == nullptr) {
    tmrComboRetract.SetEnabled(false);
    return;
  }
  const std::string name = combo->Name();
  const int index = name == "cboLoadBank" ? -1 : combo->Index();
  if (combo->IsDropped()) return;
  // Stopped before the commit: a commit that waits for the instrument must not be ticked into
  // a second time from inside its own wait.
  tmrComboRetract.SetEnabled(false);
  auto it = comboCommit_.find(name);
  if (it != comboCommit_.end() && it->second) {
    auto commit = it->second;
    commit(index);
  }
}

void frmMain::SetComboCommit(const std::string& name, std::function<void(int)> commit) {
  if (commit)
    comboCommit_[name] = std::move(commit);
  else
    comboCommit_.erase(name);
}

// The lists' own commits arrive with their pages' handlers.
void frmMain::cboTone_Change(int Index) { handlers_->tone.cboTone_Change(Index); }
void frmMain::cboPreset_Change(int Index) { handlers_->preset.cboPreset_Change(Index); }
void frmMain::cboGlobal_Change(int Index) { handlers_->global.cboGlobal_Change(Index); }

}  // namespace tavoro
