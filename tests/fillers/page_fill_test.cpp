// The Preset, Global (Multi and Global data) and Wave pages, and how every filler fails.
#include <functional>
#include <limits>

#include "platform/controls/panels.h"
#include "tests/fillers/filler_fixture.h"

namespace tavoro::testing {
namespace {

// A Wave's loop switch and its points, as its page shows them.
struct WavePoints {
  std::int16_t loopOn;
  std::int32_t addr, playStart, playEnd, len, loopStart, loopEnd;
};

class PageFillTest : public FillerFixture {
 protected:
  template <class F>
  void Run(F filler) {
    auto ctx = Ctx();
    ASSERT_TRUE(filler(ctx)) << LastBox();
    EXPECT_FALSE(app->flags.SuppressChange);
  }
  PresetLayer& layerA() { return store().CurPreset.Layer[0]; }
  void SetWave(const WavePoints& w) {
    store().WaveLoopOn = w.loopOn;
    WaveRecord& wv = store().CurWave;
    wv.WaveAddr = w.addr;
    wv.PlayStart = w.playStart;
    wv.PlayEnd = w.playEnd;
    wv.WaveLen = w.len;
    wv.LoopStart = w.loopStart;
    wv.LoopEnd = w.loopEnd;
  }
};

TEST_F(PageFillTest, PresetMapsPanSwitchPointsAndLayers) {
  auto& p = pages();
  auto& r = store().CurPreset;
  r.AuxCtl = {255, 0, 5};
  r.Val0 = 160;  // -96 kept as v + 256
  layerA().Val16 = 0;
  layerA().Transpose = 251;
  layerA().LayerMap = {4, 9, 0, 0};
  p.txtPreset(5).SetText("");
  p.txtPreset(7).SetText("");
  store().MapLoaded = false;
  Run(LoadPresetDisplay);
  EXPECT_EQ(p.txtPreset(25).Text(), "No Maps Loaded");
  EXPECT_FALSE(p.txtPreset(25).Enabled());
  EXPECT_EQ(p.txtPreset(8).Text(), "");
  EXPECT_FALSE(p.txtPreset(8).Enabled());
  EXPECT_EQ(p.txtPreset(5).Text(), "0");
  EXPECT_EQ(p.txtPreset(7).Text(), "1");
  EXPECT_EQ(p.txtPreset(16).Text(), "Map");
  EXPECT_EQ(p.hsldPreset(16).Value(), 0);
  EXPECT_EQ(p.cboPreset(1).Text(), "Off");
  EXPECT_EQ(p.cboPreset(2).Text(), p.cboPreset(2).List(1));
  EXPECT_EQ(p.txtPreset(0).Text(), "-96");
  EXPECT_EQ(p.sldPreset(0).Value(), -96);
  EXPECT_EQ(p.txtPreset(12).Text(), "-5");

  store().MapLoaded = true;
  store().MapDir.Entries = {Entry(0, 4, " Drums "), Entry(1, 9, "Bass")};
  p.txtPreset(7).SetText("2");
  Run(LoadPresetDisplay);
  EXPECT_TRUE(p.txtPreset(25).Enabled());
  EXPECT_EQ(p.txtPreset(8).Text(), "9");
  EXPECT_EQ(p.txtPreset(25).Text(), "Bass");

  r.Layer[1].Val16 = 226;  // -30
  store().PresetLayerSel = 1;
  Run(LoadPresetDisplay);
  EXPECT_TRUE(p.optPreset(10).Value());
  EXPECT_EQ(p.fraLayer->Caption(), "Layer B");
  EXPECT_EQ(p.txtPreset(16).Text(), "-30");
  EXPECT_EQ(p.hsldPreset(16).Value(), -30);
  EXPECT_EQ(p.txtPreset(0).Text(), "-96") << "the common fields stay";
}

TEST_F(PageFillTest, PresetSwitchPointTexts) {
  struct Case {
    std::array<std::int16_t, 3> points;
    std::array<const char*, 3> texts;
  };
  const Case cases[] = {
      {{40, 40, 0}, {">>>", "40", ">>>"}},
      {{20, 40, 60}, {"20", "40", "60"}},
      {{128, 50, 128}, {"<<<", "50", "<<<"}},
      {{0, 128, 128}, {">>>", "<<<", "<<<"}},
  };
  for (const auto& c : cases) {
    layerA().SwitchPoint = c.points;
    Run(LoadPresetDisplay);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pages().txtPreset(9 + i).Text(), c.texts[static_cast<std::size_t>(i)]);
  }
}

TEST_F(PageFillTest, GlobalData) {
  struct Case {
    std::int16_t tune;
    const char* text;
    int slider;
  };
  const Case cases[] = {{-12000, "-120", -120}, {50, "0.5", 0}, {-1250, "-12.5", -12}, {12000, "120", 120}};
  auto& g = store().GlobalData;
  g.BankName = std::string("  Bank A") + std::string(1, '\0') + "   ";
  g.MidiChannel = 0;
  g.ReceiveMode = 1;
  g.ProgChange = 1;
  g.PlaybackMode = 2;
  auto& p = pages();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    g.MasterTune = c.tune;
    Run(LoadGlobalDisplay);
    EXPECT_EQ(p.txtGlobal(9).Text(), c.text);
    EXPECT_EQ(p.sldGlobal(9).Value(), c.slider);
  }
  EXPECT_EQ(p.txtGlobal(8).Text(), std::string("Bank A") + std::string(1, '\0'));
  EXPECT_EQ(p.txtGlobal(6).Text(), "1");
  EXPECT_TRUE(p.optGlobal(9).Value());
  EXPECT_TRUE(p.optGlobal(12).Value());
  EXPECT_EQ(p.cboGlobal(0).Text(), "current edit preset");
}

