#pragma once
// The instrument's status replies and what a reply wait ends with.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/bytes.h"

namespace tavoro {

// Position of the status byte in a status reply (F0 00 00 1B 02 05 id xx s F7).
inline constexpr std::size_t kStatusPos = 9;
// The text form of a reply wait that got no answer.
inline constexpr std::string_view kTimedOutText = "65";

// The message shown for a non-zero status: the eleven known texts, "Unknown Vesk Error" for any
// other value, and an empty text for 0 (accepted).
std::string_view StatusText(int status);

// Modes of GetVeskResponse: 1 decodes a status reply; any other value hands back the whole reply.
inline constexpr int kStatusMode = 1;
inline constexpr int kReplyMode = 2;
inline constexpr int kNoTimeout = -1;

struct VeskResponse {
  enum class Outcome {
    Reply,     // a reply arrived and was taken
    TimedOut,  // no reply within the time-out (or none could come: the send had failed)
    Closing,   // the program is closing; nothing shown
    Failed,    // a run-time failure inside the wait (e.g. a status reply shorter than 9 bytes)
  };
  Outcome outcome = Outcome::Failed;
  // Status mode: the status byte of the reply. Empty unless a status was actually read.
  std::optional<std::uint8_t> status;
  // Reply mode: the whole reply, F0 to F7.
  plat::Bytes reply;
  // The classic text form: the status in decimal, the whole reply as one character per byte,
  // "65" after a time-out or while closing, empty after a run-time failure.
  std::string text;

  // The instrument accepted the request (status mode, status 0).
  bool Accepted() const { return outcome == Outcome::Reply && status.has_value() && *status == 0; }
  bool GotReply() const { return outcome == Outcome::Reply; }
};

}  // namespace tavoro
