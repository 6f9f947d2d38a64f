// The Global data: bank name, the five parameters and the master tune, read and changed.
#include <gtest/gtest.h>

#include <string>

#include "tests/emulator/emu_test_util.h"

namespace emu {
namespace {
using namespace emu::test;

TEST(VeskGlobal, BankNameReplyCarriesTheFourteenPlainCharactersAtTwelveToTwentyFive) {
  Vesk vesk;
  const Message r = Only(vesk.handle(Req({0x11, 0x02, 0x01, 0x00})));
  ASSERT_EQ(r.size(), 26u);
  EXPECT_EQ(std::string(r.begin() + 11, r.begin() + 25), "Factory Bank 1");
  EXPECT_EQ(r.back(), 0xF7);

  Message change = Req({0x11, 0x02, 0x0F, 0x01});
  const std::string name("My Bank\0\0 End!", 14);
  change.insert(change.end() - 1, name.begin(), name.begin() + 14);
  EXPECT_EQ(Only(vesk.handle(change)), Status(0));
  const Message again = Only(vesk.handle(Req({0x11, 0x02, 0x01, 0x00})));
  EXPECT_EQ(std::string(again.begin() + 11, again.begin() + 25), std::string("My Bank\0\0 End!", 14));

  Message shortName = Req({0x11, 0x02, 0x0E, 0x01});
  shortName.insert(shortName.end() - 1, name.begin(), name.begin() + 13);
  EXPECT_EQ(Only(vesk.handle(shortName)), Status(8));
}

TEST(VeskGlobal, ParametersAreReadAtPositionThirteenAndChangedWithinTheirRanges) {
  Vesk vesk;
  const int defaults[] = {0, 2, 0, 127, 0};
  for (int n = 1; n <= 5; ++n) {
    const Message r = Only(vesk.handle(Req({0x11, 0x03, 0x02, n, 0x00})));
    ASSERT_EQ(r.size(), 14u);
    EXPECT_EQ(r[12], defaults[n - 1]) << n;
  }
  struct Change {
    int n, value, status;
  } changes[] = {{1, 5, 0}, {1, 6, 11}, {2, 1, 0}, {2, 3, 11}, {3, 15, 0}, {3, 16, 11},
                 {4, 127, 0}, {4, 0x7F, 0}, {5, 1, 0}, {5, 2, 11}, {6, 0, 8}, {0, 0, 8}};
  for (const auto& c : changes)
    EXPECT_EQ(Only(vesk.handle(Req({0x11, 0x03, 0x03, c.n, 0x01, c.value}))), Status(c.status)) << c.n << "=" << c.value;
  EXPECT_EQ(Only(vesk.handle(Req({0x11, 0x03, 0x02, 3, 0x00})))[12], 15);
  EXPECT_EQ(Only(vesk.handle(Req({0x11, 0x03, 0x02, 1, 0x00})))[12], 5);
  EXPECT_EQ(vesk.counters().changes, 6);
}

TEST(VeskGlobal, MasterTuneTravelsAsFourNibblesAtEighteenToTwentyOne) {
  Vesk vesk;
  const Message request = Req({0x32, 0x01, 0, 0, 0, 2, 0, 1, 0, 0});
  Message r = Only(vesk.handle(request));
  ASSERT_EQ(r.size(), 22u);
  EXPECT_EQ(Nibbles(r, 18, 4), 0u);

  EXPECT_EQ(Only(vesk.handle(Req({0x32, 0x01, 0, 0, 0, 4, 0, 1, 0, 1, 0x0D, 0x01, 0x02, 0x00}))), Status(0));
  r = Only(vesk.handle(request));
  EXPECT_EQ(Bytes({r[17], r[18], r[19], r[20]}), Bytes({0x0D, 0x01, 0x02, 0x00}));  // -12000
  EXPECT_EQ(Only(vesk.handle(Req({0x32, 0x01, 0, 0, 0, 4, 0, 1, 0, 1, 0x02, 0x0E, 0x0E, 0x01}))), Status(11));
  EXPECT_EQ(Only(vesk.handle(Req({0x32, 0x01, 0, 0, 0, 4, 0, 1, 0, 1, 0x02, 0x0E, 0x1E, 0x00}))), Status(3));
  EXPECT_EQ(Only(vesk.handle(Req({0x32, 0x02, 0, 0, 0, 2, 0, 1, 0, 0}))), Status(8));
  EXPECT_EQ(vesk.bank().global.masterTune, -12000);
}

}  // namespace
}  // namespace emu
