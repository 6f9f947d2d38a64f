// The "Wave" page: the play and loop points with their steppers and bars, loop on/off and
// direction, the Wave's place in memory, and its tuning.

#include "pages/page_builder.h"
#include "pages/page_texts.h"
#include "pages/tab_pages.h"

namespace tavoro {

using namespace pages;

namespace {

constexpr int kBarWidth = 190;

TextBox* Named(TextBox* box, const char* name) {
  box->SetName(name);
  return box;
}

SpinButton* NamedSpin(QWidget* parent, const char* name) {
  SpinButton* spin = NewSpin(parent);
  spin->SetName(name);
  return spin;
}

}  // namespace

void TabPages::BuildWave(QWidget* page) {
  auto* layout = PageHBox(page);

  auto* left = new QVBoxLayout;
  left->setSpacing(kSpacing);

  // The five points: box, stepper and bar.
  Frame* playback = NewFrame(page, "Playback");
  auto* pointRows = VBox(playback);
  const int pointCaption =
      CaptionWidth(playback, {" Play Start", " Play End", " Loop Start", " Loop End", " Fraction"});
  struct Point {
    TextBox** box;
    SpinButton** spin;
    const char* boxName;
    const char* spinName;
    std::string_view caption;
    int maxLength;
    bool locked;
  };
  const Point points[] = {
      {&txtPlayStart, &spnPlayStart, "txtPlayStart", "spnPlayStart", " Play Start", 8, false},
      {&txtPlayEnd, &spnPlayEnd, "txtPlayEnd", "spnPlayEnd", " Play End", 8, false},
      {&txtLoopStart, &spnLoopStart, "txtLoopStart", "spnLoopStart", " Loop Start", 8, false},
      {&txtLoopEnd, &spnLoopEnd, "txtLoopEnd", "spnLoopEnd", " Loop End", 8, false},
      {&txtLoopFract, &spnLoopFract, "txtLoopFract", "spnLoopFract", " Fraction", 9, true},
  };
  int bar = 0;
  for (const Point& point : points) {
    *point.box = Named(NewBox(playback, point.maxLength, point.locked, "FFFFFFFFh"), point.boxName);
    *point.spin = NamedSpin(playback, point.spinName);
    auto* scroll = new ScrollBar(Qt::Horizontal, playback);
    scroll->SetTag("hsc");
    scroll->SetMin(kWaveBarMin);
    scroll->SetMax(kWaveBarMax);
    scroll->SetSmallChange(kWaveBarStep);
    scroll->SetLargeChange(kWaveBarStep);
    scroll->SetValue(kWaveBarMin);
    scroll->setFixedWidth(kBarWidth);
    hscWave.Add(bar++, scroll);
    pointRows->addLayout(CaptionRow(playback, point.caption, {*point.box, *point.spin, scroll}, pointCaption));
  }
  left->addWidget(playback);

  // Loop on or off, and its direction (shown, never sent).
  auto* loops = new QHBoxLayout;
  loops->setSpacing(kSpacing);
  Frame* loop = NewFrame(page, "Loop");
  auto* loopRow = HBox(loop);
  auto* onOff = new OptionGroup(loop);
  optLoopEnb = NewOption(loop, "Enabled", onOff);
  optLoopEnb->SetName("optLoopEnb");
  optLoopDis = NewOption(loop, "Disabled", onOff);
  optLoopDis->SetName("optLoopDis");
  loopRow->addWidget(optLoopEnb);
  loopRow->addWidget(optLoopDis);
  loopRow->addStretch(1);
  Frame* loopMode = NewFrame(page, "Loop Mode");
  auto* loopModeRow = HBox(loopMode);
  auto* direction = new OptionGroup(loopMode);
  optLoopFwdRev = NewOption(loopMode, "Fwd-Rev", direction);
  optLoopFwdRev->SetName("optLoopFwdRev");
  optLoopFwdOnly = NewOption(loopMode, "Fwd-Only", direction);
  optLoopFwdOnly->SetName("optLoopFwdOnly");
  loopModeRow->addWidget(optLoopFwdRev);
  loopModeRow->addWidget(optLoopFwdOnly);
  loopModeRow->addStretch(1);
  loops->addWidget(loop);
  loops->addWidget(loopMode);
  left->addLayout(loops);
  left->addStretch(1);
  layout->addLayout(left);

  auto* right = new QVBoxLayout;
  right->setSpacing(kSpacing);

  // Where the sample lies and what it is (display only).
  Frame* memory = NewFrame(page, "Memory");
  auto* memoryRows = VBox(memory);
  const int memoryCaption = CaptionWidth(memory, {" Mode", " Address", " Size", " Checksum", " Length", " Period"});
  txtWaveMode = Named(NewBox(memory, 0, true, "Stereo"), "txtWaveMode");
  txtWaveAddr = Named(NewBox(memory, 0, true, "FFFFFFFFh"), "txtWaveAddr");
  txtWaveSize = Named(NewBox(memory, 0, true, "000000"), "txtWaveSize");
  txtChecksum = Named(NewBox(memory, 0, true, "FFFFh"), "txtChecksum");
  txtWaveLen = Named(NewBox(memory, 0, true, "00000000"), "txtWaveLen");
  txtSampPeriod = Named(NewBox(memory, 0, true, "00000000"), "txtSampPeriod");
  memoryRows->addLayout(CaptionRow(memory, " Mode", {txtWaveMode}, memoryCaption));
  memoryRows->addLayout(CaptionRow(memory, " Address", {txtWaveAddr}, memoryCaption));
  memoryRows->addLayout(CaptionRow(memory, " Size", {txtWaveSize, NewLabel(memory, "kw")}, memoryCaption));
  memoryRows->addLayout(CaptionRow(memory, " Checksum", {txtChecksum}, memoryCaption));
  memoryRows->addLayout(CaptionRow(memory, " Length", {txtWaveLen, NewLabel(memory, "words")}, memoryCaption));
  memoryRows->addLayout(CaptionRow(memory, " Period", {txtSampPeriod, NewLabel(memory, "ns")}, memoryCaption));
  right->addWidget(memory);

  // Fine tune, root pitch with its note name, normalisation.
  Frame* tuning = NewFrame(page, "Tuning");
  auto* tuningRows = VBox(tuning);
  const int tuningCaption = CaptionWidth(tuning, {" Fine Tune", " Pitch", " Normalisation"});
  txtFineTune = Named(NewBox(tuning, 3), "txtFineTune");
  spnFineTune = NamedSpin(tuning, "spnFineTune");
  txtWavePitch = Named(NewBox(tuning, 6, false, "000.00"), "txtWavePitch");
  spnWavePitch = NamedSpin(tuning, "spnWavePitch");
  txtWaveNote = Named(NewBox(tuning, 3, true, "C#-2"), "txtWaveNote");
  txtWaveNorm = Named(NewBox(tuning, 0, true, "-000.00"), "txtWaveNorm");
  tuningRows->addLayout(
      CaptionRow(tuning, " Fine Tune", {txtFineTune, spnFineTune, NewLabel(tuning, "cents")}, tuningCaption));
  tuningRows->addLayout(CaptionRow(tuning, " Pitch",
                                   {txtWavePitch, spnWavePitch, txtWaveNote, NewLabel(tuning, "note")}, tuningCaption));
  tuningRows->addLayout(CaptionRow(tuning, " Normalisation", {txtWaveNorm}, tuningCaption));
  right->addWidget(tuning);
  right->addStretch(1);
  layout->addLayout(right);
  layout->addStretch(1);
}

}  // namespace tavoro
