// The Map page filled from the current zone of the current Map, and the keyboard under it
// coloured by zone with a bracket and a numbered label for each zone.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "editing/filler_support.h"
#include "editing/note_name.h"
#include "editing/number_text.h"
#include "editing/page_fillers.h"
#include "platform/controls/keyboard.h"

namespace tavoro {

namespace {

using plat::ctl::ControlArray;
using plat::ctl::Label;
using plat::ctl::Panel3D;

constexpr long kWhite = 0xFFFFFF;
constexpr long kGrey = 0xC0C0C0;
constexpr int kSignedHighest = 127;  // transpose and pan above this show as negative
constexpr int kBracketRise = 150;    // the bracket line runs this far above the strip's bottom

std::optional<int> TagNumber(const Panel3D& key) {
  int n = 0;
  const std::string& tag = key.Tag();
  const auto [end, ec] = std::from_chars(tag.data(), tag.data() + tag.size(), n);
  if (ec != std::errc() || end != tag.data() + tag.size()) return std::nullopt;
  return n;
}

// The zones the Map holds, whatever LastZone claims.
int ZoneCount(const MapRecord& map) {
  return std::clamp(static_cast<int>(map.LastZone) + 1, 0, static_cast<int>(map.Zones.size()));
}

long ZoneColourOf(const ObjectStore& s, int zone) {
  const auto k = static_cast<std::size_t>(zone);
  return static_cast<long>(k < s.ZoneColour.size() ? s.ZoneColour[k] : kZoneColourList[k % kZoneColourList.size()]);
}

void ColourKeys(const ObjectStore& s, const PageControlLists& lists, ControlArray<Panel3D>& keys) {
  const int zones = ZoneCount(s.CurMap);
  for (int k = 0; k < plat::ctl::Keyboard::kKeys; ++k) {
    if (lists.BlackKey[static_cast<std::size_t>(k % 12)]) continue;
    Panel3D& key = keys(k);
    const auto n = TagNumber(key);
    if (!n) continue;
    long colour = kGrey;
    for (int z = 0; z < zones; ++z) {
      const MapZone& zone = s.CurMap.Zones[static_cast<std::size_t>(z)];
      if (zone.LowKey <= *n && *n <= zone.HighKey) {
        colour = z == s.CurZoneIdx ? kWhite : ZoneColourOf(s, z);
        break;
      }
    }
    key.SetBackColor(colour);
  }
}

// Where the keyboard stands: the keys shown, their sizes and the strip's bracket height.
struct Geometry {
  ControlArray<Panel3D>& keys;
  int octave;
  int first, last;        // notes of the leftmost and rightmost key
  int left, right;        // the keyboard's ends on the strip
  int whiteWidth, blackWidth;
  int y, bottom;

