// Control arrays, the status bar, the index tab strip, the picture box, the mouse pointer and the
// window timer.
#include <QTabBar>
#include <map>
#include <vector>

#include "platform/controls/control_array.h"
#include "platform/controls/index_tab.h"
#include "platform/controls/panels.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/status_bar.h"
#include "platform/controls/text_box.h"
#include "platform/controls/window_timer.h"
#include "tests/controls/window_fixture.h"

using namespace plat::ctl;

namespace {

TEST(ControlArrayTest, HandlersReceiveTheIndexOfSparseMembersAddedBeforeOrAfter) {
  QWidget window;
  ControlArray<TextBox> txt("txtPreset");
  txt.Add(0, new TextBox(&window));
  std::vector<std::pair<int, int>> keys;
  txt.On(&TextBox::KeyPress, [&](int index, int& key) {
    keys.emplace_back(index, key);
    key = 0;
  });
  std::vector<int> changes;
  txt.On(&TextBox::Change, [&](int index) { changes.push_back(index); });
  txt.Add(17, new TextBox(&window));

  txt(17).SetText("5");
  txt(0).SetText("1");
  EXPECT_EQ(changes, (std::vector<int>{17, 0}));
  int key = 'x';
  txt(17).KeyPress(key);
  EXPECT_EQ(key, 0);  // the handler's answer goes back to the box
  EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{{17, 'x'}}));

  EXPECT_EQ(txt(17).Name(), "txtPreset");
  EXPECT_EQ(txt(17).Index(), 17);
  EXPECT_EQ(txt.Indexes(), (std::vector<int>{0, 17}));
  EXPECT_EQ(txt.LBound(), 0);
  EXPECT_EQ(txt.UBound(), 17);
  EXPECT_FALSE(txt.Exists(5));
  EXPECT_THROW(txt(5), ControlArrayError);
  EXPECT_THROW(txt.Add(17, new TextBox(&window)), ControlArrayError);
}

TEST(ControlArrayTest, LoadedMembersCopyTheModelAndCanBeUnloaded) {
  QWidget window;
  PictureBox pic(&window);
  ControlArray<Label> lbl("lblZone");
  auto* zero = new Label("0", &pic);
  zero->SetTag("zone");
  zero->Move(0, 0, 120, 195);
  lbl.Add(0, zero);
  int clicks = 0;
  lbl.On(&Label::MouseDown, [&](int, int, int, int, int) { ++clicks; });

  Label& one = lbl.Load(1);
  EXPECT_EQ(one.parentWidget(), &pic);
  EXPECT_EQ(one.Name(), "lblZone");
  EXPECT_EQ(one.Tag(), "zone");
  EXPECT_EQ(one.Width(), 120);
  EXPECT_FALSE(one.Visible());
  EXPECT_TRUE(static_cast<bool>(one.MouseDown));  // the array's handlers reach loaded members
  one.SetWidth(240);
  EXPECT_EQ(one.Width(), 240);

  lbl.Load(12);
  EXPECT_EQ(lbl.Count(), 3);
  lbl.Unload(1);
  lbl.Unload(12);
  EXPECT_EQ(lbl.Indexes(), std::vector<int>{0});
  EXPECT_THROW(lbl.Unload(0), ControlArrayError);  // placed with the window
  EXPECT_THROW(lbl.Unload(3), ControlArrayError);
  EXPECT_THROW(lbl.Load(0), ControlArrayError);
}

TEST(ControlArrayTest, ADestroyedMemberIsForgotten) {
  ControlArray<TextBox> txt("txtMap");
  auto* box = new TextBox;
  txt.Add(3, box);
  delete box;
  EXPECT_FALSE(txt.Exists(3));
  EXPECT_EQ(txt.Count(), 0);
}

TEST(StatusBarTest, PanelsByPositionKeyAndTag) {
  StatusBar stb;
  stb.Add("pnlPresetNum", "p#", "p#", "Current Preset");
  stb.Add("pnlFreeMem", "Free Mem:", "freeMem", "Free Sample RAM", true);
  stb.Add("pnlVeskstatus", "OFFLINE", "Veskstatus", "Vesk Status");
  EXPECT_EQ(stb.Count(), 3);
  EXPECT_EQ(stb.Panels(1).Text(), "p#");
  EXPECT_EQ(stb.Panels(3).Key(), "pnlVeskstatus");
  stb.Panels(3).SetText("ONLINE");
  EXPECT_EQ(stb.Panels("pnlVeskstatus").Text(), "ONLINE");
  EXPECT_EQ(stb.Panels(2).Tag(), "freeMem");
  EXPECT_EQ(stb.Panels(2).ToolTipText(), "Free Sample RAM");
  EXPECT_EQ(stb.Panels(2).Index(), 2);
  ASSERT_NE(stb.PanelWithTag("p#"), nullptr);
  EXPECT_EQ(stb.PanelWithTag("p#")->Index(), 1);
  EXPECT_EQ(stb.PanelWithTag("w#"), nullptr);
  EXPECT_THROW(stb.Panels(0), StatusPanelError);
  EXPECT_THROW(stb.Panels(4), StatusPanelError);
  EXPECT_THROW(stb.Panels("pnlNone"), StatusPanelError);
}

