// Placeholders until the number formats and note names land.
#include "editing/note_name.h"
#include "editing/number_text.h"

namespace tavoro {

std::string HexText(std::int16_t) { return {}; }
std::string HexText(std::int32_t) { return {}; }
std::string SingleText(float) { return {}; }
std::string Trim(std::string_view text) { return std::string(text); }
std::optional<std::int16_t> ParseInt16(std::string_view) { return std::nullopt; }
double RoundHalfEven(double v) { return v; }
std::string NoteName(std::int16_t) { return {}; }

}  // namespace tavoro
