// The "Map" page: one zone of the current Map (zone, Tone, key range, level, transpose, pan,
// output, key mode and group). The keyboard the zones are drawn on belongs to the window's frame.

#include "pages/page_builder.h"
#include "pages/page_texts.h"
#include "pages/tab_pages.h"

namespace tavoro {

using namespace pages;

namespace {

void AddMapBox(TabPages& p, QWidget* parent, int index, bool locked = false, std::string_view widest = {}) {
  p.txtMap.Add(index, NewBox(parent, kMapMaxLengths[static_cast<std::size_t>(index)], locked, widest));
}

void AddMapSpin(TabPages& p, QWidget* parent, int index) {
  AddMapBox(p, parent, index);
  p.spnMap.Add(index, NewSpin(parent));
}

}  // namespace

void TabPages::BuildMap(QWidget* page) {
  auto* layout = PageHBox(page);

  auto* left = new QVBoxLayout;
  left->setSpacing(kSpacing);

  // The zone shown and the Tone it plays.
  Frame* zone = NewFrame(page, "Zone");
  auto* zoneRows = VBox(zone);
  const int zoneCaption = CaptionWidth(zone, {" Zone", " Tone"});
  AddMapSpin(*this, zone, 0);
  AddMapSpin(*this, zone, 1);
  AddMapBox(*this, zone, 2, true, "No Tones Avail");
  zoneRows->addLayout(CaptionRow(zone, " Zone", {&txtMap(0), &spnMap(0)}, zoneCaption));
  zoneRows->addLayout(CaptionRow(zone, " Tone", {&txtMap(1), &spnMap(1), &txtMap(2)}, zoneCaption));
  left->addWidget(zone);

  // The zone's key range, with the keys' note names.
  Frame* keys = NewFrame(page, "Key Range");
  auto* keyRows = VBox(keys);
  const int keyCaption = CaptionWidth(keys, {" Low Key", " High Key"});
  AddMapSpin(*this, keys, 3);
  AddMapSpin(*this, keys, 4);
  AddMapBox(*this, keys, 5, true, "C#-2");
  AddMapBox(*this, keys, 6, true, "C#-2");
  keyRows->addLayout(CaptionRow(keys, " Low Key", {&txtMap(3), &spnMap(3), &txtMap(5)}, keyCaption));
  keyRows->addLayout(CaptionRow(keys, " High Key", {&txtMap(4), &spnMap(4), &txtMap(6)}, keyCaption));
  left->addWidget(keys);
  left->addStretch(1);
  layout->addLayout(left);

  // Volume, transpose and pan.
  Frame* level = NewFrame(page, "Level");
  auto* levelRow = HBox(level);
  AddMapBox(*this, level, 7);
  sldMap.Add(7, NewSlider(level, Qt::Vertical, 0, 99));
  levelRow->addLayout(SliderColumn(level, "Volume", &sldMap(7), &txtMap(7)));
  auto* levelRows = new QVBoxLayout;
  levelRows->setSpacing(kSpacing);
  const int levelCaption = CaptionWidth(level, {" Transpose", " Pan"});
  AddMapSpin(*this, level, 8);
  levelRows->addLayout(CaptionRow(level, " Transpose", {&txtMap(8), &spnMap(8)}, levelCaption));
  AddMapBox(*this, level, 9);
  sldMapH.Add(9, NewSlider(level, Qt::Horizontal, -99, 99));
  sldMapH(9).setFixedWidth(140);
  levelRows->addLayout(CaptionRow(level, " Pan", {&txtMap(9), &sldMapH(9)}, levelCaption));
  levelRows->addStretch(1);
  levelRow->addLayout(levelRows);
  layout->addWidget(level, 0, Qt::AlignTop);

  // Output, key mode and the zone's group.
  auto* right = new QVBoxLayout;
  right->setSpacing(kSpacing);
  auto* modes = new QHBoxLayout;
  modes->setSpacing(kSpacing);
  Frame* output = NewFrame(page, "Output");
  auto* outputRows = TightVBox(output);
  AddOptionSet(optMap, output, outputRows, {0, 1}, kMapOptionCaptions);
  outputRows->addStretch(1);
  Frame* keyMode = NewFrame(page, "Key Mode");
  auto* keyModeRows = TightVBox(keyMode);
  AddOptionSet(optMap, keyMode, keyModeRows, {2, 3}, kMapOptionCaptions);
  keyModeRows->addStretch(1);
  modes->addWidget(output);
  modes->addWidget(keyMode);
  right->addLayout(modes);
  Frame* group = NewFrame(page, "Group");
  auto* groupRows = VBox(group);
  AddMapSpin(*this, group, 10);
  groupRows->addLayout(CaptionRow(group, " Group", {&txtMap(10), &spnMap(10)}));
  auto* groupMode = new QHBoxLayout;
  AddOptionSet(optMap, group, groupMode, {4, 5}, kMapOptionCaptions);
  groupMode->addStretch(1);
  groupRows->addLayout(groupMode);
  right->addWidget(group);
  right->addStretch(1);
  layout->addLayout(right);
  layout->addStretch(1);
}

}  // namespace tavoro
