// The nibble codec against the worked values of its message tables.
#include <gtest/gtest.h>

#include "objects/codec.h"

using namespace tavoro;
using plat::Bytes;

namespace {

// A message holding `chars` from position 1.
Bytes Chars(std::initializer_list<int> chars) {
  Bytes b;
  for (int c : chars) b.append(static_cast<std::uint8_t>(c));
  return b;
}

TEST(Codec, ByteDecodings) {
  struct Case { int hi, lo, hex, sgn; };
  const Case cases[] = {
      {0, 12, 12, 12}, {1, 0, 16, 16}, {8, 0, 128, 128}, {8, 1, 129, -127},
      {15, 15, 255, -1}, {6, 3, 99, 99}, {9, 13, 157, -99}, {0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const Bytes m = Chars({c.hi, c.lo});
    EXPECT_EQ(HexByte(m, 1), c.hex) << c.hi << "," << c.lo;
    EXPECT_EQ(SignedByte(m, 1), c.sgn) << c.hi << "," << c.lo;
  }
}

TEST(Codec, WordAndLongDecodings) {
  EXPECT_EQ(HexWord(Chars({15, 15, 15, 15}), 1), -1);
  EXPECT_EQ(HexWord(Chars({8, 0, 0, 0}), 1), -32768);
  EXPECT_EQ(HexWord(Chars({7, 15, 15, 15}), 1), 32767);
  EXPECT_EQ(HexWord(Chars({13, 1, 2, 0}), 1), -12000);
  EXPECT_EQ(HexLong(Chars({15, 15, 15, 15, 15, 15, 15, 15}), 1, 8), -1);
  EXPECT_EQ(HexLong(Chars({15, 15, 15, 15, 15, 15}), 1, 6), 16777215);
  EXPECT_EQ(HexLong(Chars({15, 15, 15, 15}), 1, 4), 65535);
  EXPECT_EQ(HexLong(Chars({8, 0, 0, 0}), 1, 4), 32768);
  EXPECT_EQ(HexLong(Chars({0, 0, 0, 0, 0, 3, 14, 8}), 1, 8), 1000);
  EXPECT_THROW(HexLong(Chars({0, 0, 0, 0, 0}), 1, 5), CodecError);
  EXPECT_EQ(Nibble(Chars({0, 9}), 2), 9);
  EXPECT_EQ(PlainByte(Chars({0x41}), 1), 0x41);
}

TEST(Codec, NamesSkipOrKeepZeroCharacters) {
  // A, B, code 0, C, then zero pairs to the end.
  Bytes m = Chars({4, 1, 4, 2, 0, 0, 4, 3});
  while (m.size() < 28) m.append(0);
  EXPECT_EQ(NameText(m, 1), "ABC");
  const std::string kept = NameTextKeepZeros(m, 1);
  EXPECT_EQ(kept.size(), 14u);
  EXPECT_EQ(kept.substr(0, 4), std::string("AB\0C", 4));
}

TEST(Codec, DecodersRefuseDamagedInput) {
  EXPECT_THROW(HexByte(Chars({1, 16}), 1), CodecError);       // not a nibble
  EXPECT_THROW(HexWord(Chars({0, 0, 0xF7, 0}), 1), CodecError);
  EXPECT_THROW(HexByte(Chars({1}), 1), plat::ByteRangeError);  // runs past the end
  EXPECT_THROW(NameText(Chars({4, 1}), 1), plat::ByteRangeError);
  EXPECT_THROW(Nibble(Chars({1}), 0), plat::ByteRangeError);
  EXPECT_TRUE(AllNibbles(Chars({0, 15, 3}), 1, 3));
  EXPECT_FALSE(AllNibbles(Chars({0, 16, 3}), 1, 3));
  EXPECT_FALSE(AllNibbles(Chars({0, 1}), 1, 3));
}

TEST(Codec, HexDigitsAtTheValuesOwnWidth) {
  struct Case { std::int64_t v; ValueWidth w; std::size_t n; Bytes want; };
  const Case ok[] = {
      {-1, ValueWidth::Int16, 4, Chars({15, 15, 15, 15})},
      {5, ValueWidth::Int32, 8, Chars({0, 0, 0, 0, 0, 0, 0, 5})},
      {1000, ValueWidth::Int32, 8, Chars({0, 0, 0, 0, 0, 3, 14, 8})},
      {5, ValueWidth::Int16, 2, Chars({0, 5})},
      {253, ValueWidth::Int16, 2, Chars({15, 13})},
      {255, ValueWidth::Byte8, 2, Chars({15, 15})},
      {-1, ValueWidth::Int32, 8, Chars({15, 15, 15, 15, 15, 15, 15, 15})},
      {0, ValueWidth::Int16, 1, Chars({0})},
      {6000, ValueWidth::Int16, 4, Chars({1, 7, 7, 0})},
  };
  for (const auto& c : ok) EXPECT_EQ(HexDigits(c.v, c.w, c.n), c.want) << c.v;
  EXPECT_THROW(HexDigits(-1, ValueWidth::Int16, 2), CodecError);   // FFFF is four digits
  EXPECT_THROW(HexDigits(-3, ValueWidth::Int16, 2), CodecError);
  EXPECT_THROW(HexDigits(256, ValueWidth::Int16, 2), CodecError);
  EXPECT_THROW(HexDigits(1, ValueWidth::Int16, 0), CodecError);
  EXPECT_THROW(HexDigits(40000, ValueWidth::Int16, 4), CodecError); // not a 16-bit value
  EXPECT_THROW(HexDigits(-1, ValueWidth::Byte8, 2), CodecError);
}

TEST(Codec, NameNibblesPadAndCut) {
  Bytes five = NameNibbles("HELLO");
  ASSERT_EQ(five.size(), 28u);
  EXPECT_EQ(five.mid(1, 4), Chars({4, 8, 4, 5}));
  for (std::size_t p = 11; p <= 28; p += 2) EXPECT_EQ(five.mid(p, 2), Chars({2, 0})) << p;

  Bytes seven = NameNibbles("Strings");
  for (std::size_t p = 15; p <= 28; p += 2) EXPECT_EQ(seven.mid(p, 2), Chars({2, 0})) << p;

  EXPECT_EQ(NameNibbles("ABCDEFGHIJKLMNOPQRST"), NameNibbles("ABCDEFGHIJKLMN"));
  EXPECT_EQ(NameNibbles("").size(), 28u);
  EXPECT_NO_THROW(NameNibbles(std::string(255, 'x')));
  EXPECT_THROW(NameNibbles(std::string(256, 'x')), CodecError);
}

TEST(Codec, ObjectAndZoneNumbers) {
  EXPECT_EQ(NumberNibbles(37), Chars({0, 0, 2, 5}));
  EXPECT_EQ(NumberNibbles(20), Chars({0, 0, 1, 4}));
  EXPECT_EQ(NumberNibbles(255), Chars({0, 0, 15, 15}));
  EXPECT_EQ(NumberNibbles(300), Chars({0, 1, 2, 12}));  // all four digits, never a digit above 15
  EXPECT_THROW(NumberNibbles(-1), CodecError);
  EXPECT_EQ(ByteNibbles(200), Chars({12, 8}));
  EXPECT_THROW(ByteNibbles(256), CodecError);
  EXPECT_THROW(ByteNibbles(-5), CodecError);
}

TEST(Codec, PatchStopsBeforeTheClosingF7) {
  Bytes m = Chars({0xF0, 1, 1, 1, 0xF7});
  PatchNibbles(m, 3, Chars({9, 9, 9, 9}), 4);
  EXPECT_EQ(m, Chars({0xF0, 1, 9, 9, 0xF7}));
  PatchNibbles(m, 2, Chars({5, 6}), 1);  // only `count` characters
  EXPECT_EQ(m, Chars({0xF0, 5, 9, 9, 0xF7}));
  EXPECT_THROW(PatchNibbles(m, 5, Chars({1}), 1), plat::ByteRangeError);
  EXPECT_THROW(PatchNibbles(m, 0, Chars({1}), 1), plat::ByteRangeError);
}

}  // namespace
