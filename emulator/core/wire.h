#pragma once
// The instrument's wire format: the System Exclusive frame, the nibble coding of the object
// messages and the plain bytes of the parameter messages. Positions are 1-based, the F0 byte
// being position 1, as the instrument's message tables count them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace emu {

using Message = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kSysEx = 0xF0;
inline constexpr std::uint8_t kEox = 0xF7;
inline constexpr std::uint8_t kAllDevices = 0x7F;
inline constexpr std::size_t kHeadLength = 6;  // F0 00 00 1B 02 05
inline constexpr std::uint8_t kHead[kHeadLength] = {0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05};
inline constexpr std::size_t kNameChars = 14;

// True when positions 1-6 are the instrument's head.
bool HasHead(const Message& m);

// F0 00 00 1B 02 05, the device id, the body, F7.
Message Frame(std::uint8_t deviceId, const Message& body);

// The 10-byte status reply: F0 00 00 1B 02 05 id 00 s F7.
Message StatusReply(std::uint8_t deviceId, std::uint8_t status);

// The byte at a 1-based position; 0 outside the message (callers check lengths first).
std::uint8_t At(const Message& m, std::size_t pos);

// Reads `count` characters from `pos` as nibbles, most significant first. False when a position
// lies outside the message or a character is above 15.
bool ReadNibbles(const Message& m, std::size_t pos, int count, std::uint32_t& value);

// Two nibbles as one byte, four as a 16-bit two's-complement number. False as ReadNibbles.
bool ReadByte(const Message& m, std::size_t pos, std::uint8_t& value);
bool ReadSignedByte(const Message& m, std::size_t pos, int& value);  // 129..255 read as -127..-1
bool ReadWord(const Message& m, std::size_t pos, std::int16_t& value);

// Writes the low 4*count bits of value as `count` nibbles from `pos`, most significant first.
// The message must already reach pos + count - 1.
void WriteNibbles(Message& m, std::size_t pos, int count, std::uint32_t value);
inline void WriteByte(Message& m, std::size_t pos, std::uint8_t v) { WriteNibbles(m, pos, 2, v); }
inline void WriteSignedByte(Message& m, std::size_t pos, int v) {
  WriteNibbles(m, pos, 2, static_cast<std::uint32_t>(v < 0 ? v + 256 : v));
}
inline void WriteWord(Message& m, std::size_t pos, std::int16_t v) {
  WriteNibbles(m, pos, 4, static_cast<std::uint16_t>(v));
}

// A name of up to 14 characters as 28 nibbles at pos, padded with blanks.
void WriteName(Message& m, std::size_t pos, std::string_view name);
// The 14 characters of a name field, every character kept (zero characters included).
std::string ReadName(const Message& m, std::size_t pos);

// True when every character from first to last (inclusive) is 0..15.
bool AllNibbles(const Message& m, std::size_t first, std::size_t last);

// The number of data bytes a nibble-coded message of this length carries between its head
// (positions 1-13) and its F7: (length - 14) / 2.
inline std::uint16_t DataLengthFor(std::size_t messageLength) {
  return static_cast<std::uint16_t>((messageLength - 14) / 2);
}

// "F0 00 1B ..." for test failures and the program's log.
std::string Hex(const Message& m);

}  // namespace emu
