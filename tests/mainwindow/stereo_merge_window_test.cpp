// The stereo merge window against the emulator: the look-ups of each side, the checks before a
// merge, the message, and the window, page and store after an accepted merge.
#include <QtTest/QTest>

#include "dialogs/stereo_merge.h"
#include "tests/mainwindow/operations_fixture.h"

namespace tavoro::testing {
namespace {

class StereoMergeWindowTest : public OperationsFixture {
 protected:
  void SetUp() override {
    OperationsFixture::SetUp();
    ASSERT_NO_FATAL_FAILURE(Begin());
  }
  // The program started on the Wave page, the instrument with Waves 5 and 7 mono, 7 the longer
  // one; Wave 1 stays stereo.
  void Begin() {
    emu::Bank bank = emu::DefaultBank();
    auto& waves = bank.of(emu::Kind::Wave);
    emu::WriteByte(waves[5], emu::wave::Flags, 0);
    emu::Message seven = emu::NewDump(emu::Kind::Wave, emu::kWaveLength, 7, "Right Seven");
    emu::WriteNibbles(seven, emu::wave::Size, 4, 200);
    waves[7] = seven;
    peer->vesk().setBank(bank);
    ASSERT_EQ(Start(), 0);
    ShowPage(kWavePage);
    TakeReceived();
  }
  // Opens the window as the Stereo Merge button does.
  frmStereoMerge* Merge(const std::function<void(frmStereoMerge&)>& act) {
    return WhileShown<frmStereoMerge>("Stereo Merge", [this] { w().cmdStereoMerge_Click(); }, act);
  }
  // Types into a number box as the user does, Enter last.
  static void Enter(frmStereoMerge& f, int side, const char* digits) {
    f.txtMerge(side).setFocus();
    f.txtMerge(side).selectAll();
    QTest::keyClicks(&f.txtMerge(side), digits);
    QTest::keyClick(&f.txtMerge(side), Qt::Key_Return);
  }
  static std::vector<std::string> Side(frmStereoMerge& f, int side) {
    return {f.txtMerge(side).Text(), f.txtMerge(2 + side).Text(), f.txtMerge(4 + side).Text(), f.txtMerge(6 + side).Text()};
  }
};

TEST_F(StereoMergeWindowTest, WavesFiveAndSevenMergeIntoFive) {
  bool modalAfter = true;
  std::vector<bool> inBusy;
  Merge([&](frmStereoMerge& f) {
    Enter(f, 0, "5");
    Enter(f, 1, "7");
    EXPECT_EQ(Side(f, 0), (std::vector<std::string>{"5", "Warm Pad", "96", "Mono"}));
    EXPECT_EQ(Side(f, 1), (std::vector<std::string>{"7", "Right Seven", "200", "Mono"}));
    EXPECT_FALSE(link().MidiInBusy);
    EXPECT_FALSE(w().ledMIDIin->Value());
    TakeReceived();
    RecordInBusyAtSends(inBusy);
    f.cmdMerge(0).click();
    StopRecording();
    modalAfter = f.isModal();
  });
  const auto got = TakeReceived();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.front(), Framed({0x31, 0x01, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0, 7}));
  EXPECT_GT(inBusy.size(), 1u);
  EXPECT_EQ(std::count(inBusy.begin(), inBusy.end(), true), 0) << "nothing went out with a reply or the lamp held";
  EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts().front();

  // Back, not modal: the merged Wave on the left as stereo, the right side empty.
  auto* f = dynamic_cast<frmStereoMerge*>(ShownWindow("Stereo Merge"));
  ASSERT_NE(f, nullptr);
  EXPECT_FALSE(modalAfter);
  EXPECT_EQ(Side(*f, 0), (std::vector<std::string>{"5", "Warm Pad", "296", "Stereo"}));
  EXPECT_EQ(Side(*f, 1), (std::vector<std::string>(4, "")));
  // Page, header and store agree on the merged Wave.
  const ObjectStore& s = app->store;
  ASSERT_GE(s.WaveDirIdx, 0);
  EXPECT_EQ(s.WaveDir.Entries[static_cast<std::size_t>(s.WaveDirIdx)].Number, 5);
  EXPECT_EQ(w().txtObjectNum->Text(), "5");
  EXPECT_EQ(w().pages.txtWaveMode->Text(), "Stereo");
  EXPECT_EQ(Panel(7).rfind("Current Bank: ", 0), 0u);
  EXPECT_EQ(w().MousePointer(), 0);

