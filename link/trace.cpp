#include "link/trace.h"

namespace tavoro {

void StartupTrace::Line(std::string_view text) {
  if (DebugMode) DebugTrace.Write(text);
}

void StartupTrace::Line(std::string_view first, std::string_view second) {
  if (DebugMode) DebugTrace.Write({first, second});
}

}  // namespace tavoro
