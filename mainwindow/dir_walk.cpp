#include "mainwindow/dir_walk.h"

#include <string>

#include "link/error.h"
#include "mainwindow/edit_protocol.h"
#include "objects/transfer.h"

namespace tavoro {

std::optional<int> StepToExisting(const ObjDir& dir, const ObjDirStatus& status, long shown, int direction) {
  const long target = shown + direction;
  if (direction < 0) {
    if (target < status.LowestNum) return std::nullopt;
    for (auto e = dir.Entries.rbegin(); e != dir.Entries.rend(); ++e)
      if (e->Number <= target || e->Number == status.LowestNum) return e->Number;
  } else {
    if (target > status.HighestNum) return std::nullopt;
    for (const DirEntry& e : dir.Entries)
      if (e.Number >= target || e.Number == status.HighestNum) return e.Number;
  }
  return std::nullopt;
}

std::optional<int> ExistingAtOrAbove(const ObjDir& dir, const ObjDirStatus& status, long typed) {
  long v = typed;
  if (v > status.HighestNum) v = status.HighestNum;
  if (v < status.LowestNum) v = status.LowestNum;
  for (const DirEntry& e : dir.Entries)
    if (e.Number >= v || e.Number == status.HighestNum) return e.Number;
  return std::nullopt;
}

std::optional<int> StepPosition(const ObjDir& dir, int position, int direction) {
  const int count = static_cast<int>(dir.Entries.size());
  if (position < 0 || position >= count) return std::nullopt;
  const int next = position + direction;
  if (next < 0 || next >= count) return std::nullopt;
  return next;
}

bool KindKnown(EditProtocol& edit, ObjType kind, const char* title, const char* text) {
  KindStore k = StoreOf(edit.store(), kind);
  if (!k.Loaded) {
    ObjectTransfer t = edit.Transfer();
    k.Status = t.GetObjDirStatus(Code(kind));
    // The directory goes with the status: a walk over an old directory could pick an object
    // the instrument no longer holds.
    if (k.Loaded) k.Dir = t.GetObjDir(Code(kind));
  }
  if (k.Loaded) return true;
  MidiErrorMsg(-1, title, text);
  return false;
}

void StepBoxToExisting(EditProtocol& edit, plat::ctl::TextBox& box, ObjType kind, long shown, int direction,
                       const char* title, const char* text) {
  KindStore k = StoreOf(edit.store(), kind);
  const long target = shown + direction;
  if (direction < 0 && target < k.Status.LowestNum) return;
  if (direction > 0 && target > k.Status.HighestNum) return;
  if (!KindKnown(edit, kind, title, text)) return;
  if (const auto next = StepToExisting(k.Dir, k.Status, shown, direction)) box.SetText(std::to_string(*next));
}

}  // namespace tavoro
