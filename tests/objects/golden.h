#pragma once
// Builds instrument replies for the tests by hand, position by position as the message tables
// give them. Deliberately independent of the program's codec, so each checks the other.

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/bytes.h"

namespace golden {

// F0 00 00 1B 02 05 7F, command, kind at 9, DataLength at 10-13 = (length - 14) / 2, zero data, F7.
inline plat::Bytes ObjectReply(std::uint8_t kind, std::size_t length, std::uint8_t cmd = 0x02) {
  std::vector<std::uint8_t> v(length, 0);
  const std::uint8_t head[] = {0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F};
  for (int i = 0; i < 7; ++i) v[i] = head[i];
  v[7] = cmd;
  v[8] = kind;
  const unsigned dl = static_cast<unsigned>((length - 14) / 2);
  v[9] = (dl >> 12) & 15;
  v[10] = (dl >> 8) & 15;
  v[11] = (dl >> 4) & 15;
  v[12] = dl & 15;
  v[length - 1] = 0xF7;
  return plat::Bytes(v);
}

// Writes the characters given, from 1-based position pos.
inline void Put(plat::Bytes& m, std::size_t pos, std::initializer_list<int> chars) {
  for (int c : chars) m.set(pos++, static_cast<std::uint8_t>(c));
}

// Writes `value` as `count` hexadecimal digit characters, most significant first.
inline void PutHex(plat::Bytes& m, std::size_t pos, int count, std::uint32_t value) {
  for (int i = count - 1; i >= 0; --i) m.set(pos++, static_cast<std::uint8_t>(i < 8 ? (value >> (4 * i)) & 15 : 0));
}

// Writes a name as 14 character pairs (high nibble, low nibble), blank-padded.
inline void PutName(plat::Bytes& m, std::size_t pos, const std::string& name) {
  for (int i = 0; i < 14; ++i) {
    const auto c = i < static_cast<int>(name.size()) ? static_cast<std::uint8_t>(name[static_cast<std::size_t>(i)]) : 0x20;
    m.set(pos + 2 * i, c >> 4);
    m.set(pos + 2 * i + 1, c & 15);
  }
}

// The same message with one character more before the F7, or one fewer.
inline plat::Bytes Longer(const plat::Bytes& m) {
  std::vector<std::uint8_t> v = m.vec();
  v.insert(v.end() - 1, 0);
  return plat::Bytes(v);
}
inline plat::Bytes Shorter(const plat::Bytes& m) {
  std::vector<std::uint8_t> v = m.vec();
  v.erase(v.end() - 2);
  return plat::Bytes(v);
}

}  // namespace golden
