#pragma once
// Resources of a server library: its pictures, version information and type library, kept in one
// table in the library's own ELF section ".tavoro_rsrc", so tools and tests read them from the
// file without loading it, and the library reads the same bytes in memory.
//
// The table: the 8 bytes "TVRSRC1\0", then entries of type (2 bytes), id (2 bytes), size
// (4 bytes, little-endian) and that many bytes of data, ended by an entry of type 0. A library
// builds it at compile time:
//
//   __attribute__((used, section(".tavoro_rsrc"))) constexpr auto kResources =
//       plat::res::Pack(plat::res::Text(plat::res::kVersion, 1, "FileVersion=2.00.003\n"), ...);

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plat::res {

inline constexpr std::uint16_t kBitmap = 2;
inline constexpr std::uint16_t kVersion = 16;
inline constexpr std::uint16_t kTypeLib = 0x100;
inline constexpr char kSectionName[] = ".tavoro_rsrc";
inline constexpr std::array<std::uint8_t, 8> kMagic = {'T', 'V', 'R', 'S', 'R', 'C', '1', 0};

template <std::size_t N>
struct Resource {
  std::uint16_t type;
  std::uint16_t id;
  std::array<std::uint8_t, N> data;
};

// A text resource, without the literal's closing zero.
template <std::size_t N>
constexpr Resource<N - 1> Text(std::uint16_t type, std::uint16_t id, const char (&text)[N]) {
  Resource<N - 1> r{type, id, {}};
  for (std::size_t i = 0; i + 1 < N; ++i) r.data[i] = static_cast<std::uint8_t>(text[i]);
  return r;
}

template <std::size_t... N>
constexpr auto Pack(const Resource<N>&... resources) {
  std::array<std::uint8_t, kMagic.size() + ((8 + N) + ... + 0) + 8> out{};
  std::size_t at = 0;
  for (std::uint8_t b : kMagic) out[at++] = b;
  auto put = [&out, &at](std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at++] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  auto add = [&](const auto& r) {
    put(r.type, 2);
    put(r.id, 2);
    put(static_cast<std::uint32_t>(r.data.size()), 4);
    for (std::uint8_t b : r.data) out[at++] = b;
  };
  (add(resources), ...);
  put(0, 8);
  return out;
}

// The data of resource (type, id) in a table; nothing when the table is malformed or lacks it.
std::optional<std::span<const std::uint8_t>> Find(std::span<const std::uint8_t> table, std::uint16_t type,
                                                  std::uint16_t id);
// The table of a library file (its ".tavoro_rsrc" section); nothing when the file cannot be read,
// is no 64-bit little-endian ELF file or has no such section.
std::optional<std::vector<std::uint8_t>> ReadTable(const std::string& path);
// The value of `key` in a text resource of "key=value" lines.
std::optional<std::string> TextValue(std::span<const std::uint8_t> text, std::string_view key);

}  // namespace plat::res
