#include "editing/preset_senders.h"

#include <array>
#include <string>

#include "editing/filler_support.h"
#include "editing/note_name.h"
#include "editing/number_text.h"
#include "editing/sender_support.h"
#include "link/link.h"
#include "objects/transfer.h"

namespace tavoro {

namespace {

using plat::ctl::Control;
using plat::ctl::TextBox;

constexpr int kGroupBox = 5, kPolyBox = 6, kEntryBox = 7, kMapBox = 8, kPanBox = 16;

// The highest number a box takes with Enter, 0 for none.
int MostOf(int index) {
  switch (index) {
    case 2: case 14: case 24: return 127;
    case 4: return 255;
    case 13: return 24;
    case 9: case 10: case 11: return 128;
    case 0: case 1: case 12: case 16: case 17: case 18: case 19: case 20: case 21: case 22: case 23: return 99;
    default: return 0;
  }
}

bool IsPanShorthand(const std::string& t) {
  static const std::array<const char*, 6> kParts = {"M", "a", "p", "Ma", "Mp", "ap"};
  for (const char* p : kParts)
    if (t == p) return true;
  return false;
}

class PresetSender {
 public:
  PresetSender(EditContext& ctx, TextBox& txt, const Control& sld, std::int16_t& value, bool isSigned)
      : ctx_(ctx), f_(ctx.flags), txt_(txt), sld_(sld), value_(value), signed_(isSigned), index_(txt.Index()) {}

  // True when Value holds a value to send.
  bool Take() {
    const bool enter = f_.LastKeyAscii == kKeyEnter;
    const std::string text = txt_.Text();
    if (text.empty() && enter) return Restore(index_ == kPanBox && value_ == 0 ? "Map" : std::to_string(value_));
    if (enter && !Typed(text)) return false;
    if (!enter && !IsActiveControl(txt_, sld_)) return false;
    std::int16_t v = BoxNumber(txt_);
    if (signed_ && v < 0) v = static_cast<std::int16_t>(v + 256);
    switch (index_) {
      case kGroupBox: return ShowGroup();
      case kEntryBox: return ShowEntry();
      case kMapBox: return LayerMap(v, enter);
      case 9: case 10: case 11: return SwitchPoint(v);
      case 2: WriteQuietly(f_, page(3), NoteName(v)); break;
      case 14: WriteQuietly(f_, page(15), NoteName(v)); break;
      default: break;
    }
    value_ = v;
    return true;
  }

  // After a refusal: the name beside the layer's Map number names the Map the layer holds.
  void NameHeld(std::int16_t held) {
    if (index_ == kMapBox) ShowMapName(held);
  }

 private:
  TextBox& page(int i) { return ctx_.view.pages->txtPreset(i); }
  // The name of Map `map` beside the layer's Map number; unchanged when no Map has that number.
  void ShowMapName(std::int16_t map) {
    if (const DirEntry* e = fill::FindEntry(ctx_.store.MapDir, map)) WriteQuietly(f_, page(25), Trim(e->Name));
  }
  PresetLayer& layer() { return ctx_.store.CurPreset.Layer.at(ctx_.store.PresetLayerSel); }

  bool Restore(const std::string& text) { return RestoreText(f_, txt_, text); }
  // A shorthand text becomes its canonical form; nothing is sent.
  bool Canonical(const std::string& text) {
    Restore(text);
    txt_.SetForeColor(kTextBlack);
    return false;
  }

  // The texts that stand for something else, and the upper limits; false when the commit ends.
  bool Typed(const std::string& text) {
    if (signed_ && text == "-") return Restore(std::to_string(value_));
    if (index_ >= 9 && index_ <= 11) {
      if (text.find('<') != std::string::npos) return Canonical("<<<");
      if (text.find('>') != std::string::npos) return Canonical(">>>");
    }
    if (index_ == kPanBox) {
      if (IsPanShorthand(text)) return Canonical("Map");
      if (text == "Map") {
        f_.LastKeyAscii = 0;
        return false;
      }
    }
    const int most = MostOf(index_);
    const auto typed = ParseInt16(text);
    if (most > 0 && typed && *typed > most) WriteByProgram(f_, txt_, std::to_string(most));
    return true;
  }

