#include "editing/wave_senders.h"

#include <limits>
#include <stdexcept>
#include <string>
#include <variant>

#include "editing/number_text.h"
#include "editing/sender_support.h"
#include "link/link.h"
#include "objects/layouts.h"
#include "objects/transfer.h"

namespace tavoro {

namespace {

using plat::ctl::Control;
using plat::ctl::TextBox;

// The CurWave field a box edits: 16 bits (fine tune, pitch) or 32 bits (the points).
class WaveField {
 public:
  explicit WaveField(std::int16_t& v) : v_(&v) {}
  explicit WaveField(std::int32_t& v) : v_(&v) {}
  std::int64_t get() const {
    return std::visit([](auto* p) -> std::int64_t { return *p; }, v_);
  }
  // A value the field cannot hold is an error, never a silently cut number.
  void set(std::int64_t v) {
    std::visit(
        [v](auto* p) {
          using T = std::remove_pointer_t<decltype(p)>;
          if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
            throw std::out_of_range("value " + std::to_string(v) + " does not fit its field");
          *p = static_cast<T>(v);
        },
        v_);
  }
  UploadValue upload() const {
    return std::visit([](auto* p) { return UploadValue(*p); }, v_);
  }

 private:
  std::variant<std::int16_t*, std::int32_t*> v_;
};

// The stored value as the page shows it.
std::string Shown(std::int64_t stored, std::uint8_t kind) {
  if (kind == kWavePitch) return SingleText(static_cast<float>(stored) / 100.0f);
  if (kind == kWaveFineTune && stored > 127) return std::to_string(stored - 256);  // the byte's sign
  return std::to_string(stored);
}

// Hundredths from a pitch in semitones, the product formed from the single-precision reading.
std::int64_t Hundredths(float semitones) { return static_cast<std::int64_t>(RoundHalfEven(static_cast<double>(semitones) * 100.0)); }

class WaveSender {
 public:
  WaveSender(EditContext& ctx, TextBox& txt, const Control& sld, WaveField value, std::uint8_t kind)
      : ctx_(ctx), f_(ctx.flags), txt_(txt), sld_(sld), value_(value), kind_(kind) {}

  // Whether a value is to be sent; false when the commit ends here.
  bool Take() {
    const std::string text = txt_.Text();
    const std::int64_t stored = value_.get();
    // The pitch box shows semitones, its field holds hundredths: it never counts as unchanged.
    if (kind_ != kWavePitch && text == std::to_string(stored)) return Done();
    if (text.empty() && f_.LastKeyAscii == kKeyEnter) return Refuse();
    if (kind_ == kWaveFineTune && f_.LastKeyAscii == kKeyEnter) {
      if (text == "-") return Refuse();
      if (text == "-0") WriteByProgram(f_, txt_, "0");
    }
    if (f_.LastKeyAscii == kKeyEnter) return Typed();
    if (f_.WaveScrollIndex == -1 && !IsActiveControl(txt_, sld_)) return false;
    return Stepped();
  }

 private:
  const WaveRecord& wave() const { return ctx_.store.CurWave; }
  bool loopOn() const { return ctx_.store.WaveLoopOn == 1; }

  bool Done() {
    f_.LastKeyAscii = 0;
    return false;
  }
  // The stored value comes back; nothing is sent.
  bool Refuse() { return RestoreText(f_, txt_, Shown(value_.get(), kind_)); }
  // While the loop is off the loop points must follow the new play range first.
  bool Checked(std::int64_t playStart, std::int64_t playEnd) {
    if (loopOn()) return true;
    if (Check_LoopPoints(ctx_, static_cast<std::int32_t>(playStart), static_cast<std::int32_t>(playEnd))) return true;
    return Done();
  }

  bool Typed() {
    const std::string& name = txt_.Name();
    const WaveRecord& w = wave();
    if (kind_ == kWaveFineTune) {
      std::int64_t v = BoxNumber(txt_);
      if (v > 99) {
        WriteByProgram(f_, txt_, "99");
        v = 99;
      }
      if (!Checked(w.PlayStart, w.PlayEnd)) return false;
      value_.set(v < 0 ? v + 256 : v);
      return true;
    }
    if (kind_ == kWavePitch) {
      const float x = TextSingle(txt_.Text());
      if (!(x >= 0.0f && x <= 127.99f)) return Refuse();
      if (!Checked(w.PlayStart, w.PlayEnd)) return false;
      value_.set(Hundredths(x));
      const std::string text = txt_.Text();
      if (text.back() == '.')
        WriteByProgram(f_, txt_, text + "00");
      else if (text.front() == '.')
        WriteByProgram(f_, txt_, "0" + text);
      return true;
    }
    const std::int64_t v = TextWhole(txt_.Text());
    const std::int64_t ps = w.PlayStart, pe = w.PlayEnd, ls = w.LoopStart, le = w.LoopEnd, len = w.WaveLen;
    if (name == "txtPlayStart") {
      if (v >= pe - 1 || v < 0) return Refuse();
      if (loopOn()) return Clamped(v > ls ? ls : v, v > ls);
      if (!Checked(v, pe)) return false;
      value_.set(v);
      return true;
    }
    if (name == "txtPlayEnd") {
      if (v <= ps || v >= len) return Refuse();
      if (loopOn()) return Clamped(v < le ? le : v, v < le);
      if (!Checked(ps, v)) return false;
      value_.set(v);
      return true;
    }
    // The loop points mean nothing while the loop is off.
    if (!loopOn()) return Done();
    if (name == "txtLoopStart") {
      if (!(ps <= v && v < pe - 1 && v <= le)) return Refuse();
    } else if (name == "txtLoopEnd") {
      if (!(ls <= v && v <= pe && v > ps && v <= len)) return Refuse();
    } else {
      throw std::invalid_argument("no Wave point is edited in " + name);
    }
    value_.set(v);
    return true;
  }

