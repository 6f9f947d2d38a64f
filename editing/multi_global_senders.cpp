#include "editing/multi_global_senders.h"

#include <optional>
#include <stdexcept>
#include <variant>

#include "editing/filler_support.h"
#include "editing/number_text.h"
#include "editing/sender_support.h"
#include "link/link.h"
#include "objects/codec.h"
#include "objects/transfer.h"
#include "platform/controls/lists.h"
#include "platform/controls/range_controls.h"

namespace tavoro {

namespace {

using plat::ctl::Control;
using plat::ctl::TextBox;

constexpr int kGroupBox = 0, kPolyBox = 1, kPartBox = 2, kPresetBox = 3, kPresetNameBox = 4, kVolumeBox = 5;
constexpr int kChannelBox = 6, kOmniVolumeBox = 7, kBankNameBox = 8, kTuneBox = 9;
constexpr std::size_t kBankNameChars = 14;

// ------------------------------------------------------------------------------------ Multi

class MultiSender {
 public:
  MultiSender(EditContext& ctx, TextBox& txt, const Control& sld, std::int16_t& value)
      : ctx_(ctx), f_(ctx.flags), txt_(txt), sld_(sld), value_(value) {}

  // True when Value holds a value to send.
  bool Take() {
    const bool enter = f_.LastKeyAscii == kKeyEnter;
    if (txt_.Text().empty() && enter) return Restore(value_);
    if (!enter && !IsActiveControl(txt_, sld_)) return false;
    std::int16_t v = BoxNumber(txt_);
    switch (txt_.Index()) {
      case kGroupBox: return ShowGroup();
      case kPartBox: return ShowPart();
      case kPresetBox: {
        if (enter) {
          // A typed Preset number moves to a Preset that exists.
          const ObjDir& dir = ctx_.store.PresetDir;
          const auto entry = ExistingEntry(ctx_.store.PresetStatus, dir, v);
          if (!entry) return Restore(value_);
          v = dir.Entries[*entry].Number;
          WriteByProgram(f_, txt_, std::to_string(v));
        }
        ShowPresetName(v);
        break;
      }
      case kVolumeBox:
        if (v > 127) {
          WriteByProgram(f_, txt_, "127");
          v = 127;
        }
        break;
      default: break;
    }
    value_ = v;
    return true;
  }

  // After a refusal: the name beside the part's Preset number names the Preset the part holds.
  void NameHeld(std::int16_t held) {
    if (txt_.Index() == kPresetBox) ShowPresetName(held);
  }

 private:
  TextBox& page(int i) { return ctx_.view.pages->txtGlobal(i); }
  MultiRecord& multi() { return ctx_.store.CurMulti; }

  bool Restore(std::int16_t v) { return RestoreText(f_, txt_, std::to_string(v)); }

  // The name of Preset `preset` beside the part's Preset number; unchanged when no Preset has
  // that number.
  void ShowPresetName(std::int16_t preset) {
    if (const DirEntry* e = fill::FindEntry(ctx_.store.PresetDir, preset))
      WriteQuietly(f_, page(kPresetNameBox), Trim(e->Name));
  }

  bool ShowGroup() {
    const auto g = static_cast<std::size_t>(value_);
    WriteQuietly(f_, page(kPolyBox), std::to_string(multi().MaxPolyphony.at(g)));
    auto& options = ctx_.view.pages->optGlobal;
    SelectOptionQuietly(f_, options, 0, 4, multi().Priority.at(g));
    SelectOptionQuietly(f_, options, 4, 2, (multi().GroupEnable >> g) & 1);
    return SelectorDone(f_, txt_);
  }

  bool ShowPart() {
    const auto p = static_cast<std::size_t>(value_ - 1);
    const std::int16_t preset = multi().PartPreset.at(p), volume = multi().PartVolume.at(p);
    WriteQuietly(f_, txt_, std::to_string(value_));
    SelectOptionQuietly(f_, ctx_.view.pages->optGlobal, 6, 2, (multi().PartEnable >> p) & 1);
    WriteQuietly(f_, page(kPresetBox), std::to_string(preset));
    if (const DirEntry* e = fill::FindEntry(ctx_.store.PresetDir, preset)) {
      WriteQuietly(f_, page(kPresetNameBox), Trim(e->Name));
      ctx_.store.PresetDirIdx = e->Index;
    }
    WriteQuietly(f_, page(kVolumeBox), std::to_string(volume));
    const bool before = f_.SuppressChange;
    f_.SuppressChange = true;
    ctx_.view.pages->sldGlobal(kVolumeBox).SetValue(volume);
    f_.SuppressChange = before;
    return SelectorDone(f_, txt_);
  }

