// The Tone pages' number pairs under the edit-commit protocol, against the emulator: typed
// commits, slider commits, refusals, busy, the envelope's special texts and the key filters.

#include "tests/mainwindow/edit_fixture.h"

namespace tavoro::testing {
namespace {

using plat::ctl::Slider;
using plat::ctl::TextBox;

constexpr int kTone1Tab = 3, kTone2Tab = 4, kTone3Tab = 5, kWaveTab = 6;
constexpr int kReadBack = 3;  // directory status, directory and the Tone's dump
const std::string kInfinity = "\xA5";

class TonePairsTest : public EditFixture {
 protected:
  // Tone 0 "Piano Soft": envelope 1 in gate mode with decay 99, Env2Rel 20, Dca1 20, Lfo5 0.
  void SetUp() override {
    EditFixture::SetUp();
    LoadObjects(0, 0, kTone2Tab);
  }
  // Fills a box with a text in the plain font, as a page fill does.
  void Plain(TextBox& box, const std::string& text) {
    box.SetFontName("MS Sans Serif");
    Fill(box, text);
  }
  // A drag of the slider's thumb through `values`, released at the last one.
  void Drag(Slider& slider, std::initializer_list<int> values) {
    Focus(slider);
    slider.setSliderDown(true);
    for (int v : values) slider.setValue(v);
    slider.setSliderDown(false);
  }
  // The byte at `position` of the one upload, which the Tone's read-back follows.
  long SentByte(std::size_t position) { return Sent(position, 2, kReadBack); }
};

TEST_F(TonePairsTest, TypedValuesAreSentWithEnterAndTheBoxTurnsBlack) {
  struct Case { int tab; TextBox* box; const char* typed; std::size_t position; long sent; };
  TabPages& p = pages();
  const Case cases[] = {
      {kTone2Tab, &p.txtDCA(0), "12", 72, 12},     {kTone2Tab, &p.txtDCF(0), "-20", 86, 236},
      {kTone3Tab, &p.txtDCO(2), "150", 104, 99},   {kTone1Tab, p.txtEnv1Att, "-5", 54, 251},
      {kTone3Tab, &p.txtPan(1), "-3", 130, 253},   {kTone2Tab, &p.txtLFO(0), "45", 106, 45},
      {kTone2Tab, &p.txtDCF(4), "70", 80, 70},     {kTone1Tab, p.txtEnv2Rel, "15", 68, 15},
  };
  for (const Case& c : cases) {
    Show(c.tab);
    Type(*c.box, c.typed);
    EXPECT_EQ(c.box->ForeColor(), kRed) << c.typed;
    EXPECT_TRUE(TakeReceived().empty()) << "typing sends nothing: " << c.typed;
    Enter(*c.box);
    EXPECT_EQ(SentByte(c.position), c.sent) << c.typed;
    EXPECT_EQ(c.box->ForeColor(), kBlack) << c.typed;
    EXPECT_EQ(flags().LastKeyAscii, 0) << c.typed;
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(TonePairsTest, ABoxLeftEmptyOrEnteredEmptyGetsItsStoredValueBack) {
  struct Case { int tab; TextBox* box; bool enter; const char* refill; };  // enter, else the focus leaves
  TabPages& p = pages();
  const Case cases[] = {{kTone2Tab, &p.txtDCA(1), true, "20"},  {kTone2Tab, &p.txtDCA(1), false, "20"},
                        {kTone2Tab, &p.txtLFO(4), false, "0"},  {kTone1Tab, p.txtEnv1Rel, false, "30"},
                        {kTone3Tab, &p.txtPan(2), false, "0"}};
  for (const Case& c : cases) {
    Show(c.tab);
    Type(*c.box, "");
    if (c.enter)
      Enter(*c.box);
    else
      Focus(*w().txtObjectName);
    EXPECT_EQ(c.box->Text(), c.refill);
    EXPECT_EQ(c.box->ForeColor(), kBlack);
    EXPECT_TRUE(TakeReceived().empty());
  }
  // A typed, uncommitted value stays as it is, red.
  Show(kTone2Tab);
  Type(p.txtDCA(2), "7");
  Focus(p.txtDCA(0));
  EXPECT_EQ(p.txtDCA(2).Text(), "7");
  EXPECT_EQ(p.txtDCA(2).ForeColor(), kRed);
  EXPECT_TRUE(TakeReceived().empty());
}

TEST_F(TonePairsTest, ADragShowsTheValuesAndTheReleaseSendsOnceEvenOnTheValueShown) {
  Slider& slider = pages().sldDCA(1);
  TextBox& box = pages().txtDCA(1);
  Focus(slider);
  slider.setSliderDown(true);
  slider.setValue(30);
  EXPECT_EQ(box.Text(), "30");
  slider.setValue(35);
  EXPECT_EQ(box.Text(), "35");
  EXPECT_TRUE(TakeReceived().empty());
  slider.setSliderDown(false);
  EXPECT_EQ(SentByte(74), 35);
  Plain(pages().txtDCA(2), "40");
  Drag(pages().sldDCA(2), {40});
  EXPECT_EQ(SentByte(78), 40);
}

TEST_F(TonePairsTest, ProgramMovesOfASliderSendNothing) {
  Focus(pages().sldDCF(1));
  flags().SuppressChange = true;  // a page fill
  pages().sldDCF(1).SetValue(44);
  flags().SuppressChange = false;
  flags().LastKeyAscii = 13;  // a sender's move on Enter
  pages().sldDCF(1).SetValue(45);
  flags().LastKeyAscii = 0;
  EXPECT_TRUE(TakeReceived().empty());
}

TEST_F(TonePairsTest, AfterAnAbandonedEditSliderClicksAreIgnoredUntilEnter) {
  Type(pages().txtDCA(0), "5");
  Focus(pages().sldDCF(1));  // the box is left without Enter
  pages().sldDCF(1).SetValue(12);
  EXPECT_TRUE(TakeReceived().empty());
  Commit(pages().txtDCF(2), "3");
  TakeReceived();
  Focus(pages().sldDCF(1));
  pages().sldDCF(1).SetValue(13);
  EXPECT_EQ(SentByte(88), 13);
}

TEST_F(TonePairsTest, ARefusedOrUnansweredValueStaysRedAndTheToneIsReadBack) {
  struct Case { bool silent; const char* says; };
  const Case cases[] = {{false, "Vesk Error"}, {true, "The specified Vesk Device is not responding"}};
  for (const Case& c : cases) {
    boxes.boxes.clear();
    if (c.silent)
      peer->vesk().setSilent(true);
    else
      peer->vesk().setForcedStatus(emu::status::IllegalValue);
    peer->vesk().setFaultCount(1);
    TextBox& box = pages().txtDCA(0);
    Commit(box, "12");
    const auto got = TakeReceived();
    EXPECT_EQ(Uploads(got).size(), 1u) << c.says;
    EXPECT_EQ(got.size(), 1u + kReadBack) << c.says;  // read back all the same
    EXPECT_EQ(box.ForeColor(), kRed) << c.says;
    ASSERT_FALSE(boxes.boxes.empty()) << c.says;
    EXPECT_NE(boxes.boxes[0].text.find(c.says), std::string::npos) << boxes.boxes[0].text;
    peer->vesk().clearFaults();
  }
  Commit(pages().txtDCA(1), "30");  // another field: its read-back fills the page again
  EXPECT_EQ(Uploads(TakeReceived()).size(), 1u);
  EXPECT_EQ(pages().txtDCA(0).ForeColor(), kBlack) << "a fill shows what the instrument holds";
}

TEST_F(TonePairsTest, NothingIsTakenOrSentWhileARequestWaits) {
  TextBox& box = pages().txtDCA(0);
  Plain(box, "10");
  Focus(box);
  link().MidiOutBusy = true;
  QTest::keyClicks(&box, "5");
  Enter(box);
  Drag(pages().sldDCA(1), {3});
  link().MidiOutBusy = false;
  EXPECT_EQ(box.Text(), "10");
  EXPECT_EQ(box.ForeColor(), kBlack);
  EXPECT_TRUE(TakeReceived().empty());
}

TEST_F(TonePairsTest, TheSustainSwitchesBetweenGateAndTriggerMode) {
  Show(kTone1Tab);
  TabPages& p = pages();
  // Envelope 1 is in gate mode: a sustain of 40 switches it to trigger mode.
  Commit(*p.txtEnv1Sus, "40");
  EXPECT_EQ(SentByte(56), 40);
  EXPECT_EQ(p.txtEnv1Dec->Text(), "--");
  EXPECT_FALSE(p.txtEnv1Dec->Enabled());
  EXPECT_FALSE(p.sldEnv1Dec->Enabled());
  // Back to 0: "gt", the slider at 0, the decay editable again.
  Commit(*p.txtEnv1Sus, "0");
  EXPECT_EQ(SentByte(56), 0);
  EXPECT_EQ(p.txtEnv1Sus->Text(), "gt");
  EXPECT_EQ(p.sldEnv1Sus->Value(), 0);
  EXPECT_TRUE(p.txtEnv1Dec->Enabled());
  // Enter on "gt" does nothing; from "gt" the slider writes its value, and the write commits.
  Focus(*p.txtEnv1Sus);
  Enter(*p.txtEnv1Sus);
  EXPECT_TRUE(TakeReceived().empty());
  Drag(*p.sldEnv1Sus, {25});
  EXPECT_EQ(SentByte(56), 25);
}

TEST_F(TonePairsTest, TheInfinitySignAndTheEnterAfterItWithAKey) {
  Show(kTone1Tab);
  TabPages& p = pages();
  TextBox& rel = *p.txtEnv2Rel;
  Commit(rel, "99");
  EXPECT_EQ(SentByte(68), 99);
  EXPECT_EQ(rel.Text(), kInfinity);
  EXPECT_EQ(rel.FontName(), "Symbol");
  // Enter on the sign does nothing; a digit switches the font and keeps the sign in front.
  Focus(rel);
  rel.end(false);
  Enter(rel);
  EXPECT_TRUE(TakeReceived().empty());
  QTest::keyClicks(&rel, "5");
  EXPECT_EQ(rel.FontName(), "MS Sans Serif");
  EXPECT_EQ(rel.Text(), kInfinity + "5");
  Enter(rel);
  EXPECT_TRUE(TakeReceived().empty());
  // That Enter is over: the next slider release is a commit of its own.
  EXPECT_EQ(flags().LastKeyAscii, 0);
  Drag(*p.sldEnv1Rel, {33});
  EXPECT_EQ(SentByte(60), 33);
}

TEST_F(TonePairsTest, ASliderOverASpecialTextSendsItsValueOnce) {
  TabPages& p = pages();
  // The decay in gate mode shows the sign for 99: the slider shows 98 in the plain font.
  Show(kTone1Tab);
  ASSERT_EQ(p.txtEnv1Dec->FontName(), "Symbol");
  Focus(*p.sldEnv1Dec);
  p.sldEnv1Dec->SetValue(98);
  EXPECT_EQ(p.txtEnv1Dec->FontName(), "MS Sans Serif");
  EXPECT_EQ(SentByte(58), 98);
  // The LFO steps box shows one more than it sends.
  Show(kTone2Tab);
  Plain(p.txtLFO(5), "none");
  p.txtLFO(5).SetEnabled(true);
  p.sldLFO(5).SetEnabled(true);
  Focus(p.sldLFO(5));
  p.sldLFO(5).SetValue(9);
  EXPECT_EQ(SentByte(142), 8);
}

TEST_F(TonePairsTest, EachBoxTakesOnlyItsKeys) {
  // `selected`: the start text is selected, so the first key replaces it.
  struct Case { int tab; TextBox* box; const char* start; const char* keys; const char* shown; bool selected = false; };
  TabPages& p = pages();
  const Case cases[] = {
      {kTone2Tab, &p.txtDCA(0), "", "-4", "-4"},      // signed: minus into an empty box
      {kTone2Tab, &p.txtDCA(0), "4", "-", "4"},       // ... and nowhere else
      {kTone2Tab, &p.txtDCA(0), "-2", "-7", "-7", true},  // ... or over the whole text selected
      {kTone2Tab, &p.txtDCF(4), "", "-4", "4"},       // the unsigned cutoff
      {kTone2Tab, &p.txtDCA(1), "", "a:.+1", "1"},    // letters and signs
      {kTone1Tab, p.txtEnv1Sus, "", "g", "g"},        // gate mode
      {kTone1Tab, p.txtEnv1Sus, "", "-", ""},
      {kTone1Tab, p.txtEnv1Att, "", "3-", "3"},      // minus only into an empty box
      {kTone1Tab, p.txtEnv1Dec, "", "-2", "2"},
      {kTone2Tab, &p.txtLFO(4), "", "-7", "-7"},
      {kTone2Tab, &p.txtLFO(3), "", "-7", "7"},
      {kTone3Tab, &p.txtPan(0), "", "-7", "-7"},
      {kTone1Tab, &p.txtTone(0), "", "-12", "12"},
      {kTone1Tab, &p.txtTone(1), "Piano", "12", "Piano"},  // the Wave's name only shows
      {kWaveTab, p.txtPlayStart, "", "-1a.2", "12"},        // Wave points: digits only
      {kWaveTab, p.txtFineTune, "", "-5.", "-5"},           // fine tune: signed, whole
      {kWaveTab, p.txtFineTune, "5", "-", "5"},
      {kWaveTab, p.txtWavePitch, "", "-60.5", "60.5"},      // pitch: a point, no sign
  };
  for (const Case& c : cases) {
    Show(c.tab);
    Plain(*c.box, c.start);
    Focus(*c.box);
    if (c.selected)
      c.box->selectAll();
    else
      c.box->end(false);
    QTest::keyClicks(c.box, c.keys);
    EXPECT_EQ(c.box->Text(), c.shown) << c.box->Name() << " " << c.keys;
  }
  EXPECT_TRUE(TakeReceived().empty());
}

}  // namespace
}  // namespace tavoro::testing
