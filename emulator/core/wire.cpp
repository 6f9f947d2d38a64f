#include "emulator/core/wire.h"

#include <cstdio>

namespace emu {

bool HasHead(const Message& m) {
  if (m.size() < kHeadLength) return false;
  for (std::size_t i = 0; i < kHeadLength; ++i)
    if (m[i] != kHead[i]) return false;
  return true;
}

Message Frame(std::uint8_t deviceId, const Message& body) {
  Message m(kHead, kHead + kHeadLength);
  m.push_back(deviceId);
  m.insert(m.end(), body.begin(), body.end());
  m.push_back(kEox);
  return m;
}

Message StatusReply(std::uint8_t deviceId, std::uint8_t status) { return Frame(deviceId, {0x00, status}); }

std::uint8_t At(const Message& m, std::size_t pos) { return pos >= 1 && pos <= m.size() ? m[pos - 1] : 0; }

bool ReadNibbles(const Message& m, std::size_t pos, int count, std::uint32_t& value) {
  if (pos < 1 || count < 0 || pos - 1 + static_cast<std::size_t>(count) > m.size()) return false;
  std::uint32_t v = 0;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t c = m[pos - 1 + static_cast<std::size_t>(i)];
    if (c > 15) return false;
    v = (v << 4) | c;
  }
  value = v;
  return true;
}

bool ReadByte(const Message& m, std::size_t pos, std::uint8_t& value) {
  std::uint32_t v = 0;
  if (!ReadNibbles(m, pos, 2, v)) return false;
  value = static_cast<std::uint8_t>(v);
  return true;
}

bool ReadSignedByte(const Message& m, std::size_t pos, int& value) {
  std::uint32_t v = 0;
  if (!ReadNibbles(m, pos, 2, v)) return false;
  value = v > 128 ? static_cast<int>(v) - 256 : static_cast<int>(v);
  return true;
}

bool ReadWord(const Message& m, std::size_t pos, std::int16_t& value) {
  std::uint32_t v = 0;
  if (!ReadNibbles(m, pos, 4, v)) return false;
  value = static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
  return true;
}

void WriteNibbles(Message& m, std::size_t pos, int count, std::uint32_t value) {
  for (int i = count - 1; i >= 0; --i) {
    const std::size_t at = pos - 1 + static_cast<std::size_t>(i);
    if (at < m.size()) m[at] = static_cast<std::uint8_t>(value & 0x0F);
    value >>= 4;
  }
}

void WriteName(Message& m, std::size_t pos, std::string_view name) {
  for (std::size_t i = 0; i < kNameChars; ++i) {
    const auto c = i < name.size() ? static_cast<std::uint8_t>(name[i]) : std::uint8_t{' '};
    WriteNibbles(m, pos + 2 * i, 2, c);
  }
}

std::string ReadName(const Message& m, std::size_t pos) {
  std::string name;
  for (std::size_t i = 0; i < kNameChars; ++i) {
    std::uint8_t c = 0;
    if (!ReadByte(m, pos + 2 * i, c)) break;
    name.push_back(static_cast<char>(c));
  }
  return name;
}

bool AllNibbles(const Message& m, std::size_t first, std::size_t last) {
  if (first < 1 || last > m.size()) return false;
  for (std::size_t p = first; p <= last; ++p)
    if (m[p - 1] > 15) return false;
  return true;
}

std::string Hex(const Message& m) {
  std::string out;
  char buf[4];
  for (std::size_t i = 0; i < m.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02X", m[i]);
    if (i) out.push_back(' ');
    out += buf;
  }
  return out;
}

}  // namespace emu
