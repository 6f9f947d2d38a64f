#include "objects/codec.h"

#include <limits>

namespace tavoro {

std::uint32_t ReadNibbles(const plat::Bytes& m, std::size_t pos, std::size_t count) {
  if (count < 1 || count > 8) throw CodecError("nibble field of " + std::to_string(count) + " characters");
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t c = m.at(pos + i);
    if (c > 15) throw CodecError("character " + std::to_string(c) + " at position " + std::to_string(pos + i) + " is not a nibble");
    v = (v << 4) | c;
  }
  return v;
}

int HexByte(const plat::Bytes& m, std::size_t pos) { return static_cast<int>(ReadNibbles(m, pos, 2)); }

int SignedByte(const plat::Bytes& m, std::size_t pos) {
  const int v = HexByte(m, pos);
  return v > 128 ? v - 256 : v;
}

std::int16_t HexWord(const plat::Bytes& m, std::size_t pos) {
  const std::uint32_t v = ReadNibbles(m, pos, 4);
  return static_cast<std::int16_t>(v >= 0x8000 ? static_cast<std::int32_t>(v) - 0x10000 : static_cast<std::int32_t>(v));
}

std::int32_t HexLong(const plat::Bytes& m, std::size_t pos, std::size_t count) {
  if (count != 4 && count != 6 && count != 8) throw CodecError("long field of " + std::to_string(count) + " characters");
  const std::uint32_t v = ReadNibbles(m, pos, count);
  if (count < 8) return static_cast<std::int32_t>(v);
  return v >= 0x80000000u ? static_cast<std::int32_t>(static_cast<std::int64_t>(v) - 0x100000000LL)
                          : static_cast<std::int32_t>(v);
}

int Nibble(const plat::Bytes& m, std::size_t pos) { return static_cast<int>(ReadNibbles(m, pos, 1)); }

int PlainByte(const plat::Bytes& m, std::size_t pos) { return m.at(pos); }

namespace {
std::string Name(const plat::Bytes& m, std::size_t pos, bool keepZeros) {
  std::string name;
  for (std::size_t i = 0; i < 14; ++i) {
    const int c = HexByte(m, pos + 2 * i);
    if (c != 0 || keepZeros) name += static_cast<char>(c);
  }
  return name;
}
}  // namespace

std::string NameText(const plat::Bytes& m, std::size_t pos) { return Name(m, pos, false); }
std::string NameTextKeepZeros(const plat::Bytes& m, std::size_t pos) { return Name(m, pos, true); }

bool AllNibbles(const plat::Bytes& m, std::size_t first, std::size_t last) {
  if (first < 1 || last > m.size()) return false;
  for (std::size_t p = first; p <= last; ++p)
    if (m.at(p) > 15) return false;
  return true;
}

plat::Bytes HexDigits(std::int64_t value, ValueWidth width, std::size_t nibbles) {
  std::uint64_t bits = 0;
  switch (width) {
    case ValueWidth::Byte8:
      if (value < 0 || value > 255) throw CodecError("value " + std::to_string(value) + " is not an 8-bit value");
      bits = static_cast<std::uint64_t>(value);
      break;
    case ValueWidth::Int16:
      if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        throw CodecError("value " + std::to_string(value) + " is not a 16-bit value");
      bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
      break;
    case ValueWidth::Int32:
      if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        throw CodecError("value " + std::to_string(value) + " is not a 32-bit value");
      bits = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
      break;
  }
  // The hexadecimal text of the value: at least one digit.
  std::size_t digits = 1;
  while (digits < 16 && (bits >> (4 * digits)) != 0) ++digits;
  if (digits > nibbles)
    throw CodecError("value " + std::to_string(value) + " needs " + std::to_string(digits) + " digits, the field has " +
                     std::to_string(nibbles));
  plat::Bytes out;
  for (std::size_t i = nibbles; i-- > 0;) out.append(static_cast<std::uint8_t>(i < 16 ? (bits >> (4 * i)) & 15 : 0));
  return out;
}

plat::Bytes NameNibbles(std::string_view name) {
  if (name.size() > 255) throw CodecError("name of " + std::to_string(name.size()) + " characters");
  plat::Bytes out;
  for (const char ch : name) {
    const auto c = static_cast<std::uint8_t>(ch);
    out.append(static_cast<std::uint8_t>(c >> 4)).append(static_cast<std::uint8_t>(c & 15));
  }
  while (out.size() < 28) out.append(2).append(0);
  return out.size() > 28 ? out.mid(1, 28) : out;
}

plat::Bytes NumberNibbles(int number) {
  if (number < 0 || number > 0xFFFF) throw CodecError("object number " + std::to_string(number) + " cannot be sent");
  const auto n = static_cast<unsigned>(number);
  return plat::Bytes{static_cast<std::uint8_t>((n >> 12) & 15), static_cast<std::uint8_t>((n >> 8) & 15),
                     static_cast<std::uint8_t>((n >> 4) & 15), static_cast<std::uint8_t>(n & 15)};
}

plat::Bytes ByteNibbles(int number) {
  if (number < 0 || number > 255) throw CodecError("number " + std::to_string(number) + " does not fit two nibbles");
  const auto n = static_cast<unsigned>(number);
  return plat::Bytes{static_cast<std::uint8_t>(n >> 4), static_cast<std::uint8_t>(n & 15)};
}

void PatchNibbles(plat::Bytes& m, std::size_t pos, const plat::Bytes& nibbles, std::size_t count) {
  if (pos < 1 || m.size() < 2 || pos > m.size() - 1)
    throw plat::ByteRangeError("patch position " + std::to_string(pos) + " outside 1.." + std::to_string(m.size() - (m.empty() ? 0 : 1)));
  std::size_t n = count < nibbles.size() ? count : nibbles.size();
  const std::size_t room = m.size() - pos;  // positions pos..size-1
  if (n > room) n = room;
  for (std::size_t i = 0; i < n; ++i) m.set(pos + i, nibbles.at(i + 1));
}

}  // namespace tavoro
