// The Global page: its Multi half (the group and part the page's selectors choose) and its
// Global data half.
#include "editing/filler_support.h"
#include "editing/number_text.h"
#include "editing/page_fillers.h"
#include "platform/controls/lists.h"

namespace tavoro {

bool LoadMultiDisplay(EditContext& ctx) {
  return fill::Fill(ctx, "LoadMultiDisplay()", "Error updating Multi display", [&] {
    TabPages& p = fill::Pages(ctx);
    ObjectStore& s = ctx.store;
    const MultiRecord& m = s.CurMulti;
    fill::Need(ctx.view.txtObjectName, "txtObjectName").SetLocked(false);
    fill::Need(ctx.view.txtObjectNum, "txtObjectNum").SetLocked(false);
    fill::EnableAll(ctx.lists.MultiControls);

    const int g = fill::Selector(p.txtGlobal(0), 0, 0, 7);
    const auto gi = static_cast<std::size_t>(g);
    fill::ShowNumber(p.txtGlobal(1), m.MaxPolyphony[gi]);
    fill::SelectOption(p.optGlobal, 0, 4, m.Priority[gi], true);
    p.optGlobal((m.GroupEnable >> g) & 1 ? 5 : 4).SetValue(true);

    const int part = fill::Selector(p.txtGlobal(2), 1, 1, 16);
    const auto pi = static_cast<std::size_t>(part - 1);
    p.optGlobal((m.PartEnable >> (part - 1)) & 1 ? 7 : 6).SetValue(true);

    fill::ShowNumber(p.txtGlobal(3), m.PartPreset[pi]);
    // A Preset missing from the directory (or no Presets at all) leaves the name as it was.
    if (const DirEntry* e = fill::FindEntry(s.PresetDir, m.PartPreset[pi])) {
      p.txtGlobal(4).SetText(Trim(e->Name));
      s.PresetDirIdx = e->Index;
    }
    fill::ShowPair(p.txtGlobal(5), p.sldGlobal(5), m.PartVolume[pi]);
    fill::ShowAllAsHeld(ctx.lists.MultiControls);
  });
}

bool LoadGlobalDisplay(EditContext& ctx) {
  return fill::Fill(ctx, "LoadGlobalDisplay()", "Error updating Global display", [&] {
    TabPages& p = fill::Pages(ctx);
    const GlobalRecord& gd = ctx.store.GlobalData;
    fill::EnableAll(ctx.lists.GlobalControls);
    p.txtGlobal(8).SetText(Trim(gd.BankName));
    fill::SelectOption(p.optGlobal, 8, 3, gd.ReceiveMode, true);
    fill::ShowNumber(p.txtGlobal(6), gd.MidiChannel + 1);
    fill::ShowPair(p.txtGlobal(7), p.sldGlobal(7), gd.OmniPolyVolume);
    fill::SelectOption(p.optGlobal, 11, 2, gd.ProgChange, true);
    auto& mode = p.cboGlobal(0);
    mode.SetText(mode.List(gd.PlaybackMode));
    const float tune = static_cast<float>(gd.MasterTune) / 100.0f;
    p.txtGlobal(9).SetText(SingleText(tune));
    p.sldGlobal(9).SetValue(static_cast<int>(RoundHalfEven(tune)));
    fill::ShowAllAsHeld(ctx.lists.GlobalControls);
  });
}

}  // namespace tavoro
