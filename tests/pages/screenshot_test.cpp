// Saves a picture of every tab page at its place's size into the working directory
// (pages-preset1.png ... pages-global.png), for a person to look at. Every box shows the longest
// text it may hold and every list its longest entry, so the pictures show whether they fit.
#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <string>

#include "pages/tab_pages.h"

namespace {

using namespace plat::ctl;

template <class T>
std::vector<T*> All(QWidget& page) {
  std::vector<T*> out;
  for (QWidget* w : page.findChildren<QWidget*>())
    if (auto* c = dynamic_cast<T*>(w)) out.push_back(c);
  return out;
}

void FillWithLongestTexts(QWidget& page) {
  for (auto* box : All<TextBox>(page)) {
    const int length = box->MaxLength() > 0 ? box->MaxLength() : 8;
    box->SetText(std::string(static_cast<std::size_t>(length), '8'));
  }
  for (auto* combo : All<ComboBox>(page)) {
    int longest = 0;
    for (int i = 0; i < combo->ListCount(); ++i)
      if (combo->List(i).size() > combo->List(longest).size()) longest = i;
    combo->SetListIndex(longest);
  }
}

// An envelope as the plot draws one: attack, hold at full level, release; and its mode label.
void DrawSampleEnvelope(PictureBox& picture, Label& mode, long colour, const char* caption) {
  picture.Cls();
  picture.Line(10, 124, 60, 24, 0xFFFFFF);
  picture.LineBox(57, 21, 63, 27, 0xFFFFFF);
  picture.Line(60, 24, 159, 24, colour);
  picture.LineBox(156, 21, 162, 27, 0xFFFFFF);
  picture.Line(159, 24, 258, 124, 0xFFFFFF);
  mode.SetForeColor(colour);
  mode.SetCaption(caption);
}

TEST(PageScreenshots, EveryPageIsSaved) {
  tavoro::TabPages pages;
  DrawSampleEnvelope(*pages.picEnv1, *pages.lblEnv1Mode, 16761024, "Trigger Mode");
  DrawSampleEnvelope(*pages.picEnv2, *pages.lblEnv2Mode, 12632064, "Gate Mode");
  const char* names[] = {"preset1", "preset2", "map", "tone1", "tone2", "tone3", "wave", "global"};
  for (int tab = 0; tab < tavoro::TabPages::kTabCount; ++tab) {
    QWidget& page = pages.vseTabStrip(tab);
    FillWithLongestTexts(page);
    page.resize(780, 330);
    page.show();
    const QString file = QDir::current().filePath(QString("pages-%1.png").arg(names[tab]));
    EXPECT_TRUE(page.grab().save(file)) << file.toStdString();
    page.hide();
  }
}

}  // namespace
