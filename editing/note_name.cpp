#include "editing/note_name.h"

#include <array>

namespace tavoro {

std::string NoteName(std::int16_t note) {
  // A MIDI note is 0..127; 128 is where a root pitch of 127.5 and above rounds to, and is named
  // like the notes (G#9). Anything else has no name to show.
  if (note < 0 || note > 128) return {};
  static constexpr std::array<const char*, 12> kNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                         "F#", "G",  "G#", "A",  "A#", "B"};
  const int octave = note / 12;
  // The lowest octave has no number of its own on the instrument: it shows as "-".
  const std::string octave_text = octave == 0 ? "-" : std::to_string(octave - 1);
  return std::string(kNames[static_cast<std::size_t>(note % 12)]) + octave_text;
}

}  // namespace tavoro
