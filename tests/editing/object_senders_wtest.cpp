// Selecting an object by its number and renaming it: the numbers that select nothing, and what a
// rename puts on the wire or refuses.
#include "editing/object_senders.h"

#include "emulator/core/wire.h"
#include "objects/downloads.h"
#include "tests/editing/sender_fixture.h"

namespace tavoro::testing {
namespace {

// The window as the single download sees it: the header is the fixture's two boxes.
class HeaderHost : public DownloadHost {
 public:
  HeaderHost(plat::ctl::TextBox& num, plat::ctl::TextBox& name) : num_(num), name_(name) {}
  bool LoadDisplay(std::uint8_t) override { return true; }
  void ClearObjDisplay(std::uint8_t) override {}
  void SetMousePointer(int) override {}
  void SetCommandEnabled(Command, bool) override {}
  std::string ObjectNumText() override { return num_.Text(); }
  void SetObjectNumText(const std::string& text) override { num_.SetText(text); }
  void SetObjectNameText(const std::string& text) override { name_.SetText(text); }
  void SetObjectNumLocked(bool) override {}
  void SetObjectNameLocked(bool) override {}
  void SetObjectNumForeColor(long colour) override { num_.SetForeColor(colour); }
  std::string PageLabel() override { return "t#"; }
  std::string PanelTag(int) override { return ""; }

 private:
  plat::ctl::TextBox& num_;
  plat::ctl::TextBox& name_;
};

class ObjectSenderTest : public SenderFixture {
 protected:
  void SetUp() override {
    SenderFixture::SetUp();
    auto& tones = vesk().bank().of(emu::Kind::Tone);
    tones.clear();
    for (int n : {1, 4, 9}) tones[n] = emu::NewDump(emu::Kind::Tone, emu::kToneLength, n, "Tone " + std::to_string(n));
    store.ToneStatus = xfer->GetObjDirStatus(1);
    store.ToneDir = xfer->GetObjDir(1);
    ASSERT_TRUE(xfer->ToneObjDump(1));
    host = std::make_unique<HeaderHost>(*txtObjectNum, *txtObjectName);
    // The name box commits a rename only through its sender.
    txtObjectName->Change = [this] {
      if (Change_ObjectName(*ctx, store.CurTone.Number, store.CurTone.Name, 1)) ++renames;
    };
    Select(1);
  }

  void Select(int number) {
    Show(*txtObjectNum, std::to_string(number));
    store.ToneDirIdx = 0;
    TakeSent();
  }

  bool CommitNumber() {
    return Change_ObjectNum(*ctx, *host, store.CurTone.Number, store.ToneDirIdx, store.ToneStatus, store.ToneDir, 1,
                            *txtObjectNum, spn);
  }

  bool Rename(const std::string& typed, std::int16_t number, std::string& name, std::uint8_t kind) {
    flags.SuppressChange = true;
    txtObjectName->SetText(typed);
    flags.SuppressChange = false;
    flags.LastKeyAscii = kKeyEnter;
    return Change_ObjectName(*ctx, number, name, kind);
  }

  std::unique_ptr<HeaderHost> host;
  plat::ctl::SpinButton spn;
  int renames = 0;
};

TEST_F(ObjectSenderTest, NumbersThatSelectNothingSendNothing) {
  Type(*txtObjectNum, "1");
  EXPECT_FALSE(CommitNumber()) << "the current number";
  Type(*txtObjectNum, "");
  EXPECT_FALSE(CommitNumber());
  EXPECT_EQ(txtObjectNum->Text(), "1");
  Show(*txtObjectNum, "7");
  flags.LastKeyAscii = '7';
  EXPECT_TRUE(CommitNumber()) << "still typing";
  store.ToneDir = ObjDir{};
  Type(*txtObjectNum, "4");
  EXPECT_FALSE(CommitNumber());
  EXPECT_EQ(txtObjectNum->Text(), "1");
  EXPECT_TRUE(TakeSent().empty());
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(renames, 0);
}

TEST_F(ObjectSenderTest, ARenameSendsFourteenCharactersAndStoresTheTrimmedName) {
  std::string& name = store.CurTone.Name;
  EXPECT_TRUE(Rename("ABCDEFGHIJKLMNOPQRST", 1, name, 1));
  auto sent = TakeUploads();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(NameText(sent[0], 20), "ABCDEFGHIJKLMN");
  EXPECT_EQ(txtObjectName->ForeColor(), kTextBlack);

  EXPECT_TRUE(Rename("  Pad  ", 1, name, 1));
  EXPECT_EQ(name, "Pad");
  ASSERT_EQ(TakeUploads().size(), 1u);

  EXPECT_FALSE(Rename("", 1, name, 1));
  EXPECT_EQ(txtObjectName->Text(), "Pad");
  EXPECT_FALSE(Rename("Bad\x7F", 1, name, 1));
  EXPECT_EQ(name, "Pad");
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(TakeSent().empty());
}

}  // namespace
}  // namespace tavoro::testing
