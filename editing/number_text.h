#pragma once
// The number formats the pages show and the senders read, written once: hexadecimal text,
// single-precision text, blank trimming, a strict 16-bit parse and rounding half to even.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace tavoro {

// Upper-case hexadecimal without leading zeros, two's complement at the value's own width:
// HexText(std::int16_t{-1}) is "FFFF", HexText(std::int32_t{-1}) is "FFFFFFFF", 0 is "0".
std::string HexText(std::int16_t v);
std::string HexText(std::int32_t v);

// A single-precision value with at most 7 significant digits and no trailing zeros:
// 127.99f gives "127.99", 12.5f "12.5", 3.0f "3", -0.5f "-0.5", -0.0f "0".
std::string SingleText(float v);

// Whether `text` starts as a decimal number does: a digit or ".", after at most one "-". The
// readers of numbers with decimals check it first, since from_chars alone also reads "inf",
// "infinity" and "nan".
bool StartsAsDecimal(std::string_view text);

// Blank trimming and the strict 16-bit parse come from the platform layer, so the object
// transfer below this folder reads the same way.
using plat::ParseInt16;
using plat::Trim;

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double v);

}  // namespace tavoro
