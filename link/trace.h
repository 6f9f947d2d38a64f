#pragma once
// The start-up trace: one line per call while DebugMode is set, written to the trace file that the
// splash window opens in the home directory and the main window's load closes again.

#include <string_view>

#include "platform/ui/trace.h"

namespace tavoro {

struct StartupTrace {
  bool DebugMode = false;
  plat::TraceFile DebugTrace;

  // One quoted text on its own line; nothing happens while DebugMode is off.
  void Line(std::string_view text);
  // Two quoted texts on one line, separated by a comma.
  void Line(std::string_view first, std::string_view second);
};

}  // namespace tavoro
