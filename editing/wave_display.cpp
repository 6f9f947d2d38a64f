// The Wave page filled from the current Wave: its fields in the page's formats, the loop options,
// the five bars that place the play and loop points between their neighbours, and stereo merge.
#include <cmath>
#include <cstdint>
#include <limits>

#include "editing/filler_support.h"
#include "editing/number_text.h"
#include "editing/page_fillers.h"

namespace tavoro {

namespace {

using plat::ctl::TextBox;

constexpr std::int64_t kSampleBase = 5242880;  // 500000h, where sample memory starts
constexpr double kFractionFull = 16777215;     // FFFFFFh
constexpr int kSignedHighest = 127;            // the fine tune's highest positive byte

// A point's place between its neighbours in percent, 1 to 100: Int(part / whole x 100), raised
// to 1. A whole of 0, or a place beyond 100 (points out of order), is a failure.
int BarPosition(std::int64_t part, std::int64_t whole) {
  if (whole == 0) throw std::runtime_error("a Wave point has no room between its neighbours");
  const double q = std::floor(static_cast<double>(part) / static_cast<double>(whole) * 100.0);
  if (!std::isfinite(q) || q > 100) throw std::runtime_error("a Wave point lies outside its neighbours");
  return q < 1 ? 1 : static_cast<int>(q);
}

std::string AddressText(std::int32_t addr) {
  const std::int64_t d = static_cast<std::int64_t>(addr) - kSampleBase;
  if (d < std::numeric_limits<std::int32_t>::min()) throw std::runtime_error("Wave address below sample memory");
  return HexText(static_cast<std::int32_t>(d)) + "h";
}

std::string HundredthsText(std::int16_t v) { return SingleText(static_cast<float>(v) / 100.0f); }

void PlaceBarsLoopOn(const WaveRecord& w, TabPages& p) {
  const std::int64_t ps = w.PlayStart, pe = w.PlayEnd, len = w.WaveLen, ls = w.LoopStart, le = w.LoopEnd;
  int bar;
  if (ps == 0) bar = 1;
  else if (ps == ls) bar = 100;
  else bar = BarPosition(ps, ls);
  p.hscWave(0).SetValue(bar);

  if (pe == 0 || pe == le) bar = 1;
  else if (pe == len - 1) bar = 100;
  else bar = BarPosition(pe - le, len - 1 - le);
  p.hscWave(1).SetValue(bar);

  if (ls == ps) bar = 1;
  else if (ls == pe) bar = 100;
  else bar = BarPosition(ls - ps, le - ps);
  p.hscWave(2).SetValue(bar);

  if (le == ls) bar = 1;
  else if (le == pe) bar = 100;
  else bar = BarPosition(le - ls, pe - ls);
  p.hscWave(3).SetValue(bar);

  if (w.LoopFract == 0) bar = 1;
  else bar = BarPosition(w.LoopFract, static_cast<std::int64_t>(kFractionFull));
  p.hscWave(4).SetValue(bar);
}

void PlaceBarsLoopOff(const WaveRecord& w, TabPages& p) {
  const std::int64_t ps = w.PlayStart, pe = w.PlayEnd, len = w.WaveLen;
  int bar;
  if (ps == 0) bar = 1;
  else if (ps == pe - 1) bar = 100;
  else bar = BarPosition(ps, pe);
  p.hscWave(0).SetValue(bar);

  if (pe == ps + 1) bar = 1;
  else if (pe == len - 1) bar = 100;
  else bar = BarPosition(pe, len - 1);
  p.hscWave(1).SetValue(bar);
}

void ShowLoopOptions(const ObjectStore& s, TabPages& p) {
  if (s.WaveLoopOn == 1) {
    fill::Need(p.optLoopEnb, "optLoopEnb").SetValue(true);
    (s.WaveLoopDir == 1 ? fill::Need(p.optLoopFwdRev, "optLoopFwdRev") : fill::Need(p.optLoopFwdOnly, "optLoopFwdOnly"))
        .SetValue(true);
    return;
  }
  fill::Need(p.optLoopDis, "optLoopDis").SetValue(true);
  fill::Need(p.optLoopFwdOnly, "optLoopFwdOnly").SetEnabled(false);
  fill::Need(p.optLoopFwdRev, "optLoopFwdRev").SetEnabled(false);
  for (int bar = 2; bar <= 4; ++bar) p.hscWave(bar).SetEnabled(false);
}

void Show(TextBox* box, const char* name, const std::string& text) { fill::Need(box, name).SetText(text); }

}  // namespace

bool LoadWaveDisplay(EditContext& ctx) {
  return fill::Fill(ctx, "LoadWaveDisplay()", "Error updating Wave display", [&] {
    TabPages& p = fill::Pages(ctx);
    const ObjectStore& s = ctx.store;
    const WaveRecord& w = s.CurWave;
    fill::Need(ctx.view.txtObjectName, "txtObjectName").SetLocked(false);
    fill::EnableAll(ctx.lists.WaveControls);
    ShowLoopOptions(s, p);

    Show(p.txtWaveMode, "txtWaveMode", s.WaveStereo == 1 ? "Stereo" : "Mono");
    Show(p.txtFineTune, "txtFineTune", std::to_string(fill::Signed(w.FineTune, kSignedHighest)));
    Show(p.txtWaveAddr, "txtWaveAddr", AddressText(w.WaveAddr));
    Show(p.txtWaveSize, "txtWaveSize", std::to_string(w.WaveSize));
    Show(p.txtChecksum, "txtChecksum", HexText(w.Checksum) + "h");
    Show(p.txtPlayStart, "txtPlayStart", std::to_string(w.PlayStart));
    Show(p.txtPlayEnd, "txtPlayEnd", std::to_string(w.PlayEnd));
    Show(p.txtWaveLen, "txtWaveLen", std::to_string(w.WaveLen));
    if (s.WaveLoopOn == 1) {
      Show(p.txtLoopStart, "txtLoopStart", std::to_string(w.LoopStart));
      Show(p.txtLoopEnd, "txtLoopEnd", std::to_string(w.LoopEnd));
      Show(p.txtLoopFract, "txtLoopFract", HexText(w.LoopFract) + "h");
      PlaceBarsLoopOn(w, p);
    } else {
      Show(p.txtLoopStart, "txtLoopStart", "");
      Show(p.txtLoopEnd, "txtLoopEnd", "");
      Show(p.txtLoopFract, "txtLoopFract", "");
      PlaceBarsLoopOff(w, p);
    }
    Show(p.txtSampPeriod, "txtSampPeriod", std::to_string(w.SampPeriod));
    Show(p.txtWaveNorm, "txtWaveNorm", HundredthsText(w.WaveNorm));
    Show(p.txtWavePitch, "txtWavePitch", HundredthsText(w.WavePitch));
    fill::ShowAllAsHeld(ctx.lists.WaveControls);

    const bool merge = s.WaveStatus.ObjCount > 1;
    if (ctx.host != nullptr) {
      ctx.host->SetCommandEnabled(StartupHost::Command::StereoMerge, merge);
      ctx.host->SetCommandEnabled(StartupHost::Command::StereoMergeMenu, merge);
    }
  });
}

}  // namespace tavoro
