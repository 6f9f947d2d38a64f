#pragma once
// Globally unique identifiers: class ids, interface ids and type library ids, in the registry's
// text form "{3B9C41EF-0FF1-4DDF-8132-D472FDB12FE7}".

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace plat::com {

struct GUID {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  friend constexpr bool operator==(const GUID&, const GUID&) = default;
};

using CLSID = GUID;
using IID = GUID;

namespace detail {
constexpr int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace detail

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (either case, braces required); nullopt otherwise.
constexpr std::optional<GUID> ParseGuid(std::string_view text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
  std::uint8_t bytes[16] = {};
  std::size_t pos = 1;
  int n = 0;
  while (pos < 37) {
    if (pos == 9 || pos == 14 || pos == 19 || pos == 24) {
      if (text[pos] != '-') return std::nullopt;
      ++pos;
      continue;
    }
    const int hi = detail::HexDigit(text[pos]);
    const int lo = detail::HexDigit(text[pos + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes[n++] = static_cast<std::uint8_t>(hi * 16 + lo);
    pos += 2;
  }
  GUID g;
  g.data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
  g.data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
  g.data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) g.data4[static_cast<std::size_t>(i)] = bytes[8 + i];
  return g;
}

// For constants: a malformed literal fails to compile.
consteval GUID Guid(std::string_view text) {
  const auto g = ParseGuid(text);
  if (!g) throw std::invalid_argument("malformed GUID literal");
  return *g;
}

// Upper-case registry form with braces.
std::string FormatGuid(const GUID& g);

}  // namespace plat::com
