#pragma once
// Note names: a MIDI note number as its letter, "#" for a sharp and the octave (60 is "C4",
// 0 to 11 show "-" for the octave: 0 is "C-"). A number outside 0..127 gives an empty text.

#include <cstdint>
#include <string>

namespace tavoro {

std::string NoteName(std::int16_t note);

}  // namespace tavoro
