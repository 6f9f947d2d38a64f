// The Preset sender: limits and shorthand texts per box, layer B positions, the switch points'
// neighbours, the layer Map moved to an existing Map, and the group selector.
#include "editing/preset_senders.h"

#include "emulator/core/wire.h"
#include "tests/editing/sender_fixture.h"

namespace tavoro::testing {
namespace {

constexpr int kPresetNum = 1;

class PresetSenderTest : public SenderFixture {
 protected:
  void SetUp() override {
    SenderFixture::SetUp();
    emu::Message& d = Stored(emu::Kind::Preset, kPresetNum);
    for (std::size_t n = 0; n < 3; ++n)
      emu::WriteByte(d, emu::preset::LayerA + emu::preset::SwitchPoint + 2 * n, static_cast<std::uint8_t>(20 + 20 * n));
    original = d;
    store.MapStatus = xfer->GetObjDirStatus(2);
    store.MapDir = xfer->GetObjDir(2);  // Maps 0, 1 and 4
    // A write under Enter commits the box it lands in; an accepted value reads the Preset back.
    for (int i = 0; i <= 25; ++i) Handle(pages->txtPreset(i), [this, i] { Commit(i); });
    Reload(0);
  }

  void Reload(std::uint8_t layer) {
    vesk().bank().of(emu::Kind::Preset)[kPresetNum] = original;
    ASSERT_TRUE(xfer->PresetObjDump(kPresetNum));
    store.MapLoaded = true;
    store.PresetLayerSel = layer;
    TakeSent();
  }

  struct Field {
    std::int16_t* value;
    std::int16_t pos;
    std::uint8_t isUnsigned;
  };
  Field FieldOf(int i) {
    PresetRecord& p = store.CurPreset;
    PresetLayer& l = p.Layer[store.PresetLayerSel];
    const std::int16_t b = store.PresetLayerSel == 0 ? 0 : 192;
    switch (i) {
      case 4: return {&p.Val4, 100, 1};
      case 5: return {&group, 0, 1};
      case 8: return {&l.LayerMap[0], static_cast<std::int16_t>(152 + b), 1};
      case 9: case 10: case 11:
        return {&l.SwitchPoint[static_cast<std::size_t>(i - 9)], static_cast<std::int16_t>(160 + 2 * (i - 9) + b), 1};
      case 12: return {&l.Transpose, static_cast<std::int16_t>(166 + b), 0};
      case 13: return {&l.Val13, static_cast<std::int16_t>(168 + b), 0};
      case 14: return {&l.Val14, static_cast<std::int16_t>(186 + b), 1};
      default: return {&l.Val16, static_cast<std::int16_t>(172 + b), 0};
    }
  }

  bool Commit(int i) {
    Field f = FieldOf(i);
    const bool ok = Change_PresetParm(*ctx, pages->txtPreset(i), pages->spnPreset(9), *f.value, f.pos, 2, f.isUnsigned);
    if (ok) xfer->PresetObjDump(kPresetNum);
    return ok;
  }

  emu::Message original;
  std::int16_t group = 0;
};

struct PresetCase {
  const char* what;
  std::uint8_t layer;
  int box;
  const char* typed;
  int pos, sent;  // the byte sent at pos by the last upload, -1 nothing sent
  const char* shown;
};

const PresetCase kCases[] = {
    {"layer A transpose", 0, 12, "7", 166, 7, "7"},
    {"crossfade width above 255", 0, 4, "300", 100, 255, "255"},
    {"keyboard centre gets its note name", 0, 14, "61", 186, 61, "61"},
    {"pan shorthand becomes Map, nothing sent", 0, 16, "M", 0, -1, "Map"},
    {"Map itself sends nothing", 0, 16, "Map", 0, -1, "Map"},
    {"pan 0 is sent as a number", 1, 16, "0", 364, 0, "0"},
    {"a lone minus restores the field", 0, 12, "-", 0, -1, "0"},
    {"an arrow text becomes the arrows, nothing sent", 0, 9, "<", 0, -1, "<<<"},
    {"the arrows again send nothing", 0, 10, ">>>", 0, -1, ">>>"},
    {"the last point at 128 shows the arrows", 0, 11, "128", 164, 128, "<<<"},
    {"the last point above 128", 0, 11, "200", 164, 128, "<<<"},
    {"a Map between two Maps moves up to the next", 0, 8, "2", 152, 4, "4"},
    {"an existing Map stays", 0, 8, "1", 152, 1, "1"},
    {"a Map above the highest becomes the highest", 1, 8, "9", 344, 4, "4"},
};

TEST_F(PresetSenderTest, EachBoxKeepsItsLimitsAndTexts) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    Reload(c.layer);
    TextBox& box = pages->txtPreset(c.box);
    Type(box, c.typed);
    EXPECT_EQ(Commit(c.box), c.sent >= 0);
    EXPECT_EQ(box.Text(), c.shown);
    EXPECT_EQ(flags.LastKeyAscii, 0);
    EXPECT_FALSE(flags.ProgramTextSet) << "a rewrite onto the same text leaves no flag behind";
    ExpectSentByte(TakeUploads(), static_cast<std::size_t>(c.pos), c.sent);
    if (c.sent < 0) continue;
    EXPECT_EQ(box.ForeColor(), kTextBlack);
  }
  EXPECT_EQ(pages->txtPreset(25).Text(), "Drum Kit") << "the layer Map's name";
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(PresetSenderTest, ASwitchPointPastItsNeighbourMovesTheNeighbourFirst) {
  // Points 20, 40, 60: 50 into the first point.
  Type(pages->txtPreset(9), "50");
  EXPECT_TRUE(Commit(9));
  const auto sent = TakeUploads();
  ASSERT_EQ(sent.size(), 2u) << "the neighbour's upload, then the point's own";
  EXPECT_EQ(HexByte(sent[0], 162), 50);
  EXPECT_EQ(HexByte(sent[0], 160), 20);
  EXPECT_EQ(HexByte(sent[1], 160), 50);
  EXPECT_EQ(HexByte(sent[1], 162), 50);
  EXPECT_EQ(pages->txtPreset(9).Text(), ">>>");
  EXPECT_EQ(pages->txtPreset(10).Text(), "50");
}

TEST_F(PresetSenderTest, TheGroupSelectorShowsTheGroupAndSendsNothing) {
  store.CurPreset.Priority[3] = 2;
  store.CurPreset.Priority[4] = 9;  // no such option
  store.CurPreset.GroupEnable = 0x08;
  group = 3;
  Type(pages->txtPreset(5), "3");
  EXPECT_FALSE(Commit(5));
  EXPECT_TRUE(pages->optPreset(2).Value());
  EXPECT_TRUE(pages->optPreset(5).Value());
  EXPECT_EQ(pages->txtPreset(6).Text(), "4");
  EXPECT_EQ(flags.LastKeyAscii, 0);
  group = 4;
  Type(pages->txtPreset(5), "4");
  EXPECT_FALSE(Commit(5));
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(pages->optPreset(i).Value()) << i;
  EXPECT_TRUE(pages->optPreset(4).Value());
  EXPECT_TRUE(TakeSent().empty());
}

TEST_F(PresetSenderTest, ARefusedUploadLeavesTheTextRedAndTheRecordAsTheInstrumentHoldsIt) {
  const std::int16_t held = store.CurPreset.Layer[0].Transpose;
  ExpectRefused(pages->txtPreset(12), "-5", [this] { return Commit(12); });
  EXPECT_EQ(store.CurPreset.Layer[0].Transpose, held);
}

}  // namespace
}  // namespace tavoro::testing