TEST_F(PageFillTest, MultiGroupAndPart) {
  auto& m = store().CurMulti;
  m.PartPreset[1] = 33;
  m.PartVolume[1] = 90;
  m.Priority[0] = 3;
  m.GroupEnable = 1;
  store().PresetDir.Entries = {Entry(0, 12, "x"), Entry(1, 33, " Lead  ")};
  auto& p = pages();
  p.txtGlobal(0).SetText("");
  p.txtGlobal(2).SetText("");
  Run(LoadMultiDisplay);
  EXPECT_EQ(p.txtGlobal(0).Text(), "0");
  EXPECT_EQ(p.txtGlobal(2).Text(), "1");
  EXPECT_TRUE(p.optGlobal(3).Value());
  EXPECT_TRUE(p.optGlobal(5).Value());

  struct Case {
    std::int32_t partEnable;
    int option;
  };
  p.txtGlobal(2).SetText("2");
  for (const Case c : {Case{1, 6}, Case{2, 7}}) {
    m.PartEnable = c.partEnable;
    Run(LoadMultiDisplay);
    EXPECT_TRUE(p.optGlobal(c.option).Value()) << c.partEnable;
  }
  EXPECT_EQ(p.txtGlobal(3).Text(), "33");
  EXPECT_EQ(p.txtGlobal(4).Text(), "Lead");
  EXPECT_EQ(store().PresetDirIdx, 1);
  EXPECT_EQ(p.sldGlobal(5).Value(), 90);
  // No Presets in the instrument: the name stays, the fill completes.
  store().PresetDir = ObjDir{};
  Run(LoadMultiDisplay);
  EXPECT_EQ(p.txtGlobal(4).Text(), "Lead");
}

struct WaveCase {
  const char* what;
  WavePoints points;
  std::int32_t fract;
  std::string addrText, loopStartText, fractText;
  std::array<int, 5> bars;  // 0: not placed
};

