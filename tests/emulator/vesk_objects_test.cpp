// Directory status, directory, every dump, uploads and the Map's header and zone messages.
#include <gtest/gtest.h>

#include <string>

#include "tests/emulator/emu_test_util.h"

namespace emu {
namespace {
using namespace emu::test;

constexpr std::size_t kLengths[] = {148, 180, 0, 532, 212};

Message DirStatus(Vesk& v, int kind) { return Only(v.handle(Req({0x12, 0x01, 0x01, kind}))); }
Message Dir(Vesk& v, int kind) { return Only(v.handle(Req({0x12, 0x02, 0x01, kind}))); }

std::string NameAt(const Message& m, std::size_t pos) {
  std::string s;
  for (std::size_t i = 0; i < 14; ++i) s.push_back(static_cast<char>(Nibbles(m, pos + 2 * i, 2)));
  return s;
}

TEST(VeskObjects, DirectoryStatusAgreesWithTheDirectoryForEveryKind) {
  Vesk vesk;
  const Message first = DirStatus(vesk, 0);
  for (int kind = 0; kind < 5; ++kind) {
    SCOPED_TRACE(kind);
    const Message st = DirStatus(vesk, kind);
    ASSERT_EQ(st.size(), 64u);
    EXPECT_EQ(st.back(), 0xF7);
    EXPECT_EQ(Nibbles(st, 10, 4), 25u);  // data bytes between the head and F7
    const Message dir = Dir(vesk, kind);
    const std::uint32_t count = Nibbles(st, 26, 4);
    ASSERT_GT(count, 0u);
    ASSERT_EQ(dir.size(), 18 + 32 * count);
    EXPECT_EQ(Nibbles(dir, 10, 4), 2 + 16 * count);
    EXPECT_EQ(dir.back(), 0xF7);
    std::uint32_t previous = 0;
    for (std::uint32_t k = 0; k < count; ++k) {
      const std::uint32_t number = Nibbles(dir, 18 + 32 * k, 4);
      if (k > 0) {
        EXPECT_GT(number, previous) << "ascending numbers";
      }
      previous = number;
      // Every entry's name is the name of the object's own dump.
      const Message d = Only(vesk.handle(DumpReq(kind, static_cast<int>(number))));
      ASSERT_GT(d.size(), 48u);
      EXPECT_EQ(NameAt(dir, 22 + 32 * k), NameAt(d, 20));
    }
    EXPECT_EQ(Nibbles(st, 30, 4), Nibbles(dir, 18, 4));                     // lowest
    EXPECT_EQ(Nibbles(st, 34, 4), Nibbles(dir, 18 + 32 * (count - 1), 4));  // highest
    EXPECT_EQ(Nibbles(st, 22, 4), 255u);                                    // highest allowed
    // The memory figures are the instrument's, the same whatever kind was asked.
    for (std::size_t pos : {50, 56, 60}) EXPECT_EQ(Nibbles(st, pos, pos == 50 ? 6 : 4), Nibbles(first, pos, pos == 50 ? 6 : 4));
    // The kind's parameter memory in bytes (whole words), the free parameter RAM in words.
    std::uint32_t bytes = 0;
    for (const auto& [number, d] : vesk.bank().of(static_cast<Kind>(kind))) bytes += ((Nibbles(d, 10, 4) + 1) / 2) * 2;
    EXPECT_EQ(Nibbles(st, 38, 6), bytes);
    EXPECT_EQ(Nibbles(st, 44, 6), 2 * Nibbles(st, 50, 6));
  }
  // Free sample memory is what the Waves leave of the installed memory.
  std::uint32_t used = 0;
  const Message dir = Dir(vesk, 0);
  for (std::size_t k = 0; 18 + 32 * k + 4 < dir.size(); ++k)
    used += Nibbles(Only(vesk.handle(DumpReq(0, static_cast<int>(Nibbles(dir, 18 + 32 * k, 4))))), 60, 4);
  EXPECT_EQ(Nibbles(first, 60, 4), Nibbles(first, 56, 4) - used);
}

TEST(VeskObjects, AnEmptyKindHasCountZeroAndAnEmptyDirectory) {
  Vesk vesk;
  vesk.bank().of(Kind::Multi).clear();
  EXPECT_EQ(Nibbles(DirStatus(vesk, 4), 26, 4), 0u);
  const Message dir = Dir(vesk, 4);
  EXPECT_EQ(dir.size(), 18u);
  EXPECT_EQ(Nibbles(dir, 10, 4), 2u);
}

TEST(VeskObjects, EveryDumpHasItsExactLengthKindAndDataLength) {
  Vesk vesk;
  for (int kind = 0; kind < 5; ++kind) {
    SCOPED_TRACE(kind);
    for (const auto& [number, stored] : vesk.bank().of(static_cast<Kind>(kind))) {
      const Message d = Only(vesk.handle(DumpReq(kind, number)));
      const std::size_t expected = kind == 2 ? 84 + 32 * (Nibbles(d, 52, 2) + 1) : kLengths[kind];
      EXPECT_EQ(d.size(), expected);
      EXPECT_EQ(d[8], kind);        // position 9
      EXPECT_EQ(d[7], 0x02);        // an upload of it is this very message
      EXPECT_EQ(d[6], 0x00);        // the instrument's id
      EXPECT_EQ(Nibbles(d, 10, 4), (d.size() - 14) / 2);
      EXPECT_EQ(Nibbles(d, 14, 4), static_cast<std::uint32_t>(number));
      EXPECT_EQ(d.back(), 0xF7);
      for (std::size_t p = 14; p < d.size(); ++p) ASSERT_LE(d[p - 1], 15) << "position " << p;
    }
  }
}

TEST(VeskObjects, DumpRequestsForMissingOrImpossibleObjectsAreRefused) {
  Vesk vesk;
  EXPECT_EQ(Only(vesk.handle(DumpReq(0, 3))), Status(4));     // no Wave 3
  EXPECT_EQ(Only(vesk.handle(DumpReq(1, 300))), Status(5));   // above the highest allowed
  EXPECT_EQ(Only(vesk.handle(DumpReq(9, 0))), Status(7));     // no such kind
}

TEST(VeskObjects, AnUnchangedDumpUploadedIsAcceptedAndDumpsBackIdentically) {
  Vesk vesk;
  for (int kind = 0; kind < 5; ++kind) {
    SCOPED_TRACE(kind);
    const int number = vesk.bank().of(static_cast<Kind>(kind)).rbegin()->first;
    const Message d = Only(vesk.handle(DumpReq(kind, number)));
    EXPECT_EQ(Only(vesk.handle(d)), Status(0));
    EXPECT_EQ(Only(vesk.handle(DumpReq(kind, number))), d);
  }
  EXPECT_EQ(vesk.counters().uploads, 5);
}

TEST(VeskObjects, AnEditedUploadIsStoredByItsNumberAndDumpsBackExactly) {
  Vesk vesk;
  struct Edit {
    int kind, number;
    std::size_t pos;
    std::vector<std::uint8_t> nibbles;
  } edits[] = {
      {0, 12, 50, {0xF, 0xB}},                      // Wave fine tune -5
      {0, 2, 68, {0, 0, 0, 0, 0, 0, 6, 4}},         // play start 100
      {1, 7, 54, {0, 5}},                           // Tone envelope 1 attack
      {1, 0, 20, {4, 1, 4, 2, 2, 0}},               // a name
      {2, 1, 84 + 32 + 10, {6, 4}},                 // volume of the second zone
      {3, 1, 340 + 22, {0, 2}},                     // layer B output
      {4, 0, 120 + 2 * 15, {7, 15}},                // part 16 volume 127
  };
  for (const auto& e : edits) {
    SCOPED_TRACE(testing::Message() << e.kind << "/" << e.number << "@" << e.pos);
    Message up = Only(vesk.handle(DumpReq(e.kind, e.number)));
    std::copy(e.nibbles.begin(), e.nibbles.end(), up.begin() + static_cast<std::ptrdiff_t>(e.pos - 1));
    EXPECT_EQ(Only(vesk.handle(up)), Status(0));
    EXPECT_EQ(Only(vesk.handle(DumpReq(e.kind, e.number))), up);
  }
}

TEST(VeskObjects, BadUploadsAreRefusedAndLeaveTheObjectAlone) {
  Vesk vesk;
  const Message tone = Only(vesk.handle(DumpReq(1, 0)));
  auto withNibbles = [&](std::size_t pos, std::vector<std::uint8_t> n) {
    Message m = tone;
    std::copy(n.begin(), n.end(), m.begin() + static_cast<std::ptrdiff_t>(pos - 1));
    return m;
  };
  Message shorter = tone;
  shorter.erase(shorter.end() - 3, shorter.end() - 1);  // two characters fewer, data length unchanged
  Message longer = tone;
  longer.insert(longer.end() - 1, {0, 0});
  Message longerConsistent = longer;  // a data length that matches, but not a Tone's
  longerConsistent[12] = 4;           // 0054 data bytes
  struct Case {
    const char* what;
    Message message;
    int status;
  } cases[] = {
      {"unknown object", withNibbles(14, {0, 0, 0, 9}), 4},
      {"number above the highest allowed", withNibbles(14, {0, 1, 0, 0}), 5},
      {"shorter than its data length", shorter, 2},
      {"longer than its data length", longer, 3},
      {"longer than a Tone", longerConsistent, 3},
      {"a character above 15", withNibbles(60, {0x10}), 3},
      {"envelope decay 100", withNibbles(58, {6, 4}), 11},
      {"modulation source 7", withNibbles(76, {0, 7}), 11},
      {"kind 8", withNibbles(9, {8}), 7},
  };
  for (const auto& c : cases) EXPECT_EQ(Only(vesk.handle(c.message)), Status(c.status)) << c.what;
  EXPECT_EQ(Only(vesk.handle(DumpReq(1, 0))), tone);
  EXPECT_EQ(vesk.counters().uploads, 0);
}

TEST(VeskObjects, WaveUploadsMayNotMoveTheSampleOrPutPointsOutsideIt) {
  Vesk vesk;
  const Message w = Only(vesk.handle(DumpReq(0, 2)));  // length 16000, play 0..15999
  auto with = [&](std::size_t pos, std::uint32_t v, int n) {
    Message m = w;
    for (int i = n - 1; i >= 0; --i, v >>= 4) m[pos - 1 + static_cast<std::size_t>(i)] = v & 15;
    return m;
  };
  EXPECT_EQ(Only(vesk.handle(with(84, 20000, 8))), Status(11));  // wave length
  EXPECT_EQ(Only(vesk.handle(with(60, 1, 4))), Status(11));      // wave size
  EXPECT_EQ(Only(vesk.handle(with(76, 16000, 8))), Status(11));  // play end at the length
  EXPECT_EQ(Only(vesk.handle(with(68, 15999, 8))), Status(11));  // play start not before play end
  EXPECT_EQ(Only(vesk.handle(with(128, 12800, 4))), Status(11)); // pitch above 127.99
  EXPECT_EQ(Only(vesk.handle(with(76, 15000, 8))), Status(0));
}

TEST(VeskObjects, MapHeaderUploadRenamesTheMapAndKeepsItsZones) {
  Vesk vesk;
  const Message before = Only(vesk.handle(DumpReq(2, 1)));
  ASSERT_EQ(before.size(), 84u + 3 * 32);
  Message header(before.begin(), before.begin() + 83);
  header.push_back(0xF7);
  header[8] = 5;
  header[9] = 0, header[10] = 0, header[11] = 2, header[12] = 3;
  const std::string name = "Renamed Map   ";
  for (std::size_t i = 0; i < 14; ++i) {
    header[19 + 2 * i] = static_cast<std::uint8_t>(name[i]) >> 4;
    header[20 + 2 * i] = static_cast<std::uint8_t>(name[i]) & 15;
  }
  EXPECT_EQ(Only(vesk.handle(header)), Status(0));
  const Message after = Only(vesk.handle(DumpReq(2, 1)));
  EXPECT_EQ(NameAt(after, 20), name);
  EXPECT_TRUE(std::equal(before.begin() + 83, before.end(), after.begin() + 83)) << "zones kept";

  Message otherZoneCount = header;
  otherZoneCount[52] = 5;
  EXPECT_EQ(Only(vesk.handle(otherZoneCount)), Status(11));
  Message noMap = header;
  noMap[16] = 9;
  EXPECT_EQ(Only(vesk.handle(noMap)), Status(4));
}

Message ZoneUpload(int key, int map, const Message& zone32) {
  Message m = Req({0x02, 0x06, 0, 0, 1, 3, key >> 4, key & 15, map >> 4, map & 15, 0, 0});
  m.insert(m.end() - 1, zone32.begin(), zone32.end());
  return m;
}

TEST(VeskObjects, MapZonesAreDumpedAndUploadedByAKeyInsideThem) {
  Vesk vesk;
  const Message map = Only(vesk.handle(DumpReq(2, 1)));  // zones 0-47, 48-83, 84-127
  const Message zone = Only(vesk.handle(Req({0x01, 0x06, 0, 0, 0, 2, 3, 0, 0, 1})));  // key 48 of Map 1
  ASSERT_EQ(zone.size(), 52u);
  EXPECT_EQ(zone[8], 6);
  EXPECT_EQ(Nibbles(zone, 10, 4), 0x13u);
  EXPECT_EQ(Nibbles(zone, 14, 2), 48u);
  EXPECT_EQ(Nibbles(zone, 16, 2), 1u);
  EXPECT_TRUE(std::equal(zone.begin() + 19, zone.begin() + 51, map.begin() + 84 + 32 - 1));
  EXPECT_EQ(Only(vesk.handle(Req({0x01, 0x06, 0, 0, 0, 2, 3, 8, 0, 1}))), zone) << "key 56 lies in the same zone";
  EXPECT_EQ(Only(vesk.handle(Req({0x01, 0x06, 0, 0, 0, 2, 3, 0, 0, 7}))), Status(4)) << "no Map 7";

  // A low-key edit is addressed by the zone's high key (83).
  Message data(zone.begin() + 19, zone.begin() + 51);
  data[4] = 3, data[5] = 2;  // low key 50
  EXPECT_EQ(Only(vesk.handle(ZoneUpload(83, 1, data))), Status(0));
  const Message after = Only(vesk.handle(DumpReq(2, 1)));
  EXPECT_EQ(Nibbles(after, 84 + 32 + 4, 2), 50u);
  EXPECT_TRUE(std::equal(map.begin(), map.begin() + 84 + 32, after.begin())) << "the other zones are kept";
  EXPECT_TRUE(std::equal(map.begin() + 84 + 64, map.end(), after.begin() + 84 + 64));

  Message highBelowLow = data;
  highBelowLow[6] = 1, highBelowLow[7] = 0;  // high key 16 below low key 50
  EXPECT_EQ(Only(vesk.handle(ZoneUpload(50, 1, highBelowLow))), Status(11));
  EXPECT_EQ(Only(vesk.handle(ZoneUpload(50, 9, data))), Status(4));
  Message cut = ZoneUpload(50, 1, data);
  cut.erase(cut.end() - 2);
  EXPECT_EQ(Only(vesk.handle(cut)), Status(2));
}

TEST(VeskObjects, AZoneUploadMayNotReachIntoANeighbourOrInvertItsKeys) {
  struct Case {
    int low, high, status;
  };
  // Map 1: zones 0-47, 48-83, 84-127; the middle zone is edited.
  const Case cases[] = {{47, 83, 11}, {48, 84, 11}, {60, 50, 11}, {49, 49, 0}, {48, 83, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.low) + "-" + std::to_string(c.high));
    Vesk vesk;
    const Message zone = Only(vesk.handle(Req({0x01, 0x06, 0, 0, 0, 2, 3, 0, 0, 1})));
    Message data(zone.begin() + 19, zone.begin() + 51);
    data[4] = static_cast<std::uint8_t>(c.low >> 4), data[5] = static_cast<std::uint8_t>(c.low & 15);
    data[6] = static_cast<std::uint8_t>(c.high >> 4), data[7] = static_cast<std::uint8_t>(c.high & 15);
    EXPECT_EQ(Only(vesk.handle(ZoneUpload(48, 1, data))), Status(c.status));
    const Message after = Only(vesk.handle(DumpReq(2, 1)));
    EXPECT_EQ(Nibbles(after, 84 + 32 + 4, 2), c.status == 0 ? static_cast<unsigned>(c.low) : 48u);
  }
}

TEST(VeskObjects, DeleteRemovesOneObjectAKindOrTheWholeMemory) {
  Vesk vesk;
  EXPECT_EQ(Only(vesk.handle(Req({0x03, 0x00, 0, 0, 0, 2, 0, 0, 0, 12}))), Status(0));
  EXPECT_EQ(Only(vesk.handle(DumpReq(0, 12))), Status(4));
  EXPECT_EQ(Only(vesk.handle(Req({0x03, 0x00, 0, 0, 0, 2, 0, 0, 0, 12}))), Status(4));
  EXPECT_EQ(Only(vesk.handle(Req({0x03, 0x03, 0, 0, 0, 2, 15, 15, 15, 15}))), Status(0));
  EXPECT_EQ(Nibbles(DirStatus(vesk, 3), 26, 4), 0u);
  EXPECT_GT(Nibbles(DirStatus(vesk, 1), 26, 4), 0u);
  EXPECT_EQ(Only(vesk.handle(Req({0x03, 0x7F, 0, 0, 0, 2, 0, 0, 0, 1}))), Status(8));
  EXPECT_EQ(Only(vesk.handle(Req({0x03, 0x7F, 0, 0, 0, 2, 0, 0, 0, 0}))), Status(0));
  for (int kind = 0; kind < 5; ++kind) EXPECT_EQ(Nibbles(DirStatus(vesk, kind), 26, 4), 0u);
  EXPECT_EQ(Nibbles(DirStatus(vesk, 0), 60, 4), Nibbles(DirStatus(vesk, 0), 56, 4)) << "all sample memory free";
}

Message BankName(Vesk& v) {
  const Message r = Only(v.handle(Req({0x11, 0x02, 0x01, 0x00})));
  return r.size() == 26 ? Message(r.begin() + 11, r.begin() + 25) : Message{};
}

TEST(VeskObjects, LoadBankReplacesTheMemoryFromAnInstalledDisk) {
  Vesk vesk;
  EXPECT_EQ(Only(vesk.handle(Req({0x30, 0x01, 0, 0, 0, 3, 0, 0, 0, 0, 0x0C, 0x0C}))), Status(5)) << "bank 204";
  EXPECT_EQ(Only(vesk.handle(Req({0x30, 0x01, 0, 0, 0, 3, 0, 3, 0, 0, 0, 0}))), Status(10)) << "no SCSI id 3";
  EXPECT_EQ(Only(vesk.handle(Req({0x30, 0x02, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0}))), Status(8)) << "sub-code 2";
  EXPECT_EQ(Only(vesk.handle(Req({0x30, 0x01, 0, 0, 0, 3, 0, 0, 0, 0, 0, 7}))), Status(0));
  const std::string name = "SCSI0 Bank 7  ";
  EXPECT_EQ(BankName(vesk), Message(name.begin(), name.end()));
  EXPECT_EQ(Nibbles(DirStatus(vesk, 4), 26, 4), 0u) << "odd banks hold no Multis";
  EXPECT_EQ(Only(vesk.handle(Req({0x30, 0x01, 0, 0, 0, 3, 7, 15, 0, 0, 0, 0}))), Status(0)) << "the floppy drive";
}

TEST(VeskObjects, StereoMergeJoinsTwoMonoWavesUnderTheLeftNumber) {
  Vesk vesk;
  auto merge = [&](int left, int right) {
    return Only(vesk.handle(Req({0x31, 0x01, 0, 0, 0, 4, 0, 0, left >> 4, left & 15, 0, 0, right >> 4, right & 15})));
  };
  EXPECT_EQ(merge(2, 2), Status(8));
  EXPECT_EQ(merge(2, 1), Status(11)) << "Wave 1 is stereo";
  EXPECT_EQ(merge(2, 3), Status(4));
  EXPECT_EQ(merge(0, 2), Status(10)) << "the right Wave is shorter";
  EXPECT_EQ(merge(2, 12), Status(0));
  const Message merged = Only(vesk.handle(DumpReq(0, 2)));
  EXPECT_TRUE(Nibbles(merged, 48, 2) & 0x20);
  EXPECT_EQ(Only(vesk.handle(DumpReq(0, 12))), Status(4));
}

}  // namespace
}  // namespace emu
