// The controls of the eight tab pages as the window's design gives them: which members each
// array has, Tags, ranges, list entries, captions, character limits, locked boxes, the frames
// that group them; and that every page fits its place in the window without clipping.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGroupBox>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "pages/tab_pages.h"

namespace {

using tavoro::TabPages;
using namespace plat::ctl;

class Pages : public testing::Test {
 protected:
  static void SetUpTestSuite() { pages_ = new TabPages; }
  static void TearDownTestSuite() {
    delete pages_;
    pages_ = nullptr;
  }
  static TabPages& P() { return *pages_; }

  // The tab whose backdrop holds `w`, or -1.
  static int TabOf(const QWidget* w) {
    for (; w; w = w->parentWidget())
      for (int tab = 0; tab < TabPages::kTabCount; ++tab)
        if (w == &P().vseTabStrip(tab)) return tab;
    return -1;
  }

  // The captions of the frames around `w`, innermost first.
  static std::vector<std::string> FramesAround(const QWidget* w) {
    std::vector<std::string> out;
    for (w = w->parentWidget(); w; w = w->parentWidget())
      if (const auto* f = dynamic_cast<const Frame*>(w)) out.push_back(f->Caption());
    return out;
  }
  static bool InFrame(const QWidget* w, const std::string& caption) {
    const auto frames = FramesAround(w);
    return std::find(frames.begin(), frames.end(), caption) != frames.end();
  }

  template <class T>
  static std::vector<int> Members(const ControlArray<T>& a) {
    return a.Indexes();
  }
  static std::vector<int> Range(int first, int last) {
    std::vector<int> v;
    for (int i = first; i <= last; ++i) v.push_back(i);
    return v;
  }

