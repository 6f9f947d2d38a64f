// The default bank: every object refers to objects that exist, and it covers the shapes the
// editor has to show (mono and stereo, loop on and off, one and several zones).
#include <gtest/gtest.h>

#include <cstdlib>
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

// What the pages need to be shown in full: sample memory from 500000h, the special envelope
// displays, zones with gaps, and every value inside its control's range.
TEST(DefaultBank, ExercisesThePages) {
  const Bank bank = DefaultBank();
  EXPECT_EQ(Nibbles(bank.of(Kind::Wave).begin()->second, 52, 8), 0x1400u) << "the first Wave at 500000h";
  auto signedByte = [](const Message& d, std::size_t pos) {
    const int v = static_cast<int>(Nibbles(d, pos, 2));
    return v > 128 ? v - 256 : v;
  };
  bool negativeAttack = false, gateInfinity = false;
  for (const auto& [n, d] : bank.of(Kind::Tone)) {
    for (std::size_t env : {54u, 62u}) {  // attack, sustain, decay, release
      negativeAttack = negativeAttack || signedByte(d, env) < 0;
      gateInfinity = gateInfinity || (Nibbles(d, env + 2, 2) == 0 && (Nibbles(d, env + 4, 2) == 99 || Nibbles(d, env + 6, 2) == 99));
      EXPECT_GE(signedByte(d, env), -99) << n;
      for (std::size_t p = env + 2; p <= env + 6; p += 2) EXPECT_LE(Nibbles(d, p, 2), 99u) << n;
    }
  }
  EXPECT_TRUE(negativeAttack);
  EXPECT_TRUE(gateInfinity);
  bool gaps = false;
  for (const auto& [n, d] : bank.of(Kind::Map)) {
    const std::uint32_t zones = Nibbles(d, 52, 2) + 1;
    std::uint32_t covered = 0;
    for (std::uint32_t k = 0; k < zones; ++k) {
      const std::size_t b = 84 + 32 * k;
      covered += Nibbles(d, b + 6, 2) - Nibbles(d, b + 4, 2) + 1;
      EXPECT_LE(Nibbles(d, b + 10, 2), 99u) << "zone volume " << n << "/" << k;
      EXPECT_LE(std::abs(signedByte(d, b + 12)), 99) << "zone pan";
    }
    gaps = gaps || covered < 128;
  }
  EXPECT_TRUE(gaps);
  for (const auto& [n, d] : bank.of(Kind::Preset))
    for (std::size_t layer : {148u, 340u})
      for (std::size_t p : {18u, 24u, 26u, 28u, 30u, 32u, 34u, 40u, 42u})
        EXPECT_LE(std::abs(signedByte(d, layer + p)), 99) << n << " at " << layer + p;
}

}  // namespace
}  // namespace emu
