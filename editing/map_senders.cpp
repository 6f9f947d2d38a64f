#include "editing/map_senders.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>

#include "editing/note_name.h"
#include "editing/number_text.h"
#include "editing/page_fillers.h"
#include "editing/sender_support.h"
#include "link/link.h"
#include "objects/transfer.h"
#include "platform/controls/range_controls.h"

namespace tavoro {

namespace {

using plat::ctl::Control;
using plat::ctl::TextBox;

constexpr int kLowKeyBox = 3, kHighKeyBox = 4, kLowNameBox = 5, kHighNameBox = 6, kVolumeBox = 7, kTransposeBox = 8,
              kPanBox = 9, kGroupBox = 10;

class MapSender {
 public:
  MapSender(EditContext& ctx, TextBox& txt, Control& sld, std::int16_t MapZone::*field, bool isSigned)
      : ctx_(ctx), f_(ctx.flags), txt_(txt), sld_(sld), field_(field), signed_(isSigned), index_(txt.Index()) {}

  // The value to send, or nothing when the commit ends here.
  std::optional<std::int16_t> Take() {
    if ((field_ == nullptr) != (index_ == 0)) throw std::invalid_argument("txtMap box without its zone field");
    const bool enter = f_.LastKeyAscii == kKeyEnter;
    if (txt_.Text().empty() && enter) return Refuse(Stored());
    if (signed_ && enter) {
      if (txt_.Text() == "-") return Refuse(Stored());
      if (const auto typed = ParseInt16(txt_.Text())) {
        if (index_ == kPanBox && *typed > 99) WriteByProgram(f_, txt_, "99");
        // The spin button's own bounds: nothing wraps to the other sign.
        if (index_ == kTransposeBox && *typed > 127) WriteByProgram(f_, txt_, "127");
        if (index_ == kTransposeBox && *typed < -127) WriteByProgram(f_, txt_, "-127");
      }
    }
    if (!enter && !IsActiveControl(txt_, sld_)) return std::nullopt;
    std::int16_t v = BoxNumber(txt_);
    if (signed_ && v < 0) v = static_cast<std::int16_t>(v + 256);
    switch (index_) {
      case 0: return SelectZone(v);
      case kLowKeyBox: return LowKey(v);
      case kHighKeyBox: return HighKey(v);
      case kVolumeBox:
      case kPanBox:
        if (enter) {
          if (auto* slider = dynamic_cast<plat::ctl::Slider*>(&sld_)) slider->SetValue(v > 127 ? v - 256 : v);
        }
        return v;
      case kGroupBox:
        if (v > 7) {
          WriteByProgram(f_, txt_, "7");
          v = 7;
        }
        // The high nibble (normal or exclusive) stays as it is.
        return static_cast<std::int16_t>((zone().GroupByte & 0xF0) | v);
      default: return v;
    }
  }

  std::int16_t Stored() { return field_ == nullptr ? ctx_.store.CurZoneIdx : zone().*field_; }

 private:
  MapRecord& map() { return ctx_.store.CurMap; }
  int idx() const { return ctx_.store.CurZoneIdx; }
  // Looked up afresh at every use: a nested commit may have re-read the zone.
  MapZone& zone() { return map().Zones.at(static_cast<std::size_t>(idx())); }
  bool isFirst() const { return idx() == 0; }
  bool isLast() { return static_cast<std::size_t>(idx()) + 1 >= map().Zones.size(); }
  const MapZone& previous() { return map().Zones.at(static_cast<std::size_t>(idx() - 1)); }
  const MapZone& next() { return map().Zones.at(static_cast<std::size_t>(idx() + 1)); }
  TextBox& box(int i) { return ctx_.view.pages->txtMap(i); }

  std::nullopt_t Refuse(int number) {
    RestoreText(f_, txt_, std::to_string(number));
    return std::nullopt;
  }

  std::optional<std::int16_t> SelectZone(std::int16_t v) {
    if (v < 0 || v > map().LastZone || static_cast<std::size_t>(v) >= map().Zones.size())
      return Refuse(ctx_.store.CurZoneIdx);
    ctx_.store.CurZoneIdx = v;
    LoadMapDisplay(ctx_);
    SelectorDone(f_, txt_);
    return std::nullopt;
  }

