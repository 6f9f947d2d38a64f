// The Multi sender and the three Global change messages, byte for byte, with their limits,
// refusals and selectors.
#include "editing/multi_global_senders.h"

#include "emulator/core/wire.h"
#include "platform/controls/lists.h"
#include "tests/editing/sender_fixture.h"

namespace tavoro::testing {
namespace {

class MultiSenderTest : public SenderFixture {
 protected:
  void SetUp() override {
    SenderFixture::SetUp();
    store.PresetStatus = xfer->GetObjDirStatus(3);
    store.PresetDir = xfer->GetObjDir(3);  // Presets 0, 1 and 3
    ASSERT_TRUE(xfer->MultiObjDump(0));
    for (int i = 0; i <= 5; ++i) Handle(pages->txtGlobal(i));
    TakeSent();
  }
  bool Commit(int i, std::int16_t& value, std::int16_t pos) {
    return Change_MultiParm(*ctx, pages->txtGlobal(i), pages->spnGlobal(i == 5 ? 3 : i), value, pos, 2, 1);
  }
};

TEST_F(MultiSenderTest, PartVolumeAndPresetAreSentAtThePartsPosition) {
  struct Case {
    const char* what;
    int box;
    const char* typed;
    int sent;
    const char* shown;
  };
  const Case cases[] = {
      {"volume above 127", 5, "300", 127, "127"},
      {"volume", 5, "64", 64, "64"},
      {"a Preset between two moves up", 3, "2", 3, "3"},
      {"a Preset above the highest", 3, "9", 3, "3"},
      {"an existing Preset", 3, "1", 1, "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t part = 2;  // part 3
    std::int16_t& field = c.box == 5 ? store.CurMulti.PartVolume[part] : store.CurMulti.PartPreset[part];
    const auto pos = static_cast<std::int16_t>((c.box == 5 ? 120 : 88) + 2 * part);
    Type(pages->txtGlobal(c.box), c.typed);
    EXPECT_TRUE(Commit(c.box, field, pos));
    EXPECT_EQ(pages->txtGlobal(c.box).Text(), c.shown);
    EXPECT_EQ(pages->txtGlobal(c.box).ForeColor(), kTextBlack);
    ExpectSentByte(TakeUploads(), static_cast<std::size_t>(pos), c.sent);
  }
  EXPECT_EQ(pages->txtGlobal(4).Text(), "Bass+Strings");
}

TEST_F(MultiSenderTest, SelectorsShowTheirChoiceAndSendNothing) {
  std::int16_t part = 2;
  store.CurMulti.PartEnable = 0x0002;  // part 2 off-line, part 1 active
  Type(pages->txtGlobal(2), "2");
  EXPECT_FALSE(Commit(2, part, 0));
  EXPECT_TRUE(pages->optGlobal(7).Value());
  EXPECT_EQ(pages->txtGlobal(3).Text(), std::to_string(store.CurMulti.PartPreset[1]));
  EXPECT_EQ(pages->sldGlobal(5).Value(), store.CurMulti.PartVolume[1]);
  EXPECT_EQ(flags.LastKeyAscii, 0);

  std::int16_t group = 1;
  store.CurMulti.Priority[1] = 7;  // no such option: none stays selected
  Type(pages->txtGlobal(0), "1");
  EXPECT_FALSE(Commit(0, group, 0));
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(pages->optGlobal(i).Value()) << i;
  EXPECT_EQ(pages->txtGlobal(1).Text(), "16");
  EXPECT_TRUE(TakeSent().empty());

  Type(pages->txtGlobal(5), "");
  EXPECT_FALSE(Commit(5, store.CurMulti.PartVolume[0], 120));
  EXPECT_EQ(pages->txtGlobal(5).Text(), "100");
}

TEST_F(MultiSenderTest, ARefusedVolumeStaysRedAndTheRecordAsTheInstrumentHoldsIt) {
  const std::int16_t held = store.CurMulti.PartVolume[0];
  ExpectRefused(pages->txtGlobal(5), "90", [this] { return Commit(5, store.CurMulti.PartVolume[0], 120); });
  EXPECT_EQ(store.CurMulti.PartVolume[0], held);
}

// ------------------------------------------------------------------------------------ Global

class GlobalSenderTest : public SenderFixture {
 protected:
  void SetUp() override {
    SenderFixture::SetUp();
    ASSERT_TRUE(xfer->GlobalObjDump());
    for (int i = 6; i <= 9; ++i) Handle(pages->txtGlobal(i));
    TakeSent();
  }
  std::int16_t& FieldOf(int box) {
    GlobalRecord& g = store.GlobalData;
    return box == 6 ? g.MidiChannel : box == 7 ? g.OmniPolyVolume : g.MasterTune;
  }
  bool CommitBox(int box) {
    auto& t = pages->txtGlobal(box);
    if (box == 8) return Change_GlobalParm(*ctx, t, t, store.GlobalData.BankName, 0x11, 0x02, 1);
    if (box == 9) return Change_GlobalParm(*ctx, t, t, FieldOf(9), 0x32, 0x01, 0);
    return Change_GlobalParm(*ctx, t, t, FieldOf(box), 0x11, 0x03, 1);
  }
  static plat::Bytes Framed(const plat::Bytes& body) {
    return plat::Bytes{0xF0, 0x00, 0x00, 0x1B, 0x02, 0x05, 0x7F} + body + plat::Bytes{0xF7};
  }
};

TEST_F(GlobalSenderTest, TypedValuesAreSentByteForByte) {
  using B = plat::Bytes;
  struct Case {
    const char* what;
    int box;
    const char* typed;
    B body;  // empty: nothing sent
    const char* shown;
  };
  const B bank = B{0x11, 0x02, 0x0F, 0x01, 'S', 't', 'u', 'd', 'i', 'o', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
  const B longName = B{0x11, 0x02, 0x0F, 0x01, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N'};
  const Case cases[] = {
      {"channel 16", 6, "16", B{0x11, 0x03, 0x03, 0x03, 0x01, 0x0F}, "16"},
      {"master tune 120", 9, "120", B{0x32, 0x01, 0, 0, 0, 4, 0, 1, 0, 1, 0x02, 0x0E, 0x0E, 0x00}, "120"},
      {"an exact half to the even hundredth", 9, "0.125", B{0x32, 0x01, 0, 0, 0, 4, 0, 1, 0, 1, 0, 0, 0, 0x0C}, "0.125"},
      {"single precision below the half", 9, "0.015", B{0x32, 0x01, 0, 0, 0, 4, 0, 1, 0, 1, 0, 0, 0, 0x01}, "0.015"},
      {"a lone minus restores the tune", 9, "-", B{}, "0.01"},
      {"a short bank name is padded", 8, "Studio", bank, "Studio"},
      {"a long bank name is cut", 8, "ABCDEFGHIJKLMNOPQRST", longName, "ABCDEFGHIJKLMNOPQRST"},
      {"an empty box restores", 7, "", B{}, "127"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Type(pages->txtGlobal(c.box), c.typed);
    EXPECT_EQ(CommitBox(c.box), !c.body.empty());
    EXPECT_EQ(pages->txtGlobal(c.box).Text(), c.shown);
    EXPECT_EQ(flags.LastKeyAscii, 0);
    const auto sent = TakeSent();
    if (c.body.empty()) {
      EXPECT_TRUE(sent.empty());
      continue;
    }
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], Framed(c.body));
    EXPECT_EQ(pages->txtGlobal(c.box).ForeColor(), kTextBlack);
    // Leaves a tuning of 0.01 for the restoring cases.
    if (c.box == 9) {
      Type(pages->txtGlobal(9), "0.01");
      ASSERT_TRUE(CommitBox(9));
      TakeSent();
    }
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(GlobalSenderTest, AListWithoutSelectionSendsNothing) {
  auto& list = pages->cboGlobal(0);
  list.SetListIndex(-1);
  EXPECT_FALSE(Change_GlobalParm(*ctx, list, list, store.GlobalData.PlaybackMode, 0x11, 0x03, 1));
  EXPECT_TRUE(TakeSent().empty());
}

TEST_F(GlobalSenderTest, ARefusedChangeKeepsTheFieldAndTheRedText) {
  const GlobalRecord before = store.GlobalData;
  ExpectRefused(pages->txtGlobal(7), "50", [this] { return CommitBox(7); });
  EXPECT_EQ(store.GlobalData, before);
}

TEST_F(GlobalSenderTest, ValuesNoMessageCanCarryAreRefusedBeforeSending) {
  Type(pages->txtGlobal(8), std::string("Bank\x80"));
  EXPECT_FALSE(CommitBox(8));
  EXPECT_TRUE(TakeSent().empty());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(pages->txtGlobal(8).Text(), "Bank\x80") << "the typed name is kept to be mended";
  Type(pages->txtGlobal(6), "0");
  EXPECT_FALSE(CommitBox(6)) << "channel 0 has no data byte";
  for (const char* noNumber : {"nan", "inf", "-infinity"}) {
    Type(pages->txtGlobal(9), noNumber);
    EXPECT_FALSE(CommitBox(9)) << noNumber;
  }
  EXPECT_TRUE(TakeSent().empty());
}

}  // namespace
}  // namespace tavoro::testing
