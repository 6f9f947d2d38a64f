#include "editing/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

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

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::optional<std::int16_t> ParseInt16(std::string_view text) {
  const std::string body = Trim(text);
  std::string_view digits = body;
  bool negative = false;
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty()) return std::nullopt;
  // Accumulate in 32 bits with an early stop, so a long run of digits cannot overflow.
  std::int32_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 32768) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int16_t>::max()) return std::nullopt;
  return static_cast<std::int16_t>(value);
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