  bool ShowGroup() {
    const PresetRecord& p = ctx_.store.CurPreset;
    const auto g = static_cast<std::size_t>(value_);
    WriteQuietly(f_, page(kPolyBox), std::to_string(p.MaxPolyphony.at(g)));
    auto& options = ctx_.view.pages->optPreset;
    SelectOptionQuietly(f_, options, 0, 4, p.Priority.at(g));
    SelectOptionQuietly(f_, options, 4, 2, (p.GroupEnable & (1 << g)) != 0 ? 1 : 0);
    return SelectorDone(f_, txt_);
  }

  bool ShowEntry() {
    if (ctx_.store.MapLoaded) {
      const std::int16_t map = layer().LayerMap.at(static_cast<std::size_t>(value_ - 1));
      WriteQuietly(f_, page(kMapBox), std::to_string(map));
      ShowMapName(map);
    }
    return SelectorDone(f_, txt_);
  }

  // A typed Map number moves up to the next Map that exists.
  bool LayerMap(std::int16_t v, bool enter) {
    const ObjDir& dir = ctx_.store.MapDir;
    if (enter) {
      const auto entry = ExistingEntry(ctx_.store.MapStatus, dir, v);
      if (!entry) return Restore(std::to_string(value_));  // no Map to choose from
      v = dir.Entries[*entry].Number;
      WriteByProgram(f_, txt_, std::to_string(v));
    }
    ShowMapName(v);
    value_ = v;
    return true;
  }

  // The neighbour box takes the point too and is committed by the page as its own edit (nested
  // here, while Enter still stands); a point at or past its right neighbour shows the arrows.
  bool SwitchPoint(std::int16_t v) {
    const std::array<std::int16_t, 3> points = layer().SwitchPoint;
    const std::string arrows = v == 128 ? "<<<" : ">>>";
    if (index_ == 9) {
      if (v > points[1]) page(10).SetText(std::to_string(v));
      if (v >= points[1]) WriteByProgram(f_, txt_, arrows);
    } else if (index_ == 10) {
      if (v < points[0]) page(9).SetText(std::to_string(v));
      if (v > points[2]) page(11).SetText(std::to_string(v));
      if (v >= points[2]) WriteByProgram(f_, txt_, arrows);
    } else {
      if (v < points[1]) page(10).SetText(std::to_string(v));
      if (v >= 128) {
        v = 128;
        WriteByProgram(f_, txt_, "<<<");
      }
    }
    value_ = v;
    return true;
  }

  EditContext& ctx_;
  EditFlags& f_;
  TextBox& txt_;
  const Control& sld_;
  std::int16_t& value_;
  bool signed_;
  int index_;
};

}  // namespace

bool Change_PresetParm(EditContext& ctx, TextBox& Txt, const Control& Sld, std::int16_t& Value, std::int16_t NibPos,
                       std::uint8_t NibCount, std::uint8_t Unsigned) {
  SendPendingScope pending(ctx.flags);
  return SenderTrap(ctx, "Change_PresetParm()", "Error updating Preset parameter", [&] {
    const std::int16_t old = Value;
    PresetSender sender(ctx, Txt, Sld, Value, Unsigned == 0);
    ctx.flags.SendPending = sender.Take();
    if (!ctx.flags.SendPending) return false;
    if (UploadValueOf(ctx, Txt, ObjType::Preset, ctx.store.CurPreset.Number, Value, NibPos, NibCount)) return true;
    // Refused or unanswered: the record keeps what the instrument holds, the value not taken
    // shows red (a step brought it in black) and a Map's name is the held one's again.
    Value = old;
    Txt.SetForeColor(kTextRed);
    sender.NameHeld(old);
    return false;
  });
}

}  // namespace tavoro