 private:
  static TabPages* pages_;
};

TabPages* Pages::pages_ = nullptr;

// Every control of one kind on a page. (The control classes have no meta-object of their own,
// so Qt's findChildren cannot tell them from their Qt bases.)
template <class T>
std::vector<T*> All(QWidget& page) {
  std::vector<T*> out;
  for (QWidget* w : page.findChildren<QWidget*>())
    if (auto* c = dynamic_cast<T*>(w)) out.push_back(c);
  return out;
}

// ---- members, pages and Tags --------------------------------------------------------------

TEST_F(Pages, ArraysHaveTheirMembersIncludingTheSparseOnes) {
  TabPages& p = P();
  EXPECT_EQ(Members(p.cboPreset), Range(0, 6));
  EXPECT_EQ(Members(p.txtPreset), Range(0, 25));
  EXPECT_EQ(Members(p.sldPreset), (std::vector<int>{0, 1, 4, 12, 17, 18, 19, 20, 21, 22, 23, 24}));
  EXPECT_EQ(Members(p.hsldPreset), (std::vector<int>{16}));
  EXPECT_EQ(Members(p.spnPreset), (std::vector<int>{2, 5, 6, 7, 8, 9, 10, 11, 13, 14}));
  EXPECT_EQ(Members(p.optPreset), Range(0, 10));
  EXPECT_EQ(Members(p.txtMap), Range(0, 10));
  EXPECT_EQ(Members(p.spnMap), (std::vector<int>{0, 1, 3, 4, 8, 10}));
  EXPECT_EQ(Members(p.sldMap), (std::vector<int>{7}));
  EXPECT_EQ(Members(p.sldMapH), (std::vector<int>{9}));
  EXPECT_EQ(Members(p.optMap), Range(0, 5));
  EXPECT_EQ(Members(p.txtDCA), Range(0, 2));
  EXPECT_EQ(Members(p.txtDCF), Range(0, 4));
  EXPECT_EQ(Members(p.txtDCO), Range(0, 3));
  EXPECT_EQ(Members(p.txtLFO), Range(0, 5));
  EXPECT_EQ(Members(p.txtPan), Range(0, 3));
  EXPECT_EQ(Members(p.sldDCA), Range(0, 2));
  EXPECT_EQ(Members(p.sldDCF), Range(0, 4));
  EXPECT_EQ(Members(p.sldDCO), Range(0, 3));
  EXPECT_EQ(Members(p.sldLFO), Range(0, 5));
  EXPECT_EQ(Members(p.sldPan), Range(0, 3));
  EXPECT_EQ(Members(p.optToneEnvSel), Range(0, 11));
  EXPECT_EQ(Members(p.optToneModMode), Range(0, 31));
  EXPECT_EQ(Members(p.cboTone), Range(0, 7));
  EXPECT_EQ(Members(p.txtTone), Range(0, 1));
  EXPECT_EQ(Members(p.spnTone), (std::vector<int>{0}));
  EXPECT_EQ(Members(p.hscWave), Range(0, 4));
  EXPECT_EQ(Members(p.txtGlobal), Range(0, 9));
  EXPECT_EQ(Members(p.spnGlobal), (std::vector<int>{0, 1, 2, 3, 6}));
  EXPECT_EQ(Members(p.sldGlobal), (std::vector<int>{5, 7, 9}));
  EXPECT_EQ(Members(p.optGlobal), Range(0, 12));
  EXPECT_EQ(Members(p.cboGlobal), (std::vector<int>{0}));
}

TEST_F(Pages, EveryControlCarriesTheTagOfItsKindAndAUniqueName) {
  std::set<std::pair<std::string, int>> names;
  for (int tab = 0; tab < TabPages::kTabCount; ++tab) {
    QWidget& page = P().vseTabStrip(tab);
    auto check = [&](auto* c, const char* tag) {
      EXPECT_EQ(c->Tag(), tag) << c->Name() << "(" << c->Index() << ")";
      EXPECT_FALSE(c->Name().empty()) << "a control with Tag " << tag << " on tab " << tab;
      EXPECT_TRUE(names.insert({c->Name(), c->Index()}).second) << c->Name() << "(" << c->Index() << ")";
    };
    for (auto* c : All<TextBox>(page)) check(c, "txt");
    for (auto* c : All<Slider>(page)) check(c, "sld");
    for (auto* c : All<ScrollBar>(page)) check(c, "hsc");
    for (auto* c : All<SpinButton>(page)) check(c, "spn");
    for (auto* c : All<OptionButton>(page)) check(c, "opt");
    for (auto* c : All<ComboBox>(page)) check(c, "cbo");
  }
  // 15 + 7 Wave boxes and steppers, 8 + 8 envelope pairs: the single controls are named too.
  EXPECT_TRUE(names.count({"txtWaveNorm", -1}));
  EXPECT_TRUE(names.count({"spnWavePitch", -1}));
  EXPECT_TRUE(names.count({"sldEnv2Rel", -1}));
}

TEST_F(Pages, ControlsLieOnThePagesOfTheirObjectKind) {
  TabPages& p = P();
  const std::set<int> preset = {TabPages::kPreset1, TabPages::kPreset2};
  const std::set<int> tone = {TabPages::kTone1, TabPages::kTone2, TabPages::kTone3};
  for (int i : Members(p.txtPreset)) EXPECT_TRUE(preset.count(TabOf(&p.txtPreset(i)))) << "txtPreset " << i;
  for (int i : Members(p.cboPreset)) EXPECT_TRUE(preset.count(TabOf(&p.cboPreset(i)))) << "cboPreset " << i;
  for (int i : Members(p.optPreset)) EXPECT_TRUE(preset.count(TabOf(&p.optPreset(i)))) << "optPreset " << i;
  for (int i : Members(p.optToneModMode)) EXPECT_TRUE(tone.count(TabOf(&p.optToneModMode(i)))) << i;
  for (int i : Members(p.cboTone)) EXPECT_TRUE(tone.count(TabOf(&p.cboTone(i)))) << "cboTone " << i;
  for (QWidget* w : std::initializer_list<QWidget*>{p.txtEnv1Att, p.sldEnv2Rel, p.picEnv1, p.picEnv2, &p.txtTone(1),
                                                    &p.spnTone(0), &p.txtLFO(5), &p.sldPan(3), &p.txtDCF(4)})
    EXPECT_TRUE(tone.count(TabOf(w))) << w->objectName().toStdString();
  for (int i : Members(p.txtMap)) EXPECT_EQ(TabOf(&p.txtMap(i)), TabPages::kMap);
  for (int i : Members(p.optMap)) EXPECT_EQ(TabOf(&p.optMap(i)), TabPages::kMap);
  for (QWidget* w : std::initializer_list<QWidget*>{p.txtPlayStart, p.txtWaveNorm, p.spnLoopFract, &p.hscWave(4),
                                                    p.optLoopFwdRev})
    EXPECT_EQ(TabOf(w), TabPages::kWave);
  for (int i : Members(p.txtGlobal)) EXPECT_EQ(TabOf(&p.txtGlobal(i)), TabPages::kGlobal);
  for (int i : Members(p.optGlobal)) EXPECT_EQ(TabOf(&p.optGlobal(i)), TabPages::kGlobal);
  EXPECT_EQ(TabOf(&p.cboGlobal(0)), TabPages::kGlobal);
}

// ---- ranges, character limits, locked boxes ------------------------------------------------

struct RangeRow {
  Slider* slider;
  int min;
  int max;
};

TEST_F(Pages, SlidersRunOverTheirParametersRanges) {
  TabPages& p = P();
  std::vector<RangeRow> rows = {
      {p.sldEnv1Att, -99, 99}, {p.sldEnv1Sus, 0, 99}, {p.sldEnv1Dec, 0, 99}, {p.sldEnv1Rel, 0, 99},
      {p.sldEnv2Att, -99, 99}, {p.sldEnv2Sus, 0, 99}, {p.sldEnv2Dec, 0, 99}, {p.sldEnv2Rel, 0, 99},
      {&p.sldDCF(4), 0, 99},   {&p.sldLFO(4), -99, 99}, {&p.sldLFO(5), 1, 128}, {&p.sldMap(7), 0, 99},
      {&p.sldMapH(9), -99, 99}, {&p.sldPreset(4), 0, 255}, {&p.sldPreset(24), 0, 127},
      {&p.hsldPreset(16), 99, -99}, {&p.sldGlobal(5), 0, 127}, {&p.sldGlobal(7), 0, 127},
      {&p.sldGlobal(9), -120, 120}};
  for (int i : {0, 1, 2}) rows.push_back({&p.sldDCA(i), -99, 99});
  for (int i : {0, 1, 2, 3}) rows.push_back({&p.sldDCF(i), -99, 99});
  for (int i : {0, 1, 2, 3}) rows.push_back({&p.sldDCO(i), -99, 99});
  for (int i : {0, 1, 2, 3}) rows.push_back({&p.sldLFO(i), 0, 99});
  for (int i : {0, 1, 2, 3}) rows.push_back({&p.sldPan(i), -99, 99});
  for (int i : {0, 1, 12, 17, 18, 19, 20, 21, 22, 23}) rows.push_back({&p.sldPreset(i), -99, 99});
  for (const RangeRow& r : rows) {
    EXPECT_EQ(r.slider->Min(), r.min) << r.slider->Name() << "(" << r.slider->Index() << ")";
    EXPECT_EQ(r.slider->Max(), r.max) << r.slider->Name() << "(" << r.slider->Index() << ")";
  }
  EXPECT_EQ(p.sldLFO(5).Value(), 1);
  EXPECT_EQ(p.sldMapH(9).orientation(), Qt::Horizontal);
  EXPECT_EQ(p.hsldPreset(16).orientation(), Qt::Horizontal);
  EXPECT_EQ(p.sldPreset(18).orientation(), Qt::Vertical);
  for (int i = 0; i <= 4; ++i) {
    ScrollBar& bar = p.hscWave(i);
    EXPECT_EQ(bar.Min(), 1);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.SmallChange(), 10);
    EXPECT_EQ(bar.LargeChange(), 10);
    EXPECT_EQ(bar.Value(), 1);
  }
}

