#pragma once
// The nibble coding of the object messages.
//
// Every number and name in an object message travels as nibble characters: one byte per
// hexadecimal digit, value 0-15, most significant first. All decoders below rest on one checked
// core (ReadNibbles): a position outside the message throws plat::ByteRangeError, a character
// above 15 throws CodecError, so a damaged reply is never read past its end and never decoded
// into a silently wrong number. The encoders build nibble strings for uploads and requests.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/bytes.h"

namespace tavoro {

// A character that is not a nibble, a value too wide for its field, a refused number.
struct CodecError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// ---- decoding (pos is the 1-based position of the first character) ----

// The core: count (1..8) nibble characters from pos as one unsigned number.
std::uint32_t ReadNibbles(const plat::Bytes& m, std::size_t pos, std::size_t count);

int HexByte(const plat::Bytes& m, std::size_t pos);           // 2 nibbles, 0..255
int SignedByte(const plat::Bytes& m, std::size_t pos);        // 2 nibbles, -127..128 (0x80 stays +128)
std::int16_t HexWord(const plat::Bytes& m, std::size_t pos);  // 4 nibbles, 16-bit two's complement
// 4 or 6 nibbles read unsigned, 8 nibbles as 32-bit two's complement.
std::int32_t HexLong(const plat::Bytes& m, std::size_t pos, std::size_t count);
int Nibble(const plat::Bytes& m, std::size_t pos);     // 1 nibble, 0..15
int PlainByte(const plat::Bytes& m, std::size_t pos);  // one character as it is, 0..255
// 14 characters from 28 nibbles; characters of value 0 are left out (not a terminator).
std::string NameText(const plat::Bytes& m, std::size_t pos);
// The same, keeping characters of value 0 (the Preset and Multi names: always 14 characters).
std::string NameTextKeepZeros(const plat::Bytes& m, std::size_t pos);

// True when positions first..last all hold nibble characters (0-15).
bool AllNibbles(const plat::Bytes& m, std::size_t first, std::size_t last);

// ---- encoding ----

// The integer widths a value can have, as the upload receives it.
enum class ValueWidth { Byte8, Int16, Int32 };

// The value's hexadecimal digits at its own width (negatives in two's complement: a 16-bit -1 is
// FFFF, a 32-bit -1 FFFFFFFF), left-filled with zero characters to `nibbles`. A value with more
// digits than `nibbles` throws CodecError; so does a value outside its width's range.
plat::Bytes HexDigits(std::int64_t value, ValueWidth width, std::size_t nibbles);

// A name as nibble pairs, padded with blanks (2, 0) to 28 characters and cut at 28 (14 characters).
// A name over 255 characters throws CodecError.
plat::Bytes NameNibbles(std::string_view name);

// An object number as four nibble characters (all four digits of the 16-bit number, so 0-255
// give 0, 0, n \ 16, n And 15). Negative numbers throw CodecError.
plat::Bytes NumberNibbles(int number);

// A number as two nibble characters (zone keys and the Map number of the zone messages);
// numbers outside 0..255 throw CodecError.
plat::Bytes ByteNibbles(int number);

// Writes `nibbles` into `m` from pos on, never past position m.size() - 1 (the closing F7 stays):
// at most `count` characters are written. Positions before 1 throw plat::ByteRangeError.
void PatchNibbles(plat::Bytes& m, std::size_t pos, const plat::Bytes& nibbles, std::size_t count);

}  // namespace tavoro
