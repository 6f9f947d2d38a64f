// The delete window against the emulator: what it offers, what the instrument receives, the
// boxes, and the page, pointer and progress window afterwards.
#include "dialogs/delete_object.h"
#include "dialogs/progress.h"
#include "tests/mainwindow/operations_fixture.h"

namespace tavoro::testing {
namespace {

class DeleteWindowTest : public OperationsFixture {
 protected:
  // Opens the window as the Delete button does.
  frmDeleteObject* Delete(const std::function<void(frmDeleteObject&)>& act) {
    return WhileShown<frmDeleteObject>(caption, [this] { w().cmdDeleteObject_Click(); }, act);
  }
  const char* caption = "Delete Wave";
};

TEST_F(DeleteWindowTest, EachChoiceSendsItsKindAndNumber) {
  struct Case {
    const char* name;
    int page;
    const char* caption;
    int option;
    std::int16_t waveNumber;  // of the Wave shown (a store entry)
    Bytes sent;
    const char* confirm;
    int lastStatus;
  };
  const Case cases[] = {
      {"current Wave", kWavePage, "Delete Wave", 0, 2, Framed({0x03, 0, 0, 0, 0, 2, 0, 0, 0, 2}),
       "Delete Current Wave: w#2   Snare Tight ?", 0},
      {"Wave 300, refused", kWavePage, "Delete Wave", 0, 300, Framed({0x03, 0, 0, 0, 0, 2, 0, 1, 2, 0xC}),
       "Delete Current Wave: w#300   Snare Tight ?", emu::status::OutOfRange},
      {"all Presets", kPresetPage, "Delete Preset", 1, 2, Framed({0x03, 3, 0, 0, 0, 2, 0xF, 0xF, 0xF, 0xF}),
       "Delete all Presets?", 0},
      {"the whole memory from the Tone page", kTonePage, "Delete Tone", 2, 2,
       Framed({0x03, 0x7F, 0, 0, 0, 2, 0, 0, 0, 0}), "Clear All Vesk Memory ?", 0},
  };
  ASSERT_EQ(Start(), 0);
  std::vector<bool> inBusy;
  RecordInBusyAtSends(inBusy);
  for (const Case& c : cases) {
    inBusy.clear();
    peer->vesk().setBank(emu::DefaultBank());
    StoreWaves(2);
    app->store.WaveDir.Entries[2].Number = c.waveNumber;
    ShowPage(c.page);
    w().txtObjectNum->SetText("12");  // half typed in the header: never what is deleted
    TakeReceived();
    peer->vesk().resetCounters();
    boxes.boxes.clear();
    boxes.reply = plat::BoxResult::Yes;
    caption = c.caption;
    Delete([&](frmDeleteObject& f) {
      f.optDelObj(c.option).SetValue(true);
      f.cmdDelObj->click();
    });
    const auto got = TakeReceived();
    ASSERT_FALSE(got.empty()) << c.name;
    EXPECT_EQ(got.front(), c.sent) << c.name;
    EXPECT_GT(inBusy.size(), 1u) << c.name;
    EXPECT_EQ(std::count(inBusy.begin(), inBusy.end(), true), 0) << c.name << ": nothing went out with a reply or the lamp held";
    ASSERT_FALSE(boxes.boxes.empty()) << c.name;
    EXPECT_EQ(boxes.boxes.front().text, c.confirm) << c.name;
    EXPECT_EQ(boxes.boxes.front().title, "Delete Object");
    EXPECT_EQ(boxes.boxes.size(), c.lastStatus == 0 ? 1u : 2u) << c.name;  // the refusal's box
    EXPECT_EQ(peer->vesk().counters().refused, c.lastStatus == 0 ? 0 : 1) << c.name;
    EXPECT_EQ(ShownWindow("Download Vesk Objects"), nullptr) << c.name;
    EXPECT_EQ(ShownWindow(c.caption), nullptr) << c.name;
    EXPECT_EQ(w().MousePointer(), 0) << c.name;
    EXPECT_NE(w().txtObjectNum->Text(), "12") << c.name << ": the page was refreshed";
    if (c.lastStatus == 0) {
      EXPECT_EQ(Panel(6).rfind("Free RAM: ", 0), 0u) << c.name;
    }
    if (c.page != kWavePage) {
      EXPECT_EQ(w().txtObjectName->Text(), "None Loaded") << c.name << ": nothing of the kind is left";
    }
  }
  StopRecording();
  EXPECT_TRUE(peer->vesk().bank().of(emu::Kind::Wave).empty());
}

TEST_F(DeleteWindowTest, NoSendsNothingAndTheWindowComesBackModal) {
  ASSERT_EQ(Start(), 0);
  StoreWaves(3);
  ShowPage(kWavePage);
  TakeReceived();
  boxes.reply = plat::BoxResult::No;
  bool backModal = false;
  Delete([&](frmDeleteObject& f) {
    if (const QByteArray dir = qgetenv("TAVORO_SCREENSHOT_DIR"); !dir.isEmpty())
      f.grab().save(QString::fromLocal8Bit(dir) + "/delete.png");
    f.cmdDelObj->click();
    backModal = f.isVisible() && f.isModal() && f.InModalShow();
    EXPECT_TRUE(f.optDelObj(0).Value());
    EXPECT_EQ(f.txtDelObj(0).Text(), "5");
    EXPECT_EQ(f.txtDelObj(1).Text(), "Warm Pad");
    f.cmdCancel->click();
  });
  EXPECT_TRUE(backModal);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Delete Current Wave: w#5   Warm Pad ?"});
  EXPECT_TRUE(TakeReceived().empty());
}

TEST_F(DeleteWindowTest, WithoutAStoredObjectOnlyTheWholeKindIsOffered) {
  ASSERT_EQ(Start(), 0);
  StoreWaves(9);  // an index that names no entry
  ShowPage(kWavePage);
  Delete([&](frmDeleteObject& f) {
    EXPECT_EQ(f.Caption(), "Delete Wave");
    EXPECT_EQ(f.optDelObj(0).Caption(), "Delete Current Wave:");
    EXPECT_EQ(f.optDelObj(1).Caption(), "Delete All Waves");
    EXPECT_FALSE(f.optDelObj(0).isEnabled());
    EXPECT_TRUE(f.optDelObj(1).Value());
    EXPECT_EQ(f.txtDelObj(0).Text(), "");
    EXPECT_EQ(f.txtDelObj(1).Text(), "");
    f.cmdCancel->click();
  });
}

TEST_F(DeleteWindowTest, ATimeOutClosesTheProgressWindowAndRefreshesThePage) {
  ASSERT_EQ(Start(), 0);
  StoreWaves(2);
  ShowPage(kWavePage);
  peer->vesk().setSilent(true);
  plat::SetTimeoutScale(0.01);
  boxes.reply = plat::BoxResult::Yes;
  Delete([&](frmDeleteObject& f) { f.cmdDelObj->click(); });
  EXPECT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(link().LinkState, -1);
  EXPECT_EQ(ShownWindow("frmProgress"), nullptr);
  EXPECT_EQ(ShownWindow("frmDeleteObject"), nullptr);
  EXPECT_EQ(w().MousePointer(), 0);
}

TEST_F(DeleteWindowTest, ClosingTheProgramWhileTheDeleteWaitsSendsAndShowsNothingMore) {
  ASSERT_EQ(Start(), 0);
  StoreWaves(2);
  ShowPage(kWavePage);
  boxes.reply = plat::BoxResult::Yes;
  // Accepted, then silent to the directory requests of the re-read.
  const auto got =
      CloseDuring([&] { Delete([&](frmDeleteObject& f) { f.cmdDelObj->click(); }); }, emu::Request::Directory);
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.front(), Framed({0x03, 0, 0, 0, 0, 2, 0, 0, 0, 2}));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Delete Current Wave: w#2   Snare Tight ?"});
}

}  // namespace
}  // namespace tavoro::testing
