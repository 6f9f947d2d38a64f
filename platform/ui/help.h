#pragma once
// The help call of the common dialog: a help command and a help file. The program hands an
// existing help file to the desktop's opener (through the shell, shell.h); a missing file does
// nothing and shows nothing. Tests install a recorder instead.

#include <functional>
#include <string>
#include <vector>

namespace plat {

// The help commands the program uses: open the help file itself, or its topics window.
inline constexpr int kHelpForceFile = 9;
inline constexpr int kHelpFinder = 11;

struct HelpRequest {
  int command = kHelpForceFile;
  std::string file;
};

// Shows help; false when nothing could be shown (no such file, or the desktop refused).
bool ShowHelp(const HelpRequest& request);

// Replaces the desktop (tests); an empty function restores it.
using HelpHandler = std::function<bool(const HelpRequest&)>;
void SetHelpHandler(HelpHandler handler);

// Records every request and answers `result`; installs itself and restores on destruction.
class HelpRecorder {
 public:
  explicit HelpRecorder(bool result = true);
  ~HelpRecorder();
  HelpRecorder(const HelpRecorder&) = delete;
  HelpRecorder& operator=(const HelpRecorder&) = delete;
  std::vector<HelpRequest> requests;
  bool result;

 private:
  HelpHandler previous_;
};

}  // namespace plat
