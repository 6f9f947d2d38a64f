#pragma once
// How the Tone page shows its stored values, shared by the page fill and the Tone senders:
// signed fields, the gate-mode sustain "gt", the infinity sign of a decay or release of 99,
// "qnt" and "none" of the last two LFO values.
//
// The infinity sign is the character 165 kept in the box's text; only the font "Symbol" draws
// it as the sign, so a decay or release box takes its text and its font in one step
// (SetStageText) and the handlers tell from the font which of the two the box shows.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/controls/text_box.h"

namespace tavoro {

inline constexpr unsigned char kInfinityChar = 165;
inline constexpr const char* kInfinityFont = "Symbol";
inline constexpr const char* kPlainFont = "MS Sans Serif";

// A signed field as the user typed it: a stored byte above 99 is a negative value kept as
// value + 256 (by a sender) and shows as value - 256.
std::int16_t ToneSignedValue(std::int16_t stored);
std::string ToneSignedText(std::int16_t stored);

std::string AttackText(std::int16_t stored);        // signed
std::string SustainText(std::int16_t stored);       // 0 is "gt"
std::string DecayReleaseText(std::int16_t stored);  // 99 is the infinity sign
std::string Lfo4Text(std::int16_t stored);          // 0 is "qnt", else signed
std::string Lfo5Text(std::int16_t stored);          // 0 is "none", else the value + 1

// True when the text begins with the infinity sign's character.
bool ShowsInfinity(std::string_view text);

// Writes a decay or release box's text with the font that shows it: "Symbol" for the
// infinity sign, "MS Sans Serif" for anything else.
void SetStageText(plat::ctl::TextBox& box, const std::string& text);

}  // namespace tavoro
