// The "Global" page: in the frame "Multi" the current Multi (voice allocation per group, the part
// shown with its Preset, state and volume), in the frame "Global" the instrument's Global data.
// Both halves share the arrays txtGlobal, spnGlobal, sldGlobal and optGlobal, split by Index.

#include "pages/page_builder.h"
#include "pages/page_texts.h"
#include "pages/tab_pages.h"

namespace tavoro {

using namespace pages;

namespace {

void AddGlobalBox(TabPages& p, QWidget* parent, int index, bool locked, std::string_view widest = {}) {
  p.txtGlobal.Add(index, NewBox(parent, kGlobalMaxLengths[static_cast<std::size_t>(index)], locked, widest));
}

Frame* OptionFrame(TabPages& p, QWidget* parent, std::string_view caption, std::initializer_list<int> indexes) {
  Frame* frame = NewFrame(parent, caption);
  auto* rows = TightVBox(frame);
  AddOptionSet(p.optGlobal, frame, rows, indexes, kGlobalOptionCaptions);
  rows->addStretch(1);
  return frame;
}

}  // namespace

void TabPages::BuildGlobal(QWidget* page) {
  auto* layout = PageHBox(page);

  // ---- The Multi --------------------------------------------------------------------------
  Frame* multi = NewFrame(page, "Multi");
  auto* multiRow = TightHBox(multi);

  Frame* allocation = NewFrame(multi, "Voice Allocation");
  auto* allocationRows = TightVBox(allocation);
  const int allocationCaption = CaptionWidth(allocation, {" Allocation Group", " Max Polyphony"});
  AddGlobalBox(*this, allocation, 0, true);
  spnGlobal.Add(0, NewSpin(allocation));
  AddGlobalBox(*this, allocation, 1, true);
  spnGlobal.Add(1, NewSpin(allocation));
  allocationRows->addLayout(
      CaptionRow(allocation, " Allocation Group", {&txtGlobal(0), &spnGlobal(0)}, allocationCaption));
  allocationRows->addLayout(CaptionRow(allocation, " Max Polyphony", {&txtGlobal(1), &spnGlobal(1)}, allocationCaption));
  auto* groupSets = new QHBoxLayout;
  groupSets->setSpacing(kSpacing);
  groupSets->addWidget(OptionFrame(*this, allocation, "Priority", {0, 1, 2, 3}));
  groupSets->addWidget(OptionFrame(*this, allocation, "Overflow", {4, 5}));
  allocationRows->addLayout(groupSets);
  allocationRows->addStretch(1);
  multiRow->addWidget(allocation);

  Frame* parts = NewFrame(multi, "Midi");
  auto* partRows = TightVBox(parts);
  const int partCaption = CaptionWidth(parts, {" Channel Number", " Preset (p#)"});
  AddGlobalBox(*this, parts, 2, true);
  spnGlobal.Add(2, NewSpin(parts));
  partRows->addLayout(CaptionRow(parts, " Channel Number", {&txtGlobal(2), &spnGlobal(2)}, partCaption));
  AddGlobalBox(*this, parts, 3, false);
  spnGlobal.Add(3, NewSpin(parts));
  partRows->addLayout(CaptionRow(parts, " Preset (p#)", {&txtGlobal(3), &spnGlobal(3)}, partCaption));
  AddGlobalBox(*this, parts, 4, true, "No Maps Loaded");
  partRows->addWidget(&txtGlobal(4));
  auto* partUnder = new QHBoxLayout;
  partUnder->setSpacing(kSpacing);
  partUnder->addWidget(OptionFrame(*this, parts, "Multi Enable", {6, 7}), 0, Qt::AlignTop);
  AddGlobalBox(*this, parts, 5, false);
  sldGlobal.Add(5, NewSlider(parts, Qt::Vertical, 0, 127));
  partUnder->addLayout(SliderColumn(parts, "Volume", &sldGlobal(5), &txtGlobal(5)));
  partUnder->addStretch(1);
  partRows->addLayout(partUnder);
  partRows->addStretch(1);
  multiRow->addWidget(parts);
  layout->addWidget(multi);

  // ---- The Global data --------------------------------------------------------------------
  Frame* global = NewFrame(page, "Global");
  auto* globalRow = TightHBox(global);

  Frame* midi = NewFrame(global, "Midi");
  auto* midiRows = TightVBox(midi);
  midiRows->addWidget(OptionFrame(*this, midi, "Receive Mode", {8, 9, 10}));
  AddGlobalBox(*this, midi, 6, true);
  spnGlobal.Add(6, NewSpin(midi));
  midiRows->addLayout(CaptionStack(midi, " Omni/Poly Channel", {&txtGlobal(6), &spnGlobal(6)}));
  auto* volume = new QHBoxLayout;
  AddGlobalBox(*this, midi, 7, false);
  sldGlobal.Add(7, NewSlider(midi, Qt::Vertical, 0, 127));
  volume->addLayout(SliderColumn(midi, "Omni/Poly Vol", &sldGlobal(7), &txtGlobal(7)));
  volume->addStretch(1);
  midiRows->addLayout(volume);
  midiRows->addStretch(1);
  globalRow->addWidget(midi);

  Frame* data = NewFrame(global, "Global");
  auto* dataRows = TightVBox(data);
  AddGlobalBox(*this, data, 8, true, "No Maps Loaded");
  dataRows->addLayout(CaptionStack(data, " Bank Name", {&txtGlobal(8)}));
  cboGlobal.Add(0, NewCombo(data, kPlaybackModes));
  auto* playback = OptionStack();
  playback->setSpacing(1);
  playback->addWidget(NewLabel(data, "Playback Mode"));
  playback->addWidget(&cboGlobal(0));
  dataRows->addLayout(playback);
  auto* dataUnder = new QHBoxLayout;
  dataUnder->setSpacing(kSpacing);
  dataUnder->addWidget(OptionFrame(*this, data, "Prog Change", {11, 12}), 0, Qt::AlignTop);
  AddGlobalBox(*this, data, 9, false);
  sldGlobal.Add(9, NewSlider(data, Qt::Vertical, -120, 120));
  dataUnder->addLayout(SliderColumn(data, "Master Tune", &sldGlobal(9), &txtGlobal(9)));
  dataUnder->addStretch(1);
  dataRows->addLayout(dataUnder);
  dataRows->addStretch(1);
  globalRow->addWidget(data);
  layout->addWidget(global);
  layout->addStretch(1);
}

}  // namespace tavoro
