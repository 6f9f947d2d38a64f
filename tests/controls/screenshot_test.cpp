// A sample of the controls in one window, drawn offscreen. With TAVORO_SCREENSHOT_DIR set, the
// picture is saved there as controls.png for a person to look at.
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/controls/buttons.h"
#include "platform/controls/index_tab.h"
#include "platform/controls/keyboard.h"
#include "platform/controls/lists.h"
#include "platform/controls/panels.h"
#include "platform/controls/range_controls.h"
#include "platform/controls/spin_button.h"
#include "platform/controls/status_bar.h"
#include "platform/controls/text_box.h"
#include "tests/controls/window_fixture.h"

using namespace plat::ctl;

namespace {

TEST(ScreenshotTest, ASampleOfTheControlsDraws) {
  QWidget window;
  auto* outer = new QVBoxLayout(&window);

  auto* header = new QHBoxLayout;
  header->addWidget(new Panel3D("Tone Num", &window));
  header->addWidget(new Label("t#", &window));
  auto* num = new TextBox(&window);
  num->SetText("12");
  num->setMaximumWidth(50);
  header->addWidget(num);
  header->addWidget(new SpinButton(&window));
  header->addWidget(new Panel3D("Tone Name", &window));
  auto* name = new TextBox(&window);
  name->SetText("Grand Piano");
  header->addWidget(name);
  auto* download = new PictureButton("Download", &window);
  download->SetToolTipText("Download Object(s)");
  header->addWidget(download);
  outer->addLayout(header);

  auto* tab = new IndexTab(&window);
  tab->SetCaption("Preset1|Preset2|Map|Tone1|Tone2|Tone3|Wave|Global");
  tab->SetCurrTab(3);
  auto* page = new Elastic;
  auto* grid = new QHBoxLayout(page);
  auto* env = new Frame("Envelope 1", page);
  auto* envGrid = new QGridLayout(env);
  const char* stages[] = {"Att", "Sus", "Dec", "Rel"};
  for (int i = 0; i < 4; ++i) {
    auto* s = new Slider(Qt::Vertical, env);
    s->SetMin(i == 0 ? -99 : 0);
    s->SetMax(99);
    s->SetValue(i * 20);
    auto* t = new TextBox(env);
    t->setMaximumWidth(40);
    t->SetText(std::to_string(i * 20));
    if (i == 2) {
      t->SetFontName("Symbol");
      t->SetText("\xA5");
    }
    if (i == 1) t->SetForeColor(255);
    envGrid->addWidget(new Label(stages[i], env), 0, i);
    envGrid->addWidget(s, 1, i);
    envGrid->addWidget(t, 2, i);
  }
  auto* pic = new PictureBox(env);
  pic->SetScaleMode(PictureBox::kPixels);
  pic->setMinimumSize(200, 130);
  pic->SetBackColor(0);
  pic->Line(10, 124, 40, 24, 0xFFFFFF);
  pic->LineBox(37, 21, 43, 27, 0xFFFFFF);
  pic->LineTo(100, 24, 16761024);
  pic->Line(100, 24, 160, 124, 0xFFFFFF);
  envGrid->addWidget(pic, 0, 4, 3, 1);
  grid->addWidget(env);

  auto* modes = new Frame("Receive Mode", page);
  auto* modesLayout = new QVBoxLayout(modes);
  for (const char* c : {"omni", "poly", "multi"}) modesLayout->addWidget(new OptionButton(c, modes));
  dynamic_cast<OptionButton*>(modesLayout->itemAt(1)->widget())->SetValue(true);
  auto* cbo = new ComboBox(modes);
  for (const char* c : {"keybdpos", "velocity", "random"}) cbo->AddItem(c);
  cbo->SetListIndex(1);
  modesLayout->addWidget(cbo);
  auto* chk = new CheckBox("&Installed", modes);
  chk->SetValue(1);
  modesLayout->addWidget(chk);
  modesLayout->addWidget(new CommandButton("&Apply", modes));
  grid->addWidget(modes);
  tab->SetPage(3, page);
  outer->addWidget(tab);

  auto* kbd = new Keyboard(&window);
  for (int i = 0; i < 6; ++i) kbd->OctaveLabels()(i).SetCaption("C" + std::to_string(i + 1));
  kbd->Keys()(14).SetBevelOuter(0);
  kbd->Keys()(16).SetBackColor(0xC0C0C0);
  kbd->ZonePicture().Line(0, 150, 3000, 150, 0xFFFFFF);
  kbd->ZonePicture().Line(0, 150, 0, 330, 0xFFFFFF);
  outer->addWidget(kbd);

  auto* stb = new StatusBar(&window);
  for (const char* p : {"p# 1", "m# 2", "t# 12", "w# 3", "mu# 0"}) stb->Add(p, p, p, p);
  stb->Add("pnlFreeMem", "Free RAM: 1024 kw", "freeMem", "Free Sample RAM");
  stb->Add("pnlCurrBank", "Current Bank: -", "currBank", "Current Bank", true);
  stb->Add("pnlVeskstatus", "ONLINE", "Veskstatus", "Vesk Status");
  outer->addWidget(stb);

  window.resize(760, 560);
  window.show();
  const QPixmap shot = window.grab();
  ASSERT_FALSE(shot.isNull());
  EXPECT_EQ(shot.width(), window.width());
  if (const QByteArray dir = qgetenv("TAVORO_SCREENSHOT_DIR"); !dir.isEmpty()) {
    EXPECT_TRUE(shot.save(QDir(QString::fromLocal8Bit(dir)).filePath("controls.png")));
  }
}

}  // namespace
