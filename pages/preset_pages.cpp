// The two Preset pages: "Preset1" the fields of the Preset as a whole (mode, auxiliary
// controllers, voice allocation, modulation, switch and crossfade), "Preset2" the fields of the
// layer chosen with "A" / "B", in the frame `fraLayer`.

#include "pages/page_builder.h"
#include "pages/page_texts.h"
#include "pages/tab_pages.h"

namespace tavoro {

using namespace pages;

namespace {

// A vertical slider pair of txtPreset / sldPreset.
QVBoxLayout* PresetSlider(TabPages& p, QWidget* parent, int index, std::string_view caption, int min, int max,
                          int captionLines, int width) {
  p.txtPreset.Add(index, NewBox(parent, kPresetMaxLengths[static_cast<std::size_t>(index)], false, "-99"));
  p.sldPreset.Add(index, NewSlider(parent, Qt::Vertical, min, max));
  return SliderColumn(parent, caption, &p.sldPreset(index), &p.txtPreset(index), captionLines, width);
}

// A number box of txtPreset with its spin button.
void AddSpinBox(TabPages& p, QWidget* parent, int index, bool locked, std::string_view widest = {}) {
  p.txtPreset.Add(index, NewBox(parent, kPresetMaxLengths[static_cast<std::size_t>(index)], locked, widest));
  p.spnPreset.Add(index, NewSpin(parent));
}

// A locked box of txtPreset showing a note name.
void AddNoteBox(TabPages& p, QWidget* parent, int index) {
  p.txtPreset.Add(index, NewBox(parent, kPresetMaxLengths[static_cast<std::size_t>(index)], true, "C#-2"));
}

}  // namespace

void TabPages::BuildPreset1(QWidget* page) {
  auto* layout = PageHBox(page);

  // Mode and the three auxiliary controllers.
  auto* left = new QVBoxLayout;
  left->setSpacing(kSpacing);
  Frame* mode = NewFrame(page, "Mode");
  auto* modeRows = VBox(mode);
  cboPreset.Add(0, NewCombo(mode, kPresetModes));
  modeRows->addLayout(LabelledList(mode, "Preset Mode", &cboPreset(0), 1));
  left->addWidget(mode);
  Frame* aux = NewFrame(page, "Aux Controllers");
  auto* auxRows = VBox(aux);
  const std::vector<std::string> controllers = AuxControllerList();
  for (int n = 1; n <= 3; ++n) {
    cboPreset.Add(n, NewCombo(aux, controllers));
    auxRows->addLayout(LabelledList(aux, "Aux " + std::to_string(n), &cboPreset(n), 1));
  }
  auxRows->addStretch(1);
  left->addWidget(aux, 1);
  layout->addLayout(left);

  // Voice allocation: the group shown, its polyphony, priority and on/off state.
  Frame* voices = NewFrame(page, "Voice Allocation");
  auto* voiceRows = VBox(voices);
  const int captionWidth = CaptionWidth(voices, {" Allocation Group", " Max Polyphony"});
  AddSpinBox(*this, voices, 5, true);
  AddSpinBox(*this, voices, 6, true);
  voiceRows->addLayout(CaptionRow(voices, " Allocation Group", {&txtPreset(5), &spnPreset(5)}, captionWidth));
  voiceRows->addLayout(CaptionRow(voices, " Max Polyphony", {&txtPreset(6), &spnPreset(6)}, captionWidth));
  auto* groupSets = new QHBoxLayout;
  groupSets->setSpacing(kSpacing);
  Frame* priority = NewFrame(voices, "Priority");
  AddOptionSet(optPreset, priority, TightVBox(priority), {0, 1, 2, 3}, kPresetOptionCaptions);
  Frame* enable = NewFrame(voices, "Group Enable");
  auto* enableRows = TightVBox(enable);
  AddOptionSet(optPreset, enable, enableRows, {4, 5}, kPresetOptionCaptions);
  enableRows->addStretch(1);
  groupSets->addWidget(priority);
  groupSets->addWidget(enable);
  voiceRows->addLayout(groupSets);
  voiceRows->addStretch(1);
  layout->addWidget(voices);

  // Detune and modulation.
  Frame* modulation = NewFrame(page, "Modulation");
  auto* modRows = VBox(modulation);
  auto* modSliders = new QHBoxLayout;
  modSliders->setSpacing(kSpacing);
  modSliders->addLayout(PresetSlider(*this, modulation, 0, "Layer Detune", -99, 99, 2, 0));
  modSliders->addLayout(PresetSlider(*this, modulation, 1, "Modulation", -99, 99, 2, 0));
  modSliders->addStretch(1);
  modRows->addLayout(modSliders);
  cboPreset.Add(4, NewCombo(modulation, kKeyboardSources));
  modRows->addLayout(LabelledList(modulation, "Modulation Source", &cboPreset(4), 1));
  modRows->addStretch(1);
  layout->addWidget(modulation);

  // Layer switch and crossfade.
  Frame* xfade = NewFrame(page, "Switch/Xfade");
  auto* xfadeRows = VBox(xfade);
  cboPreset.Add(5, NewCombo(xfade, kKeyboardSources));
  xfadeRows->addLayout(LabelledList(xfade, "Switch/Xfade Ctlr", &cboPreset(5), 1));
  AddSpinBox(*this, xfade, 2, false);
  AddNoteBox(*this, xfade, 3);
  xfadeRows->addLayout(CaptionRow(xfade, " Pivot Point", {&txtPreset(2), &spnPreset(2), &txtPreset(3)}));
  auto* width = new QHBoxLayout;
  width->addLayout(PresetSlider(*this, xfade, 4, "Xfade Region Width", 0, 255, 2, 0));
  width->addStretch(1);
  xfadeRows->addLayout(width);
  xfadeRows->addStretch(1);
  layout->addWidget(xfade);
  layout->addStretch(1);
}

void TabPages::BuildPreset2(QWidget* page) {
  auto* layout = PageHBox(page);
  fraLayer = NewFrame(page, "Layer A");
  fraLayer->SetName("fraLayer");
  auto* layer = HBox(fraLayer);

  // The layer's maps: switch controller, the map of each entry, the switch points between them.
  Frame* maps = NewFrame(fraLayer, "Maps");
  auto* mapRows = VBox(maps);
  cboPreset.Add(6, NewCombo(maps, kKeyboardSources));
  mapRows->addLayout(LabelledList(maps, "Map Switch Ctlr", &cboPreset(6), 1));
  const int captionWidth = CaptionWidth(maps, {" Level", " Map", " Map 1-2"});
  AddSpinBox(*this, maps, 7, true);
  AddSpinBox(*this, maps, 8, false);
  mapRows->addLayout(CaptionRow(maps, " Level", {&txtPreset(7), &spnPreset(7)}, captionWidth));
  mapRows->addLayout(CaptionRow(maps, " Map", {&txtPreset(8), &spnPreset(8)}, captionWidth));
  txtPreset.Add(25, NewBox(maps, kPresetMaxLengths[25], false, "No Maps Loaded"));
  mapRows->addWidget(&txtPreset(25));
  mapRows->addWidget(NewLabel(maps, "Map Switch Points"));
  // Switch point n lies between map n + 1 and map n + 2.
  constexpr std::string_view kBetween[3] = {" Map 1-2", " Map 2-3", " Map 3-4"};
  for (int index = 9; index <= 11; ++index) {
    AddSpinBox(*this, maps, index, false, "<<<");
    mapRows->addLayout(CaptionRow(maps, kBetween[index - 9], {&txtPreset(index), &spnPreset(index)}, captionWidth));
  }
  mapRows->addStretch(1);
  layer->addWidget(maps);

  auto* right = new QVBoxLayout;
  right->setSpacing(kSpacing);
  // Transpose and the layer's levels and modulation amounts.
  auto* sliders = new QHBoxLayout;
  sliders->setSpacing(2);
  struct Column {
    int index;
    std::string_view caption;
    int min;
    int max;
  };
  const Column columns[] = {
      {12, "Transpose", -99, 99},      {18, "Volume", -99, 99},        {17, "Pan Keybd", -99, 99},
      {19, "Filter Cutoff", -99, 99},  {20, "Filter Keybd", -99, 99},  {21, "DCA Velocity", -99, 99},
      {22, "DCF Velocity", -99, 99},   {23, "DCF Env Amt", -99, 99},   {24, "DCO Mod Rge", 0, 127},
  };
  for (const Column& c : columns)
    sliders->addLayout(PresetSlider(*this, fraLayer, c.index, c.caption, c.min, c.max, 2, 52));
  sliders->addStretch(1);
  right->addLayout(sliders);

  // Pan, pitch bend range, keyboard tracking centre; output; the layer shown.
  auto* under = new QHBoxLayout;
  under->setSpacing(kSpacing);
  auto* rows = new QVBoxLayout;
  rows->setSpacing(kSpacing);
  const int rowCaption = CaptionWidth(fraLayer, {" Layer Pan", " Pitch Bend Range", " Keyboard Track Center"});
  txtPreset.Add(16, NewBox(fraLayer, kPresetMaxLengths[16], false, "Map"));
  hsldPreset.Add(16, NewSlider(fraLayer, Qt::Horizontal, 99, -99));
  hsldPreset(16).setFixedWidth(130);
  rows->addLayout(CaptionRow(fraLayer, " Layer Pan",
                             {&txtPreset(16), NewLabel(fraLayer, "L"), &hsldPreset(16), NewLabel(fraLayer, "R")},
                             rowCaption));
  AddSpinBox(*this, fraLayer, 13, false);
  rows->addLayout(CaptionRow(fraLayer, " Pitch Bend Range",
                             {&txtPreset(13), &spnPreset(13), NewLabel(fraLayer, "semitones")}, rowCaption));
  AddSpinBox(*this, fraLayer, 14, false);
  AddNoteBox(*this, fraLayer, 15);
  rows->addLayout(CaptionRow(fraLayer, " Keyboard Track Center", {&txtPreset(14), &spnPreset(14), &txtPreset(15)},
                             rowCaption));
  rows->addStretch(1);
  under->addLayout(rows);
  Frame* output = NewFrame(fraLayer, "Output");
  auto* outputRows = TightVBox(output);
  AddOptionSet(optPreset, output, outputRows, {6, 7, 8}, kPresetOptionCaptions);
  outputRows->addStretch(1);
  under->addWidget(output);
  Frame* shown = NewFrame(fraLayer, "Show Layer");
  auto* shownRows = TightVBox(shown);
  AddOptionSet(optPreset, shown, shownRows, {9, 10}, kPresetOptionCaptions);
  shownRows->addStretch(1);
  under->addWidget(shown);
  under->addStretch(1);
  right->addLayout(under);
  right->addStretch(1);
  layer->addLayout(right);

  layout->addWidget(fraLayer);
  layout->addStretch(1);
}

}  // namespace tavoro