  // Left of the key of note n, when that key is on the keyboard.
  std::optional<int> KeyLeft(int n) const {
    const int panel = n - 12 * octave;
    if (panel < 0 || panel >= plat::ctl::Keyboard::kKeys || !keys.Exists(panel)) return std::nullopt;
    return keys(panel).Left();
  }
  // The left edge of key lo: a white key with a black key to its left starts where that one ends.
  std::optional<int> LeftEdge(int lo) const {
    switch (lo % 12) {
      case 2: case 4: case 7: case 9: case 11: {
        const auto l = KeyLeft(lo - 1);
        return l ? std::optional<int>(*l + blackWidth) : std::nullopt;
      }
      default: return KeyLeft(lo);
    }
  }
  // The right edge of key hi: a white key with a black key to its right ends where that begins.
  std::optional<int> RightEdge(int hi) const {
    const auto l = KeyLeft(hi);
    if (!l) return std::nullopt;
    switch (hi % 12) {
      case 0: case 2: case 5: case 7: case 9:
        if (hi >= 127) return *l + whiteWidth;
        return KeyLeft(hi + 1);
      case 1: case 3: case 6: case 8: case 10: return *l + blackWidth;
      default: return *l + whiteWidth;
    }
  }
};

void Tick(plat::ctl::PictureBox& pic, const Geometry& g, int x) { pic.Line(x, g.y, x, g.bottom, kWhite); }

// One zone's bracket; returns the ends of its line, or nothing when the zone is not in view.
std::optional<std::pair<int, int>> DrawZone(plat::ctl::PictureBox& pic, const Geometry& g, int lo, int hi,
                                            bool contiguous) {
  if (g.first <= lo && g.last >= hi) {
    const auto xl = g.LeftEdge(lo), xr = g.RightEdge(hi);
    if (!xl || !xr) return std::nullopt;
    if (!contiguous) Tick(pic, g, *xl);
    Tick(pic, g, *xr);
    pic.Line(*xl, g.y, *xr, g.y, kWhite);
    return std::pair{*xl, *xr};
  }
  if (g.first > lo && g.last < hi) {
    pic.Line(g.left, g.y, g.right, g.y, kWhite);
    return std::pair{g.left, g.right};
  }
  if (lo < g.first && g.first <= hi) {
    const auto xr = g.RightEdge(hi);
    if (!xr) return std::nullopt;
    pic.Line(g.left, g.y, *xr, g.y, kWhite);
    Tick(pic, g, *xr);
    return std::pair{g.left, *xr};
  }
  if (lo <= g.last && g.last < hi) {
    const auto xl = g.LeftEdge(lo);
    if (!xl) return std::nullopt;
    if (!contiguous) Tick(pic, g, *xl);
    pic.Line(*xl, g.y, g.right, g.y, kWhite);
    return std::pair{*xl, g.right};
  }
  return std::nullopt;
}

void PlaceLabel(ControlArray<Label>& labels, const Geometry& g, int zone, std::pair<int, int> x) {
  Label& label = zone == 0 ? labels(0) : labels.Load(zone);
  label.SetWidth(zone <= 9 ? 120 : 240);
  label.SetCaption(std::to_string(zone));
  label.SetTop(g.y - label.Height() / 2);
  label.SetLeft(static_cast<int>(std::lround(x.first + (x.second - x.first) / 2.0 - label.Width() / 2.0)));
  label.SetVisible(true);
}

void HideLabels(ControlArray<Label>& labels) {
  for (int index : labels.Indexes()) {
    if (index == 0)
      labels(0).SetVisible(false);
    else
      labels.Unload(index);
  }
}

}  // namespace

void Plot_MapZones(const EditorView& view, const ObjectStore& store, const PageControlLists& lists) {
  auto& labels = fill::Need(view.lblZone, "lblZone");
  auto& pic = fill::Need(view.picMap, "picMap");
  HideLabels(labels);
  // Nothing of a Map to draw (none loaded, or none read yet): an empty strip, keys as they are.
  const MapRecord& map = store.CurMap;
  const int zones = ZoneCount(map);
  if (!store.MapLoaded || zones == 0) {
    pic.Cls();
    return;
  }
  auto& keys = fill::Need(view.pnlKey, "pnlKey");
  ColourKeys(store, lists, keys);

  const auto first = TagNumber(keys(0));
  const auto last = TagNumber(keys(plat::ctl::Keyboard::kKeys - 1));
  const int bottom = pic.Height();
  Geometry g{keys,
             fill::Need(view.hsbKey, "hsbKey").Value(),
             first.value_or(0),
             last.value_or(0),
             keys(0).Left(),
             keys(plat::ctl::Keyboard::kKeys - 1).Left() + keys(0).Width(),
             keys(0).Width(),
             keys(1).Width(),
             bottom - kBracketRise,
             bottom};
  pic.Cls();
  if (!first || !last) return;
  for (int z = 0; z < zones; ++z) {
    const MapZone& zone = map.Zones[static_cast<std::size_t>(z)];
    const bool contiguous = z > 0 && zone.LowKey == map.Zones[static_cast<std::size_t>(z - 1)].HighKey + 1;
    const auto x = DrawZone(pic, g, zone.LowKey, zone.HighKey, contiguous);
    if (x && zone.HighKey - zone.LowKey > 0) PlaceLabel(labels, g, z, *x);
  }
}

void Plot_MapZones(EditContext& ctx) { Plot_MapZones(ctx.view, ctx.store, ctx.lists); }

namespace {

void ShowZone(EditContext& ctx, TabPages& p) {
  ObjectStore& s = ctx.store;
  const MapZone& z = s.CurMap.Zones.at(static_cast<std::size_t>(s.CurZoneIdx));
  fill::ShowNumber(p.txtMap(0), s.CurZoneIdx);
  // A Tone missing from the directory (or no Tones at all) leaves the name as it was.
  if (const DirEntry* e = fill::ShowUsedObject(p.txtMap(1), p.txtMap(2), s.ToneDir, z.ToneNum)) {
    s.ZoneToneEntry = e->Index;
  }
  fill::ShowNumber(p.txtMap(3), z.LowKey);
  p.txtMap(5).SetText(NoteName(z.LowKey));
  fill::ShowNumber(p.txtMap(4), z.HighKey);
  p.txtMap(6).SetText(NoteName(z.HighKey));
  fill::ShowNumber(p.txtMap(8), fill::Signed(z.Transpose, kSignedHighest));
  fill::ShowPair(p.txtMap(7), p.sldMap(7), z.Volume);
  fill::ShowPair(p.txtMap(9), p.sldMapH(9), fill::Signed(z.Pan, kSignedHighest));
  if (z.Output == 0 || z.Output == 1) p.optMap(z.Output).SetValue(true);
  if (z.KeyMode == 0) p.optMap(2).SetValue(true);
  if (z.KeyMode == 8) p.optMap(3).SetValue(true);
  fill::ShowNumber(p.txtMap(10), z.GroupByte & 15);
  const int kind = (z.GroupByte & 0xF0) >> 4;
  if (kind == 0) p.optMap(5).SetValue(true);
  if (kind == 1) p.optMap(4).SetValue(true);
}

}  // namespace

bool LoadMapDisplay(EditContext& ctx) {
  return fill::Fill(ctx, "LoadMapDisplay()", "Error updating Map display", [&] {
    TabPages& p = fill::Pages(ctx);
    fill::Need(ctx.view.txtObjectName, "txtObjectName").SetLocked(false);
    fill::EnableAll(ctx.lists.MapControls);
    ShowZone(ctx, p);
    if (ctx.host != nullptr)
      ctx.host->hsbKey_Change();
    else
      Plot_MapZones(ctx);
    fill::ShowAllAsHeld(ctx.lists.MapControls);
  });
}

}  // namespace tavoro
