#include "dialogs/splash.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <charconv>
#include <stdexcept>

#include "link/error.h"
#include "link/settings.h"
#include "platform/registry/registry.h"
#include "platform/ui/message_box.h"
#include "platform/ui/sysinfo.h"

#ifndef TAVORO_VERSION_MAJOR
#define TAVORO_VERSION_MAJOR 1
#define TAVORO_VERSION_MINOR 0
#define TAVORO_VERSION_PATCH 0
#endif

namespace tavoro {

namespace {

// The splash picture: the program's name over a dark panel with a row of keys, drawn here.
QPixmap SplashPicture() {
  const int w = 420, h = 170;
  QPixmap pm(w, h);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient bg(0, 0, 0, h);
  bg.setColorAt(0, QColor(28, 40, 74));
  bg.setColorAt(1, QColor(10, 14, 30));
  p.fillRect(pm.rect(), bg);

  // A stylised front panel: a display window and a row of buttons.
  p.setPen(QPen(QColor(120, 140, 190), 1));
  p.setBrush(QColor(16, 60, 40));
  p.drawRoundedRect(QRectF(w - 150, 22, 126, 34), 4, 4);
  p.setPen(QColor(120, 255, 170));
  QFont lcd("DejaVu Sans Mono", 10);
  p.setFont(lcd);
  p.drawText(QRectF(w - 146, 22, 118, 34), Qt::AlignCenter, "VESK  ONLINE");
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 6; ++i) {
    p.setBrush(i == 3 ? QColor(220, 90, 60) : QColor(170, 180, 205));
    p.drawRoundedRect(QRectF(w - 150 + i * 21, 66, 16, 10), 2, 2);
  }

  // A keyboard along the bottom.
  const int keyTop = h - 46, whiteW = 14;
  for (int x = 0, k = 0; x < w; x += whiteW, ++k) {
    p.setBrush(QColor(235, 235, 240));
    p.setPen(QPen(QColor(60, 60, 70), 1));
    p.drawRect(QRectF(x, keyTop, whiteW, 46));
  }
  for (int x = 0, k = 0; x < w; x += whiteW, ++k) {
    const int place = k % 7;
    if (place == 2 || place == 6) continue;
    p.setBrush(QColor(20, 20, 24));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(x + whiteW - 4.5, keyTop, 9, 28));
  }

  QFont title("DejaVu Sans", 34, QFont::Bold);
  p.setFont(title);
  p.setPen(QColor(240, 244, 255));
  p.drawText(QRectF(22, 14, 260, 60), Qt::AlignLeft | Qt::AlignVCenter, "Tavoro");
  QFont sub("DejaVu Sans", 10);
  p.setFont(sub);
  p.setPen(QColor(170, 185, 220));
  p.drawText(QRectF(24, 72, 280, 22), Qt::AlignLeft | Qt::AlignVCenter, "Editor and remote control for the Vesk");
  return pm;
}

}  // namespace

frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName("frmSplash");
  setWindowTitle("Tavoro");
  setFocusPolicy(Qt::StrongFocus);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 8);
  layout->setSpacing(2);

  Image1 = new plat::ctl::Label(this);
  Image1->SetName("Image1");
  Image1->setPixmap(SplashPicture());
  layout->addWidget(Image1);

  lblCompany = new plat::ctl::Label("Brevix", this);
  lblCompany->SetName("lblCompany");
  QFont companyFont = lblCompany->font();
  companyFont.setBold(true);
  lblCompany->setFont(companyFont);
  lblVersion = new plat::ctl::Label("Version", this);
  lblVersion->SetName("lblVersion");
  lblPlatform = new plat::ctl::Label("Platform", this);
  lblPlatform->SetName("lblPlatform");
  for (auto* label : {lblCompany, lblVersion, lblPlatform}) {
    label->setContentsMargins(12, 0, 12, 0);
    layout->addWidget(label);
  }
  setStyleSheet("frmSplash { background: #f2f3f7; border: 1px solid #4a5578; }");
  setAttribute(Qt::WA_StyledBackground);
  adjustSize();
}

std::string frmSplash::VersionText(int major, int minor, int revision) {
  return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

std::string frmSplash::ReadHomeDir() {
  namespace reg = plat::reg;
  const std::string current = QDir::currentPath().toStdString();
  reg::HKEY key = 0;
  const std::string path = std::string(kRegistryBase) + std::string(kApplicationKey);
  if (reg::RegOpenKeyEx(reg::HKEY_CURRENT_USER, path, 0, reg::KEY_ALL_ACCESS, &key) != reg::ERROR_SUCCESS || key == 0)
    return current;
  RegValue value;
  const long read = ReadRegValue(key, kHomeDirectoryValue, value);
  reg::RegCloseKey(key);
  if (read == -1) return current;
  const auto* text = std::get_if<std::string>(&value);
  if (text == nullptr || text->empty()) return current;
  return *text;
}

std::optional<std::string> frmSplash::PlatformText(int platformId, float version) {
  // The version in its shortest decimal form: 4.0 is "4", 4.1 is "4.1".
  char digits[32];
  const auto end = std::to_chars(digits, digits + sizeof digits, version).ptr;
  const std::string ver(digits, end);
  switch (platformId) {
    case plat::kPlatformWin32s: return std::string();
    case plat::kPlatformWindows: return "Windows 95 ver " + ver;
    case plat::kPlatformWindowsNT: return "Windows NT ver " + ver;
    default: return std::nullopt;  // the design-time caption stays
  }
}

std::string frmSplash::TracePath(const std::string& homeDir) {
  if (!homeDir.empty() && homeDir.back() == '/') return homeDir + kTraceFileName;
  return homeDir + "/" + kTraceFileName;
}

int frmSplash::Form_Load(SplashStart& start) {
  try {
    start.HomeDir = ReadHomeDir();

    if (start.commandLine == "/b" || start.commandLine == "/B") {
      const std::string path = TracePath(start.HomeDir);
      if (start.trace.DebugTrace.Open(path)) {
        start.trace.DebugMode = true;
        start.trace.Line("frmSplash_load(): Debug initiated.");
      } else {
        // A stale home directory must not stop the program: start without the trace.
        start.trace.DebugMode = false;
        plat::BoxRequest box;
        box.text = "frmSplash_Load()\r\nCannot open the trace file " + path + "; starting without the trace.";
        box.icon = plat::BoxIcon::Exclamation;
        plat::ShowMessageBox(box);
      }
    }

    lblVersion->SetCaption(VersionText(TAVORO_VERSION_MAJOR, TAVORO_VERSION_MINOR, TAVORO_VERSION_PATCH));
    const plat::OperatingSystem os = plat::CurrentOperatingSystem();
    if (const auto text = PlatformText(os.platformId, os.version)) lblPlatform->SetCaption(*text);
    adjustSize();

    start.trace.Line("frmSplash_load(): Displaying Splash.");
    show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    start.trace.Line("frmSplash_load(): Loading main form.");
  } catch (...) {
    MidiErrorMsg(-1, "frmSplash_Load()", "Error loading Startup screen");
    if (start.ClearBusyAndLamps) start.ClearBusyAndLamps();
    return 1;
  }
  return start.LoadMainWindow ? start.LoadMainWindow() : 1;
}

void frmSplash::Form_KeyPress(int) { hide(); }

void frmSplash::keyPressEvent(QKeyEvent* event) {
  Form_KeyPress(event->key());
  event->accept();
}

}  // namespace tavoro