  if (const QByteArray dir = qgetenv("TAVORO_SCREENSHOT_DIR"); !dir.isEmpty())
    f->grab().save(QString::fromLocal8Bit(dir) + "/stereo-merge.png");
  // The merged Wave is refused before the empty right side is.
  f->cmdMerge(0).click();
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Left wave is already stereo!"}));
  f->cmdMerge(1).click();
}

// A merge that gets no answer leaves the window hidden with its contents; the next opening shows
// that same window again, modal, as it was.
TEST_F(StereoMergeWindowTest, AfterAnUnansweredMergeTheWindowComesBackAsItWas) {
  frmStereoMerge* first = Merge([&](frmStereoMerge& f) {
    Enter(f, 0, "2");
    Enter(f, 1, "7");
    peer->vesk().setSilent(true);
    plat::SetTimeoutScale(0.01);
    f.cmdMerge(0).click();
  });
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"\r\nThe specified Vesk Device is not responding"});
  EXPECT_EQ(ShownWindow("Merge to Stereo"), nullptr);
  EXPECT_EQ(ShownWindow("Stereo Merge"), nullptr);
  peer->vesk().setSilent(false);
  frmStereoMerge* again = Merge([&](frmStereoMerge& f) {
    EXPECT_TRUE(f.isModal());
    EXPECT_EQ(Side(f, 0)[0], "2");
    EXPECT_EQ(Side(f, 1), (std::vector<std::string>{"7", "Right Seven", "200", "Mono"}));
    f.cmdMerge(1).click();
  });
  EXPECT_EQ(again, first);
}

TEST_F(StereoMergeWindowTest, PairsThatCannotMergeAreRefusedAndNothingIsSent) {
  struct Case {
    const char* left;
    const char* right;
    const char* typedRight;  // typed without Enter after the look-ups
    const char* box;
  };
  const Case cases[] = {
      {"1", "1", nullptr, "Must use two different waves!"},  // before the stereo checks
      {"1", "2", nullptr, "Left wave is already stereo!"},
      {"2", "1", nullptr, "Right wave is already stereo!"},
      {"12", "2", nullptr, "Right wave length must be greater than left!"},
      {"5", "7", nullptr, "Right wave length must be greater than left!"},  // signed: -6 after -5
      {"2", "7", "300", "Wave numbers above 255 cannot be merged!"},
      {"2", "7", "\b", "Choose a wave on both sides!"},
  };
  // Lengths past 32767 show signed.
  auto& waves = peer->vesk().bank().of(emu::Kind::Wave);
  emu::WriteNibbles(waves.at(5), emu::wave::Size, 4, 0xFFFB);
  emu::WriteNibbles(waves.at(7), emu::wave::Size, 4, 0xFFFA);
  Merge([&](frmStereoMerge& f) {
    for (const Case& c : cases) {
      boxes.boxes.clear();
      Enter(f, 0, c.left);
      Enter(f, 1, c.right);
      if (c.typedRight) {
        f.txtMerge(1).selectAll();
        QTest::keyClicks(&f.txtMerge(1), c.typedRight);
      }
      TakeReceived();
      f.cmdMerge(0).click();
      EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box}) << c.left << "+" << c.right;
      EXPECT_EQ(boxes.boxes.front().title, "Stereo Merge Error");
      EXPECT_TRUE(TakeReceived().empty()) << c.left << "+" << c.right;
      EXPECT_TRUE(f.isVisible());
    }
    // While a request is outstanding Merge does nothing at all.
    Enter(f, 0, "2");
    Enter(f, 1, "7");
    boxes.boxes.clear();
    TakeReceived();
    link().MidiOutBusy = true;
    f.cmdMerge(0).click();
    link().MidiOutBusy = false;
    EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts().front();
    EXPECT_TRUE(TakeReceived().empty());
    QTest::keyClicks(&f.txtMerge(1), "4");  // typing, not committed: change events held back
    EXPECT_TRUE(app->flags.SuppressChange);
    f.cmdMerge(1).click();
  });
  EXPECT_FALSE(app->flags.SuppressChange) << "the main window's change events stay shut";
}

TEST_F(StereoMergeWindowTest, ClosingTheProgramWhileTheMergeWaitsSendsAndShowsNothingMore) {
  Merge([&](frmStereoMerge& f) {  // the look-ups before the instrument falls silent
    Enter(f, 0, "5");
    Enter(f, 1, "7");
    f.Hide();
  });
  // Accepted, then silent while every kind is read again.
  const auto got = CloseDuring([&] { Merge([&](frmStereoMerge& f) { f.cmdMerge(0).click(); }); }, emu::Request::Dump);
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.front(), Framed({0x31, 0x01, 0, 0, 0, 4, 0, 0, 0, 5, 0, 0, 0, 7}));
  EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts().front();
  EXPECT_EQ(ShownWindow("frmStereoMerge"), nullptr);
}

