// The configuration window's controls and their events.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <array>

#include "dialogs/config.h"

namespace tavoro {

namespace {

using plat::ctl::Elastic;
using plat::ctl::Frame;
using plat::ctl::OptionButton;

constexpr std::array<const char*, 8> kDeviceCaptions = {"Floppy", "SCSI 0", "SCSI 1", "SCSI 2",
                                                        "SCSI 3", "SCSI 4", "SCSI 5", "SCSI 6"};
constexpr std::array<const char*, 3> kTypeCaptions = {"CD-&ROM", "&Hard Disk", "&Zip/Jaz Drive"};
constexpr std::array<const char*, 5> kVeskCaptions = {" Note", " Velocity On", " Velocity Off", " Midi Channel",
                                                      " SysEx Device ID"};

template <class T>
T* Named(T* control, const char* name) {
  control->SetName(name);
  return control;
}

}  // namespace

frmConfig::frmConfig(Link& link, QWidget* parent) : Form(parent), link_(link) {
  setObjectName("frmConfig");
  setWindowTitle("Configuration");
  auto* outer = new QVBoxLayout(this);

  vstConfig = Named(new plat::ctl::IndexTab(this), "vstConfig");
  vstConfig->SetCaption("Midi|Disk|Vesk");
  vseMidi = Named(new Elastic(this), "vseMidi");
  vseDisk = Named(new Elastic(this), "vseDisk");
  vseVesk = Named(new Elastic(this), "vseVesk");
  vstConfig->SetPage(kMidiTab, vseMidi);
  vstConfig->SetPage(kDiskTab, vseDisk);
  vstConfig->SetPage(kVeskTab, vseVesk);
  outer->addWidget(vstConfig);
  BuildMidiPage();
  BuildDiskPage();
  BuildVeskPage();
  vstConfig->SetCurrTab(kMidiTab);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  cmdOK = Named(new plat::ctl::CommandButton("&OK", this), "cmdOK");
  cmdCancel = Named(new plat::ctl::CommandButton("&Cancel", this), "cmdCancel");
  cmdApply = Named(new plat::ctl::CommandButton("&Apply", this), "cmdApply");
  for (auto* b : {cmdOK, cmdCancel, cmdApply}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  outer->addLayout(buttons);
  ConnectEvents();
  Form_Load = [this] { OnLoad(); };
  Form_Activate = [this] { OnActivate(); };
}

void frmConfig::BuildMidiPage() {
  auto* row = new QHBoxLayout(vseMidi);
  auto* lists = new QVBoxLayout;
  fraOutput = Named(new Frame("Output Device", vseMidi), "fraOutput");
  lstOutputDevice = Named(new plat::ctl::ListBox(fraOutput), "lstOutputDevice");
  (new QVBoxLayout(fraOutput))->addWidget(lstOutputDevice);
  fraInput = Named(new Frame("Input Device", vseMidi), "fraInput");
  lstInputDevice = Named(new plat::ctl::ListBox(fraInput), "lstInputDevice");
  (new QVBoxLayout(fraInput))->addWidget(lstInputDevice);
  for (auto* list : {lstOutputDevice, lstInputDevice}) {
    list->setMinimumWidth(260);
    list->setFixedHeight(list->fontMetrics().height() * 5 + 8);
  }
  lists->addWidget(fraOutput);
  lists->addWidget(fraInput);
  lists->addStretch(1);
  row->addLayout(lists, 1);
  Check1 = Named(new plat::ctl::CheckBox("MIDI &Thru", vseMidi), "Check1");
  row->addWidget(Check1, 0, Qt::AlignTop);
}

void frmConfig::BuildDiskPage() {
  auto* row = new QHBoxLayout(vseDisk);
  Frame& devices = fraDisk.Add(0, new Frame("Device ID", vseDisk));
  auto* grid = new QGridLayout(&devices);
  for (int i = 0; i < 8; ++i) {
    auto* option = new OptionButton(kDeviceCaptions[static_cast<std::size_t>(i)], &devices);
    optDevice.Add(i, option);
    grid->addWidget(option, i % 4, i / 4);
  }
  row->addWidget(&devices, 0, Qt::AlignTop);

  auto* right = new QVBoxLayout;
  chkInstalled = Named(new plat::ctl::CheckBox("&Installed", vseDisk), "chkInstalled");
  right->addWidget(chkInstalled);
  Frame& volume = fraDisk.Add(1, new Frame("Volume", vseDisk));
  auto* volumeRow = new QHBoxLayout(&volume);
  pnlDisk = Named(new plat::ctl::Panel3D("Volume Name", &volume), "pnlDisk");
  txtVolName = Named(new plat::ctl::TextBox(&volume), "txtVolName");
  volumeRow->addWidget(pnlDisk);
  volumeRow->addWidget(txtVolName, 1);
  right->addWidget(&volume);
  SSFrame1 = Named(new Frame("Device Type", vseDisk), "SSFrame1");
  auto* types = new QHBoxLayout(SSFrame1);
  for (int i = 0; i < 3; ++i) {
    auto* option = new OptionButton(kTypeCaptions[static_cast<std::size_t>(i)], SSFrame1);
    optType.Add(i, option);
    types->addWidget(option);
  }
  right->addWidget(SSFrame1);
  right->addStretch(1);
  row->addLayout(right, 1);
}

void frmConfig::BuildVeskPage() {
  auto* column = new QVBoxLayout(vseVesk);
  fraAudition = Named(new Frame("Audition", vseVesk), "fraAudition");
  auto* audition = new QGridLayout(fraAudition);
  auto* deviceRow = new QGridLayout;
  for (int i = 0; i < 5; ++i) {
    QWidget* parent = i == kDeviceIdBox ? static_cast<QWidget*>(vseVesk) : fraAudition;
    QGridLayout* grid = i == kDeviceIdBox ? deviceRow : audition;
    const int r = i == kDeviceIdBox ? 0 : i;
    auto* label = new plat::ctl::Panel3D(kVeskCaptions[static_cast<std::size_t>(i)], parent);
    label->SetCaptionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(" SysEx Device ID") + 12);
    pnlVeskconfig.Add(i, label);
    auto* box = new plat::ctl::TextBox(parent);
    box->SetDeleteKeyFiltered(false);  // the filter takes digits only; Delete still erases
    box->setFixedWidth(box->fontMetrics().horizontalAdvance("0000") + 12);
    txtVeskconfig.Add(i, box);
    spnVeskconfig.Add(i, new plat::ctl::SpinButton(parent));
    grid->addWidget(label, r, 0);
    grid->addWidget(box, r, 1);
    grid->addWidget(&spnVeskconfig(i), r, 2);
  }
  auto* noteName = new plat::ctl::TextBox(fraAudition);
  noteName->SetLocked(true);
  noteName->setFixedWidth(noteName->fontMetrics().horizontalAdvance("C#-10") + 12);
  txtVeskconfig.Add(kNoteNameBox, noteName);
  audition->addWidget(noteName, 0, 3);
  audition->setColumnStretch(4, 1);
  deviceRow->setColumnStretch(3, 1);
  column->addWidget(fraAudition);
  column->addLayout(deviceRow);
  column->addStretch(1);
}

void frmConfig::ConnectEvents() {
  for (auto* list : {lstInputDevice, lstOutputDevice}) {
    list->KeyDown = [this](int&, int) { MidiList_Touched(); };
    list->MouseDown = [this](int, int, int, int) { MidiList_Touched(); };
  }
  Check1->Click = [this] { Check1_Click(); };
  for (int i : optDevice.Indexes()) optDevice(i).Click = [this, i] { optDevice_Click(i); };
  chkInstalled->Click = [this] { chkInstalled_Click(); };
  for (int i : optType.Indexes()) optType(i).Click = [this, i] { optType_Click(i); };
  txtVolName->Change = [this] { txtVolName_Change(); };
  for (int i : txtVeskconfig.Indexes()) {
    txtVeskconfig(i).KeyPress = [this, i](int& key) { txtVeskconfig_KeyPress(i, key); };
    txtVeskconfig(i).Change = [this, i] { txtVeskconfig_Change(i); };
  }
  for (int i : spnVeskconfig.Indexes()) {
    spnVeskconfig(i).SpinUp = [this, i] { spnVeskconfig_SpinUp(i); };
    spnVeskconfig(i).SpinDown = [this, i] { spnVeskconfig_SpinDown(i); };
  }
  cmdApply->Click = [this] { cmdApply_Click(); };
  cmdOK->Click = [this] { cmdOK_Click(); };
  cmdCancel->Click = [this] { cmdCancel_Click(); };
}

}  // namespace tavoro
