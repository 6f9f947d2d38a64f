// The Global page against the emulator: the Multi's group and part fields with their Preset walk,
// and the Global parameters, each sent as its own message and the Global data read again.

#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <functional>

#include "tests/mainwindow/page_edit_fixture.h"

namespace tavoro::testing {
namespace {

constexpr int kStudioMulti = 0;  // part 1 plays Preset 0 at volume 100; Presets 0, 1 and 3 exist

class GlobalEditTest : public PageEditFixture {
 protected:
  void SetUp() override {
    PageEditFixture::SetUp();
    LoadPages(-1, -1, kStudioMulti, kGlobalTab);
  }
  TabPages::TextBox& box(int i) { return pages().txtGlobal(i); }
  // The body of a Global message: the bytes after the device id, before F7.
  static Bytes Body(const Bytes& m) { return m.size() < 9 ? Bytes{} : Bytes(m.begin() + 7, m.end() - 1); }
  // The Global change messages among those received (the requests that read the data differ).
  std::vector<Bytes> Changes(const std::vector<Bytes>& got) {
    auto starts = [](const Bytes& body, const Bytes& head) {
      return body.size() >= head.size() && std::equal(head.begin(), head.end(), body.begin());
    };
    std::vector<Bytes> out;
    for (const Bytes& m : got) {
      const Bytes b = Body(m);
      if (starts(b, {0x11, 0x03, 0x03}) || starts(b, {0x11, 0x02, 0x0F}) || starts(b, {0x32, 0x01, 0, 0, 0, 0x04}))
        out.push_back(m);
    }
    return out;
  }
};

TEST_F(GlobalEditTest, APartsVolumeAndPresetAreSentInTheMulti) {
  Commit(box(5), "300");
  EXPECT_EQ(Sent(120), 127);
  EXPECT_EQ(box(5).Text(), "127");
  EXPECT_EQ(store().CurMulti.PartVolume[0], 127);

  ExpectSpinWalk(pages().spnGlobal(3), box(3), 88,
                 {{true, "1", true}, {true, "3", true}, {true, "3", false}, {false, "1", true}});
}

TEST_F(GlobalEditTest, AMultiOptionSendsItsGroupsOrPartsField) {
  struct Case { const char* group; const char* part; int option; std::size_t position, count; long sent; };
  const Case cases[] = {{"3", "1", 2, 78, 2, 2},           // group 3 "high"
                        {"3", "1", 5, 152, 2, 0x09},       // group 3 overflow on, beside group 0's
                        {"0", "16", 6, 52, 4, 0x7FF0},     // part 16 "Active"
                        {"0", "2", 7, 52, 4, 0x7FF2}};     // part 2 "Off-Line"
  for (const Case& c : cases) {
    Fill(box(0), c.group);
    Fill(box(2), c.part);
    Click(pages().optGlobal(c.option));
    EXPECT_EQ(Sent(c.position, c.count), c.sent) << c.option;
  }
  EXPECT_EQ(store().CurMulti.PartEnable, 0x7FF2);
}

TEST_F(GlobalEditTest, EachGlobalChangeIsItsOwnMessage) {
  struct Case { const char* what; std::function<void()> act; Bytes body; const char* tuneShown; };
  const Case cases[] = {
      {"channel 16", [&] { Fill(box(6), "15"); Spin(pages().spnGlobal(6), true); },
       {0x11, 0x03, 0x03, 0x03, 0x01, 0x0F}, nullptr},
      {"volume 200", [&] { Commit(box(7), "200"); }, {0x11, 0x03, 0x03, 0x04, 0x01, 0x7F}, nullptr},
      {"tune -120", [&] { Commit(box(9), "-120"); },
       {0x32, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01, 0x0D, 0x01, 0x02, 0x00}, "-120"},
      {"tune 0.125", [&] { Commit(box(9), "0.125"); },
       {0x32, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x0C}, "0.12"},
      {"tune slider 13 to 12 under 12.75",
       [&] { Commit(box(9), "12.75"); TakeReceived(); Focus(pages().sldGlobal(9)); pages().sldGlobal(9).SetValue(12); },
       {0x32, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01, 0x00, 0x04, 0x0B, 0x00}, "12"},
      {"poly", [&] { Click(pages().optGlobal(9)); }, {0x11, 0x03, 0x03, 0x02, 0x01, 0x01}, nullptr},
      {"disabled", [&] { Click(pages().optGlobal(12)); }, {0x11, 0x03, 0x03, 0x05, 0x01, 0x01}, nullptr},
      {"current edit map", [&] { pages().cboGlobal(0).SetListIndex(3); w().cboGlobal_Change(0); },
       {0x11, 0x03, 0x03, 0x01, 0x01, 0x03}, nullptr},
  };
  for (const Case& c : cases) {
    c.act();
    const auto got = TakeReceived();
    const auto changes = Changes(got);
    ASSERT_EQ(changes.size(), 1u) << c.what;
    EXPECT_EQ(Body(changes[0]), c.body) << c.what;
    EXPECT_GT(got.size(), 1u) << c.what << ": the Global data are read again";
    if (c.tuneShown != nullptr) { EXPECT_EQ(box(9).Text(), c.tuneShown) << c.what; }
  }
  EXPECT_EQ(box(6).Text(), "16");
  EXPECT_EQ(box(7).Text(), "127");
  EXPECT_EQ(store().GlobalData.ReceiveMode, 1);
  EXPECT_EQ(store().GlobalData.PlaybackMode, 3);
  SavePicture("global-after-edits");
}

// A press in the tune slider's groove below the thumb steps it once, however slowly the
// instrument answers; a held button repeats the step until its release and not after.
TEST_F(GlobalEditTest, AGroovePressStepsOnceAndItsRepeatEndsAtTheRelease) {
  struct Case { const char* what; int holdMs; bool repeats; };
  const Case cases[] = {{"click", 5, false}, {"held", 1200, true}};
  Commit(box(9), "12.75");
  peer->vesk().setReplyDelay(40);
  auto& slider = pages().sldGlobal(9);
  const QPoint below(slider.width() / 2, slider.height() - 3);
  std::vector<int> shown;  // every value the slider showed
  QObject::connect(&slider, &QAbstractSlider::valueChanged, &slider, [&](int v) { shown.push_back(v); });
  for (const Case& c : cases) {
    TakeReceived();
    shown.clear();
    const int start = slider.Value();
    int atRelease = 0;
    bool released = false;
    QTimer::singleShot(c.holdMs, &slider, [&] {
      QTest::mouseRelease(&slider, Qt::LeftButton, {}, below);
      atRelease = slider.Value();
      released = true;
    });
    QTest::mousePress(&slider, Qt::LeftButton, {}, below);
    EXPECT_TRUE(QTest::qWaitFor([&] { return released; }, 5000)) << c.what;
    RunEventsFor(800);  // past the delay after which a held button repeats
    const auto changes = Changes(TakeReceived());
    EXPECT_EQ(slider.Value(), atRelease) << c.what;
    // Every step shown was sent, each once: none was shown while the last one was still at work.
    EXPECT_EQ(changes.size(), static_cast<std::size_t>((start - atRelease) / 10)) << c.what;
    EXPECT_EQ(shown.size(), changes.size()) << c.what;
    EXPECT_EQ(changes.size() > 1, c.repeats) << c.what;
    EXPECT_EQ(box(9).Text(), std::to_string(atRelease)) << c.what;
  }
}

// A step refused while the mouse button is still down: the release, made while the refusal box
// is up, goes to the box and never reaches the control, which steps once and sends once all the
// same.
TEST_F(GlobalEditTest, AStepRefusedWhileTheButtonIsDownEndsAtItsBox) {
  struct Case { const char* what; QWidget& control; QPoint at; };
  auto& slider = pages().sldGlobal(9);
  auto& spin = pages().spnGlobal(6);
  const Case cases[] = {{"tune slider's groove", slider, {slider.width() / 2, slider.height() - 3}},
                        {"channel's down arrow", spin, {spin.width() / 2, spin.height() - 3}}};
  Fill(box(6), "8");
  QWindow* window = w().windowHandle();
  QPoint at;
  int boxesShown = 0;
  plat::SetMessageBoxHandler({});  // real boxes
  plat::SetMessageBoxShownHook([&](QMessageBox& shownBox, const plat::BoxRequest&) {
    ++boxesShown;
    QTest::mouseRelease(window, Qt::LeftButton, {}, at);
    QTimer::singleShot(50, &shownBox, [&shownBox] { QTest::keyClick(&shownBox, Qt::Key_Return); });
  });
  for (const Case& c : cases) {
    boxesShown = 0;
    TakeReceived();
    RefuseNext();
    QApplication::setActiveWindow(&w());  // as the press itself would make it
    at = c.control.mapTo(&w(), c.at);
    QTest::mousePress(window, Qt::LeftButton, {}, at);
    RunEventsFor(1000);  // past the delay after which a held button repeats
    EXPECT_EQ(Changes(TakeReceived()).size(), 1u) << c.what;
    EXPECT_EQ(boxesShown, 1) << c.what;
  }
  plat::SetMessageBoxShownHook({});
}

TEST_F(GlobalEditTest, AMasterTuneOutOfRangeShowsTheStoredOneAndSendsNothing) {
  Commit(box(9), "120.01");
  EXPECT_TRUE(Changes(TakeReceived()).empty());
  EXPECT_EQ(box(9).Text(), "0");
  EXPECT_EQ(box(9).ForeColor(), kBlack);
}

TEST_F(GlobalEditTest, TheTuneBoxTakesAPointAndALeadingMinusOnly) {
  Type(box(9), "-1-2.5a");
  EXPECT_EQ(box(9).Text(), "-12.5");
  Type(box(7), "1.5");
  EXPECT_EQ(box(7).Text(), "15");
}

TEST_F(GlobalEditTest, ARefusedChangeStaysRedAndTheDataAsTheInstrumentHoldsThem) {
  RefuseNext();
  Commit(box(5), "90");
  EXPECT_EQ(Uploads(TakeReceived()).size(), 1u);
  EXPECT_EQ(box(5).ForeColor(), kRed);
  RefuseNext();
  Click(pages().optGlobal(4));  // group 0's overflow is on
  EXPECT_EQ(Uploads(TakeReceived()).size(), 1u);
  EXPECT_EQ(store().CurMulti.GroupEnable & 1, 1);
  EXPECT_TRUE(pages().optGlobal(5).Value());
  RefuseNext();
  Click(pages().optGlobal(8));
  EXPECT_EQ(Changes(TakeReceived()).size(), 1u);
  EXPECT_EQ(store().GlobalData.ReceiveMode, 2);
  EXPECT_TRUE(pages().optGlobal(10).Value());
  RefuseNext();
  Commit(box(7), "20");
  EXPECT_EQ(Changes(TakeReceived()).size(), 1u);
  EXPECT_EQ(box(7).ForeColor(), kRed);
  EXPECT_EQ(store().GlobalData.OmniPolyVolume, 127);
  // Refused steps (polyphony 16 to 15, the part's Preset, the channel): the value not taken in
  // red, the part's Preset named as the part holds it.
  for (auto [spun, up] : {std::pair{1, false}, {3, true}, {6, true}}) {
    RefuseNext();
    Spin(pages().spnGlobal(spun), up);
    EXPECT_EQ(TakeReceived().size(), 1u) << spun;
    EXPECT_EQ(box(spun).ForeColor(), kRed) << spun;
  }
  EXPECT_EQ(box(1).Text(), "15");
  EXPECT_EQ(store().CurMulti.MaxPolyphony[0], 16);
  EXPECT_EQ(box(4).Text(), "Concert Piano");
  RunEventsFor(50);
  EXPECT_TRUE(TakeReceived().empty());
}

}  // namespace
}  // namespace tavoro::testing
