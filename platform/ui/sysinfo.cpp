#include "platform/ui/sysinfo.h"

#include <sys/utsname.h>

#include <QGuiApplication>
#include <QScreen>
#include <mutex>

namespace plat {
namespace {

struct Overrides {
  std::mutex mutex;
  std::optional<ScreenTwips> screen;
  std::optional<OperatingSystem> os;
};

Overrides& Fixed() {
  static Overrides overrides;
  return overrides;
}

}  // namespace

ScreenTwips PrimaryScreenTwips() {
  {
    std::lock_guard lock(Fixed().mutex);
    if (Fixed().screen) return *Fixed().screen;
  }
  ScreenTwips twips;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return twips;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return twips;
  const QRect work = screen->availableGeometry();
  const QRect whole = screen->geometry();
  twips.workAreaWidth = static_cast<float>(work.width() * kTwipsPerPixel);
  twips.workAreaHeight = static_cast<float>(work.height() * kTwipsPerPixel);
  twips.screenWidth = whole.width() * kTwipsPerPixel;
  twips.screenHeight = whole.height() * kTwipsPerPixel;
  return twips;
}

void SetScreenTwipsOverride(std::optional<ScreenTwips> fixed) {
  std::lock_guard lock(Fixed().mutex);
  Fixed().screen = fixed;
}

OperatingSystem CurrentOperatingSystem() {
  {
    std::lock_guard lock(Fixed().mutex);
    if (Fixed().os) return *Fixed().os;
  }
  OperatingSystem os{"Linux", ""};
  utsname names{};
  if (::uname(&names) == 0) {
    if (names.sysname[0] != '\0') os.name = names.sysname;
    os.version = names.release;
  }
  return os;
}

void SetOperatingSystemOverride(std::optional<OperatingSystem> fixed) {
  std::lock_guard lock(Fixed().mutex);
  Fixed().os = std::move(fixed);
}

std::string PlatformLabelText() {
  OperatingSystem os = CurrentOperatingSystem();
  return os.version.empty() ? os.name : os.name + " ver " + os.version;
}

}  // namespace plat
