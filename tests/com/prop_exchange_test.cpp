// Stream property exchange: little-endian bytes in exchange order; a failed load stores nothing.
#include <gtest/gtest.h>

#include "platform/activex/prop_exchange.h"

using namespace plat::ax;

namespace {

struct Sample {
  std::uint32_t version = 0;
  std::int16_t s = 0;
  std::uint32_t colour = 0;
  bool flag = false;
  std::uint32_t mask = 0;

  void Exchange(CPropExchange& px) {
    px.ExchangeVersion(&version, 0x00020000);
    px.PX_ULongLocal("_Mask", mask);
    px.PX_Short("S", s);
    px.PX_Color("C", colour);
    px.PX_Bool("F", flag);
  }
};

}  // namespace

TEST(PropExchange, WritesLittleEndianBytesInOrder) {
  Sample a;
  a.s = -2;
  a.colour = 0x00A0B0C0;
  a.flag = true;
  a.mask = 0x41;
  StreamWriter w;
  a.Exchange(w);
  const std::vector<std::uint8_t> expected = {0x00, 0x00, 0x02, 0x00, 0x41, 0, 0, 0, 0xFE, 0xFF,
                                              0xC0, 0xB0, 0xA0, 0x00, 0x01};
  EXPECT_EQ(w.Data(), expected);

  Sample b;
  StreamReader r(w.Data(), true);
  b.Exchange(r);
  EXPECT_FALSE(r.Failed());
  EXPECT_EQ(r.Consumed(), expected.size());
  EXPECT_EQ(b.version, 0x00020000u);
  EXPECT_EQ(b.s, -2);
  EXPECT_EQ(b.colour, 0x00A0B0C0u);
  EXPECT_TRUE(b.flag);
}

TEST(PropExchange, CheckingReadsStoreNothingButLocals) {
  const std::vector<std::uint8_t> data = {0x00, 0x00, 0x01, 0x00, 0x07, 0, 0, 0, 0x05, 0x00, 1, 2, 3, 4, 0x80};
  Sample s;
  StreamReader check(data, false);
  s.Exchange(check);
  EXPECT_FALSE(check.Failed());
  EXPECT_EQ(s.version, 0u);
  EXPECT_EQ(s.s, 0);
  EXPECT_FALSE(s.flag);
  EXPECT_EQ(s.mask, 7u);  // the routine's own look at the stream

  StreamReader commit(data, true);
  s.Exchange(commit);
  EXPECT_TRUE(s.flag);  // any non-zero byte is true
  EXPECT_EQ(s.s, 5);
}

TEST(PropExchange, ShortStreamsFailWithoutStoring) {
  const std::vector<std::uint8_t> full = {0x00, 0x00, 0x02, 0x00, 0x41, 0, 0, 0, 0x05, 0x00, 1, 2, 3, 4, 1};
  for (std::size_t n = 0; n < full.size(); ++n) {
    std::vector<std::uint8_t> part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
    Sample s;
    StreamReader r(part, false);
    s.Exchange(r);
    EXPECT_TRUE(r.Failed()) << n;
    EXPECT_EQ(s.s, 0);
  }
}
