#include "platform/bytes.h"

#include <gtest/gtest.h>

using plat::Bytes;

TEST(Bytes, PositionsCountFromOneAndAreChecked) {
  Bytes b{0xF0, 0x00, 0x7F, 0xF7};
  EXPECT_EQ(b.at(1), 0xF0);
  EXPECT_EQ(b.at(4), 0xF7);
  EXPECT_THROW(b.at(0), plat::ByteRangeError);
  EXPECT_THROW(b.at(5), plat::ByteRangeError);
  EXPECT_THROW(b.set(5, 1), plat::ByteRangeError);
  EXPECT_EQ(b.mid(2, 2), (Bytes{0x00, 0x7F}));
  EXPECT_THROW(b.mid(4, 2), plat::ByteRangeError);
  EXPECT_THROW(b.mid(1, static_cast<std::size_t>(-1)), plat::ByteRangeError);
  EXPECT_EQ(plat::ToHex(b), "F0 00 7F F7");
}