TEST_F(Pages, BoxesHaveTheirCharacterLimitsAndTheDisplayBoxesAreLocked) {
  TabPages& p = P();
  const int map[] = {3, 3, 14, 3, 3, 3, 3, 2, 4, 3, 1};
  for (int i = 0; i <= 10; ++i) {
    EXPECT_EQ(p.txtMap(i).MaxLength(), map[i]) << "txtMap " << i;
    EXPECT_EQ(p.txtMap(i).Locked(), i == 2 || i == 5 || i == 6) << "txtMap " << i;
  }
  for (int i = 0; i <= 25; ++i) {
    const int expected = i == 25 ? 14 : (i == 5 || i == 7) ? 1 : (i == 6 || i == 8) ? 2 : 3;
    EXPECT_EQ(p.txtPreset(i).MaxLength(), expected) << "txtPreset " << i;
    const bool locked = i == 3 || i == 5 || i == 6 || i == 7 || i == 15;
    EXPECT_EQ(p.txtPreset(i).Locked(), locked) << "txtPreset " << i;
  }
  const int global[] = {1, 2, 2, 2, 14, 3, 2, 3, 14, 7};
  for (int i = 0; i <= 9; ++i) {
    EXPECT_EQ(p.txtGlobal(i).MaxLength(), global[i]) << "txtGlobal " << i;
    const bool locked = i == 0 || i == 1 || i == 2 || i == 4 || i == 6 || i == 8;
    EXPECT_EQ(p.txtGlobal(i).Locked(), locked) << "txtGlobal " << i;
  }
  const int lfo[] = {2, 2, 2, 2, 3, 4};
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(p.txtLFO(i).MaxLength(), lfo[i]) << "txtLFO " << i;
  for (int i = 0; i <= 3; ++i) EXPECT_EQ(p.txtPan(i).MaxLength(), 3) << "txtPan " << i;
  EXPECT_EQ(p.txtTone(0).MaxLength(), 3);
  EXPECT_FALSE(p.txtTone(0).Locked());
  EXPECT_EQ(p.txtTone(1).MaxLength(), 14);
  EXPECT_TRUE(p.txtTone(1).Locked());
  for (TextBox* box : {p.txtPlayStart, p.txtPlayEnd, p.txtLoopStart, p.txtLoopEnd}) {
    EXPECT_EQ(box->MaxLength(), 8) << box->Name();
    EXPECT_FALSE(box->Locked()) << box->Name();
  }
  EXPECT_EQ(p.txtLoopFract->MaxLength(), 9);
  EXPECT_EQ(p.txtFineTune->MaxLength(), 3);
  EXPECT_EQ(p.txtWavePitch->MaxLength(), 6);
  EXPECT_EQ(p.txtWaveNote->MaxLength(), 3);
  for (TextBox* box : {p.txtLoopFract, p.txtWaveNote, p.txtWaveMode, p.txtWaveAddr, p.txtWaveSize, p.txtChecksum,
                       p.txtWaveLen, p.txtSampPeriod, p.txtWaveNorm})
    EXPECT_TRUE(box->Locked()) << box->Name();
  EXPECT_FALSE(p.txtFineTune->Locked());
  EXPECT_FALSE(p.txtWavePitch->Locked());
}

