#pragma once
// The error trap every link, transfer and editing procedure runs under. The body is the
// procedure's work; any exception out of it (a MIDI control error, a message position outside a
// reply, a failed conversion, ...) ends the procedure with its failure value after:
//   Trap:        the error box (name, message), both busy flags cleared, in lamp then out lamp off;
//   TrapBoxOnly: the error box only (flags and lamps untouched; resources close by RAII);
//   TrapSilent:  nothing at all.
// Nothing is retried and no exception passes up: the caller sees only the failure value.
//
//   bool Link::OpenOutputDevice() {
//     return Trap(*this, "OpenOutputDevice()", "Error opening MIDI output device", false, [&] {
//       ...
//       return true;
//     });
//   }

#include <string_view>
#include <utility>

namespace tavoro {

class Link;

// The error path: the box (none once the program is closing), both busy flags False, in lamp
// and out lamp off.
void RunErrorPath(Link& link, std::string_view procName, std::string_view message);
// The box alone.
void ShowErrorBox(std::string_view procName, std::string_view message);

template <class R, class OnError, class Body>
R TrapWith(OnError&& onError, R failValue, Body&& body) {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
  }
  onError();
  return failValue;
}

template <class R, class Body>
R Trap(Link& link, std::string_view procName, std::string_view message, R failValue, Body&& body) {
  return TrapWith([&] { RunErrorPath(link, procName, message); }, std::move(failValue), std::forward<Body>(body));
}

template <class R, class Body>
R TrapBoxOnly(std::string_view procName, std::string_view message, R failValue, Body&& body) {
  return TrapWith([&] { ShowErrorBox(procName, message); }, std::move(failValue), std::forward<Body>(body));
}

template <class R, class Body>
R TrapSilent(R failValue, Body&& body) {
  return TrapWith([] {}, std::move(failValue), std::forward<Body>(body));
}

}  // namespace tavoro
