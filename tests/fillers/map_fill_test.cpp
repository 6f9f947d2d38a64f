// The Map page: the zone's fields, the keyboard coloured by zone, the brackets and the labels.
#include "platform/controls/keyboard.h"
#include "tests/fillers/filler_fixture.h"

namespace tavoro::testing {
namespace {

constexpr long kWhite = 0xFFFFFF, kGrey = 0xC0C0C0, kBlack = 0x000000;
constexpr int kTickY = 250;  // inside a tick, below the bracket line (twips)

MapZone Zone(int lo, int hi) {
  MapZone z;
  z.LowKey = static_cast<std::int16_t>(lo);
  z.HighKey = static_cast<std::int16_t>(hi);
  return z;
}

class MapFillTest : public FillerFixture {
 protected:
  void SetMap(std::vector<MapZone> zones, int current = 0) {
    store().MapLoaded = true;
    store().CurMap.Zones = std::move(zones);
    store().CurMap.LastZone = static_cast<std::int16_t>(store().CurMap.Zones.size() - 1);
    store().ZoneColour.assign(kZoneColourList.begin(), kZoneColourList.end());
    store().CurZoneIdx = static_cast<std::int16_t>(current);
  }
  void Scroll(int octave) {
    w().hsbKey().SetValue(octave);
    w().hsbKey_Change();
  }
  long Key(int panel) { return w().pnlKey()(panel).BackColor(); }
  int KeyLeft(int panel) { return w().pnlKey()(panel).Left(); }
  long Strip(int x, int y = kTickY) { return w().picMap().Point(x, y); }
  std::vector<int> ShownLabels() {
    std::vector<int> shown;
    for (int i : w().lblZone.Indexes())
      if (w().lblZone(i).isVisibleTo(&w().picMap())) shown.push_back(i);
    return shown;
  }
  int Right() { return KeyLeft(71) + w().pnlKey()(0).Width(); }
};

struct BracketCase {
  const char* what;
  std::vector<std::pair<int, int>> zones;
  int octave;
  std::vector<int> ticksAt;     // x in twips where a tick stands
  std::vector<int> noTicksAt;
  std::vector<int> labels;      // labels shown
};

TEST_F(MapFillTest, BracketsTicksAndLabels) {
  const int w0 = plat::ctl::Keyboard::kWhiteKeyWidth;
  const int b1 = plat::ctl::Keyboard::kBlackKeyWidth;  // C# starts half its width left of D
  const BracketCase cases[] = {
      {"one zone over every key runs off to the right at octave 0", {{0, 127}}, 0, {0}, {w0 * 7}, {0}},
      {"the same zone covers the window at octave 1: no ticks", {{0, 127}}, 1, {}, {0}, {0}},
      {"a contiguous zone draws no left tick", {{0, 23}, {24, 127}}, 2, {}, {0}, {1}},
      {"a zone after a gap does", {{0, 22}, {24, 127}}, 2, {0}, {}, {1}},
      {"a one-key zone: a tick pair, no label", {{60, 60}}, 2, {w0 * 21, w0 * 22 - b1 / 2}, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<MapZone> zones;
    for (auto [lo, hi] : c.zones) zones.push_back(Zone(lo, hi));
    SetMap(zones);
    Scroll(c.octave);
    for (int x : c.ticksAt) EXPECT_EQ(Strip(x), kWhite) << "tick at " << x;
    for (int x : c.noTicksAt) EXPECT_EQ(Strip(x), kBlack) << "no tick at " << x;
    EXPECT_EQ(ShownLabels(), c.labels);
  }
  // The label of a zone over the whole window sits in its middle.
  SetMap({Zone(0, 127)});
  Scroll(1);
  const auto& label = w().lblZone(0);
  EXPECT_EQ(label.Caption(), "0");
  EXPECT_NEAR(label.Left() + label.Width() / 2, Right() / 2, 15);
}

TEST_F(MapFillTest, KeyColoursAndLabelWidths) {
  // Eleven zones of five keys from note 24, then a gap; zone 2 is current.
  std::vector<MapZone> zones;
  for (int z = 0; z <= 10; ++z) zones.push_back(Zone(24 + 5 * z, 28 + 5 * z));
  SetMap(zones, 2);
  Scroll(2);  // panel k is note 24 + k
  EXPECT_EQ(Key(0), static_cast<long>(kZoneColourList[0]));
  EXPECT_EQ(Key(11), kWhite) << "note 35 is in the current zone 2";
  EXPECT_EQ(Key(16), static_cast<long>(kZoneColourList[3]));
  EXPECT_EQ(Key(60), kGrey) << "note 84 is in no zone";
  EXPECT_EQ(Key(1), kBlack) << "black keys keep their colour";
  EXPECT_EQ(w().lblZone(3).Width(), 120);
  EXPECT_EQ(w().lblZone(10).Width(), 240);
  EXPECT_EQ(w().lblZone(10).Caption(), "10");
  EXPECT_EQ(ShownLabels().size(), 11u);
}

TEST_F(MapFillTest, NoMapHeldOnlyClearsTheStripAndLabels) {
  SetMap({Zone(0, 60), Zone(61, 127)});
  Scroll(0);
  ASSERT_EQ(ShownLabels().size(), 2u);
  w().pnlKey()(0).SetBackColor(0x123456);
  for (bool loaded : {false, true}) {
    SCOPED_TRACE(loaded ? "a Map without zones" : "no Map loaded, its zones still held");
    store().MapLoaded = loaded;
    if (loaded) {
      store().CurMap.Zones.clear();
      store().ZoneColour.clear();
      store().CurMap.LastZone = 3;  // claims zones it does not hold
    }
    Scroll(1);
    EXPECT_TRUE(ShownLabels().empty());
    EXPECT_EQ(w().lblZone.Indexes(), std::vector<int>{0});
    EXPECT_EQ(Strip(0, 190), kBlack);
    EXPECT_EQ(Key(0), 0x123456) << "keys stay as they were";
  }
}

TEST_F(MapFillTest, ZoneFields) {
  MapZone z = Zone(60, 72);
  z.ToneNum = 7;
  z.Transpose = 244;  // -12 kept as v + 256
  z.Pan = 200;        // -56
  z.Volume = 80;
  z.Output = 1;
  z.KeyMode = 8;
  z.GroupByte = 0x13;
  SetMap({Zone(0, 59), z}, 1);
  store().ToneDir.Entries = {Entry(0, 2, "Two"), Entry(1, 7, " Strings  ")};
  auto& p = pages();
  auto ctx = Ctx();
  ASSERT_TRUE(LoadMapDisplay(ctx)) << LastBox();
  EXPECT_EQ(p.txtMap(0).Text(), "1");
  EXPECT_EQ(p.txtMap(2).Text(), "Strings");
  EXPECT_EQ(store().ZoneToneEntry, 1);
  EXPECT_EQ(p.txtMap(5).Text(), "C4");
  EXPECT_EQ(p.txtMap(6).Text(), "C5");
  EXPECT_EQ(p.txtMap(8).Text(), "-12");
  EXPECT_EQ(p.txtMap(9).Text(), "-56");
  EXPECT_EQ(p.sldMapH(9).Value(), -56);
  EXPECT_EQ(p.sldMap(7).Value(), 80);
  EXPECT_EQ(p.txtMap(10).Text(), "3");
  EXPECT_TRUE(p.optMap(1).Value());
  EXPECT_TRUE(p.optMap(3).Value());
  EXPECT_TRUE(p.optMap(4).Value()) << "high nibble 1: exclusive";

  // No Tones in the instrument: the name stays, the fill completes.
  store().ToneDir = ObjDir{};
  p.txtMap(2).SetText("Kept");
  ASSERT_TRUE(LoadMapDisplay(ctx)) << LastBox();
  EXPECT_EQ(p.txtMap(2).Text(), "Kept");
  EXPECT_FALSE(app->flags.SuppressChange);
}

}  // namespace
}  // namespace tavoro::testing
