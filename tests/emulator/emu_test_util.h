#pragma once
// Small builders for the emulator's tests: messages as the client would send them.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "emulator/core/vesk.h"

namespace emu::test {

inline Message Bytes(std::initializer_list<int> bytes) {
  Message m;
  for (int b : bytes) m.push_back(static_cast<std::uint8_t>(b));
  return m;
}

// F0 00 00 1B 02 05 <id> body F7.
inline Message Req(std::initializer_list<int> body, int id = 0x7F) {
  Message m = Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, id});
  for (int b : body) m.push_back(static_cast<std::uint8_t>(b));
  m.push_back(0xF7);
  return m;
}

inline Message DumpReq(int kind, int number) {
  return Req({0x01, kind, 0, 0, 0, 2, (number >> 12) & 15, (number >> 8) & 15, (number >> 4) & 15, number & 15});
}

// The one reply to a message, or an empty message when there is not exactly one.
inline Message Only(const std::vector<Reply>& replies) { return replies.size() == 1 ? replies[0].bytes : Message{}; }

inline Message Status(int s, int id = 0) { return Bytes({0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, id, 0x00, s, 0xF7}); }

// A nibble field of a message, positions counted from 1.
inline std::uint32_t Nibbles(const Message& m, std::size_t pos, int count) {
  std::uint32_t v = 0;
  for (int i = 0; i < count; ++i) v = v * 16 + m.at(pos - 1 + static_cast<std::size_t>(i));
  return v;
}

}  // namespace emu::test
