#pragma once
// Handing things to the desktop: opening an address (web or "mailto:") with the user's chosen
// program, and starting a program by its path. Tests install a recorder instead.

#include <functional>
#include <string>
#include <vector>

namespace plat {

// Opens the address with the desktop's handler; false when it could not be handed over.
// An address without a scheme ("www.example.com") is taken as a web address.
bool ShellOpen(const std::string& address);
// Starts the program at `path` in a window of its own, not waiting for it; false when it cannot start.
bool StartProgram(const std::string& path);

struct ShellRequest {
  std::string verb;    // "open" (ShellOpen) or "run" (StartProgram)
  std::string target;  // the address or the path
};

// Replaces the desktop (tests); an empty function restores it.
using ShellHandler = std::function<bool(const ShellRequest&)>;
void SetShellHandler(ShellHandler handler);

// Records every request and answers `result`; installs itself and restores on destruction.
class ShellRecorder {
 public:
  explicit ShellRecorder(bool result = true);
  ~ShellRecorder();
  ShellRecorder(const ShellRecorder&) = delete;
  ShellRecorder& operator=(const ShellRecorder&) = delete;
  std::vector<ShellRequest> requests;
  bool result;

 private:
  ShellHandler previous_;
};

}  // namespace plat
