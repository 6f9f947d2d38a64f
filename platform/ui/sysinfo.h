#pragma once
// What the program asks of the system: the screen's size in twips (15 twips per pixel, the unit
// window positions are computed in) and the operating system's name and version for the splash.
// Tests can fix both.

#include <optional>
#include <string>

namespace plat {

inline constexpr int kTwipsPerPixel = 15;

struct ScreenTwips {
  float workAreaWidth = 0;   // the primary screen less panels and docks
  float workAreaHeight = 0;
  int screenWidth = 0;       // the whole primary screen
  int screenHeight = 0;
};

// The primary screen now (or the override); all zero when there is no screen.
ScreenTwips PrimaryScreenTwips();
// Fixes what PrimaryScreenTwips answers; nullopt goes back to the real screen.
void SetScreenTwipsOverride(std::optional<ScreenTwips> fixed);

struct OperatingSystem {
  std::string name;     // "Linux"
  std::string version;  // the kernel release, e.g. "6.1.0-18-amd64"
};

// From uname (or the override).
OperatingSystem CurrentOperatingSystem();
void SetOperatingSystemOverride(std::optional<OperatingSystem> fixed);
// The splash window's platform text: name & " ver " & version, e.g. "Linux ver 6.1.0-18-amd64".
std::string PlatformLabelText();

}  // namespace plat
