#pragma once
// frmStats, "Vesk Statistics": the instrument's memory figures and, for Waves, Tones, Maps and
// Presets, the counts, number ranges and parameter memory kept from the last downloads. It sends
// nothing; two options switch the memory figures between words and bytes. The figures are a
// snapshot taken by the load: downloads while the window is open change only what a unit switch
// re-reads.

#include <string>

#include "objects/records.h"
#include "platform/controls/buttons.h"
#include "platform/controls/control_array.h"
#include "platform/controls/form.h"
#include "platform/controls/panels.h"

namespace tavoro {

class frmStats : public plat::ctl::Form {
 public:
  explicit frmStats(const ObjectStore& store, QWidget* parent = nullptr);

  void optStats_Click(int Index);
  void cmdOK_Click();

  // Half a byte count as words, in its shortest decimal form ("500.5", "500").
  static std::string WordsText(std::int32_t bytes);

  plat::ctl::Elastic* vseStats = nullptr;
  plat::ctl::ControlArray<plat::ctl::Frame> fraStats{"fraStats"};
  plat::ctl::ControlArray<plat::ctl::Label> lblStatsHdr{"lblStatsHdr"};
  plat::ctl::ControlArray<plat::ctl::Label> lblMem{"lblMem"};
  plat::ctl::ControlArray<plat::ctl::Label> lblQnt{"lblQnt"};
  plat::ctl::ControlArray<plat::ctl::Label> lblWaveHdr{"lblWaveHdr"};
  plat::ctl::ControlArray<plat::ctl::Label> lblParm{"lblParm"};
  plat::ctl::ControlArray<plat::ctl::OptionButton> optStats{"optStats"};
  plat::ctl::CommandButton* cmdOK = nullptr;

  // Base index of each kind's block (Wave, Tone, Map, Preset).
  static constexpr int kBlockBase[4] = {0, 6, 12, 18};

 private:
  void OnLoad();
  struct Kind {
    const ObjDirStatus& status;
    bool loaded;
  };
  Kind KindAt(int block) const;

  const ObjectStore& store_;
};

}  // namespace tavoro
