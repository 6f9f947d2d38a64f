// The Map page against the emulator: zone fields sent as zone uploads and read back, the zones'
// key ranges kept in order, the options sent in the whole Map, spin bounds and refusals.

#include "tests/mainwindow/page_edit_fixture.h"

namespace tavoro::testing {
namespace {

constexpr int kSplitMap = 1;  // zones 0-47, 48-83, 84-127
constexpr int kDrumMap = 4;   // one-key zones 36, 38, 40, 42, 44, 46 and 49-51, with gaps

class MapEditTest : public PageEditFixture {
 protected:
  void Open(int map, int zone) {
    LoadPages(map, -1, -1, kMapTab);
    Commit(pages().txtMap(0), std::to_string(zone).c_str());
    TakeReceived();
  }
  TabPages::TextBox& box(int i) { return pages().txtMap(i); }
  const MapZone& zone(int k) { return store().CurMap.Zones.at(static_cast<std::size_t>(k)); }
  // Reads the whole Map again from the instrument.
  void Reread() {
    ObjectTransfer t(link(), store());
    const std::int16_t k = store().CurZoneIdx;
    ASSERT_TRUE(t.MapObjDump(store().CurMap.Number));
    store().CurZoneIdx = k;
    TakeReceived();
  }
  void ExpectOrderedAndApart(const char* what) {
    const auto& zones = store().CurMap.Zones;
    for (std::size_t i = 0; i < zones.size(); ++i) {
      EXPECT_LE(zones[i].LowKey, zones[i].HighKey) << what << " zone " << i;
      if (i > 0) { EXPECT_LT(zones[i - 1].HighKey, zones[i].LowKey) << what << " zone " << i; }
    }
  }
};

TEST_F(MapEditTest, AZoneFieldIsSentAtItsPlaceAndReadBack) {
  struct Case { int box; const char* typed; const char* shown; std::size_t position; long sent; };
  const Case cases[] = {
      {8, "-12", "-12", 28, 0xF4}, {8, "200", "127", 28, 0x7F}, {8, "-200", "-127", 28, 0x81},
      {9, "150", "99", 32, 0x63},  {7, "50", "50", 30, 0x32},   {10, "9", "7", 38, 0x07},
  };
  Open(kSplitMap, 1);
  for (const Case& c : cases) {
    Commit(box(c.box), c.typed);
    EXPECT_EQ(Sent(c.position, 2, 1), c.sent) << c.typed << ", then the zone's read-back";
    EXPECT_EQ(box(c.box).Text(), c.shown) << c.typed;
    EXPECT_EQ(box(c.box).ForeColor(), kBlack) << c.typed;
  }
  EXPECT_EQ(zone(1).Transpose, -127);
  EXPECT_EQ(zone(1).Pan, 99);
  EXPECT_EQ(pages().sldMapH(9).Value(), 99);
  EXPECT_EQ(zone(1).Volume, 50);
  EXPECT_EQ(zone(1).GroupByte & 15, 7);
}

TEST_F(MapEditTest, KeyRangesStayInOrderAndApart) {
  struct Case { int map, zone, box; const char* typed; int low, high; };
  const Case cases[] = {
      {kDrumMap, 1, 4, "39", 38, 39},    // into the gap after the zone
      {kDrumMap, 1, 4, "45", 38, 39},    // clamped below the next zone
      {kDrumMap, 2, 3, "39", 40, 40},    // into the zone before: refused
      {kDrumMap, 0, 4, "30", 30, 30},    // the first zone's low key follows down
      {kDrumMap, 6, 3, "60", 60, 60},    // the last zone's high key follows up
      {kDrumMap, 4, 3, "50", 45, 45},    // capped at the gap's end; the high key follows
      {kDrumMap, 3, 4, "41", 41, 41},    // into the gap before: the low key follows down
      {kSplitMap, 1, 4, "40", 48, 83},   // no gap before: refused
      {kSplitMap, 0, 4, "60", 0, 47},    // into the next zone: clamped to where it is
  };
  for (const Case& c : cases) {
    Open(c.map, c.zone);
    Commit(box(c.box), c.typed);
    TakeReceived();
    Reread();
    EXPECT_EQ(zone(c.zone).LowKey, c.low) << c.map << "/" << c.zone << " " << c.typed;
    EXPECT_EQ(zone(c.zone).HighKey, c.high) << c.map << "/" << c.zone << " " << c.typed;
    ExpectOrderedAndApart(c.typed);
  }
  Open(kDrumMap, 4);
  Commit(box(4), "47");
  SavePicture("map-after-key-edit");
}

TEST_F(MapEditTest, AnOptionSetsItsStateInTheWholeMapAndAReclickSendsNothing) {
  struct Case { int option; std::size_t position; long sent; };  // position: in the Map dump, zone 1
  const Case cases[] = {{3, 84 + 32 + 16, 0x80}, {2, 84 + 32 + 16, 0x00}, {4, 84 + 32 + 18, 0x11}, {1, 84 + 32 + 14, 1}};
  Open(kSplitMap, 1);
  for (const Case& c : cases) {
    Click(pages().optMap(c.option));
    const Bytes up = OneUpload();
    ASSERT_FALSE(up.empty()) << c.option;
    EXPECT_EQ(up[8], Code(ObjType::Map)) << c.option;
    EXPECT_EQ(Nibbles(up, c.position, 2), c.sent) << c.option;
    Click(pages().optMap(c.option));
    EXPECT_TRUE(Uploads(TakeReceived()).empty()) << c.option << " clicked again";
  }
  EXPECT_EQ(store().CurZoneIdx, 1) << "the page stays on the zone";
  EXPECT_EQ(zone(1).Output, 1);
  EXPECT_EQ(zone(1).GroupByte, 0x11);
}

TEST_F(MapEditTest, AZoneEditSurvivesAnOptionSentInTheWholeMap) {
  Open(kSplitMap, 1);
  Commit(box(7), "50");
  Click(pages().optMap(1));
  TakeReceived();
  Reread();
  EXPECT_EQ(zone(1).Volume, 50);
  EXPECT_EQ(zone(1).Output, 1);
}

TEST_F(MapEditTest, SpinButtonsStopAtTheirBounds) {
  struct Case { int zone, box; const char* start; bool up; };
  const Case cases[] = {{2, 10, "7", true},  {2, 8, "-127", false}, {2, 8, "127", true},
                        {2, 0, "2", true},   {2, 4, "127", true},   {0, 3, "0", false}};
  for (const Case& c : cases) {
    Open(kSplitMap, c.zone);
    Commit(box(c.box), c.start);
    TakeReceived();
    Spin(pages().spnMap(c.box), c.up);
    EXPECT_EQ(box(c.box).Text(), c.start) << c.box;
    EXPECT_TRUE(Uploads(TakeReceived()).empty()) << c.box;
  }
}

TEST_F(MapEditTest, ASpinIsSentAndTheToneStepsToTheNextExistingOne) {
  Open(kSplitMap, 1);  // the zone plays Tone 1; Tones 0, 1, 2, 3 and 7 exist
  Spin(pages().spnMap(8), true);
  EXPECT_EQ(Nibbles(OneUpload(), 28, 2), 1);
  Commit(box(1), "3");
  TakeReceived();
  Spin(pages().spnMap(1), true);
  EXPECT_EQ(Sent(22), 7);
  EXPECT_EQ(box(1).Text(), "7");
  EXPECT_EQ(box(2).Text(), "Bass Round");
  EXPECT_EQ(zone(1).ToneNum, 7);
}

TEST_F(MapEditTest, ARefusedEditStaysRedAndIsNotSentAgain) {
  Open(kSplitMap, 1);
  const std::int16_t volume = zone(1).Volume;
  RefuseNext();
  Commit(box(7), "40");
  EXPECT_EQ(Uploads(TakeReceived()).size(), 1u);
  EXPECT_EQ(box(7).ForeColor(), kRed);
  EXPECT_EQ(zone(1).Volume, volume);
  for (int spun : {1, 8}) {  // a step is shown red when refused, as a typed value is
    RefuseNext();
    Spin(pages().spnMap(spun), true);
    EXPECT_EQ(Uploads(TakeReceived()).size(), 1u) << spun;
    EXPECT_EQ(box(spun).ForeColor(), kRed) << spun;
  }
  RefuseNext();
  Click(pages().optMap(3));
  EXPECT_EQ(Uploads(TakeReceived()).size(), 1u);
  EXPECT_EQ(zone(1).KeyMode, 0);
  EXPECT_TRUE(pages().optMap(2).Value()) << "the options show the zone's key mode again";
  RunEventsFor(50);
  EXPECT_TRUE(TakeReceived().empty());
}

}  // namespace
}  // namespace tavoro::testing
