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

TEST_F(HeaderEditTest, ATypedNumberSelectsAnExistingObjectAndRenamesNothing) {
  struct Case {
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {{"5", "9"}, {"2", "4"}, {"12", "9"}, {"0", "1"}, {"4", "4"}, {"1", "1"}};
  for (const Case& c : cases) {
    Commit(number(), c.typed);
    const auto got = TakeReceived();
    EXPECT_EQ(number().Text(), c.shown) << c.typed;
    EXPECT_EQ(store().CurMap.Number, std::stoi(c.shown)) << c.typed;
    EXPECT_TRUE(Uploads(got).empty()) << c.typed << ": a selection sends no object";
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

TEST_F(HeaderEditTest, TheSpinButtonStepsToExistingObjectsAndStopsAtTheEnds) {
  struct Case {
    bool up;
    const char* shown;
  };
  const Case steps[] = {{false, "1"}, {true, "4"}, {true, "9"}, {true, "9"}, {false, "4"}};
  for (const Case& c : steps) {
    Spin(*w().spnObjectNum, c.up);
    EXPECT_EQ(number().Text(), c.shown);
    EXPECT_EQ(store().MapDir.Entries.at(static_cast<std::size_t>(store().MapDirIdx)).Number, std::stoi(c.shown));
  }
  EXPECT_TRUE(Uploads(TakeReceived()).empty());
  flags().SuppressChange = true;
  number().SetText("");
  flags().SuppressChange = false;
  Spin(*w().spnObjectNum, true);
  EXPECT_EQ(number().Text(), "1") << "from an empty box the walk starts at the lowest object";
}

TEST_F(HeaderEditTest, ARenameSendsFourteenCharactersAndIsReadBack) {
  Show(kPreset1Tab);
  flags().SuppressChange = true;
  name().SetText("Twenty Characters!!!");
  flags().SuppressChange = false;
  Focus(name());
  Enter(name());
  const Bytes up = OneUpload();
  ASSERT_FALSE(up.empty());
  EXPECT_EQ(up[8], Code(ObjType::Preset));
  EXPECT_EQ(NameSent(up), "Twenty Charact");
  EXPECT_EQ(store().CurPreset.Name, "Twenty Charact");
}

TEST_F(HeaderEditTest, AMapRenameGoesInTheHeaderAndStaysAfterAnOption) {
  Type(name(), "Split Two");
  Enter(name());
  const Bytes up = OneUpload();
  ASSERT_FALSE(up.empty());
  EXPECT_EQ(up[8], Code(ObjType::MapHeader));
  EXPECT_EQ(name().Text(), "Split Two");
  EXPECT_EQ(name().ForeColor(), kBlack);
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
