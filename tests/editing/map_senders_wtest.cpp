// The Map sender: key ranges kept in order and apart on a Map with gaps, adjacent zones and a
// one-key zone; the zone fields' limits; the zone selector and a refused zone edit.
#include "editing/map_senders.h"

#include "emulator/core/wire.h"
#include "platform/controls/range_controls.h"
#include "tests/editing/sender_fixture.h"

namespace tavoro::testing {
namespace {

struct Range {
  int low, high;
  bool operator==(const Range&) const = default;
};
void PrintTo(const Range& r, std::ostream* os) { *os << r.low << "-" << r.high; }
// Map 7: 10-20 and 21-30 side by side, 40-50 after a gap, the one-key zone 60, the last 70-100.
const std::vector<Range> kZones = {{10, 20}, {21, 30}, {40, 50}, {60, 60}, {70, 100}};
constexpr int kMapNum = 7;

struct FieldOfBox {
  std::int16_t MapZone::*field;
  std::int16_t pos;
  std::uint8_t isUnsigned;
};
FieldOfBox FieldOf(int index) {
  switch (index) {
    case 3: return {&MapZone::LowKey, 24, 1};
    case 4: return {&MapZone::HighKey, 26, 1};
    case 7: return {&MapZone::Volume, 30, 1};
    case 8: return {&MapZone::Transpose, 28, 0};
    case 9: return {&MapZone::Pan, 32, 0};
    case 10: return {&MapZone::GroupByte, 38, 1};
    default: return {nullptr, 0, 1};
  }
}

class MapSenderTest : public SenderFixture {
 protected:
  void SetUp() override {
    SenderFixture::SetUp();
    emu::Message m = emu::NewDump(emu::Kind::Map, emu::MapLength(kZones.size()), kMapNum, "Test Map");
    emu::WriteByte(m, emu::map::LastZone, static_cast<std::uint8_t>(kZones.size() - 1));
    for (std::size_t k = 0; k < kZones.size(); ++k) {
      const std::size_t b = emu::map::ZoneBase(k);
      emu::WriteByte(m, b + emu::map::LowKey, static_cast<std::uint8_t>(kZones[k].low));
      emu::WriteByte(m, b + emu::map::HighKey, static_cast<std::uint8_t>(kZones[k].high));
      emu::WriteByte(m, b + emu::map::Volume, 100);
      emu::WriteByte(m, b + emu::map::Group, 0x13);
    }
    original = m;
    Reload();
    store.MapLoaded = true;
    // A write under Enter commits the box it lands in; an accepted value re-reads the zone.
    for (int i = 0; i <= 10; ++i) Handle(pages->txtMap(i), [this, i] { Commit(i); });
    Select(0);
  }

  // The test Map as it was first, on the instrument and in the store.
  void Reload() {
    vesk().bank().of(emu::Kind::Map)[kMapNum] = original;
    vesk().resetCounters();
    ASSERT_TRUE(xfer->MapObjDump(kMapNum));
  }

  // The zone's boxes as the page shows them.
  void Select(int zone) {
    store.CurZoneIdx = static_cast<std::int16_t>(zone);
    const MapZone& z = store.CurMap.Zones[static_cast<std::size_t>(zone)];
    Show(pages->txtMap(0), std::to_string(zone));
    Show(pages->txtMap(3), std::to_string(z.LowKey));
    Show(pages->txtMap(4), std::to_string(z.HighKey));
    TakeSent();
  }

  plat::ctl::Control& PairOf(int index) {
    if (index == 7) return pages->sldMap(7);
    if (index == 9) return pages->sldMapH(9);
    return pages->spnMap(index == 0 ? 0 : 3);
  }

  bool Commit(int index) {
    const FieldOfBox f = FieldOf(index);
    const bool ok = Change_MapParm(*ctx, pages->txtMap(index), PairOf(index), f.field, f.pos, 2, f.isUnsigned);
    if (ok) xfer->MapZoneObjDump();
    return ok;
  }

  // The zones the instrument holds.
  std::vector<Range> Held() {
    const emu::Message& m = vesk().bank().of(emu::Kind::Map).at(kMapNum);
    std::vector<Range> r;
    for (std::size_t k = 0; k < kZones.size(); ++k) {
      std::uint8_t lo = 0, hi = 0;
      emu::ReadByte(m, emu::map::ZoneBase(k) + emu::map::LowKey, lo);
      emu::ReadByte(m, emu::map::ZoneBase(k) + emu::map::HighKey, hi);
      r.push_back({lo, hi});
    }
    return r;
  }

