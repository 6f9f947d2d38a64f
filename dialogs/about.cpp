#include "dialogs/about.h"

#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <vector>

#include "dialogs/splash.h"
#include "platform/ui/message_box.h"
#include "platform/ui/shell.h"

namespace tavoro {

namespace {

namespace reg = plat::reg;

constexpr std::uint32_t kReadAccess = 0x2003F;
constexpr std::uint32_t kValueBufferSize = 1024;

// The maker's logo: a rounded badge with a "B" over three key-like bars, drawn here.
QPixmap Logo() {
  QPixmap pm(64, 64);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(74, 85, 120), 2));
  p.setBrush(QColor(28, 40, 74));
  p.drawRoundedRect(QRectF(3, 3, 58, 58), 10, 10);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(220, 90, 60));
  for (int i = 0; i < 3; ++i) p.drawRoundedRect(QRectF(12 + i * 14, 44, 10, 10), 2, 2);
  QFont f("DejaVu Sans", 24, QFont::Bold);
  p.setFont(f);
  p.setPen(QColor(240, 244, 255));
  p.drawText(QRectF(3, 3, 58, 42), Qt::AlignCenter, "B");
  return pm;
}

QFrame* Line(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : Form(parent) {
  setObjectName("frmAbout");
  auto* outer = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  picBrevixlogo = new plat::ctl::Label(this);
  picBrevixlogo->SetName("picBrevixlogo");
  picBrevixlogo->setPixmap(Logo());
  picBrevixlogo->setAlignment(Qt::AlignTop);
  top->addWidget(picBrevixlogo);

  auto* texts = new QVBoxLayout;
  lblTitle = new plat::ctl::Label("Application Title", this);
  lblTitle->SetName("lblTitle");
  QFont titleFont = lblTitle->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);
  lblVersion = new plat::ctl::Label("Version", this);
  lblVersion->SetName("lblVersion");
  texts->addWidget(lblTitle);
  texts->addWidget(lblVersion);
  texts->addSpacing(8);
  const char* shown[2] = {"support@brevix.example", "www.brevix.example/tavoro"};
  for (int i = 0; i < 2; ++i) {
    auto* contact = new plat::ctl::Label(shown[i], this);
    lblContact.Add(i, contact);
    contact->SetForeColor(0xFF0000);  // blue: an address to click
    contact->setCursor(Qt::PointingHandCursor);
    QFont f = contact->font();
    f.setUnderline(true);
    contact->setFont(f);
    texts->addWidget(contact);
  }
  for (int i : lblContact.Indexes()) {
    lblContact(i).MouseUp = [this, i](int button, int, int x, int y) {
      // A click: the left button let go over the label.
      const QPoint at(plat::ctl::PixelsFromTwips(x), plat::ctl::PixelsFromTwips(y));
      if (button == plat::ctl::kLeftButton && lblContact(i).rect().contains(at)) lblContact_Click(i);
    };
  }
  texts->addStretch(1);
  top->addLayout(texts, 1);
  outer->addLayout(top);
  outer->addWidget(Line(this));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  cmdOK = new plat::ctl::CommandButton("OK", this);
  cmdOK->SetName("cmdOK");
  cmdOK->setDefault(true);
  cmdSysInfo = new plat::ctl::CommandButton("&System Info...", this);
  cmdSysInfo->SetName("cmdSysInfo");
  auto* column = new QVBoxLayout;
  column->addWidget(cmdOK);
  column->addWidget(cmdSysInfo);
  buttons->addLayout(column);
  outer->addLayout(buttons);
  cmdOK->Click = [this] { cmdOK_Click(); };
  cmdSysInfo->Click = [this] { cmdSysInfo_Click(); };
  setMinimumWidth(360);
  Form_Load = [this] { OnLoad(); };
}

void frmAbout::OnLoad() {
  setWindowTitle(QString::fromLatin1("About ") + QString::fromLatin1(kProgramTitle));
  lblVersion->SetCaption(frmSplash::VersionText(TAVORO_VERSION_MAJOR, TAVORO_VERSION_MINOR, TAVORO_VERSION_PATCH));
  lblTitle->SetCaption(kProgramTitle);
}

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::lblContact_Click(int Index) {
  // What the desktop makes of the address is its own business: nothing is reported.
  plat::ShellOpen(Index == 1 ? kContactWeb : kContactMail);
}

bool frmAbout::GetKeyValue(reg::HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                           std::string& KeyVal) {
  KeyVal.clear();
  reg::HKEY key = 0;
  if (reg::RegOpenKeyEx(KeyRoot, KeyName, 0, kReadAccess, &key) != reg::ERROR_SUCCESS) return false;
  std::vector<std::uint8_t> buffer(kValueBufferSize);
  std::uint32_t type = 0;
  std::uint32_t size = kValueBufferSize;
  const long rc = reg::RegQueryValueEx(key, SubKeyRef, &type, buffer.data(), &size);
  reg::RegCloseKey(key);
  if (rc != reg::ERROR_SUCCESS) return false;
  std::string text(reinterpret_cast<const char*>(buffer.data()), size);
  if (!text.empty() && text.back() == '\0') text.pop_back();
  if (type == reg::REG_SZ) {
    KeyVal = text;
  } else if (type == reg::REG_DWORD && size == 4) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | buffer[static_cast<std::size_t>(i)];
    KeyVal = "&h" + QString::number(value, 16).toUpper().toStdString();
  }
  return true;
}

void frmAbout::StartSysInfo() {
  const auto started = [] {
    std::string path;
    if (GetKeyValue(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path))
      return plat::StartProgram(path);
    std::string dir;
    if (!GetKeyValue(reg::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", dir)) return false;
    const std::string program = dir + (!dir.empty() && dir.back() == '/' ? "" : "/") + "MSINFO32.EXE";
    return QFileInfo(QString::fromStdString(program)).isFile() && plat::StartProgram(program);
  };
  if (started()) return;
  plat::BoxRequest box;
  box.text = kSysInfoUnavailable;
  plat::ShowMessageBox(box);
}

}  // namespace tavoro
