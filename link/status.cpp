#include "link/status.h"

#include <array>

namespace tavoro {

std::string_view StatusText(int status) {
  static constexpr std::array<std::string_view, 12> texts = {
      "",
      "Unrecognised Vesk message",
      "Truncated Vesk message",
      "Error in Vesk message string",
      "Specified Vesk data object is empty/nonexistent",
      "Specified Vesk data object number is out of range",
      "Insufficient Vesk memory to perform this operation",
      "Unrecognised Vesk data object dump format code",
      "Illegal Vesk request",
      "Vesk device is busy",
      "Requested Vesk operation failed",
      "Vesk illegal data value encountered",
  };
  if (status >= 0 && status < static_cast<int>(texts.size())) return texts[static_cast<std::size_t>(status)];
  return "Unknown Vesk Error";
}

}  // namespace tavoro
