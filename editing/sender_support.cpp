#include "editing/sender_support.h"

#include <charconv>
#include <stdexcept>

#include "editing/filler_support.h"
#include "editing/number_text.h"
#include "link/trap.h"

namespace tavoro {

bool UploadValueOf(EditContext& ctx, plat::ctl::TextBox& box, ObjType kind, std::int16_t number,
                   const UploadValue& value, std::int16_t nibPos, std::uint8_t nibCount) {
  ctx.flags.LastKeyAscii = 0;
  ObjectTransfer xfer(ctx.link, ctx.store);
  if (!xfer.ObjectUpload(kind, number, value, nibPos, nibCount, true)) return false;
  box.SetForeColor(kTextBlack);
  return true;
}

bool RestoreText(EditFlags& flags, plat::ctl::TextBox& box, const std::string& text) {
  flags.LastKeyAscii = 0;
  WriteByProgram(flags, box, text);
  return false;
}

bool SelectorDone(EditFlags& flags, plat::ctl::TextBox& box) {
  flags.LastKeyAscii = 0;
  box.SetForeColor(kTextBlack);
  return false;
}

void WriteQuietly(EditFlags& flags, plat::ctl::TextBox& box, const std::string& text) {
  const bool before = flags.SuppressChange;
  flags.SuppressChange = true;
  box.SetText(text);
  flags.SuppressChange = before;
}

void SelectOptionQuietly(EditFlags& flags, plat::ctl::ControlArray<plat::ctl::OptionButton>& options, int first,
                         int count, int value) {
  const bool before = flags.SuppressChange;
  flags.SuppressChange = true;
  fill::SelectOption(options, first, count, value, false);
  flags.SuppressChange = before;
}

std::optional<std::size_t> ExistingEntry(const ObjDirStatus& status, const ObjDir& dir, std::int16_t typed) {
  if (dir.Entries.empty()) return std::nullopt;
  std::int16_t v = typed;
  if (v > status.HighestNum) {
    v = status.HighestNum;
  } else if (v < status.LowestNum) {
    v = status.LowestNum;
  }
  for (std::size_t i = 0; i < dir.Entries.size(); ++i) {
    const std::int16_t n = dir.Entries[i].Number;
    if (n == v || n > v || n == status.HighestNum) return i;
  }
  // Past the last entry (a status that disagrees with its directory): the highest that exists.
  return dir.Entries.size() - 1;
}

std::int64_t TextWhole(std::string_view text) {
  const std::string t = Trim(text);
  const std::size_t digits = t.size() - (!t.empty() && t.front() == '-' ? 1 : 0);
  std::int64_t v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || digits > 10 || ec != std::errc() || end != t.data() + t.size())
    throw std::invalid_argument("'" + std::string(text) + "' is not a whole number");
  return v;
}

float TextSingle(std::string_view text) {
  const std::string t = Trim(text);
  float v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::fixed);
  if (!StartsAsDecimal(t) || ec != std::errc() || end != t.data() + t.size())
    throw std::invalid_argument("'" + std::string(text) + "' is not a number");
  return v;
}

bool IsPrintableName(std::string_view name) {
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u > 0x7E) return false;
  }
  return true;
}

void ShowUnprintableName(std::string_view procName) {
  ShowErrorBox(procName, "A name may hold only the characters from blank to \"~\"; nothing was sent");
}

}  // namespace tavoro