  // The own box shows a clamped key.
  std::int16_t Clamp(int key) {
    WriteByProgram(f_, txt_, std::to_string(key));
    return static_cast<std::int16_t>(key);
  }

  // The other key box takes the key as well; the page commits that write as an edit of its own,
  // nested here. This key is sent only when the zone's range still holds low <= high after it.
  std::optional<std::int16_t> Drag(int otherBox, std::int16_t v) {
    box(otherBox).SetText(std::to_string(v));
    const bool ordered = otherBox == kHighKeyBox ? v <= zone().HighKey : zone().LowKey <= v;
    if (!ordered) return Refuse(Stored());
    return v;
  }

  std::optional<std::int16_t> LowKey(std::int16_t v) {
    if (v > 127) return Refuse(zone().LowKey);
    const MapZone& z = zone();
    if (v > BoxNumber(box(kHighKeyBox))) {
      if (isLast()) {
        if (z.HighKey < 127 && z.LowKey != 0) return Drag(kHighKeyBox, v);
        return Clamp(z.HighKey);
      }
      const int nextLow = next().LowKey;
      if (z.LowKey >= nextLow - 1 || z.HighKey >= nextLow - 1) return Clamp(z.HighKey);
      // Into the gap after the zone, never into the next zone.
      if (v > nextLow - 1) v = Clamp(nextLow - 1);
      return Drag(kHighKeyBox, v);
    }
    if (isFirst() || v > previous().HighKey) return v;
    return Refuse(z.LowKey);
  }

  std::optional<std::int16_t> HighKey(std::int16_t v) {
    if (v > 127) return Refuse(zone().HighKey);
    const MapZone& z = zone();
    if (v <= z.HighKey) {
      if (isFirst()) {
        if (v < BoxNumber(box(kLowKeyBox))) return Drag(kLowKeyBox, v);
        return v;
      }
      const bool gapBefore = z.LowKey > previous().HighKey + 1;
      if (v >= z.LowKey) return v;
      if (!gapBefore) return Refuse(z.HighKey);
      return Drag(kLowKeyBox, v);
    }
    if (isLast()) {
      if (z.LowKey >= 127 || z.HighKey >= 127) return Refuse(z.HighKey);
      return v;
    }
    const int nextLow = next().LowKey;
    if (z.HighKey < nextLow - 1 && v <= nextLow - 1) return v;
    return Clamp(nextLow - 1);
  }

  EditContext& ctx_;
  EditFlags& f_;
  TextBox& txt_;
  Control& sld_;
  std::int16_t MapZone::*field_;
  bool signed_;
  int index_;
};

}  // namespace

bool Change_MapParm(EditContext& ctx, TextBox& Txt, Control& Sld, std::int16_t MapZone::*Field, std::int16_t NibPos,
                    std::uint8_t NibCount, std::uint8_t Unsigned) {
  SendPendingScope pending(ctx.flags);
  return SenderTrap(ctx, "Change_MapParm()", "Error updating Map parameter", [&] {
    MapSender sender(ctx, Txt, Sld, Field, Unsigned == 0);
    const std::optional<std::int16_t> value = sender.Take();
    if (!value) return false;
    const int index = Txt.Index();
    if (index == kLowKeyBox || index == kHighKeyBox)
      WriteQuietly(ctx.flags, ctx.view.pages->txtMap(index == kLowKeyBox ? kLowNameBox : kHighNameBox),
                   NoteName(*value));
    MapRecord& map = ctx.store.CurMap;
    MapZone& zone = map.Zones.at(static_cast<std::size_t>(ctx.store.CurZoneIdx));
    const std::int16_t old = zone.*Field;
    zone.*Field = *value;
    ctx.flags.SendPending = true;
    if (UploadValueOf(ctx, Txt, ObjType::MapZone, map.Number, *value, NibPos, NibCount)) return true;
    // The zone keeps what the instrument holds, so the key rules of the next edit hold; the
    // value not taken shows red (a step brought it in black).
    map.Zones.at(static_cast<std::size_t>(ctx.store.CurZoneIdx)).*Field = old;
    Txt.SetForeColor(kTextRed);
    return false;
  });
}

}  // namespace tavoro
