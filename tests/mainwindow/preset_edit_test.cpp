// The Preset pages against the emulator: preset-wide and layer fields, switch points, the layer
// pan's "Map", lists, options and refusals.

#include "tests/mainwindow/page_edit_fixture.h"

namespace tavoro::testing {
namespace {

constexpr int kSplitPreset = 1;  // layer A: switch points 128, pan "Map"; layer B: points 40, 80, 128
constexpr int kLayerB = 192;

class PresetEditTest : public PageEditFixture {
 protected:
  void SetUp() override {
    PageEditFixture::SetUp();
    LoadPages(-1, kSplitPreset, -1, kPreset1Tab);
  }
  TabPages::TextBox& box(int i) { return pages().txtPreset(i); }
  void SelectLayerB() {
    Click(pages().optPreset(10));
    TakeReceived();
  }
  PresetRecord& preset() { return store().CurPreset; }
};

TEST_F(PresetEditTest, AFieldIsSentAtItsPlaceAndTheLayerChosen) {
  struct Case { bool layerB; int box; const char* typed; const char* shown; std::size_t position; long sent; };
  const Case cases[] = {
      {true, 12, "-5", "-5", 166 + kLayerB, 0xFB}, {false, 0, "-20", "-20", 90, 0xEC},
      {false, 2, "60", "60", 98, 60},              {false, 24, "200", "127", 184, 127},
      {true, 13, "30", "24", 168 + kLayerB, 24},   {true, 18, "-7", "-7", 174 + kLayerB, 0xF9},
  };
  for (const Case& c : cases) {
    if (c.layerB) SelectLayerB();
    Commit(box(c.box), c.typed);
    EXPECT_EQ(Sent(c.position), c.sent) << c.box;
    EXPECT_EQ(box(c.box).Text(), c.shown) << c.box;
    EXPECT_EQ(box(c.box).ForeColor(), kBlack) << c.box;
    Click(pages().optPreset(9));
    TakeReceived();
  }
  EXPECT_EQ(box(3).Text(), "C4");
  EXPECT_EQ(preset().Layer[1].Transpose, -5);
  EXPECT_EQ(preset().Val0, -20);
}

TEST_F(PresetEditTest, ASwitchPointPastItsNeighbourMovesTheNeighbourFirst) {
  SelectLayerB();
  Commit(box(9), "90");
  const auto uploads = Uploads(TakeReceived());
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(Nibbles(uploads[0], 162 + kLayerB, 2), 90) << "the neighbour first";
  EXPECT_EQ(Nibbles(uploads[1], 160 + kLayerB, 2), 90);
  EXPECT_EQ(preset().Layer[1].SwitchPoint[1], 90);
  EXPECT_EQ(pages().fraLayer->Caption(), "Layer B");
  Show(kPreset2Tab);
  SavePicture("preset2-layer-b");
}

TEST_F(PresetEditTest, EnterOnArrowsSendsNothingAndTheNextSpinIsSent) {
  ASSERT_EQ(box(9).Text(), "<<<");
  Focus(box(9));
  Enter(box(9));
  EXPECT_TRUE(Uploads(TakeReceived()).empty());
  Spin(pages().spnPreset(9), false);
  EXPECT_EQ(Sent(160), 127);
}

TEST_F(PresetEditTest, TheLayersMapStepsToExistingMapsAndStopsAtTheLast) {
  Commit(box(8), "1");
  TakeReceived();
  ExpectSpinWalk(pages().spnPreset(8), box(8), 152,
                 {{true, "4", true}, {true, "4", false}, {false, "1", true}, {false, "0", true}});
}

TEST_F(PresetEditTest, TheLayerPanSliderMovedFromMapSendsItsValue) {
  ASSERT_EQ(box(16).Text(), "Map");
  Focus(pages().hsldPreset(16));
  pages().hsldPreset(16).SetValue(30);
  EXPECT_EQ(Sent(172), 30);
  EXPECT_EQ(box(16).Text(), "30");
}

TEST_F(PresetEditTest, AListSendsItsEntrysValue) {
  struct Case { int list, entry; std::size_t position; long sent; };
  const Case cases[] = {{2, 0, 86, 255}, {1, 8, 84, 7}, {0, 4, 50, 4}, {6, 2, 150, 2}};
  for (const Case& c : cases) {
    pages().cboPreset(c.list).SetListIndex(c.entry);
    w().cboPreset_Change(c.list);
    EXPECT_EQ(Sent(c.position), c.sent) << c.list;
  }
}

TEST_F(PresetEditTest, ARefusedOptionLeavesThePresetAsTheInstrumentHoldsIt) {
  const std::int16_t priority = preset().Priority[0];
  const int other = priority == 2 ? 1 : 2;
  RefuseNext();
  Click(pages().optPreset(other));
  EXPECT_EQ(Uploads(TakeReceived()).size(), 1u);
  EXPECT_EQ(preset().Priority[0], priority);
  EXPECT_TRUE(pages().optPreset(priority).Value());
  RefuseNext();
  Commit(box(1), "33");
  EXPECT_EQ(Uploads(TakeReceived()).size(), 1u);
  EXPECT_EQ(box(1).ForeColor(), kRed);
  // A refused Map step: the number not taken in red, the name the held Map's.
  const std::string heldName = box(25).Text();
  RefuseNext();
  Spin(pages().spnPreset(8), true);
  EXPECT_EQ(Uploads(TakeReceived()).size(), 1u);
  EXPECT_EQ(box(8).ForeColor(), kRed);
  EXPECT_EQ(box(25).Text(), heldName);
}

}  // namespace
}  // namespace tavoro::testing
