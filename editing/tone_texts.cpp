#include "editing/tone_texts.h"

namespace tavoro {

std::int16_t ToneSignedValue(std::int16_t stored) {
  return static_cast<std::int16_t>(stored > 99 ? stored - 256 : stored);
}

std::string ToneSignedText(std::int16_t stored) { return std::to_string(ToneSignedValue(stored)); }

std::string AttackText(std::int16_t stored) { return ToneSignedText(stored); }

std::string SustainText(std::int16_t stored) { return stored == 0 ? "gt" : std::to_string(stored); }

std::string DecayReleaseText(std::int16_t stored) {
  return stored == 99 ? std::string(1, static_cast<char>(kInfinityChar)) : std::to_string(stored);
}

std::string Lfo4Text(std::int16_t stored) { return stored == 0 ? "qnt" : ToneSignedText(stored); }

std::string Lfo5Text(std::int16_t stored) { return stored == 0 ? "none" : std::to_string(stored + 1); }

bool ShowsInfinity(std::string_view text) {
  return !text.empty() && static_cast<unsigned char>(text.front()) == kInfinityChar;
}

void SetStageText(plat::ctl::TextBox& box, const std::string& text) {
  box.SetFontName(ShowsInfinity(text) ? kInfinityFont : kPlainFont);
  box.SetText(text);
}

}  // namespace tavoro
