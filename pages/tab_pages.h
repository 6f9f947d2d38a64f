#pragma once
// The controls of the main window's eight tab pages, "Preset1|Preset2|Map|Tone1|Tone2|Tone3|
// Wave|Global", each page laid out on its own backdrop `vseTabStrip`(0..7).
//
// Every control is a member under the name the window's code knows it by: single controls as
// pointers (`txtEnv1Att`), control arrays as ControlArray members reached by Index (`txtDCA(2)`,
// `cboPreset(4)`; sparse where an array has gaps, `sldPreset` 0, 1, 4, 12, 17-24). One object
// holds all eight pages because several arrays span pages (`optToneModMode`, `cboTone`,
// `txtPreset`). Each control carries its Name, Index and Tag ("txt", "sld", "spn", "opt", "cbo",
// "hsc"), and its range, list entries, captions, MaxLength and Locked state as the window
// designs them. No handler is connected here.
//
// The backdrops are made without a parent (or with the one given) and are meant to be put under
// the tab strip's tabs (`IndexTab::SetPage(i, &vseTabStrip(i))`); whatever owns them then, a
// backdrop that still has no parent when TabPages goes is deleted with it.

#include <QPointer>
#include <array>

#include "platform/controls/buttons.h"
#include "platform/controls/control_array.h"
#include "platform/controls/lists.h"
#include "platform/controls/panels.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/range_controls.h"
#include "platform/controls/spin_button.h"
#include "platform/controls/text_box.h"

namespace tavoro {

class TabPages {
 public:
  using TextBox = plat::ctl::TextBox;
  using Slider = plat::ctl::Slider;
  using ScrollBar = plat::ctl::ScrollBar;
  using SpinButton = plat::ctl::SpinButton;
  using OptionButton = plat::ctl::OptionButton;
  using ComboBox = plat::ctl::ComboBox;
  using Label = plat::ctl::Label;
  using Frame = plat::ctl::Frame;
  using PictureBox = plat::ctl::PictureBox;
  using Elastic = plat::ctl::Elastic;
  template <class T>
  using Array = plat::ctl::ControlArray<T>;

  // Tab numbers of the pages.
  enum Tab : int { kPreset1 = 0, kPreset2, kMap, kTone1, kTone2, kTone3, kWave, kGlobal, kTabCount };

  explicit TabPages(QWidget* parent = nullptr);
  ~TabPages();
  TabPages(const TabPages&) = delete;
  TabPages& operator=(const TabPages&) = delete;

  // The pages' backdrops, one per tab.
  Array<Elastic> vseTabStrip{"vseTabStrip"};

  // ---- Preset1 and Preset2 ----------------------------------------------------------------
  Array<ComboBox> cboPreset{"cboPreset"};        // 0-6
  Array<TextBox> txtPreset{"txtPreset"};         // 0-25
  Array<Slider> sldPreset{"sldPreset"};          // 0, 1, 4, 12, 17-24 (vertical)
  Array<Slider> hsldPreset{"hsldPreset"};        // 16 (horizontal, reversed range)
  Array<SpinButton> spnPreset{"spnPreset"};      // 2, 5-11, 13, 14
  Array<OptionButton> optPreset{"optPreset"};    // 0-10
  Frame* fraLayer = nullptr;                     // "Layer A" / "Layer B"

  // ---- Map ---------------------------------------------------------------------------------
  Array<TextBox> txtMap{"txtMap"};               // 0-10
  Array<SpinButton> spnMap{"spnMap"};            // 0, 1, 3, 4, 8, 10
  Array<Slider> sldMap{"sldMap"};                // 7 (vertical)
  Array<Slider> sldMapH{"sldMapH"};              // 9 (horizontal)
  Array<OptionButton> optMap{"optMap"};          // 0-5

