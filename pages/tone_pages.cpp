// The three Tone pages: "Tone1" the two envelopes and the Wave the Tone plays, "Tone2" the DCA,
// DCF and LFO, "Tone3" the DCO and pan.

#include "pages/page_builder.h"
#include "pages/page_texts.h"
#include "pages/tab_pages.h"

namespace tavoro {

using namespace pages;

namespace {

// The envelope plot draws in pixels: x from 10 up to 10 + 3 x 99 plus a marker, y from 21 to 127.
constexpr int kEnvPlotWidth = 316;
constexpr int kEnvPlotHeight = 132;
// Background of the plots; the plot draws in white, light blue and teal.
constexpr long kEnvPlotBack = 0x000000;

// Sliders of the option-heavy Tone3 page are shorter, so the option sets fit under them.
constexpr int kShortSliderHeight = 60;

std::string Name(std::string_view prefix, int env, std::string_view stage) {
  return std::string(prefix) + "Env" + std::to_string(env) + std::string(stage);
}

}  // namespace

void TabPages::BuildTone1(QWidget* page) {
  auto* layout = PageHBox(page);
  auto* envelopes = new QVBoxLayout;
  envelopes->setSpacing(kSpacing);
  layout->addLayout(envelopes);

  TextBox** boxes[2][4] = {{&txtEnv1Att, &txtEnv1Sus, &txtEnv1Dec, &txtEnv1Rel},
                           {&txtEnv2Att, &txtEnv2Sus, &txtEnv2Dec, &txtEnv2Rel}};
  Slider** sliders[2][4] = {{&sldEnv1Att, &sldEnv1Sus, &sldEnv1Dec, &sldEnv1Rel},
                            {&sldEnv2Att, &sldEnv2Sus, &sldEnv2Dec, &sldEnv2Rel}};
  PictureBox** pictures[2] = {&picEnv1, &picEnv2};
  Label** modes[2] = {&lblEnv1Mode, &lblEnv2Mode};
  constexpr std::string_view kStages[4] = {"Att", "Sus", "Dec", "Rel"};

  for (int e = 0; e < 2; ++e) {
    const int env = e + 1;
    Frame* frame = NewFrame(page, env == 1 ? "Envelope 1" : "Envelope 2");
    auto* row = HBox(frame);
    for (int s = 0; s < 4; ++s) {
      const SliderPair& stage = kEnvelopeStages[static_cast<std::size_t>(s)];
      TextBox* box = NewBox(frame, stage.maxLength);
      box->SetName(Name("txt", env, kStages[s]));
      Slider* slider = NewSlider(frame, Qt::Vertical, stage.min, stage.max);
      slider->SetName(Name("sld", env, kStages[s]));
      *boxes[e][s] = box;
      *sliders[e][s] = slider;
      row->addLayout(SliderColumn(frame, stage.caption, slider, box));
    }
    auto* picture = new PictureBox(frame);
    picture->SetName("picEnv" + std::to_string(env));
    picture->SetScaleMode(PictureBox::kPixels);
    picture->setFixedSize(kEnvPlotWidth, kEnvPlotHeight);
    picture->SetBackColor(kEnvPlotBack);
    *pictures[e] = picture;
    // The mode label sits in the plot's top strip, above full level, where nothing is drawn.
    auto* mode = new Label(picture);
    mode->SetName("lblEnv" + std::to_string(env) + "Mode");
    mode->setAlignment(Qt::AlignRight | Qt::AlignTop);
    mode->setGeometry(kEnvPlotWidth - 106, 3, 100, 16);
    *modes[e] = mode;
    row->addSpacing(kSpacing);
    row->addWidget(picture, 0, Qt::AlignVCenter);
    envelopes->addWidget(frame);
  }

  Frame* wave = NewFrame(page, "Wave");
  auto* waveRows = VBox(wave);
  txtTone.Add(0, NewBox(wave, 3));
  spnTone.Add(0, NewSpin(wave));
  txtTone.Add(1, NewBox(wave, 14, true, "No Waves Avail"));
  waveRows->addLayout(CaptionRow(wave, " Wave Num", {&txtTone(0), &spnTone(0)}));
  waveRows->addWidget(&txtTone(1));
  auto* side = new QVBoxLayout;
  side->addWidget(wave);
  side->addStretch(1);
  layout->addLayout(side);
  layout->addStretch(1);
}

namespace {

// The envelope selection set and the mode pair under the DCA and DCF sliders.
void AddEnvAndMode(TabPages& p, QWidget* frame, QBoxLayout* under, int envFirst, int modeFirst) {
  auto* env = OptionStack();
  env->addWidget(NewLabel(frame, "Envelope"));
  AddOptionSet(p.optToneEnvSel, frame, env, {envFirst, envFirst + 1, envFirst + 2}, kToneEnvSelCaptions);
  env->addStretch(1);
  auto* mode = OptionStack();
  mode->addWidget(NewLabel(frame, "Mode"));
  AddOptionSet(p.optToneModMode, frame, mode, {modeFirst, modeFirst + 1}, kToneModModeCaptions);
  mode->addStretch(1);
  under->addLayout(env);
  under->addLayout(mode);
  under->addStretch(1);
}

template <std::size_t N>
void AddPairs(TabPages::Array<TextBox>& boxes, TabPages::Array<Slider>& sliders, QWidget* frame, QBoxLayout* row,
              const std::array<SliderPair, N>& pairs, std::initializer_list<int> indexes, int captionLines = 1,
              int width = 0) {
  for (int index : indexes) {
    const SliderPair& pair = pairs[static_cast<std::size_t>(index)];
    boxes.Add(index, NewBox(frame, pair.maxLength, false, pair.widest));
    sliders.Add(index, NewSlider(frame, Qt::Vertical, pair.min, pair.max));
    row->addLayout(SliderColumn(frame, pair.caption, &sliders(index), &boxes(index), captionLines, width));
  }
}

}  // namespace

void TabPages::BuildTone2(QWidget* page) {
  auto* layout = PageHBox(page);

  // DCA: the three modulation amounts, envelope selection, mode and auxiliary source.
  Frame* dca = NewFrame(page, "DCA");
  auto* dcaRows = VBox(dca);
  Frame* dcaMod = NewFrame(dca, "Modulation");
  AddPairs(txtDCA, sldDCA, dcaMod, TightHBox(dcaMod), kDcaPairs, {0, 1, 2}, 2);
  dcaRows->addWidget(dcaMod);
  auto* dcaUnder = new QHBoxLayout;
  AddEnvAndMode(*this, dca, dcaUnder, 0, 0);
  dcaRows->addLayout(dcaUnder);
  cboTone.Add(0, NewCombo(dca, kToneModSources));
  dcaRows->addLayout(LabelledList(dca, "Aux Source", &cboTone(0)));
  dcaRows->addStretch(1);
  layout->addWidget(dca);

  // DCF: modulation amounts, envelope amount and cutoff, envelope selection, mode, source.
  Frame* dcf = NewFrame(page, "DCF");
  auto* dcfRows = VBox(dcf);
  auto* dcfTop = new QHBoxLayout;
  dcfTop->setSpacing(kSpacing);
  Frame* dcfMod = NewFrame(dcf, "Modulation");
  AddPairs(txtDCF, sldDCF, dcfMod, TightHBox(dcfMod), kDcfPairs, {0, 1, 2}, 2);
  Frame* dcfEnv = NewFrame(dcf, "Envelope");
  AddPairs(txtDCF, sldDCF, dcfEnv, TightHBox(dcfEnv), kDcfPairs, {3, 4}, 2);
  dcfTop->addWidget(dcfMod);
  dcfTop->addWidget(dcfEnv);
  dcfRows->addLayout(dcfTop);
  auto* dcfUnder = new QHBoxLayout;
  AddEnvAndMode(*this, dcf, dcfUnder, 3, 2);
  dcfRows->addLayout(dcfUnder);
  cboTone.Add(1, NewCombo(dcf, kToneModSources));
  dcfRows->addLayout(LabelledList(dcf, "Aux Source", &cboTone(1)));
  dcfRows->addStretch(1);
  layout->addWidget(dcf);

  // LFO: six values and its four lists.
  Frame* lfo = NewFrame(page, "LFO");
  auto* lfoRows = VBox(lfo);
  auto* lfoTop = new QHBoxLayout;
  lfoTop->setSpacing(kSpacing);
  AddPairs(txtLFO, sldLFO, lfo, lfoTop, kLfoPairs, {0, 1, 2, 3, 4, 5}, 1, 44);
  sldLFO(5).SetValue(1);
  lfoRows->addLayout(lfoTop);
  cboTone.Add(4, NewCombo(lfo, kLfoWaveshapes));
  cboTone.Add(5, NewCombo(lfo, kToneModSources));
  cboTone.Add(6, NewCombo(lfo, kToneModSources));
  cboTone.Add(7, NewCombo(lfo, kKeyboardSources));
  auto* lists = new QGridLayout;
  lists->setSpacing(kSpacing);
  lists->addLayout(LabelledList(lfo, "Wave Shape", &cboTone(4)), 0, 0);
  lists->addLayout(LabelledList(lfo, "Quant Source", &cboTone(7)), 0, 1);
  lists->addLayout(LabelledList(lfo, "Source 1", &cboTone(5)), 1, 0);
  lists->addLayout(LabelledList(lfo, "Source 2", &cboTone(6)), 1, 1);
  lfoRows->addLayout(lists);
  lfoRows->addStretch(1);
  layout->addWidget(lfo);
  layout->addStretch(1);
}

namespace {

// One modulation input of the DCO or pan: its amount over the mode pairs (and selection set).
struct InputSpec {
  std::string_view caption;            // "Velocity", "LFO", "Auxiliary", "Envelope"
  int amount;                          // index of the amount pair
  std::initializer_list<int> pairs;    // first members of the mode pairs, top to bottom
  int envFirst;                        // first member of the envelope selection set, or -1
  int source;                          // cboTone member of the auxiliary source, or -1
};

void AddInput(TabPages& p, TabPages::Array<TextBox>& boxes, TabPages::Array<Slider>& sliders, QWidget* parent,
              QBoxLayout* row, const InputSpec& input, const SliderPair& amount) {
  Frame* frame = NewFrame(parent, input.caption);
  auto* rows = TightVBox(frame);
  boxes.Add(input.amount, NewBox(frame, amount.maxLength));
  sliders.Add(input.amount, NewSlider(frame, Qt::Vertical, amount.min, amount.max));
  sliders(input.amount).setFixedHeight(kShortSliderHeight);
  rows->addLayout(SliderColumn(frame, amount.caption, &sliders(input.amount), &boxes(input.amount)));
  for (int first : input.pairs) {
    auto* pair = OptionStack();
    AddOptionSet(p.optToneModMode, frame, pair, {first, first + 1}, kToneModModeCaptions);
    rows->addLayout(pair);
  }
  if (input.envFirst >= 0) {
    auto* env = OptionStack();
    AddOptionSet(p.optToneEnvSel, frame, env, {input.envFirst, input.envFirst + 1, input.envFirst + 2},
                 kToneEnvSelCaptions);
    rows->addLayout(env);
  }
  if (input.source >= 0) {
    p.cboTone.Add(input.source, NewCombo(frame, kToneModSources));
    rows->addWidget(&p.cboTone(input.source));
  }
  rows->addStretch(1);
  row->addWidget(frame);
}

}  // namespace

void TabPages::BuildTone3(QWidget* page) {
  auto* layout = PageHBox(page);

  Frame* dco = NewFrame(page, "DCO");
  auto* dcoRow = TightHBox(dco);
  const InputSpec dcoInputs[] = {
      {"Velocity", 0, {6}, -1, -1},
      {"LFO", 1, {8}, -1, -1},
      {"Auxiliary", 2, {10, 12, 4}, -1, 2},
      {"Envelope", 3, {14, 16}, 6, -1},
  };
  for (const InputSpec& input : dcoInputs)
    AddInput(*this, txtDCO, sldDCO, dco, dcoRow, input, kDcoPairs[static_cast<std::size_t>(input.amount)]);
  layout->addWidget(dco);

  Frame* pan = NewFrame(page, "Pan");
  auto* panRow = TightHBox(pan);
  const InputSpec panInputs[] = {
      {"Velocity", 1, {18}, -1, -1},
      {"LFO", 2, {20}, -1, -1},
      {"Auxiliary", 3, {22, 24, 26}, -1, 3},
      {"Envelope", 0, {28, 30}, 9, -1},
  };
  for (const InputSpec& input : panInputs)
    AddInput(*this, txtPan, sldPan, pan, panRow, input, kPanPairs[static_cast<std::size_t>(input.amount)]);
  layout->addWidget(pan);
  layout->addStretch(1);
}

}  // namespace tavoro
