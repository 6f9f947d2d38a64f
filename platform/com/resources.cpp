#include "platform/com/resources.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace plat::res {

namespace {

std::uint64_t Le(std::span<const std::uint8_t> b, std::size_t at, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
  return v;
}

// Whether [offset, offset + size) lies inside a file of `total` bytes.
bool Inside(std::uint64_t offset, std::uint64_t size, std::size_t total) {
  return offset <= total && size <= total - offset;
}

}  // namespace

std::optional<std::span<const std::uint8_t>> Find(std::span<const std::uint8_t> table, std::uint16_t type,
                                                  std::uint16_t id) {
  if (table.size() < kMagic.size() || !std::equal(kMagic.begin(), kMagic.end(), table.begin())) return std::nullopt;
  std::size_t at = kMagic.size();
  while (at + 8 <= table.size()) {
    const auto t = static_cast<std::uint16_t>(Le(table, at, 2));
    const auto i = static_cast<std::uint16_t>(Le(table, at + 2, 2));
    const std::uint64_t size = Le(table, at + 4, 4);
    at += 8;
    if (t == 0 || !Inside(at, size, table.size())) return std::nullopt;
    if (t == type && i == id) return table.subspan(at, static_cast<std::size_t>(size));
    at += static_cast<std::size_t>(size);
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadTable(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::span<const std::uint8_t> f(file);
  // ELF header: magic, 64-bit class, little-endian data.
  if (f.size() < 64 || f[0] != 0x7F || f[1] != 'E' || f[2] != 'L' || f[3] != 'F' || f[4] != 2 || f[5] != 1)
    return std::nullopt;
  const std::uint64_t shoff = Le(f, 0x28, 8);
  const std::uint64_t shentsize = Le(f, 0x3A, 2);
  const std::uint64_t shnum = Le(f, 0x3C, 2);
  const std::uint64_t shstrndx = Le(f, 0x3E, 2);
  if (shentsize < 64 || shstrndx >= shnum || !Inside(shoff, shnum * shentsize, f.size())) return std::nullopt;
  auto header = [&](std::uint64_t k) { return static_cast<std::size_t>(shoff + k * shentsize); };
  const std::uint64_t namesAt = Le(f, header(shstrndx) + 0x18, 8);
  const std::uint64_t namesSize = Le(f, header(shstrndx) + 0x20, 8);
  if (!Inside(namesAt, namesSize, f.size())) return std::nullopt;
  const std::string_view names(reinterpret_cast<const char*>(file.data() + namesAt), static_cast<std::size_t>(namesSize));
  for (std::uint64_t k = 0; k < shnum; ++k) {
    const std::uint64_t name = Le(f, header(k), 4);
    if (name >= names.size() || names.substr(static_cast<std::size_t>(name)).find('\0') != sizeof kSectionName - 1 ||
        names.substr(static_cast<std::size_t>(name), sizeof kSectionName - 1) != kSectionName)
      continue;
    const std::uint64_t at = Le(f, header(k) + 0x18, 8);
    const std::uint64_t size = Le(f, header(k) + 0x20, 8);
    if (!Inside(at, size, f.size())) return std::nullopt;
    return std::vector<std::uint8_t>(file.begin() + static_cast<std::ptrdiff_t>(at),
                                     file.begin() + static_cast<std::ptrdiff_t>(at + size));
  }
  return std::nullopt;
}

std::optional<std::string> TextValue(std::span<const std::uint8_t> text, std::string_view key) {
  const std::string_view all(reinterpret_cast<const char*>(text.data()), text.size());
  std::size_t at = 0;
  while (at < all.size()) {
    std::size_t end = all.find('\n', at);
    if (end == std::string_view::npos) end = all.size();
    const std::string_view line = all.substr(at, end - at);
    if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=')
      return std::string(line.substr(key.size() + 1));
    at = end + 1;
  }
  return std::nullopt;
}

}  // namespace plat::res