  EditContext& ctx_;
  EditFlags& f_;
  TextBox& txt_;
  const Control& sld_;
  std::int16_t& value_;
};

// ------------------------------------------------------------------------------------ Global

using GlobalField = std::variant<std::int16_t*, std::string*>;

// One plain data byte of a change message: anything else could not travel in the frame.
std::uint8_t DataByte(int v) {
  if (v < 0 || v > 0x7F) throw std::out_of_range("value " + std::to_string(v) + " does not fit one data byte");
  return static_cast<std::uint8_t>(v);
}

class GlobalSender {
 public:
  GlobalSender(EditContext& ctx, Control& ctl, GlobalField value, std::uint8_t b1, std::uint8_t b2, bool restoreMinus)
      : ctx_(ctx), f_(ctx.flags), ctl_(ctl), value_(value), restoreMinus_(restoreMinus), body_{b1, b2} {}

  // The message body to send, or nothing when the commit ends here.
  std::optional<plat::Bytes> Take() {
    const std::string& tag = ctl_.Tag();
    if (tag == "txt") return Typed(dynamic_cast<TextBox&>(ctl_));
    if (tag == "opt") {
      const int i = ctl_.Index();
      if (i >= 8 && i <= 10) return Parameter(2, i - 8);
      if (i == 11 || i == 12) return Parameter(5, i - 11);
      throw std::invalid_argument("no Global value for optGlobal(" + std::to_string(i) + ")");
    }
    if (tag == "cbo" && ctl_.Index() == 0) {
      const int listIndex = dynamic_cast<plat::ctl::ComboBox&>(ctl_).ListIndex();
      if (listIndex < 0) return std::nullopt;  // nothing chosen
      return Parameter(1, listIndex);
    }
    throw std::invalid_argument("no Global value for " + ctl_.Name());
  }

  // The field as it was before this change.
  void RestoreField() {
    std::visit([this](auto* p) { RestoreInto(p); }, value_);
  }

 private:
  std::int16_t& number() { return *std::get<std::int16_t*>(value_); }
  void RestoreInto(std::int16_t* p) { *p = oldNumber_; }
  void RestoreInto(std::string* p) { *p = oldText_; }

  plat::Bytes Parameter(std::uint8_t n, int v) {
    body_ += plat::Bytes{0x03, n, 0x01, DataByte(v)};
    oldNumber_ = number();
    number() = static_cast<std::int16_t>(v);
    return body_;
  }

  // The stored value back into the box; nothing is sent.
  std::nullopt_t Restore(TextBox& box) {
    std::string shown;
    if (box.Index() == kTuneBox)
      shown = SingleText(static_cast<float>(number()) / 100.0f);
    else if (const auto* text = std::get_if<std::string*>(&value_))
      shown = **text;
    else
      shown = std::to_string(number());
    RestoreText(f_, box, shown);
    return std::nullopt;
  }

  std::optional<plat::Bytes> Typed(TextBox& box) {
    const std::string text = box.Text();
    if (text.empty()) return Restore(box);
    if (restoreMinus_ && f_.LastKeyAscii == kKeyEnter && text == "-") return Restore(box);
    switch (box.Index()) {
      case kChannelBox: return Parameter(3, BoxNumber(box) - 1);
      case kOmniVolumeBox:
        if (BoxNumber(box) > 127) WriteByProgram(f_, box, "127");
        return Parameter(4, BoxNumber(box));
      case kBankNameBox: return BankName(text);
      case kTuneBox: return MasterTune(box);
      default: throw std::invalid_argument("no Global value for txtGlobal(" + std::to_string(box.Index()) + ")");
    }
  }

