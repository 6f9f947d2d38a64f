#pragma once
// The edit flags that the page handlers and the parameter senders share: which key a box took
// last, whether change events are to be ignored, whether the next change event comes from the
// program's own write, whether an accepted value is being sent, and the envelopes' modes.

#include <cstdint>

namespace tavoro {

struct EditFlags {
  std::uint8_t LastKeyAscii = 0;   // last key a box took: 13 Enter commits, 8 Backspace
  bool SuppressChange = false;     // change events do nothing while the program fills controls
  bool ProgramTextSet = false;     // one-shot: the next change event is the program's own write
  bool SendPending = false;        // an edited value passed its checks and is being sent
  std::int16_t WaveScrollIndex = -1;  // the Wave scroll bar being handled, -1 none
  // 1 while envelope 1 (2) of the current Tone is in trigger mode (sustain not 0), 0 in gate
  // mode; set by the Tone page fill and by a sent sustain, read by the envelope plot.
  std::uint8_t Env1Trigger = 0;
  std::uint8_t Env2Trigger = 0;
};

}  // namespace tavoro