  // ---- Tone1, Tone2 and Tone3 --------------------------------------------------------------
  TextBox* txtEnv1Att = nullptr;
  TextBox* txtEnv1Sus = nullptr;
  TextBox* txtEnv1Dec = nullptr;
  TextBox* txtEnv1Rel = nullptr;
  TextBox* txtEnv2Att = nullptr;
  TextBox* txtEnv2Sus = nullptr;
  TextBox* txtEnv2Dec = nullptr;
  TextBox* txtEnv2Rel = nullptr;
  Slider* sldEnv1Att = nullptr;
  Slider* sldEnv1Sus = nullptr;
  Slider* sldEnv1Dec = nullptr;
  Slider* sldEnv1Rel = nullptr;
  Slider* sldEnv2Att = nullptr;
  Slider* sldEnv2Sus = nullptr;
  Slider* sldEnv2Dec = nullptr;
  Slider* sldEnv2Rel = nullptr;
  PictureBox* picEnv1 = nullptr;                 // drawn in pixels
  PictureBox* picEnv2 = nullptr;
  Label* lblEnv1Mode = nullptr;
  Label* lblEnv2Mode = nullptr;
  Array<TextBox> txtDCA{"txtDCA"};               // 0-2
  Array<Slider> sldDCA{"sldDCA"};
  Array<TextBox> txtDCF{"txtDCF"};               // 0-4
  Array<Slider> sldDCF{"sldDCF"};
  Array<TextBox> txtDCO{"txtDCO"};               // 0-3
  Array<Slider> sldDCO{"sldDCO"};
  Array<TextBox> txtLFO{"txtLFO"};               // 0-5
  Array<Slider> sldLFO{"sldLFO"};
  Array<TextBox> txtPan{"txtPan"};               // 0-3
  Array<Slider> sldPan{"sldPan"};
  Array<OptionButton> optToneEnvSel{"optToneEnvSel"};    // 0-11, four sets of three
  Array<OptionButton> optToneModMode{"optToneModMode"};  // 0-31, sixteen pairs
  Array<ComboBox> cboTone{"cboTone"};            // 0-7
  Array<TextBox> txtTone{"txtTone"};             // 0 Wave number, 1 Wave name
  Array<SpinButton> spnTone{"spnTone"};          // 0

  // ---- Wave --------------------------------------------------------------------------------
  TextBox* txtPlayStart = nullptr;
  TextBox* txtPlayEnd = nullptr;
  TextBox* txtLoopStart = nullptr;
  TextBox* txtLoopEnd = nullptr;
  TextBox* txtLoopFract = nullptr;
  TextBox* txtWavePitch = nullptr;
  TextBox* txtWaveNote = nullptr;
  TextBox* txtFineTune = nullptr;
  TextBox* txtWaveMode = nullptr;
  TextBox* txtWaveAddr = nullptr;
  TextBox* txtWaveSize = nullptr;
  TextBox* txtChecksum = nullptr;
  TextBox* txtWaveLen = nullptr;
  TextBox* txtSampPeriod = nullptr;
  TextBox* txtWaveNorm = nullptr;
  SpinButton* spnPlayStart = nullptr;
  SpinButton* spnPlayEnd = nullptr;
  SpinButton* spnLoopStart = nullptr;
  SpinButton* spnLoopEnd = nullptr;
  SpinButton* spnLoopFract = nullptr;
  SpinButton* spnFineTune = nullptr;
  SpinButton* spnWavePitch = nullptr;
  Array<ScrollBar> hscWave{"hscWave"};           // 0-4
  OptionButton* optLoopEnb = nullptr;
  OptionButton* optLoopDis = nullptr;
  OptionButton* optLoopFwdOnly = nullptr;
  OptionButton* optLoopFwdRev = nullptr;

  // ---- Global (the Multi and the Global data) ----------------------------------------------
  Array<TextBox> txtGlobal{"txtGlobal"};         // 0-9
  Array<SpinButton> spnGlobal{"spnGlobal"};      // 0, 1, 2, 3, 6
  Array<Slider> sldGlobal{"sldGlobal"};          // 5, 7, 9
  Array<OptionButton> optGlobal{"optGlobal"};    // 0-12
  Array<ComboBox> cboGlobal{"cboGlobal"};        // 0

 private:
  void BuildPreset1(QWidget* page);
  void BuildPreset2(QWidget* page);
  void BuildMap(QWidget* page);
  void BuildTone1(QWidget* page);
  void BuildTone2(QWidget* page);
  void BuildTone3(QWidget* page);
  void BuildWave(QWidget* page);
  void BuildGlobal(QWidget* page);

  std::array<QPointer<QWidget>, kTabCount> backdrops_;
};

}  // namespace tavoro
