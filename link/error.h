#pragma once
// The one error box of the link and the procedures built on it.

#include <cstdint>
#include <string>
#include <string_view>

namespace tavoro {

// Shows the error box for `Code` and returns whether a box applies:
//   -1: ProcName, a line break, MsgText; critical icon; OK only; the program's title. True.
//    0: nothing; False.
//   65: nothing; True.
//   other: ProcName, ":", a line break and the MIDI error text of Code; no icon; OK only. True.
bool MidiErrorMsg(std::int16_t Code, std::string_view ProcName, std::string_view MsgText);

// The MIDI controls' text for an error code, "MIDI Communications Error" when it has none.
std::string MidiErrorText(int code);

}  // namespace tavoro
