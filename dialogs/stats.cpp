#include "dialogs/stats.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <array>
#include <cstdint>

namespace tavoro {

namespace {

using plat::ctl::Frame;
using plat::ctl::Label;

struct KindText {
  const char* frame;
  const char* plural;
  const char* prefix;
};
constexpr std::array<KindText, 4> kKinds = {{{"Wave", "Waves", "w#"},
                                            {"Tone", "Tones", "t#"},
                                            {"Map", "Maps", "m#"},
                                            {"Preset", "Presets", "p#"}}};

constexpr std::array<const char*, 3> kMemoryCaptions = {"Installed RAM:", "Free Sample RAM:", "Free Parameter RAM:"};
constexpr std::array<const char*, 3> kWordUnits = {"KWords", "KWords", "Words"};
constexpr std::array<const char*, 3> kByteUnits = {"KBytes", "KBytes", "Bytes"};
constexpr int kUsedRow = 4;
constexpr int kFreeRow = 5;

Label* ValueLabel(const char* placeholder, QWidget* parent) {
  auto* l = new Label(placeholder, parent);
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  l->setMinimumWidth(l->fontMetrics().horizontalAdvance("000000.5") + 4);
  return l;
}

}  // namespace

frmStats::frmStats(const ObjectStore& store, QWidget* parent) : Form(parent), store_(store) {
  setObjectName("frmStats");
  setWindowTitle("Vesk Statistics");
  auto* outer = new QVBoxLayout(this);
  vseStats = new plat::ctl::Elastic(this);
  vseStats->SetName("vseStats");
  outer->addWidget(vseStats);
  auto* grid = new QGridLayout(vseStats);

  const std::array<const char*, 6> frames = {"Global Memory", "Display Memory Stats as", "Wave", "Tone", "Map", "Preset"};
  for (int f = 0; f < 6; ++f) fraStats.Add(f, new Frame(frames[static_cast<std::size_t>(f)], vseStats));

  auto* memory = new QGridLayout(&fraStats(0));
  for (int i = 0; i < 3; ++i) {
    memory->addWidget(&lblStatsHdr.Add(i, new Label(kMemoryCaptions[static_cast<std::size_t>(i)], &fraStats(0))), i, 0);
    memory->addWidget(&lblMem.Add(i, ValueLabel("XXXXX", &fraStats(0))), i, 1);
    memory->addWidget(&lblQnt.Add(i, new Label("Words", &fraStats(0))), i, 2);
  }

  auto* units = new QHBoxLayout(&fraStats(1));
  optStats.Add(0, new plat::ctl::OptionButton("Words", &fraStats(1)));
  optStats.Add(1, new plat::ctl::OptionButton("Bytes", &fraStats(1)));
  units->addWidget(&optStats(0));
  units->addWidget(&optStats(1));
  units->addStretch(1);
  for (int i : optStats.Indexes()) optStats(i).Click = [this, i] { optStats_Click(i); };

  for (int b = 0; b < 4; ++b) {
    Frame& frame = fraStats(2 + b);
    const KindText& t = kKinds[static_cast<std::size_t>(b)];
    const std::string p = t.prefix;
    const std::array<std::string, 6> captions = {std::string(t.plural) + " Loaded:", "Lowest " + p + ":",
                                                 "Highest " + p + ":", "Highest Allowable " + p + ":",
                                                 "Parm Mem Used:", "Parm Mem Free:"};
    auto* rows = new QGridLayout(&frame);
    for (int r = 0; r < 6; ++r) {
      const int i = kBlockBase[b] + r;
      rows->addWidget(&lblWaveHdr.Add(i, new Label(captions[static_cast<std::size_t>(r)], &frame)), r, 0);
      rows->addWidget(&lblParm.Add(i, ValueLabel(r >= kUsedRow ? "XXXXX" : "XXX", &frame)), r, 1);
      if (r >= kUsedRow) rows->addWidget(&lblQnt.Add(i, new Label("Words", &frame)), r, 2);
    }
    rows->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance("KBytes"));
  }
  memory->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance("KBytes"));

  grid->addWidget(&fraStats(0), 0, 0);
  grid->addWidget(&fraStats(1), 1, 0);
  grid->addWidget(&fraStats(2), 0, 1);
  grid->addWidget(&fraStats(3), 0, 2);
  grid->addWidget(&fraStats(4), 1, 1);
  grid->addWidget(&fraStats(5), 1, 2);

  cmdOK = new plat::ctl::CommandButton("&OK", this);
  cmdOK->SetName("cmdOK");
  cmdOK->Click = [this] { cmdOK_Click(); };
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  outer->addLayout(buttons);
  Form_Load = [this] { OnLoad(); };
}

frmStats::Kind frmStats::KindAt(int block) const {
  switch (block) {
    case 0: return {store_.WaveStatus, store_.WaveLoaded};
    case 1: return {store_.ToneStatus, store_.ToneLoaded};
    case 2: return {store_.MapStatus, store_.MapLoaded};
    default: return {store_.PresetStatus, store_.PresetLoaded};
  }
}

std::string frmStats::WordsText(std::int32_t bytes) {
  const std::int64_t b = bytes;
  const std::int64_t whole = b / 2;
  if (b % 2 == 0) return std::to_string(whole);
  // An odd count: the half goes with the sign of the count ("-0.5", "500.5").
  return (b < 0 && whole == 0 ? "-" : "") + std::to_string(whole) + ".5";
}

void frmStats::OnLoad() {
  optStats(0).SetValue(true);
  for (int b = 0; b < 4; ++b) {
    const Kind k = KindAt(b);
    const int base = kBlockBase[b];
    lblParm(base).SetCaption(std::to_string(k.status.ObjCount));
    if (!k.loaded) continue;
    lblParm(base + 1).SetCaption(std::to_string(k.status.LowestNum));
    lblParm(base + 2).SetCaption(std::to_string(k.status.HighestNum));
    lblParm(base + 3).SetCaption(std::to_string(k.status.HighestAllowed));
  }
}

void frmStats::optStats_Click(int Index) {
  const bool bytes = Index == 1;
  const std::array<std::int64_t, 3> memory = {store_.WaveStatus.InstalledRam, store_.FreeRamKw,
                                              store_.WaveStatus.FreeParmRam};
  for (int i = 0; i < 3; ++i) {
    const auto u = static_cast<std::size_t>(i);
    lblMem(i).SetCaption(std::to_string(bytes ? memory[u] * 2 : memory[u]));
    lblQnt(i).SetCaption(bytes ? kByteUnits[u] : kWordUnits[u]);
  }
  for (int b = 0; b < 4; ++b) {
    const Kind k = KindAt(b);
    const int base = kBlockBase[b];
    if (!k.loaded) {
      for (int r = 1; r <= kFreeRow; ++r) lblParm(base + r).SetCaption("N/A");
      lblQnt(base + kUsedRow).SetCaption("");
      lblQnt(base + kFreeRow).SetCaption("");
      continue;
    }
    const std::int32_t used = k.status.ParmMemUsed;
    const std::int32_t free = k.status.ParmMemFree;
    lblParm(base + kUsedRow).SetCaption(bytes ? std::to_string(used) : WordsText(used));
    lblParm(base + kFreeRow).SetCaption(bytes ? std::to_string(free) : WordsText(free));
    lblQnt(base + kUsedRow).SetCaption(bytes ? "Bytes" : "Words");
    lblQnt(base + kFreeRow).SetCaption(bytes ? "Bytes" : "Words");
  }
}

void frmStats::cmdOK_Click() { Unload(); }

}  // namespace tavoro
