#include "platform/ui/sysinfo.h"

#include <sys/utsname.h>

#include <cctype>
#include <charconv>

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
  OperatingSystem os;
  utsname names{};
  if (::uname(&names) == 0) os.version = ReleaseVersion(names.release);
  return os;
}

void SetOperatingSystemOverride(std::optional<OperatingSystem> fixed) {
  std::lock_guard lock(Fixed().mutex);
  Fixed().os = std::move(fixed);
}

float ReleaseVersion(std::string_view release) {
  // Digits, a point and digits: "6.1.0-18-amd64" is 6.1, "5" is 5.
  std::size_t end = 0;
  while (end < release.size() && std::isdigit(static_cast<unsigned char>(release[end]))) ++end;
  if (end == 0) return 0;
  if (end + 1 < release.size() && release[end] == '.' && std::isdigit(static_cast<unsigned char>(release[end + 1]))) {
    ++end;
    while (end < release.size() && std::isdigit(static_cast<unsigned char>(release[end]))) ++end;
  }
  float v = 0;
  std::from_chars(release.data(), release.data() + end, v);
  return v;
}

}  // namespace plat