// ---- list entries ----------------------------------------------------------------------------

std::vector<std::string> Entries(const ComboBox& c) {
  std::vector<std::string> out;
  for (int i = 0; i < c.ListCount(); ++i) out.push_back(c.List(i));
  return out;
}

TEST_F(Pages, ChoiceListsHoldTheirEntriesInStoredValueOrder) {
  TabPages& p = P();
  const std::vector<std::string> sources = {"none", "modwheel", "chanpres", "polypres", "auxctl1", "auxctl2", "auxctl3"};
  const std::vector<std::string> keyboard = {"keybdpos", "velocity", "random", "modwheel", "chanpres",
                                             "polypres", "auxctl1",  "auxctl2", "auxctl3"};
  for (int i : {0, 1, 2, 3, 5, 6}) EXPECT_EQ(Entries(p.cboTone(i)), sources) << "cboTone " << i;
  EXPECT_EQ(Entries(p.cboTone(4)), (std::vector<std::string>{"triangle", "square", "sawtooth (ramp)", "sine",
                                                             "clipped sine", "sample/hold", "random square", "grunge"}));
  EXPECT_EQ(Entries(p.cboTone(7)), keyboard);
  EXPECT_EQ(Entries(p.cboPreset(0)), (std::vector<std::string>{"play layer a only", "play layer b only",
                                                               "play both layers", "layer a/b switch",
                                                               "layer a/b crossfade"}));
  for (int i : {4, 5, 6}) EXPECT_EQ(Entries(p.cboPreset(i)), keyboard) << "cboPreset " << i;
  EXPECT_EQ(Entries(p.cboGlobal(0)),
            (std::vector<std::string>{"MIDI Rcv Mode", "what's on display", "current edit preset", "current edit map",
                                      "current edit tone", "current edit wave"}));
}

