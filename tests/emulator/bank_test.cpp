// The default bank: every object refers to objects that exist, and it covers the shapes the
// editor has to show (mono and stereo, loop on and off, one and several zones).
#include <gtest/gtest.h>

#include <set>

#include "emulator/core/bank.h"
#include "tests/emulator/emu_test_util.h"

namespace emu {
namespace {
using namespace emu::test;

std::set<int> Numbers(const Bank& b, Kind k) {
  std::set<int> s;
  for (const auto& [n, d] : b.of(k)) s.insert(n);
  return s;
}

TEST(DefaultBank, ObjectsReferToObjectsThatExist) {
  const Bank bank = DefaultBank();
  const auto waves = Numbers(bank, Kind::Wave), tones = Numbers(bank, Kind::Tone), maps = Numbers(bank, Kind::Map),
             presets = Numbers(bank, Kind::Preset);
  for (const auto& [n, d] : bank.of(Kind::Tone)) EXPECT_TRUE(waves.count(static_cast<int>(Nibbles(d, 50, 2)))) << n;
  for (const auto& [n, d] : bank.of(Kind::Map)) {
    const std::uint32_t zones = Nibbles(d, 52, 2) + 1;
    ASSERT_EQ(d.size(), 84 + 32 * zones);
    std::uint32_t previousHigh = 0;
    for (std::uint32_t k = 0; k < zones; ++k) {
      const std::size_t b = 84 + 32 * k;
      EXPECT_TRUE(tones.count(static_cast<int>(Nibbles(d, b + 2, 2)))) << n << "/" << k;
      EXPECT_LE(Nibbles(d, b + 4, 2), Nibbles(d, b + 6, 2));
      if (k > 0) {
        EXPECT_GT(Nibbles(d, b + 4, 2), previousHigh) << "zones do not overlap";
      }
      previousHigh = Nibbles(d, b + 6, 2);
    }
  }
  for (const auto& [n, d] : bank.of(Kind::Preset))
    for (std::size_t layer : {148u, 340u})
      for (std::size_t m = 0; m < 4; ++m) EXPECT_TRUE(maps.count(static_cast<int>(Nibbles(d, layer + 4 + 2 * m, 2))));
  for (const auto& [n, d] : bank.of(Kind::Multi))
    for (std::size_t p = 0; p < 16; ++p) EXPECT_TRUE(presets.count(static_cast<int>(Nibbles(d, 88 + 2 * p, 2))));
}

TEST(DefaultBank, CoversTheShapesTheEditorShows) {
  const Bank bank = DefaultBank();
  std::set<std::uint32_t> flags;
  for (const auto& [n, d] : bank.of(Kind::Wave)) {
    flags.insert(Nibbles(d, 48, 2) & 0xA0);  // loop on, stereo
    const std::uint32_t length = Nibbles(d, 84, 8);
    EXPECT_LT(Nibbles(d, 68, 8), Nibbles(d, 76, 8));
    EXPECT_LT(Nibbles(d, 76, 8), length);
    EXPECT_LE(Nibbles(d, 92, 8), Nibbles(d, 100, 8));
    EXPECT_EQ(Nibbles(d, 60, 4), (length + 1023) / 1024) << "size in kilowords";
  }
  EXPECT_EQ(flags, (std::set<std::uint32_t>{0x00, 0x20, 0x80, 0xA0}));
  std::set<std::uint32_t> zoneCounts;
  for (const auto& [n, d] : bank.of(Kind::Map)) zoneCounts.insert(Nibbles(d, 52, 2) + 1);
  EXPECT_TRUE(zoneCounts.count(1));
  EXPECT_GE(*zoneCounts.rbegin(), 7u);
  EXPECT_GE(bank.of(Kind::Preset).size(), 2u);
  EXPECT_GE(bank.of(Kind::Multi).size(), 2u);
  EXPECT_EQ(bank.global.bankName.size(), 14u);
  EXPECT_LT(UsedSampleKw(bank), bank.installedKw);
}

}  // namespace
}  // namespace emu