class IndexTabTest : public controls_test::WindowTest {};

TEST_F(IndexTabTest, CaptionsCurrentTabAndClickOnUserSwitchesOnly) {
  auto* tab = new IndexTab(window.get());
  tab->setGeometry(0, 0, 400, 300);
  tab->SetCaption("Preset1|Preset2|Map|Tone1|Tone2|Tone3|Wave|Global");
  EXPECT_EQ(tab->TabCount(), 8);
  EXPECT_EQ(tab->Caption(), "Preset1|Preset2|Map|Tone1|Tone2|Tone3|Wave|Global");
  auto* page = new Elastic;
  tab->SetPage(2, page);
  EXPECT_EQ(tab->Page(2), page);
  int clicks = 0;
  tab->Click = [&] { ++clicks; };
  tab->SetCurrTab(3);
  EXPECT_EQ(tab->CurrTab(), 3);
  EXPECT_EQ(clicks, 0);

  Show();
  QTabBar* bar = tab->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(6).center());
  EXPECT_EQ(tab->CurrTab(), 6);
  EXPECT_EQ(clicks, 1);

  tab->SetCaption("Midi|Disk|Vesk");
  EXPECT_EQ(tab->TabCount(), 3);
}

TEST(PictureBoxTest, RetainsLinesBoxesAndPointsAndMovesTheCurrentPoint) {
  PictureBox pic;
  pic.SetScaleMode(PictureBox::kPixels);
  pic.resize(320, 140);
  pic.SetBackColor(0);
  const long white = 0xFFFFFF;
  const long blue = 16761024;

  pic.Line(10, 124, 10, 24, white);
  EXPECT_EQ(pic.CurrentX(), 10);
  EXPECT_EQ(pic.CurrentY(), 24);
  EXPECT_EQ(pic.Point(10, 80), white);
  pic.LineTo(60, 24, blue);
  EXPECT_EQ(pic.Point(40, 24), blue);
  pic.LineBox(57, 21, 63, 27, white);
  EXPECT_EQ(pic.Point(57, 24), white);
  EXPECT_EQ(pic.Point(60, 27), white);
  EXPECT_EQ(pic.Point(59, 23), 0);  // outlined, not filled
  EXPECT_EQ(pic.CurrentX(), 63);
  pic.PSet(200, 100, white);
  EXPECT_EQ(pic.Point(200, 100), white);
  EXPECT_EQ(pic.CurrentY(), 100);

  pic.resize(400, 160);  // growing keeps the drawing
  EXPECT_EQ(pic.Point(200, 100), white);

  pic.Cls();
  EXPECT_EQ(pic.Point(10, 80), 0);
  EXPECT_EQ(pic.CurrentX(), 0);
  EXPECT_EQ(pic.CurrentY(), 0);
}

TEST(PictureBoxTest, DrawingBeforeTheWindowIsLaidOutIsKept) {
  QWidget window;
  PictureBox pic(&window);  // still at its first small size
  pic.SetScaleMode(PictureBox::kPixels);
  pic.Line(10, 124, 300, 124, 0x00FF00);
  pic.PSet(5000, 5000, 0x00FF00);  // far off: kept within limits, nothing breaks
  pic.resize(320, 140);
  EXPECT_EQ(pic.Point(250, 124), 0x00FF00);
}

TEST(PictureBoxTest, TwipsScaleIsFifteenToAPixel) {
  PictureBox pic;
  pic.resize(100, 22);
  EXPECT_EQ(pic.ScaleMode(), PictureBox::kTwips);
  EXPECT_EQ(pic.ScaleHeight(), 330);
  EXPECT_EQ(pic.Height(), 330);
  pic.Line(150, 180, 150, 330, 0x00FF00);
  EXPECT_EQ(pic.Image().pixelColor(10, 15), QColor(0, 255, 0));
  EXPECT_EQ(pic.Image().pixelColor(11, 15), QColor(255, 255, 255));
}

TEST(MousePointerTest, HourglassAndDefault) {
  QWidget window;
  EXPECT_EQ(MousePointer(&window), 0);
  SetMousePointer(&window, 11);
  EXPECT_EQ(MousePointer(&window), 11);
  EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
  SetMousePointer(&window, 0);
  EXPECT_EQ(MousePointer(&window), 0);
  EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST(WindowTimerTest, TicksOnlyWhileEnabledWithAnInterval) {
  WindowTimer tmr;
  int ticks = 0;
  tmr.Timer = [&] {
    if (++ticks == 3) tmr.SetEnabled(false);
  };
  tmr.SetEnabled(true);  // no interval yet: nothing
  QTest::qWait(20);
  EXPECT_EQ(ticks, 0);
  tmr.SetInterval(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks == 3; }));
  QTest::qWait(20);
  EXPECT_EQ(ticks, 3);
}

TEST(ColourTest, NumbersHoldRedInTheLowByte) {
  EXPECT_EQ(ColorFromNumber(255), QColor(255, 0, 0));
  EXPECT_EQ(ColorFromNumber(0xC0C0C0), QColor(192, 192, 192));
  EXPECT_EQ(ColorFromNumber(16761024), QColor(192, 192, 255));
  EXPECT_EQ(NumberFromColor(QColor(0, 192, 192)), 12632064);
}

}  // namespace