TEST_F(Pages, AuxControllerListsAreOffThenControllers0To120WithTheirNames) {
  for (int list = 1; list <= 3; ++list) {
    const std::vector<std::string> e = Entries(P().cboPreset(list));
    ASSERT_EQ(e.size(), 122u) << "cboPreset " << list;
    EXPECT_EQ(e[0], "Off");
    EXPECT_EQ(e[1], "0");
    EXPECT_EQ(e[2], "1     (mod wheel)");
    EXPECT_EQ(e[8], "7     (volume)");
    EXPECT_EQ(e[11], "10   (pan)");
    EXPECT_EQ(e[4], "3");
    EXPECT_EQ(e[17], "16   (gen purp 1)");
    EXPECT_EQ(e[65], "64   (sustain ped)");
    EXPECT_EQ(e[84], "83   (gen purp 8)");
    EXPECT_EQ(e[100], "99   (n-r parm ms)");
    EXPECT_EQ(e[101], "100 (reg prm ls)");
    EXPECT_EQ(e[102], "101 (reg parm ms)");
    EXPECT_EQ(e[103], "102");
    EXPECT_EQ(e[121], "120");
    // Entry k + 1 stands for controller k.
    for (int k = 0; k <= 120; ++k) EXPECT_EQ(e[static_cast<std::size_t>(k + 1)].rfind(std::to_string(k), 0), 0u) << k;
  }
}

// ---- captions and frames ---------------------------------------------------------------------

