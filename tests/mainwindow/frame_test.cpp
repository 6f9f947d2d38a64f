// The main window's frame: tab strip, object header per tab, status bar, menus, the page control
// lists and the keyboard's octave scroll bar.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "tests/mainwindow/app_fixture.h"

namespace tavoro::testing {
namespace {

using FrameTest = AppFixture;

std::vector<std::string> Captions(const QList<QAction*>& actions) {
  std::vector<std::string> out;
  for (QAction* a : actions) out.push_back(a->isSeparator() ? std::string("-") : a->text().toStdString());
  return out;
}

TEST_F(FrameTest, TabStripHasTheEightPages) {
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(w().windowTitle().toStdString(), "Tavoro");
  EXPECT_EQ(w().Tavorotab->Caption(), "Preset1|Preset2|Map|Tone1|Tone2|Tone3|Wave|Global");
  ASSERT_EQ(w().Tavorotab->TabCount(), 8);
  for (int tab = 0; tab < 8; ++tab) EXPECT_EQ(w().Tavorotab->Page(tab), &w().pages.vseTabStrip(tab));
}

TEST_F(FrameTest, StatusBarPanelsWithKeysTagsAndHints) {
  peer->vesk().setSilent(true);  // offline: nothing is read into the panels
  ASSERT_EQ(Start(), 0);
  struct P {
    const char* key;
    const char* tag;
    const char* hint;
  };
  const std::vector<P> expected = {
      {"pnlPresetNum", "p#", "Current Preset"}, {"pnlMapNum", "m#", "Current Map"},
      {"pnlToneNum", "t#", "Current Tone"},     {"pnlWaveNum", "w#", "Current Wave"},
      {"pnlMultiNum", "mu#", "Current Multi"},  {"pnlFreeMem", "freeMem", "Free Sample RAM"},
      {"pnlCurrBank", "currBank", "Current Bank"}, {"pnlVeskstatus", "Veskstatus", "Vesk Status"},
      {"pnlIO", "IO", "MIDI Data Flow"}};
  ASSERT_EQ(w().stbMainForm->Count(), 9);
  for (int i = 1; i <= 9; ++i) {
    const auto& panel = w().stbMainForm->Panels(i);
    const P& e = expected[static_cast<std::size_t>(i - 1)];
    EXPECT_EQ(panel.Key(), e.key);
    EXPECT_EQ(panel.Tag(), e.tag);
    EXPECT_EQ(panel.ToolTipText(), e.hint);
    EXPECT_EQ(&w().stbMainForm->Panels(std::string(e.key)), &panel);
  }
  // Texts as the window was designed, except what the offline start-up wrote (8).
  EXPECT_EQ(Panel(1), "p#");
  EXPECT_EQ(Panel(5), "mu#");
  EXPECT_EQ(Panel(7), "Current Bank:");
  EXPECT_EQ(Panel(9), "Midi IO");
}

TEST_F(FrameTest, MenusWithTheirCaptionsAndAccessKeys) {
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(Captions(w().menuBar()->actions()), (std::vector<std::string>{"&File", "C&onfig", "&Tools", "&Help"}));
  EXPECT_EQ(Captions(w().mnuFile->actions()), (std::vector<std::string>{"&Load Disk Bank", "-", "E&xit"}));
  EXPECT_EQ(Captions(w().mnuConfig->actions()), (std::vector<std::string>{"&Midi", "&Disk", "&Vesk"}));
  EXPECT_EQ(Captions(w().mnuTools->actions()),
            (std::vector<std::string>{"Down&load", "Stereo &Merge", "&Delete", "-", "Vesk &Stats"}));
  EXPECT_EQ(Captions(w().mnuDownload->actions()), (std::vector<std::string>{"&Current Preset", "&All Objects"}));
  EXPECT_EQ(Captions(w().mnuHelp->actions()), (std::vector<std::string>{"Help &Topics", "&Help", "-", "&About"}));
  EXPECT_EQ(w().mnuDLobject->objectName().toStdString(), "mnuDLobject");
  EXPECT_EQ(w().sep1->objectName().toStdString(), "sep1");
  EXPECT_EQ(w().sep3->objectName().toStdString(), "sep3");
}

TEST_F(FrameTest, PictureButtonsCarryTheirHints) {
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(w().cmdDownLoad->ToolTipText(), "Download Object(s)");
  EXPECT_EQ(w().cmdLoadBank->ToolTipText(), "Load Disk Bank");
  EXPECT_EQ(w().cmdDeleteObject->ToolTipText(), "Delete Object");
  EXPECT_EQ(w().cmdStereoMerge->ToolTipText(), "Stereo Merge");
  EXPECT_EQ(w().cmdConfig->ToolTipText(), "Config");
  EXPECT_EQ(w().cmdStats->ToolTipText(), "Vesk Stats");
  EXPECT_EQ(w().cmdPlaySample->ToolTipText(), "Audition");
  const std::vector<std::string> captions = {"Wave", "Tone", "Map", "Preset", "Disk", "Globl",
                                             "Util", "Exec", "+/Inc", "-/Dec", "<-", "->"};
  ASSERT_EQ(w().cmdPushButton.Count(), 12);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(w().cmdPushButton(i).Caption(), captions[static_cast<std::size_t>(i)]);
  EXPECT_EQ(w().vsElastic.Indexes(), (std::vector<int>{0, 1, 2}));
}

TEST_F(FrameTest, TheWindowFitsAn800By572WorkArea) {
  ASSERT_EQ(Start(), 0);
  // The window's frame (title bar and borders, about 30 by 10 pixels) comes on top. The pages
  // decide the width of the tab strip; the frame's own row of header, buttons and lamps must fit.
  EXPECT_LE(w().size().height(), 540);
  auto* band = w().findChild<QWidget*>("frameBand");
  ASSERT_NE(band, nullptr);
  EXPECT_LE(band->sizeHint().width(), 790);
  EXPECT_LE(w().stbMainForm->sizeHint().width(), 790);
  // The widest page decides the whole window's width: it must fit as well.
  EXPECT_LE(w().minimumSizeHint().width(), 790);
  EXPECT_LE(w().size().width(), 790);
}

// ---- page tabs and object header ---------------------------------------------------------

struct TabCase {
  int tab;
  const char* num;
  const char* name;
  const char* prefix;
  const char* item;
  std::uint8_t key;  // front-panel key code of the page's button
};
const TabCase kTabCases[] = {{0, "Preset Num", "Preset Name", "p#", "&Current Preset", 0},
                             {1, "Preset Num", "Preset Name", "p#", "&Current Preset", 0},
                             {2, "Map Num", "Map Name", "m#", "&Current Map", 1},
                             {3, "Tone Num", "Tone Name", "t#", "&Current Tone", 2},
                             {4, "Tone Num", "Tone Name", "t#", "&Current Tone", 2},
                             {5, "Tone Num", "Tone Name", "t#", "&Current Tone", 2},
                             {6, "Wave Num", "Wave Name", "w#", "&Current Wave", 3},
                             {7, "Multi Num", "Multi Name", "mu#", "&Current Multi", 5}};

// One object of every kind in the store, numbered 10 + kind, at directory position 1.
void FillStore(ObjectStore& s) {
  auto dir = [](int number) {
    ObjDir d;
    d.Count = 2;
    d.Entries = {DirEntry{0, 3, "first"}, DirEntry{1, static_cast<std::int16_t>(number), "second"}};
    return d;
  };
  s.WaveDir = dir(10);
  s.ToneDir = dir(11);
  s.MapDir = dir(12);
  s.PresetDir = dir(13);
  s.MultiDir = dir(14);
  s.WaveDirIdx = s.ToneDirIdx = s.MapDirIdx = s.PresetDirIdx = s.MultiDirIdx = 1;
  s.WaveLoaded = s.ToneLoaded = s.MapLoaded = s.PresetLoaded = s.MultiLoaded = true;
  s.CurWave.Name = " Wave Name    ";
  s.CurTone.Name = "Tone Name     ";
  s.CurMap.Name = "  Map Name    ";
  s.CurPreset.Name = "Preset Name   ";
  s.CurMulti.Name = "Multi Name    ";
}

TEST_F(FrameTest, EachTabSetsTheHeaderAndPressesItsPageButtonWhenOnline) {
  ASSERT_EQ(Start(), 0);
  FillStore(app->store);
  const char* names[] = {"Preset Name", "Preset Name", "Map Name", "Tone Name", "Tone Name",
                         "Tone Name",   "Wave Name",   "Multi Name"};
  const char* numbers[] = {"13", "13", "12", "11", "11", "11", "10", "14"};
  for (const TabCase& c : kTabCases) {
    TakeReceived();
    w().Tavorotab->SetCurrTab(c.tab);
    w().Tavorotab_Click();
    EXPECT_EQ(w().pnlObjNum->Caption(), c.num) << c.tab;
    EXPECT_EQ(w().pnlObjName->Caption(), c.name) << c.tab;
    EXPECT_EQ(w().lblObjNumHash->Caption(), c.prefix) << c.tab;
    EXPECT_EQ(w().mnuDLobject->text().toStdString(), c.item) << c.tab;
    EXPECT_TRUE(w().mnuDLobject->isEnabled());
    EXPECT_EQ(w().txtObjectNum->Text(), numbers[c.tab]);
    EXPECT_EQ(w().txtObjectName->Text(), names[c.tab]);
    EXPECT_FALSE(w().txtObjectName->Locked());
    EXPECT_FALSE(w().txtObjectNum->Locked());
    EXPECT_TRUE(w().cmdDeleteObject->isEnabled());
    EXPECT_TRUE(w().mnuDelete->isEnabled());
    EXPECT_EQ(TakeReceived(), std::vector<Bytes>{KeyMessage(c.key)}) << c.tab;
  }
}

TEST_F(FrameTest, APageWithoutObjectsShowsNoneLoadedAndDisablesDeleting) {
  peer->vesk().bank().clear();
  ASSERT_EQ(Start(), 0);
  for (const TabCase& c : kTabCases) {
    w().Tavorotab->SetCurrTab(c.tab);
    w().Tavorotab_Click();
    EXPECT_EQ(w().txtObjectNum->Text(), "");
    EXPECT_EQ(w().txtObjectName->Text(), "None Loaded");
    EXPECT_TRUE(w().txtObjectName->Locked());
    EXPECT_TRUE(w().txtObjectNum->Locked());
    EXPECT_FALSE(w().cmdDeleteObject->isEnabled());
    EXPECT_FALSE(w().mnuDelete->isEnabled());
    EXPECT_FALSE(w().mnuDLobject->isEnabled());
  }
}

TEST_F(FrameTest, ADirectoryPositionOutsideTheDirectoryCountsAsNotLoaded) {
  ASSERT_EQ(Start(), 0);
  FillStore(app->store);
  app->store.ToneDirIdx = 2;  // the directory has entries 0 and 1
  w().Tavorotab->SetCurrTab(3);
  w().Tavorotab_Click();
  EXPECT_EQ(w().txtObjectName->Text(), "None Loaded");
  EXPECT_FALSE(w().cmdDeleteObject->isEnabled());
  app->store.WaveDirIdx = -1;
  w().Tavorotab->SetCurrTab(6);
  w().Tavorotab_Click();
  EXPECT_EQ(w().txtObjectName->Text(), "None Loaded");
}

TEST_F(FrameTest, OfflineTheHeaderFollowsThePageButNoKeyIsSent) {
  peer->vesk().setSilent(true);
  ASSERT_EQ(Start(), 0);
  peer->vesk().setSilent(false);
  TakeReceived();
  w().Tavorotab->SetCurrTab(7);
  w().Tavorotab_Click();
  EXPECT_EQ(w().lblObjNumHash->Caption(), "mu#");
  EXPECT_TRUE(TakeReceived().empty());
}

TEST_F(FrameTest, ClickingATabRunsThePageRefresh) {
  ASSERT_EQ(Start(), 0);
  TakeReceived();
  w().Tavorotab->setCurrentIndex(6);  // as the user's click does
  EXPECT_EQ(w().lblObjNumHash->Caption(), "w#");
  EXPECT_EQ(TakeReceived(), std::vector<Bytes>{KeyMessage(3)});
}

// ---- the page control lists --------------------------------------------------------------

std::vector<std::string> Tags(const ControlList& list) {
  std::vector<std::string> tags;
  for (auto* c : list) tags.push_back(c->Tag());
  return tags;
}

std::vector<std::string> Repeat(const char* tag, int n) { return std::vector<std::string>(static_cast<std::size_t>(n), tag); }

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST_F(FrameTest, ControlListsHaveTheirCountsAndTags) {
  ASSERT_EQ(Start(), 0);
  const PageControlLists& l = app->lists;
  EXPECT_EQ(Tags(l.WaveControls), Join({Repeat("txt", 15), Repeat("opt", 4), Repeat("hsc", 5)}));
  EXPECT_EQ(Tags(l.ToneControls), Join({Repeat("txt", 4), Repeat("sld", 4), Repeat("txt", 4), Repeat("sld", 4),
                                        Repeat("opt", 12), Repeat("cbo", 8), Repeat("opt", 32)}));
  EXPECT_EQ(Tags(l.ToneControls2),
            Join({Repeat("txt", 3), Repeat("sld", 3), Repeat("txt", 5), Repeat("sld", 5), Repeat("txt", 4),
                  Repeat("sld", 4), Repeat("txt", 4), Repeat("sld", 4), Repeat("txt", 6), Repeat("sld", 6),
                  Repeat("spn", 1), Repeat("txt", 2)}));
  EXPECT_EQ(Tags(l.MapControls), Join({Repeat("txt", 11), Repeat("sld", 2), Repeat("hsc", 1), Repeat("opt", 6)}));
  EXPECT_EQ(Tags(l.PresetControls), Join({Repeat("cbo", 7), Repeat("txt", 26), Repeat("sld", 13), Repeat("opt", 11)}));
  EXPECT_EQ(Tags(l.MultiControls), Join({Repeat("txt", 6), Repeat("sld", 1), Repeat("opt", 8)}));
  EXPECT_EQ(Tags(l.GlobalControls), Join({Repeat("txt", 4), Repeat("sld", 2), Repeat("spn", 1), Repeat("opt", 5)}));
  EXPECT_EQ(l.WaveControls.size(), 24u);
  EXPECT_EQ(l.ToneControls.size(), 68u);
  EXPECT_EQ(l.ToneControls2.size(), 47u);
  EXPECT_EQ(l.MapControls.size(), 20u);
  EXPECT_EQ(l.PresetControls.size(), 57u);
  EXPECT_EQ(l.MultiControls.size(), 15u);
  EXPECT_EQ(l.GlobalControls.size(), 12u);
  // A few entries by name and index.
  EXPECT_EQ(l.WaveControls[0]->Name(), "txtPlayStart");
  EXPECT_EQ(l.MapControls[13]->Name(), "hsbKey");
  EXPECT_EQ(l.PresetControls[33]->Name(), "hsldPreset");
  EXPECT_EQ(l.PresetControls[33]->Index(), 16);
  EXPECT_EQ(l.PresetControls[45]->Index(), 24);
  EXPECT_EQ(l.GlobalControls[6]->Name(), "spnGlobal");
  EXPECT_EQ(l.GlobalControls[6]->Index(), 6);
  EXPECT_EQ(l.BlackKey, (std::array<bool, 12>{false, true, false, true, false, false, true, false, true, false, true, false}));
}

TEST_F(FrameTest, MultiAndGlobalListsNeverOverlap) {
  ASSERT_EQ(Start(), 0);
  for (auto* a : app->lists.MultiControls)
    for (auto* b : app->lists.GlobalControls) EXPECT_NE(a, b);
}

// ---- keyboard octave bar -----------------------------------------------------------------

TEST_F(FrameTest, OctaveBarRelabelsTheKeysAndHidesNotesAbove127) {
  ASSERT_EQ(Start(), 0);
  auto labels = [&] {
    std::vector<std::string> l;
    for (int j = 0; j < 6; ++j) l.push_back(w().lblKey()(j).Caption());
    return l;
  };
  EXPECT_EQ(w().hsbKey().Value(), 2);
  EXPECT_EQ(labels(), (std::vector<std::string>{"C1", "C2", "C3", "C4", "C5", "C6"}));
  EXPECT_EQ(w().pnlKey()(0).Tag(), "24");

  w().hsbKey().SetValue(0);
  EXPECT_EQ(labels(), (std::vector<std::string>{"C-", "C0", "C1", "C2", "C3", "C4"}));
  EXPECT_EQ(w().pnlKey()(0).Tag(), "0");
  EXPECT_EQ(w().pnlKey()(71).Tag(), "71");

  w().hsbKey().SetValue(5);
  EXPECT_EQ(labels(), (std::vector<std::string>{"C4", "C5", "C6", "C7", "C8", "C9"}));
  EXPECT_EQ(w().pnlKey()(67).Tag(), "127");
  for (int i = 68; i < 72; ++i) EXPECT_FALSE(w().pnlKey()(i).Visible()) << i;
  EXPECT_TRUE(w().pnlKey()(67).Visible());

  // Scrolling back brings the top keys back.
  w().hsbKey().SetValue(4);
  for (int i = 68; i < 72; ++i) EXPECT_TRUE(w().pnlKey()(i).Visible()) << i;
}

}  // namespace
}  // namespace tavoro::testing

namespace tavoro::testing {
namespace {

TEST_F(FrameTest, ActivityLampsAreLampControls) {
  ASSERT_EQ(Start(), 0);
  EXPECT_NE(dynamic_cast<plat::HostedLamp*>(w().ledMIDIout), nullptr);
  EXPECT_NE(dynamic_cast<plat::HostedLamp*>(w().ledMIDIin), nullptr);
  ASSERT_NE(w().ledMIDIoutWidget, nullptr);
  EXPECT_TRUE(w().ledMIDIoutWidget->isVisible());
  EXPECT_FALSE(w().ledMIDIout->Value());
}

}  // namespace
}  // namespace tavoro::testing
