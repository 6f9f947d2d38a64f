// The object header against the emulator: selecting by number and with the spin button, and
// renaming in the name box.

#include "tests/mainwindow/page_edit_fixture.h"

namespace tavoro::testing {
namespace {

class HeaderEditTest : public PageEditFixture {
 protected:
  void SetUp() override {
    PageEditFixture::SetUp();
    // Maps 1, 4 and 9.
    auto& maps = peer->vesk().bank().of(emu::Kind::Map);
    maps.erase(0);
    Bytes nine = maps.at(4);
    nine.at(16) = 9;  // the number's last nibble
    maps[9] = nine;
    LoadPages(1, 1, -1, kMapTab);
  }
  TabPages::TextBox& number() { return *w().txtObjectNum; }
  TabPages::TextBox& name() { return *w().txtObjectName; }
  // The name the upload carries at 20, two nibbles a character.
  static std::string NameSent(const Bytes& m) {
    std::string s;
    for (std::size_t i = 0; i < 14; ++i) s += static_cast<char>(Nibbles(m, 20 + 2 * i, 2));
    return s;
  }
};

TEST_F(HeaderEditTest, ATypedNumberOrASpinSelectsAnExistingObjectAndSendsNone) {
  // spin 0: `typed` is committed; else the box holds `typed` (when given) and the arrow is clicked.
  struct Step { const char* typed; int spin; const char* shown; };
  const Step steps[] = {{"5", 0, "9"},     {"2", 0, "4"},     {"12", 0, "9"},     {"0", 0, "1"},
                        {"4", 0, "4"},     {"1", 0, "1"},     {nullptr, -1, "1"}, {nullptr, 1, "4"},
                        {nullptr, 1, "9"}, {nullptr, 1, "9"}, {nullptr, -1, "4"},
                        {"", 1, "1"}};  // from an empty box the walk starts at the lowest object
  for (const Step& c : steps) {
    const std::string what = std::string(c.typed ? c.typed : "-") + "/" + std::to_string(c.spin);
    if (c.spin == 0) {
      Commit(number(), c.typed);
    } else {
      if (c.typed != nullptr) Fill(number(), c.typed);
      Spin(*w().spnObjectNum, c.spin > 0);
    }
    EXPECT_EQ(number().Text(), c.shown) << what;
    EXPECT_EQ(store().CurMap.Number, std::stoi(c.shown)) << what;
    EXPECT_EQ(store().MapDir.Entries.at(static_cast<std::size_t>(store().MapDirIdx)).Number, std::stoi(c.shown));
    EXPECT_TRUE(Uploads(TakeReceived()).empty()) << what << ": a selection sends no object";
  }
  EXPECT_EQ(name().Text(), "Bass/Str Split");
}

TEST_F(HeaderEditTest, EnterOnAnEmptyNumberBoxOfAKindNotLoadedLeavesThePageCleared) {
  peer->vesk().bank().of(emu::Kind::Multi).clear();
  ObjectTransfer t(link(), store());
  store().MultiStatus = t.GetObjDirStatus(Code(ObjType::Multi));
  ASSERT_FALSE(store().MultiLoaded);
  w().ClearObjDisplay(Code(ObjType::Multi));
  Show(kGlobalTab);
  ASSERT_EQ(number().Text(), "");
  Focus(number());
  Enter(number());
  EXPECT_FALSE(pages().txtGlobal(5).Enabled());
  EXPECT_TRUE(TakeReceived().empty());
}

TEST_F(HeaderEditTest, ARenameSendsFourteenCharactersAndIsReadBack) {
  Show(kPreset1Tab);
  Fill(name(), "Twenty Characters!!!");
  Focus(name());
  Enter(name());
  const Bytes up = OneUpload();
  ASSERT_FALSE(up.empty());
  EXPECT_EQ(up[8], Code(ObjType::Preset));
  EXPECT_EQ(NameSent(up), "Twenty Charact");
  EXPECT_EQ(store().CurPreset.Name, "Twenty Charact");
  RefuseNext();
  Commit(name(), "Refused");
  EXPECT_EQ(Uploads(TakeReceived()).size(), 1u);
  EXPECT_EQ(name().ForeColor(), kRed);
  EXPECT_EQ(store().CurPreset.Name, "Twenty Charact") << "the name the instrument holds";
  Commit(pages().txtPreset(2), "50");  // another field: its read-back writes the header again
  EXPECT_EQ(Uploads(TakeReceived()).size(), 1u);
  EXPECT_EQ(name().Text(), "Twenty Charact");
  EXPECT_EQ(name().ForeColor(), kBlack);
  RefuseNext();
  Commit(name(), "Refused again");
  Show(kPreset2Tab);  // a tab switch writes the header again
  EXPECT_EQ(name().Text(), "Twenty Charact");
  EXPECT_EQ(name().ForeColor(), kBlack);
}

TEST_F(HeaderEditTest, AMapRenameGoesInTheHeaderAndStaysAfterAnOption) {
  Commit(name(), "Split Two");
  const Bytes up = OneUpload();
  ASSERT_FALSE(up.empty());
  EXPECT_EQ(up[8], Code(ObjType::MapHeader));
  EXPECT_EQ(name().Text(), "Split Two");
  EXPECT_EQ(name().ForeColor(), kBlack);
  EXPECT_EQ(pages().txtPreset(25).Text(), "Split Two") << "the Preset's layer names its Map anew";
  const int other = pages().optMap(0).Value() ? 1 : 0;
  Click(pages().optMap(other));
  const Bytes whole = OneUpload();
  ASSERT_FALSE(whole.empty());
  EXPECT_EQ(whole[8], Code(ObjType::Map));
  EXPECT_EQ(NameSent(whole), "Split Two     ");
  EXPECT_EQ(name().Text(), "Split Two");
  SavePicture("map-after-rename");
}

}  // namespace
}  // namespace tavoro::testing
