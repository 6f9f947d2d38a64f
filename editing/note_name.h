#pragma once
// Note names: a MIDI note number as its letter, "#" for a sharp and the octave (60 is "C4").

#include <cstdint>
#include <string>

namespace tavoro {

std::string NoteName(std::int16_t note);

}  // namespace tavoro
