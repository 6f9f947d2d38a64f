// The Preset pages filled from the current Preset: its common fields and those of the layer
// PresetLayerSel chooses, with the allocation group and layer-map entry the page keeps.
#include <optional>

#include "editing/filler_support.h"
#include "editing/note_name.h"
#include "editing/number_text.h"
#include "editing/page_fillers.h"
#include "platform/controls/lists.h"
#include "platform/controls/panels.h"

namespace tavoro {

namespace {

using plat::ctl::ComboBox;
using plat::ctl::TextBox;

// A Preset's signed field reads back as -127..128; above 128 it is a value kept as v + 256.
constexpr int kSignedHighest = 128;
constexpr std::int16_t kAuxOff = 255;

int Signed(int v) { return fill::Signed(v, kSignedHighest); }

void ShowEntry(ComboBox& combo, int index) { combo.SetText(combo.List(index)); }

void ShowPresetPair(TabPages& p, int index, int v) { fill::ShowPair(p.txtPreset(index), p.sldPreset(index), v); }

// A switch point: 128 is "<<<"; 0, or equal to the next point, is ">>>".
std::string SwitchText(int s, std::optional<int> next) {
  if (s == 128) return "<<<";
  if (s == 0 || (next && s == *next)) return ">>>";
  return std::to_string(s);
}

void ShowCommon(const PresetRecord& r, TabPages& p) {
  ShowEntry(p.cboPreset(0), r.PresetMode);
  for (int n = 0; n < 3; ++n) {
    const int aux = r.AuxCtl[static_cast<std::size_t>(n)];
    ShowEntry(p.cboPreset(n + 1), aux == kAuxOff ? 0 : aux + 1);
  }
  ShowPresetPair(p, 0, Signed(r.Val0));
  ShowPresetPair(p, 1, Signed(r.Val1));
  ShowEntry(p.cboPreset(4), r.ModSource);
  ShowEntry(p.cboPreset(5), r.XfadeCtlr);
  fill::ShowNumber(p.txtPreset(2), r.PivotPoint);
  p.txtPreset(3).SetText(NoteName(r.PivotPoint));
  ShowPresetPair(p, 4, r.Val4);
}

void ShowGroup(const PresetRecord& r, TabPages& p) {
  const int g = fill::Selector(p.txtPreset(5), 0, 0, 7);
  const auto gi = static_cast<std::size_t>(g);
  fill::ShowNumber(p.txtPreset(6), r.MaxPolyphony[gi]);
  fill::SelectOption(p.optPreset, 0, 4, r.Priority[gi], true);
  p.optPreset((r.GroupEnable & (1 << g)) > 0 ? 5 : 4).SetValue(true);
}

void ShowLayerMap(const ObjectStore& s, const PresetLayer& layer, TabPages& p) {
  TextBox& entry = p.txtPreset(7);
  if (entry.Text().empty()) entry.SetText("1");
  TextBox& map = p.txtPreset(8);
  TextBox& name = p.txtPreset(25);
  if (!s.MapLoaded) {
    fill::ShowNoneLoaded(map, name, "No Maps Loaded");
    return;
  }
  const int e = fill::Selector(entry, 1, 1, 4);
  fill::ShowUsedObject(map, name, s.MapDir, layer.LayerMap[static_cast<std::size_t>(e - 1)]);
}

void ShowLayer(const PresetLayer& l, TabPages& p) {
  ShowEntry(p.cboPreset(6), l.MapSwitchCtlr);
  p.txtPreset(9).SetText(SwitchText(l.SwitchPoint[0], l.SwitchPoint[1]));
  p.txtPreset(10).SetText(SwitchText(l.SwitchPoint[1], l.SwitchPoint[2]));
  p.txtPreset(11).SetText(SwitchText(l.SwitchPoint[2], std::nullopt));
  ShowPresetPair(p, 12, Signed(l.Transpose));
  fill::ShowNumber(p.txtPreset(13), Signed(l.Val13));
  fill::SelectOption(p.optPreset, 6, 3, l.Output, true);
  fill::ShowNumber(p.txtPreset(14), l.Val14);
  p.txtPreset(15).SetText(NoteName(l.Val14));
  const int pan = Signed(l.Val16);
  p.txtPreset(16).SetText(pan == 0 ? std::string("Map") : std::to_string(pan));
  p.hsldPreset(16).SetValue(pan);
  ShowPresetPair(p, 17, Signed(l.Val17));
  ShowPresetPair(p, 18, Signed(l.Val18));
  ShowPresetPair(p, 19, Signed(l.Val19));
  ShowPresetPair(p, 20, Signed(l.Val20));
  ShowPresetPair(p, 21, Signed(l.Val21));
  ShowPresetPair(p, 22, Signed(l.Val22));
  ShowPresetPair(p, 23, Signed(l.Val23));
  ShowPresetPair(p, 24, l.Val24);
}

}  // namespace

bool LoadPresetDisplay(EditContext& ctx) {
  return fill::Fill(ctx, "LoadPresetDisplay()", "Error updating Preset display", [&] {
    TabPages& p = fill::Pages(ctx);
    const ObjectStore& s = ctx.store;
    fill::Need(ctx.view.txtObjectName, "txtObjectName").SetLocked(false);
    fill::EnableAll(ctx.lists.PresetControls);
    const int sel = s.PresetLayerSel;
    if (sel != 0 && sel != 1) throw std::runtime_error("no layer " + std::to_string(sel));
    const PresetLayer layer = s.CurPreset.Layer[static_cast<std::size_t>(sel)];
    p.optPreset(sel == 0 ? 9 : 10).SetValue(true);
    fill::Need(p.fraLayer, "fraLayer").SetCaption(sel == 0 ? "Layer A" : "Layer B");
    ShowCommon(s.CurPreset, p);
    ShowGroup(s.CurPreset, p);
    ShowLayerMap(s, layer, p);
    ShowLayer(layer, p);
    fill::ShowAllAsHeld(ctx.lists.PresetControls);
  });
}

}  // namespace tavoro
