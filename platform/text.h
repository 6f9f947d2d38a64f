#pragma once
// The runtime's text helpers that every layer reads user and instrument text with: blank trimming
// and a strict whole-text 16-bit number.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

// The text without leading and trailing blanks (spaces only; tabs and other characters stay).
std::string Trim(std::string_view text);

// The whole text as a 16-bit integer (optional sign, decimal digits, surrounding blanks allowed);
// nothing for "", "-", "12a" or a value outside -32768..32767.
std::optional<std::int16_t> ParseInt16(std::string_view text);

}  // namespace plat
