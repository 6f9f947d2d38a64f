#pragma once
// The edit flags that the page handlers and the parameter senders share: which key a box took
// last, whether change events are to be ignored, whether the next change event comes from the
// program's own write, and whether an accepted value is being sent.

#include <cstdint>

namespace tavoro {

struct EditFlags {
  std::uint8_t LastKeyAscii = 0;   // last key a box took: 13 Enter commits, 8 Backspace
  bool SuppressChange = false;     // change events do nothing while the program fills controls
  bool ProgramTextSet = false;     // one-shot: the next change event is the program's own write
  bool SendPending = false;        // an edited value passed its checks and is being sent
  std::int16_t WaveScrollIndex = -1;  // the Wave scroll bar being handled, -1 none
};

}  // namespace tavoro
