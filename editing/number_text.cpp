#include "editing/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace tavoro {

namespace {

// Upper-case digits of an unsigned value, most significant first, without leading zeros.
std::string HexDigitsOf(std::uint32_t v) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[v & 0xF]);
    v >>= 4;
  } while (v != 0);
  return out;
}

}  // namespace

std::string HexText(std::int16_t v) { return HexDigitsOf(static_cast<std::uint16_t>(v)); }

std::string HexText(std::int32_t v) { return HexDigitsOf(static_cast<std::uint32_t>(v)); }

std::string SingleText(float v) {
  if (v == 0.0f) return "0";  // no "-0" for a negative zero
  // %g at 7 significant digits: what a single holds, with the trailing zeros dropped.
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 7);
  if (ec != std::errc{}) return {};
  return std::string(buf, end);
}

bool StartsAsDecimal(std::string_view text) {
  const std::size_t first = !text.empty() && text.front() == '-' ? 1 : 0;
  return first < text.size() && (std::isdigit(static_cast<unsigned char>(text[first])) != 0 || text[first] == '.');
}

double RoundHalfEven(double v) {
  if (!std::isfinite(v)) return v;
  const double below = std::floor(v);
  const double rest = v - below;
  if (rest < 0.5) return below;
  if (rest > 0.5) return below + 1.0;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

}  // namespace tavoro
