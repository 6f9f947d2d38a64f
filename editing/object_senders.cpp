#include "editing/object_senders.h"

#include "editing/filler_support.h"
#include "editing/number_text.h"
#include "editing/page_fillers.h"
#include "editing/sender_support.h"
#include "link/link.h"
#include "objects/downloads.h"
#include "objects/layouts.h"
#include "objects/transfer.h"

namespace tavoro {

namespace {

using plat::ctl::TextBox;

constexpr std::uint8_t kGlobalPage = 18;
constexpr std::uint8_t kKeyBackspace = 8;

// The page of a kind shown again from the store; a kind with nothing loaded stays cleared.
void RefillPage(EditContext& ctx, std::uint8_t kind) {
  if (kind == kGlobalPage) {
    LoadGlobalDisplay(ctx);
    return;
  }
  if (!IsObjectKind(kind) || !StoreOf(ctx.store, static_cast<tavoro::ObjType>(kind)).Loaded) return;
  switch (kind) {
    case 0: LoadWaveDisplay(ctx); break;
    case 1: LoadToneDisplay(ctx); break;
    case 2: LoadMapDisplay(ctx); break;
    case 3: LoadPresetDisplay(ctx); break;
    default: LoadMultiDisplay(ctx); break;
  }
}

// After a rename the object's directory entry carries the new name, and the page that names
// objects of its kind from the directory shows it: a Tone names its Wave, a Map zone its Tone, a
// Preset layer its Map and a Multi part its Preset.
void ShowRenamed(EditContext& ctx, tavoro::ObjType kind, std::int16_t number, const std::string& name) {
  const tavoro::ObjType listed = kind == tavoro::ObjType::MapHeader ? tavoro::ObjType::Map : kind;
  if (!IsObjectKind(Code(listed))) return;
  for (DirEntry& e : StoreOf(ctx.store, listed).Dir.Entries)
    if (e.Number == number) e.Name = name;
  if (listed == tavoro::ObjType::Multi) return;
  // A Multi fill points the Preset directory at its part's Preset; a rename selects nothing.
  const std::int16_t presetShown = ctx.store.PresetDirIdx;
  RefillPage(ctx, static_cast<std::uint8_t>(Code(listed) + 1));
  ctx.store.PresetDirIdx = presetShown;
}

}  // namespace

bool Change_ObjectNum(EditContext& ctx, DownloadHost& downloads, std::int16_t CurNum, std::int16_t& DirIndex,
                      const ObjDirStatus& Status, const ObjDir& Dir, std::uint8_t ObjType, TextBox& Txt,
                      const plat::ctl::Control& Spn) {
  EditFlags& f = ctx.flags;
  return SenderTrap(ctx, "Change_ObjectNum()", "Error updating Object number", [&] {
    const bool enter = f.LastKeyAscii == kKeyEnter;
    if (enter && Txt.Text().empty()) {
      RestoreText(f, Txt, std::to_string(CurNum));
      RefillPage(ctx, ObjType);
      Txt.SetForeColor(kTextBlack);
      return false;
    }
    const std::int16_t n = BoxNumber(Txt);
    if (n == CurNum) {
      f.LastKeyAscii = 0;
      return false;
    }
    // While the user is still typing nothing is selected.
    if (!enter && !IsActiveControl(Txt, Spn)) return true;
    const auto current = static_cast<std::size_t>(DirIndex);
    std::optional<std::size_t> entry;
    if (DirIndex >= 0 && current < Dir.Entries.size() && Dir.Entries[current].Number == n)
      entry = current;
    else
      entry = ExistingEntry(Status, Dir, n);
    if (!entry) return RestoreText(f, Txt, std::to_string(CurNum));  // no object of the kind
    WriteByProgram(f, fill::Need(ctx.view.txtObjectNum, "txtObjectNum"), std::to_string(Dir.Entries[*entry].Number));
    DirIndex = static_cast<std::int16_t>(*entry);
    // Enter is consumed before the download writes the header, so its write of the name box
    // can never pass for a rename.
    f.LastKeyAscii = 0;
    ObjectTransfer xfer(ctx.link, ctx.store);
    ObjectDownload(xfer, downloads, ObjType);
    Txt.SetForeColor(kTextBlack);
    return true;
  });
}

bool Change_ObjectName(EditContext& ctx, std::int16_t ObjNum, std::string& ObjName, std::uint8_t ObjType) {
  EditFlags& f = ctx.flags;
  SendPendingScope pending(f);
  return SenderTrap(ctx, "Change_ObjectName()", "Error updating Object name", [&] {
    TextBox& box = fill::Need(ctx.view.txtObjectName, "txtObjectName");
    if (f.LastKeyAscii == kKeyBackspace || f.SuppressChange || f.ProgramTextSet) {
      if (f.ProgramTextSet) {
        f.ProgramTextSet = false;
        box.SetForeColor(kTextBlack);
      }
      return false;
    }
    const std::string typed = box.Text();
    if (f.LastKeyAscii != kKeyEnter) return false;
    if (typed.empty()) return RestoreText(f, box, ObjName);
    // Such a character could not travel to the instrument: nothing is stored or sent.
    if (!IsPrintableName(typed)) {
      f.LastKeyAscii = 0;
      ShowUnprintableName("Change_ObjectName()");
      return false;
    }
    const std::string old = ObjName;
    ObjName = Trim(typed);
    f.SendPending = true;
    const auto kind = static_cast<tavoro::ObjType>(ObjType);
    if (UploadValueOf(ctx, box, kind, ObjNum, ObjName, kHead.Name.pos, kHead.Name.count)) {
      ShowRenamed(ctx, kind, ObjNum, ObjName);
      return true;
    }
    // Refused or unanswered: the record keeps the name the instrument holds; the text stays red.
    ObjName = old;
    return false;
  });
}

}  // namespace tavoro