  std::optional<plat::Bytes> BankName(std::string name) {
    if (!IsPrintableName(name)) {
      f_.LastKeyAscii = 0;
      ShowUnprintableName("Change_GlobalParm()");
      return std::nullopt;
    }
    name.resize(kBankNameChars, ' ');
    std::string& field = *std::get<std::string*>(value_);
    oldText_ = field;
    field = name;
    body_ += plat::Bytes{0x0F, 0x01};
    for (const char c : name) body_ += static_cast<std::uint8_t>(c);
    return body_;
  }

  std::optional<plat::Bytes> MasterTune(TextBox& box) {
    const float x = TextSingle(box.Text());
    if (x < -120.0f || x > 120.0f) return Restore(box);
    oldNumber_ = number();
    number() = static_cast<std::int16_t>(RoundHalfEven(static_cast<double>(x) * 100.0));
    body_ += plat::Bytes{0x00, 0x00, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01};
    body_ += HexDigits(number(), ValueWidth::Int16, 4);
    return body_;
  }

  EditContext& ctx_;
  EditFlags& f_;
  Control& ctl_;
  GlobalField value_;
  bool restoreMinus_;
  plat::Bytes body_;
  std::int16_t oldNumber_ = 0;
  std::string oldText_;
};

bool SendGlobal(EditContext& ctx, Control& Ctl, GlobalField Value, std::uint8_t B1, std::uint8_t B2,
                std::uint8_t Unsigned) {
  SendPendingScope pending(ctx.flags);
  return SenderTrap(ctx, "Change_GlobalParm()", "Error updating Global Parameter", [&] {
    GlobalSender sender(ctx, Ctl, Value, B1, B2, Unsigned == 0);
    const std::optional<plat::Bytes> body = sender.Take();
    if (!body) return false;
    ctx.flags.SendPending = true;
    ctx.flags.LastKeyAscii = 0;
    Link& link = ctx.link;
    bool accepted = false;
    if (link.MidiOutLongMsg(link.Frame(*body))) {
      accepted = link.GetVeskResponse(kRequestTimeoutMs, kStatusMode).Accepted();
      link.MidiInBusy = false;
      link.ledMIDIin.SetValue(false);
    }
    if (!accepted) {
      // The field keeps what the instrument holds; the value not taken shows red.
      sender.RestoreField();
      if (auto* box = dynamic_cast<TextBox*>(&Ctl)) box->SetForeColor(kTextRed);
      return false;
    }
    if (auto* box = dynamic_cast<TextBox*>(&Ctl)) box->SetForeColor(kTextBlack);
    return true;
  });
}

}  // namespace

bool Change_MultiParm(EditContext& ctx, TextBox& Txt, const Control& Sld, std::int16_t& Value, std::int16_t NibPos,
                      std::uint8_t NibCount, std::uint8_t /*Unused*/) {
  SendPendingScope pending(ctx.flags);
  return SenderTrap(ctx, "Change_MultiParm()", "Error updating Multi parameter", [&] {
    const std::int16_t old = Value;
    MultiSender sender(ctx, Txt, Sld, Value);
    ctx.flags.SendPending = sender.Take();
    if (!ctx.flags.SendPending) return false;
    if (UploadValueOf(ctx, Txt, ObjType::Multi, ctx.store.CurMulti.Number, Value, NibPos, NibCount)) return true;
    // Refused or unanswered: the record keeps what the instrument holds, the value not taken
    // shows red (a step brought it in black) and a Preset's name is the held one's again.
    Value = old;
    Txt.SetForeColor(kTextRed);
    sender.NameHeld(old);
    return false;
  });
}

bool Change_GlobalParm(EditContext& ctx, Control& Ctl, const Control& /*Paired*/, std::int16_t& Value, std::uint8_t B1,
                       std::uint8_t B2, std::uint8_t Unsigned) {
  return SendGlobal(ctx, Ctl, &Value, B1, B2, Unsigned);
}

bool Change_GlobalParm(EditContext& ctx, Control& Ctl, const Control& /*Paired*/, std::string& Value, std::uint8_t B1,
                       std::uint8_t B2, std::uint8_t Unsigned) {
  return SendGlobal(ctx, Ctl, &Value, B1, B2, Unsigned);
}

}  // namespace tavoro