TEST_F(PageFillTest, WaveTextsAndBars) {
  const WaveCase cases[] = {
      {"loop on", {1, 5242880, 0, 1000, 1001, 250, 750}, 0x800000, "0h", "250", "800000h", {1, 100, 33, 66, 50}},
      {"loop off", {0, 5242880 + 1024, 0, 5, 1001, 250, 750}, 0, "400h", "", "", {1, 1, 0, 0, 0}},
      {"loop off, points inside", {0, 0, 100, 1000, 2001, 0, 0}, 0, "FFB00000h", "", "", {10, 50, 0, 0, 0}},
  };
  auto& p = pages();
  auto& wv = store().CurWave;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetWave(c.points);
    wv.LoopFract = c.fract;
    Run(LoadWaveDisplay);
    EXPECT_EQ(p.txtWaveAddr->Text(), c.addrText);
    EXPECT_EQ(p.txtLoopStart->Text(), c.loopStartText);
    EXPECT_EQ(p.txtLoopFract->Text(), c.fractText);
    EXPECT_EQ(p.optLoopDis->Value(), c.points.loopOn == 0);
    EXPECT_EQ(p.optLoopFwdRev->Enabled(), c.points.loopOn == 1);
    for (int b = 0; b < 5; ++b) {
      const int bar = c.bars[static_cast<std::size_t>(b)];
      EXPECT_EQ(p.hscWave(b).Enabled(), bar != 0) << "bar " << b;
      if (bar != 0) {
        EXPECT_EQ(p.hscWave(b).Value(), bar) << "bar " << b;
      }
    }
  }
  wv.WaveNorm = -50;
  wv.WavePitch = 12799;
  wv.Checksum = -1;
  wv.FineTune = 251;  // -5 as the sender keeps it until the read-back
  for (std::int16_t count : {1, 2}) {
    store().WaveStatus.ObjCount = count;
    Run(LoadWaveDisplay);
    EXPECT_EQ(w().cmdStereoMerge->Enabled(), count > 1);
    EXPECT_EQ(w().mnuStereoMerge->isEnabled(), count > 1);
  }
  EXPECT_EQ(p.txtWaveNorm->Text(), "-0.5");
  EXPECT_EQ(p.txtWavePitch->Text(), "127.99");
  EXPECT_EQ(p.txtChecksum->Text(), "FFFFh");
  EXPECT_EQ(p.txtFineTune->Text(), "-5");
}

// A fill that fails shows its box and still lets the pages take edits afterwards. A Wave whose
// points leave a bar no room, or lie out of order, or an address below any memory fails that way
// too, never with a division by zero or an undefined conversion.
TEST_F(PageFillTest, AFailedFillReleasesSuppressChange) {
  struct Case {
    const char* box;
    std::function<void()> spoil;
    std::function<bool(EditContext&)> filler;
  };
  auto& p = pages();
  const char* const kWaveBox = "LoadWaveDisplay()\r\nError updating Wave display";
  const Case cases[] = {
      {"LoadMapDisplay()\r\nError updating Map display",
       [&] {
         store().CurMap.Zones.assign(1, MapZone{});
         store().CurZoneIdx = 5;
       },
       LoadMapDisplay},
      {"LoadPresetDisplay()\r\nError updating Preset display", [&] { p.txtPreset(5).SetText("9"); }, LoadPresetDisplay},
      {"LoadMultiDisplay()\r\nError updating Multi display", [&] { p.txtGlobal(2).SetText("17"); }, LoadMultiDisplay},
      {"LoadGlobalDisplay()\r\nError updating Global display", [&] { store().GlobalData.ProgChange = 2; },
       LoadGlobalDisplay},
      // A Wave one word long, ending beyond it.
      {kWaveBox, [&] { SetWave({0, 5242880, 0, 5, 1, 0, 0}); }, LoadWaveDisplay},
      // Play start beyond the loop start.
      {kWaveBox, [&] { SetWave({1, 5242880, 900, 1000, 1001, 250, 750}); }, LoadWaveDisplay},
      // An address below sample memory.
      {kWaveBox, [&] { SetWave({0, std::numeric_limits<std::int32_t>::min(), 0, 5, 10, 0, 0}); }, LoadWaveDisplay},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.box) + " row " + std::to_string(&c - cases));
    boxes.boxes.clear();
    c.spoil();
    auto ctx = Ctx();
    EXPECT_FALSE(c.filler(ctx));
    EXPECT_EQ(LastBox(), c.box);
    EXPECT_FALSE(app->flags.SuppressChange);
  }
}

}  // namespace
}  // namespace tavoro::testing