TEST_F(Pages, OptionButtonsHaveTheirCaptions) {
  TabPages& p = P();
  const std::vector<std::string> envSel = {"none", "env1",  "env2", "none", "env1",  "env2",
                                           "none", "env 1", "env 2", "none", "env 1", "env 2"};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(p.optToneEnvSel(i).Caption(), envSel[static_cast<std::size_t>(i)]) << i;
  // Pairs of optToneModMode by their first member: the clearing and the setting caption.
  const std::map<int, std::pair<std::string, std::string>> pairs = {
      {0, {"Normal", "Inverted"}},  {2, {"Normal", "Inverted"}},   {4, {"Normal", "Inverted"}},
      {6, {"summed", "scaled"}},    {8, {"summed", "scaled"}},     {10, {"summed", "scaled"}},
      {12, {"bipolar", "unipolar"}}, {14, {"summed", "scaled"}},   {16, {"unipolar", "bipolar"}},
      {18, {"summed", "scaled"}},   {20, {"summed", "scaled"}},    {22, {"summed", "scaled"}},
      {24, {"bipolar", "unipolar"}}, {26, {"Normal", "Inverted"}}, {28, {"summed", "scaled"}},
      {30, {"unipolar", "bipolar"}}};
  for (const auto& [first, captions] : pairs) {
    EXPECT_EQ(p.optToneModMode(first).Caption(), captions.first) << first;
    EXPECT_EQ(p.optToneModMode(first + 1).Caption(), captions.second) << first + 1;
  }
  const std::vector<std::string> map = {"Main", "Sub", "Note Number", "Fixed", "Exclusive", "Normal"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(p.optMap(i).Caption(), map[static_cast<std::size_t>(i)]);
  const std::vector<std::string> preset = {"low", "medium", "high", "absolute", "off", "on",
                                           "[Map]", "Main",  "Sub",  "A",        "B"};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(p.optPreset(i).Caption(), preset[static_cast<std::size_t>(i)]);
  const std::vector<std::string> global = {"low",  "medium", "high",  "absolute", "off",     "on",      "Active",
                                           "Off-Line", "omni", "poly", "multi",   "enabled", "disabled"};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(p.optGlobal(i).Caption(), global[static_cast<std::size_t>(i)]);
  EXPECT_EQ(p.optLoopEnb->Caption(), "Enabled");
  EXPECT_EQ(p.optLoopDis->Caption(), "Disabled");
  EXPECT_EQ(p.optLoopFwdRev->Caption(), "Fwd-Rev");
  EXPECT_EQ(p.optLoopFwdOnly->Caption(), "Fwd-Only");
}

TEST_F(Pages, FramesGroupTheirControls) {
  TabPages& p = P();
  EXPECT_TRUE(InFrame(p.sldEnv1Att, "Envelope 1"));
  EXPECT_TRUE(InFrame(p.picEnv1, "Envelope 1"));
  EXPECT_TRUE(InFrame(p.txtEnv2Rel, "Envelope 2"));
  EXPECT_TRUE(InFrame(p.picEnv2, "Envelope 2"));
  for (int i = 0; i <= 2; ++i) EXPECT_TRUE(InFrame(&p.sldDCA(i), "DCA") && InFrame(&p.sldDCA(i), "Modulation")) << i;
  for (int i = 0; i <= 2; ++i) EXPECT_TRUE(InFrame(&p.txtDCF(i), "DCF") && InFrame(&p.txtDCF(i), "Modulation")) << i;
  for (int i = 3; i <= 4; ++i) EXPECT_TRUE(InFrame(&p.txtDCF(i), "DCF") && InFrame(&p.txtDCF(i), "Envelope")) << i;
  const char* dcoPanels[] = {"Velocity", "LFO", "Auxiliary", "Envelope"};
  for (int i = 0; i <= 3; ++i) EXPECT_TRUE(InFrame(&p.txtDCO(i), "DCO") && InFrame(&p.txtDCO(i), dcoPanels[i])) << i;
  for (int i = 0; i <= 3; ++i) EXPECT_TRUE(InFrame(&p.txtPan(i), "Pan")) << i;
  for (int i = 0; i <= 5; ++i) EXPECT_TRUE(InFrame(&p.txtLFO(i), "LFO")) << i;
  EXPECT_TRUE(InFrame(&p.optToneEnvSel(0), "DCA") && InFrame(&p.optToneModMode(1), "DCA"));
  EXPECT_TRUE(InFrame(&p.optToneEnvSel(5), "DCF") && InFrame(&p.optToneModMode(3), "DCF"));
  for (int i = 4; i <= 17; ++i) EXPECT_TRUE(InFrame(&p.optToneModMode(i), "DCO")) << i;
  for (int i = 18; i <= 31; ++i) EXPECT_TRUE(InFrame(&p.optToneModMode(i), "Pan")) << i;
  EXPECT_TRUE(InFrame(&p.optToneEnvSel(8), "DCO") && InFrame(&p.optToneEnvSel(11), "Pan"));

  for (QWidget* w : std::initializer_list<QWidget*>{p.txtPlayStart, p.spnPlayEnd, &p.hscWave(2), p.txtLoopFract})
    EXPECT_TRUE(InFrame(w, "Playback"));
  for (QWidget* w : std::initializer_list<QWidget*>{p.txtWaveMode, p.txtWaveAddr, p.txtWaveSize, p.txtChecksum,
                                                    p.txtWaveLen, p.txtSampPeriod})
    EXPECT_TRUE(InFrame(w, "Memory"));
  for (QWidget* w : std::initializer_list<QWidget*>{p.txtFineTune, p.spnWavePitch, p.txtWaveNote, p.txtWaveNorm})
    EXPECT_TRUE(InFrame(w, "Tuning"));
  EXPECT_TRUE(InFrame(p.optLoopEnb, "Loop") && InFrame(p.optLoopDis, "Loop"));
  EXPECT_TRUE(InFrame(p.optLoopFwdRev, "Loop Mode") && InFrame(p.optLoopFwdOnly, "Loop Mode"));

  for (int i = 0; i <= 5; ++i) EXPECT_TRUE(InFrame(&p.txtGlobal(i), "Multi")) << i;
  for (int i = 6; i <= 9; ++i) EXPECT_TRUE(InFrame(&p.txtGlobal(i), "Global")) << i;
  EXPECT_TRUE(InFrame(&p.txtGlobal(0), "Voice Allocation") && InFrame(&p.txtGlobal(2), "Midi"));
  const std::map<int, std::string> globalSets = {{0, "Priority"},     {4, "Overflow"},      {6, "Multi Enable"},
                                                 {8, "Receive Mode"}, {11, "Prog Change"}};
  for (int i = 0; i <= 12; ++i) {
    auto set = globalSets.upper_bound(i);
    --set;
    EXPECT_TRUE(InFrame(&p.optGlobal(i), set->second)) << "optGlobal " << i << " in " << set->second;
  }
  EXPECT_TRUE(InFrame(&p.txtGlobal(6), "Midi") && InFrame(&p.sldGlobal(7), "Midi"));
  EXPECT_TRUE(InFrame(&p.cboGlobal(0), "Global") && InFrame(&p.txtGlobal(8), "Global"));

  ASSERT_NE(p.fraLayer, nullptr);
  EXPECT_EQ(p.fraLayer->Name(), "fraLayer");
  EXPECT_EQ(p.fraLayer->Caption(), "Layer A");
  for (int i : {7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25})
    EXPECT_TRUE(InFrame(&p.txtPreset(i), "Layer A")) << "txtPreset " << i;
  for (int i : {0, 1, 2, 3, 4, 5, 6})
    EXPECT_FALSE(InFrame(&p.txtPreset(i), "Layer A")) << "txtPreset " << i;
  for (int i : {6, 7, 8, 9, 10}) EXPECT_TRUE(InFrame(&p.optPreset(i), "Layer A")) << "optPreset " << i;
}

TEST_F(Pages, OptionSetsAreExclusiveOnlyWithinThemselves) {
  TabPages& p = P();
  // Selecting one member of each set leaves the selection of every other set alone.
  struct Set {
    ControlArray<OptionButton>* array;
    std::vector<int> members;
  };
  std::vector<Set> sets = {{&p.optMap, {0, 1}}, {&p.optMap, {2, 3}}, {&p.optMap, {4, 5}},
                           {&p.optPreset, {0, 1, 2, 3}}, {&p.optPreset, {4, 5}}, {&p.optPreset, {6, 7, 8}},
                           {&p.optPreset, {9, 10}}, {&p.optGlobal, {0, 1, 2, 3}}, {&p.optGlobal, {4, 5}},
                           {&p.optGlobal, {6, 7}}, {&p.optGlobal, {8, 9, 10}}, {&p.optGlobal, {11, 12}}};
  for (int g = 0; g < 4; ++g) sets.push_back({&p.optToneEnvSel, {3 * g, 3 * g + 1, 3 * g + 2}});
  for (int pair = 0; pair < 16; ++pair) sets.push_back({&p.optToneModMode, {2 * pair, 2 * pair + 1}});
  for (Set& s : sets) (*s.array)(s.members.back()).SetValue(true);
  for (Set& s : sets) {
    (*s.array)(s.members.front()).SetValue(true);
    for (Set& other : sets)
      if (&other != &s) {
        EXPECT_TRUE((*other.array)(other.members.back()).Value())
            << (*other.array).Name() << " lost its selection when " << (*s.array).Name() << " "
            << s.members.front() << " was set";
      }
    EXPECT_FALSE((*s.array)(s.members.back()).Value()) << (*s.array).Name() << " " << s.members.front();
    (*s.array)(s.members.back()).SetValue(true);
  }
  p.optLoopEnb->SetValue(true);
  p.optLoopFwdRev->SetValue(true);
  p.optLoopDis->SetValue(true);
  EXPECT_FALSE(p.optLoopEnb->Value());
  EXPECT_TRUE(p.optLoopFwdRev->Value());
}

TEST_F(Pages, EnvelopePlotsHoldTheWholeDrawingAndTheModeLabelStaysAboveIt) {
  TabPages& p = P();
  for (PictureBox* picture : {p.picEnv1, p.picEnv2}) {
    EXPECT_EQ(picture->ScaleMode(), PictureBox::kPixels);
    // Attack, middle stage and release of 99 each from x = 10, markers 3 wide; levels 24 to 125.
    EXPECT_GE(picture->ScaleWidth(), 10 + 3 * 99 + 4);
    EXPECT_GE(picture->ScaleHeight(), 128);
  }
  for (Label* mode : {p.lblEnv1Mode, p.lblEnv2Mode}) {
    mode->SetCaption("Trigger Mode");
    EXPECT_LE(mode->geometry().bottom(), 20) << mode->Name();
    EXPECT_GE(mode->width(), QFontMetrics(mode->font()).horizontalAdvance("Trigger Mode")) << mode->Name();
    mode->SetCaption("");
  }
}

// ---- fitting ---------------------------------------------------------------------------------

constexpr int kPageWidth = 780;
constexpr int kPageHeight = 330;

TEST_F(Pages, EveryPageFitsItsPlaceWithoutClippingOrOverlap) {
  for (int tab = 0; tab < TabPages::kTabCount; ++tab) {
    QWidget& page = P().vseTabStrip(tab);
    const QSize least = page.minimumSizeHint();
    EXPECT_LE(least.width(), kPageWidth) << "tab " << tab;
    EXPECT_LE(least.height(), kPageHeight) << "tab " << tab;
    page.resize(kPageWidth, kPageHeight);
    page.show();
    const QRect area(0, 0, kPageWidth, kPageHeight);
    for (QWidget* w : page.findChildren<QWidget*>()) {
      if (!w->isVisibleTo(&page) || !dynamic_cast<Control*>(w)) continue;
      const QRect on(w->mapTo(&page, QPoint(0, 0)), w->size());
      const auto* c = dynamic_cast<Control*>(w);
      const auto* l = dynamic_cast<Label*>(w);
      const std::string what = (l ? "label \"" + l->Caption() + "\"" : c->Name() + "(" + std::to_string(c->Index()) + ")") +
                               " on tab " + std::to_string(tab);
      EXPECT_TRUE(area.contains(on)) << what;
      EXPECT_GE(w->width(), w->minimumSizeHint().width()) << what;
      EXPECT_GE(w->height(), w->minimumSizeHint().height()) << what;
      // Captions are shown whole.
      const QFontMetrics metrics(w->font());
      if (auto* option = dynamic_cast<OptionButton*>(w)) {
        EXPECT_GE(option->width(), option->sizeHint().width()) << what;
      }
      if (auto* label = dynamic_cast<Label*>(w); label && !label->wordWrap()) {
        EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text())) << what;
      }
      if (auto* panel = dynamic_cast<Panel3D*>(w)) {
        EXPECT_GE(panel->width(), metrics.horizontalAdvance(plat::ctl::ToQ(panel->Caption())) + 4) << what;
      }
      if (auto* combo = dynamic_cast<ComboBox*>(w)) {
        for (int i = 0; i < combo->ListCount(); ++i)
          EXPECT_GE(combo->width(), metrics.horizontalAdvance(plat::ctl::ToQ(combo->List(i))) + 20) << what << " " << i;
      }
      // A number box shows as many digits as may be typed into it.
      if (auto* box = dynamic_cast<TextBox*>(w); box && box->MaxLength() > 0 && box->MaxLength() <= 9) {
        EXPECT_GE(box->width(), metrics.horizontalAdvance(QString(box->MaxLength(), QChar('8'))) + 6) << what;
      }
    }
    // Controls side by side in one container never cover each other.
    for (QWidget* parent : page.findChildren<QWidget*>()) {
      std::vector<QWidget*> kids;
      for (QObject* o : parent->children())
        if (auto* k = qobject_cast<QWidget*>(o); k && k->isVisibleTo(&page) && !k->isWindow()) kids.push_back(k);
      for (std::size_t a = 0; a < kids.size(); ++a)
        for (std::size_t b = a + 1; b < kids.size(); ++b)
          EXPECT_FALSE(kids[a]->geometry().intersects(kids[b]->geometry()))
              << "tab " << tab << ": " << kids[a]->metaObject()->className() << " and "
              << kids[b]->metaObject()->className() << " overlap in " << parent->metaObject()->className();
    }
    page.hide();
  }
}

}  // namespace