  emu::Message original;
};

struct KeyCase {
  const char* what;
  int zone, box;
  const char* typed;
  Range after;        // the zone on the instrument afterwards
  const char* shown;  // the edited box afterwards
};

const KeyCase kKeyCases[] = {
    {"low key into the gap before", 2, 3, "35", {35, 50}, "35"},
    {"low key onto the previous zone's high key", 2, 3, "30", {40, 50}, "40"},
    {"low key above the high key, gap after: both keys move", 2, 3, "55", {55, 55}, "55"},
    {"low key beyond the gap is capped at the next zone's low key - 1", 2, 3, "65", {59, 59}, "59"},
    {"low key above the high key without a gap after clamps", 0, 3, "25", {20, 20}, "20"},
    {"low key of the last zone drags its high key", 4, 3, "110", {110, 110}, "110"},
    {"low key above 127", 1, 3, "128", {21, 30}, "21"},
    {"high key inside the zone", 2, 4, "45", {40, 45}, "45"},
    {"high key below the low key without a gap before", 1, 4, "20", {21, 30}, "30"},
    {"high key below the low key with a gap before drags the low key", 2, 4, "35", {35, 35}, "35"},
    {"high key that would drag the low key into the previous zone", 2, 4, "25", {40, 50}, "50"},
    {"high key of the first zone below its low key", 0, 4, "5", {5, 5}, "5"},
    {"high key past the gap after is clamped", 2, 4, "70", {40, 59}, "59"},
    {"the one-key zone grows into its gap", 3, 4, "65", {60, 65}, "65"},
    {"high key above 127", 4, 4, "200", {70, 100}, "100"},
    {"high key against the next zone stays", 0, 4, "25", {10, 20}, "20"},
};

TEST_F(MapSenderTest, KeyRangesStayInOrderAndApart) {
  for (const auto& c : kKeyCases) {
    SCOPED_TRACE(c.what);
    Reload();
    Select(c.zone);
    Type(pages->txtMap(c.box), c.typed);
    Commit(c.box);
    EXPECT_EQ(pages->txtMap(c.box).Text(), c.shown);
    EXPECT_FALSE(flags.ProgramTextSet);
    const auto held = Held();
    EXPECT_EQ(held[static_cast<std::size_t>(c.zone)], c.after);
    for (std::size_t k = 0; k < held.size(); ++k) {
      EXPECT_LE(held[k].low, held[k].high) << "zone " << k;
      if (k > 0) {
        EXPECT_LT(held[k - 1].high, held[k].low) << "zones " << k - 1 << " and " << k;
      }
      if (k != static_cast<std::size_t>(c.zone)) {
        EXPECT_EQ(held[k].low, kZones[k].low);
      }
    }
    EXPECT_EQ(vesk().counters().refused, 0) << "nothing the instrument had to refuse was sent";
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

struct FieldCase {
  const char* what;
  int box;
  const char* typed;
  int sent;  // the byte sent, -1 none
  const char* shown;
  int slider;  // the paired slider afterwards (volume, pan), else unused
};

const FieldCase kFieldCases[] = {
    {"negative transpose as its byte", 8, "-12", 0xF4, "-12", 0},
    {"transpose above 127", 8, "200", 127, "127", 0},
    {"transpose below -127 stays negative", 8, "-200", 0x81, "-127", 0},
    {"a lone minus restores", 8, "-", -1, "0", 0},
    {"pan above 99, slider follows", 9, "150", 99, "99", 99},
    {"negative pan, slider signed", 9, "-20", 0xEC, "-20", -20},
    {"volume, slider follows", 7, "77", 77, "77", 77},
    {"group above 7 keeps the exclusive bit", 10, "9", 0x17, "7", 0},
    {"group 5 of an exclusive zone", 10, "5", 0x15, "5", 0},
    {"an empty box restores the volume", 7, "", -1, "100", 0},
};

TEST_F(MapSenderTest, ZoneFieldsAreLimitedAndSentAtTheirPositions) {
  for (const auto& c : kFieldCases) {
    SCOPED_TRACE(c.what);
    Reload();
    Select(1);
    Show(pages->txtMap(c.box), c.box == 7 ? "100" : "0");
    Type(pages->txtMap(c.box), c.typed);
    EXPECT_EQ(Commit(c.box), c.sent >= 0);
    EXPECT_EQ(pages->txtMap(c.box).Text(), c.shown);
    const auto sent = TakeSent();
    if (c.sent < 0) {
      EXPECT_TRUE(sent.empty());
      continue;
    }
    ASSERT_GE(sent.size(), 1u);
    const FieldOfBox f = FieldOf(c.box);
    EXPECT_EQ(HexByte(sent[0], static_cast<std::size_t>(f.pos)), c.sent);
    EXPECT_EQ(pages->txtMap(c.box).ForeColor(), kTextBlack);
    if (c.box == 7 || c.box == 9) {
      EXPECT_EQ((c.box == 7 ? pages->sldMap(7) : pages->sldMapH(9)).Value(), c.slider);
    }
  }
}

TEST_F(MapSenderTest, TheZoneSelectorSendsNothing) {
  Type(pages->txtMap(0), "3");
  EXPECT_FALSE(Commit(0));
  EXPECT_EQ(store.CurZoneIdx, 3);
  EXPECT_EQ(pages->txtMap(0).ForeColor(), kTextBlack);
  EXPECT_EQ(flags.LastKeyAscii, 0);
  Type(pages->txtMap(0), "5");
  EXPECT_FALSE(Commit(0));
  EXPECT_EQ(store.CurZoneIdx, 3);
  EXPECT_EQ(pages->txtMap(0).Text(), "3");
  EXPECT_TRUE(TakeSent().empty());
}

TEST_F(MapSenderTest, ARefusedZoneEditKeepsTheInstrumentsValueInTheRecord) {
  Select(2);
  ExpectRefused(pages->txtMap(3), "35", [this] { return Commit(3); });
  EXPECT_EQ(store.CurMap.Zones[2].LowKey, 40);
  EXPECT_FALSE(flags.SendPending);
}

}  // namespace
}  // namespace tavoro::testing
