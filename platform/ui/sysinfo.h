#pragma once
// What the program asks of the system: the screen's size in twips (15 twips per pixel, the unit
// window positions are computed in) and the operating system's platform id and version for the
// splash. Tests can fix both.

#include <optional>
#include <string_view>

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

// Platform ids as the system information gives them: the three Windows families, and the id
// this system answers with, which is none of them.
inline constexpr int kPlatformWin32s = 0;
inline constexpr int kPlatformWindows = 1;
inline constexpr int kPlatformWindowsNT = 2;
inline constexpr int kPlatformLinux = -1;

struct OperatingSystem {
  int platformId = kPlatformLinux;
  float version = 0;  // major.minor as one number: kernel release "6.1.0-18-amd64" gives 6.1
};

// From uname (or the override).
OperatingSystem CurrentOperatingSystem();
void SetOperatingSystemOverride(std::optional<OperatingSystem> fixed);
// The leading "major.minor" of a release text as one number; 0 when it has none.
float ReleaseVersion(std::string_view release);

}  // namespace plat