  bool Clamped(std::int64_t v, bool rewrite) {
    if (rewrite) WriteByProgram(f_, txt_, std::to_string(v));
    value_.set(v);
    return true;
  }

  // A spin button or scroll bar has written the box already; no range check on this path.
  bool Stepped() {
    const std::string text = txt_.Text();
    std::int64_t v = 0;
    if (kind_ == kWavePitch) {
      v = Hundredths(TextSingle(text));
    } else if (kind_ == kWaveFineTune) {
      v = BoxNumber(txt_);
      if (v < 0) v += 256;
    } else {
      v = TextWhole(text);
    }
    value_.set(v);
    const WaveRecord& w = wave();
    const std::string& spin = sld_.Name();
    if (spin == "spnPlayStart" || f_.WaveScrollIndex == 0) return Checked(v, w.PlayEnd);
    if (spin == "spnPlayEnd" || f_.WaveScrollIndex == 1) return Checked(w.PlayStart, v);
    return Checked(w.PlayStart, w.PlayEnd);
  }

  EditContext& ctx_;
  EditFlags& f_;
  TextBox& txt_;
  const Control& sld_;
  WaveField value_;
  std::uint8_t kind_;
};

bool SendWave(EditContext& ctx, TextBox& Txt, const Control& Sld, WaveField Value, std::int16_t NibPos,
              std::uint8_t NibCount, std::uint8_t Kind) {
  SendPendingScope pending(ctx.flags);
  return SenderTrap(ctx, "Change_WaveParm()", "Error updating Wave parameter", [&] {
    WaveSender sender(ctx, Txt, Sld, Value, Kind);
    ctx.flags.SendPending = sender.Take();
    if (!ctx.flags.SendPending) return false;
    // Sent, whatever the answer: the caller reads the Wave back either way.
    UploadValueOf(ctx, Txt, ObjType::Wave, ctx.store.CurWave.Number, Value.upload(), NibPos, NibCount);
    return true;
  });
}

}  // namespace

bool Change_WaveParm(EditContext& ctx, TextBox& Txt, const Control& Sld, std::int16_t& Value, std::int16_t NibPos,
                     std::uint8_t NibCount, std::uint8_t Kind) {
  return SendWave(ctx, Txt, Sld, WaveField(Value), NibPos, NibCount, Kind);
}

bool Change_WaveParm(EditContext& ctx, TextBox& Txt, const Control& Sld, std::int32_t& Value, std::int16_t NibPos,
                     std::uint8_t NibCount, std::uint8_t Kind) {
  return SendWave(ctx, Txt, Sld, WaveField(Value), NibPos, NibCount, Kind);
}

bool Check_LoopPoints(EditContext& ctx, std::int32_t PlayStart, std::int32_t PlayEnd) {
  return SenderTrap(ctx, "Check_LoopPoints() ", "Error checking wave loop points", [&] {
    const WaveRecord& w = ctx.store.CurWave;
    ObjectTransfer xfer(ctx.link, ctx.store);
    const std::int64_t len = w.WaveLen;
    std::int64_t loopStart = w.LoopStart;
    if (!(loopStart >= PlayStart && loopStart < PlayEnd && loopStart < len - 1)) {
      if (!xfer.ObjectUpload(ObjType::Wave, w.Number, PlayStart, kWave.LoopStart.pos, kWave.LoopStart.count, false))
        return false;
      loopStart = PlayStart;
    }
    // Against the loop start as it now stands and the new play start: a loop end left below
    // either would give the instrument an inverted loop.
    const std::int64_t loopEnd = w.LoopEnd;
    if (loopEnd > PlayEnd || loopEnd >= len || loopEnd < loopStart || loopEnd < PlayStart) {
      if (!xfer.ObjectUpload(ObjType::Wave, w.Number, PlayEnd, kWave.LoopEnd.pos, kWave.LoopEnd.count, false))
        return false;
    }
    return true;
  });
}

}  // namespace tavoro