// The window shown again after an accepted merge is no longer the main window's modal one; its
// merge and its look-ups still run as the main window's handlers: a close while one of them waits
// ends it there, and its side shows what it showed when the close came.
TEST_F(StereoMergeWindowTest, ClosingWhileTheReopenedWindowWaitsEndsIt) {
  auto dumpRequest = [](std::uint8_t wave) { return Framed({0x01, 0x00, 0, 0, 0, 2, 0, 0, 0, wave}); };
  struct Case {
    const char* what;
    std::function<void(frmStereoMerge&)> act;
    int side;                        // the side the act looks up, -1 for none
    Bytes first, closeAt;            // the first message sent; the one the close comes at
    std::vector<std::string> shown;  // that side's number and name at the close
    int nth = 1;                     // the close comes at closeAt's nth sending
  };
  const Case cases[] = {
      {"merge reading Wave 2 back", [](frmStereoMerge& f) { f.cmdMerge(0).click(); }, -1,
       Framed({0x31, 0x01, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0, 0x0C}), dumpRequest(2), {}},
      {"merge looking the merged Wave up", [](frmStereoMerge& f) { f.cmdMerge(0).click(); }, 1,
       Framed({0x31, 0x01, 0, 0, 0, 4, 0, 0, 0, 2, 0, 0, 0, 0x0C}), dumpRequest(2), {"12", "Fretless Bass"}, 2},
      {"spin up", [](frmStereoMerge& f) { QTest::mouseClick(&f.spnMerge(0), Qt::LeftButton, {}, QPoint(9, 4)); }, 0,
       dumpRequest(5), dumpRequest(5), {"5", "Warm Pad"}},
      {"Enter", [](frmStereoMerge& f) { Enter(f, 1, "1"); }, 1, dumpRequest(1), dumpRequest(1), {"1", "Str Ensemble"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    app.reset();
    peer.reset();
    peer = std::make_unique<emu::LoopbackPeer>();
    plat::ResetWaitsEnding();
    ASSERT_NO_FATAL_FAILURE(Begin());
    frmStereoMerge* f = Merge([&](frmStereoMerge& f) {
      Enter(f, 0, "5");
      Enter(f, 1, "7");
      f.cmdMerge(0).click();
    });
    ASSERT_TRUE(f != nullptr && f->isVisible());
    Enter(*f, 0, "2");
    Enter(*f, 1, "12");
    const std::vector<std::string> before = c.side < 0 ? std::vector<std::string>{} : Side(*f, c.side);
    const auto got = CloseDuring([&] { c.act(*f); }, emu::Request::Any, c.closeAt, c.nth);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.front(), c.first);
    EXPECT_EQ(got.back(), c.closeAt);
    EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts().front();
    if (c.side < 0) {
      EXPECT_EQ(ShownWindow("Stereo Merge"), nullptr);
    } else {  // the length and mode still those of the Wave before
      EXPECT_EQ(Side(*f, c.side), (std::vector<std::string>{c.shown[0], c.shown[1], before[2], before[3]}));
    }
  }
}

TEST_F(StereoMergeWindowTest, LookUpsFindAWaveOfTheDirectory) {
  Merge([&](frmStereoMerge& f) {
    Enter(f, 0, "99");  // above the highest: the highest
    EXPECT_EQ(Side(f, 0)[0], "12");
    EXPECT_EQ(Side(f, 0)[1], "Fretless Bass");
    Enter(f, 0, "3");  // between two Waves: the lowest
    EXPECT_EQ(Side(f, 0)[0], "0");
    EXPECT_EQ(Side(f, 0)[1], "Grand Piano C4");
    // Spin down from a number not in the directory: the last Wave.
    f.txtMerge(1).SetText("4");
    QTest::mouseClick(&f.spnMerge(1), Qt::LeftButton, {}, QPoint(9, 20));
    EXPECT_EQ(Side(f, 1)[0], "12");
    EXPECT_EQ(Side(f, 1)[1], "Fretless Bass");
    QTest::mouseClick(&f.spnMerge(1), Qt::LeftButton, {}, QPoint(9, 20));
    EXPECT_EQ(Side(f, 1)[0], "7");
    EXPECT_EQ(Side(f, 1)[1], "Right Seven");
    EXPECT_EQ(Side(f, 1)[3], "Mono");

    // A reply that is no whole Wave dump: the name shows, length and mode stay, nothing is left
    // busy.
    peer->vesk().setMangle(emu::Mangle::Short, 0);
    Enter(f, 1, "2");
    EXPECT_EQ(Side(f, 1), (std::vector<std::string>{"2", "Snare Tight", "200", "Mono"}));
    peer->vesk().setMangle(emu::Mangle::Truncated, 0);
    Enter(f, 1, "1");
    EXPECT_EQ(Side(f, 1), (std::vector<std::string>{"1", "Str Ensemble", "200", "Mono"}));
    EXPECT_FALSE(link().MidiInBusy);
    EXPECT_FALSE(w().ledMIDIin->Value());
    peer->vesk().setMangle(emu::Mangle::None);
    f.cmdMerge(1).click();
  });
}

}  // namespace
}  // namespace tavoro::testing
