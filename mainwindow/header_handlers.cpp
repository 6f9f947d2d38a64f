#include "mainwindow/header_handlers.h"

#include <string>

#include "editing/object_senders.h"
#include "link/error.h"
#include "link/link.h"
#include "mainwindow/dir_walk.h"
#include "mainwindow/main_window.h"
#include "mainwindow/window_downloads.h"
#include "objects/transfer.h"

namespace tavoro {

namespace {

// The kinds the header's label names.
struct HeaderKind {
  const char* caption;
  ObjType select;  // kind selected by number and read back after a rename
  ObjType rename;  // kind a new name is sent as
  const char* title;
  const char* text;
};
constexpr HeaderKind kKinds[] = {
    {"w#", ObjType::Wave, ObjType::Wave, "Load Wave Object", "There are no Wave Objects loaded into the Vesk"},
    {"t#", ObjType::Tone, ObjType::Tone, "Load Tone Object", "There are no Tone Objects loaded into the Vesk"},
    {"m#", ObjType::Map, ObjType::MapHeader, "Load Map Object", "There are no Map Objects loaded into the Vesk"},
    {"p#", ObjType::Preset, ObjType::Preset, "Load Preset Object", "There are no Preset Objects loaded into the Vesk"},
    {"mu#", ObjType::Multi, ObjType::Multi, "Load Multi Object", "There are no Multi Objects loaded into the Vesk"},
};

const HeaderKind* KindShown(const frmMain& w) {
  const std::string caption = w.lblObjNumHash->Caption();
  for (const HeaderKind& k : kKinds)
    if (caption == k.caption) return &k;
  return nullptr;
}

// The current record's number and name of a kind.
struct Current {
  std::int16_t& Number;
  std::string& Name;
};
Current CurrentOf(ObjectStore& s, ObjType kind) {
  switch (kind) {
    case ObjType::Wave: return {s.CurWave.Number, s.CurWave.Name};
    case ObjType::Tone: return {s.CurTone.Number, s.CurTone.Name};
    case ObjType::Map: return {s.CurMap.Number, s.CurMap.Name};
    case ObjType::Preset: return {s.CurPreset.Number, s.CurPreset.Name};
    default: return {s.CurMulti.Number, s.CurMulti.Name};
  }
}

}  // namespace

HeaderHandlers::HeaderHandlers(EditProtocol& edit, frmMain& window) : edit_(edit), window_(window) {}

void HeaderHandlers::Step(int direction) {
  if (edit_.Busy() || edit_.link().LinkState == -1) return;
  const HeaderKind* kind = KindShown(window_);
  if (kind == nullptr) return;
  KindStore k = StoreOf(edit_.store(), kind->select);
  plat::ctl::TextBox& box = *window_.txtObjectNum;
  long n = 0;
  const auto shown = LeadingNumber(box.Text());
  if (!shown) {
    // Nothing shown: the walk starts at the lowest object the instrument holds.
    ObjectTransfer t = edit_.Transfer();
    k.Status = t.GetObjDirStatus(Code(kind->select));
    if (!k.Loaded) {
      MidiErrorMsg(-1, kind->title, kind->text);
      return;
    }
    k.Dir = t.GetObjDir(Code(kind->select));
    if (k.Dir.Entries.empty()) return;
    k.DirIdx = 0;
    n = k.Dir.Entries.front().Number;
  } else {
    n = *shown;
    const bool further = direction < 0 ? n > k.Status.LowestNum : n < k.Status.HighestNum;
    // The position never leaves the directory: at an end the number stays.
    if (further) {
      if (const auto next = StepPosition(k.Dir, k.DirIdx, direction)) {
        k.DirIdx = static_cast<std::int16_t>(*next);
        n = k.Dir.Entries[static_cast<std::size_t>(*next)].Number;
      }
    }
  }
  box.SetText(std::to_string(n));  // the box's change handler selects it
}

void HeaderHandlers::Enter(int& KeyAscii, const std::function<void()>& change) {
  EditFlags& f = edit_.flags();
  f.LastKeyAscii = EditProtocol::kEnter;
  KeyAscii = 0;  // Enter commits; it is never entered into the box
  f.SuppressChange = false;
  change();
}

void HeaderHandlers::spnObjectNum_SpinDown() { Step(-1); }
void HeaderHandlers::spnObjectNum_SpinUp() { Step(+1); }

void HeaderHandlers::txtObjectNum_KeyPress(int& KeyAscii) {
  EditFlags& f = edit_.flags();
  plat::ctl::TextBox& box = *window_.txtObjectNum;
  if (edit_.Busy() || edit_.link().LinkState == -1) {
    KeyAscii = 0;
    return;
  }
  if (KeyAscii == EditProtocol::kEnter) {
    Enter(KeyAscii, [this] { txtObjectNum_Change(); });
    return;
  }
  if (KeyAscii == EditProtocol::kBackspace) {
    f.LastKeyAscii = EditProtocol::kBackspace;
  } else if (KeyAscii > '9') {
    KeyAscii = 0;
    return;
  } else if (KeyAscii < '0') {
    KeyAscii = 0;  // refused, yet the box is marked as being edited
  }
  box.SetForeColor(EditProtocol::kEditColour);
  f.SuppressChange = true;
}

void HeaderHandlers::txtObjectNum_Change() {
  EditFlags& f = edit_.flags();
  if (f.LastKeyAscii == EditProtocol::kBackspace || f.SuppressChange || f.ProgramTextSet) {
    f.ProgramTextSet = false;
    return;
  }
  const bool enter = f.LastKeyAscii == EditProtocol::kEnter;
  if (!enter && edit_.ActiveName() != "spnObjectNum") return;
  const HeaderKind* kind = KindShown(window_);
  if (kind == nullptr) return;
  KindStore k = StoreOf(edit_.store(), kind->select);
  plat::ctl::TextBox& box = *window_.txtObjectNum;
  if (enter && box.Text().empty() && !k.Loaded) {
    // No object of the kind to show again: the page stays cleared.
    f.LastKeyAscii = 0;
    return;
  }
  EditContext ctx = edit_.Context();
  WindowDownloadHost downloads(window_);
  Change_ObjectNum(ctx, downloads, CurrentOf(edit_.store(), kind->select).Number, k.DirIdx, k.Status, k.Dir,
                   Code(kind->select), box, *window_.spnObjectNum);
}

void HeaderHandlers::txtObjectName_KeyPress(int& KeyAscii) {
  EditFlags& f = edit_.flags();
  plat::ctl::TextBox& box = *window_.txtObjectName;
  if (edit_.Busy()) {
    KeyAscii = 0;
    return;
  }
  if (KeyAscii == EditProtocol::kEnter) {
    nameEnter_ = true;
    Enter(KeyAscii, [this] { txtObjectName_Change(); });
    nameEnter_ = false;
    return;
  }
  f.LastKeyAscii = static_cast<std::uint8_t>(KeyAscii);
  if (!box.Locked()) box.SetForeColor(EditProtocol::kEditColour);
  f.SuppressChange = true;
}

void HeaderHandlers::txtObjectName_Change() {
  EditFlags& f = edit_.flags();
  plat::ctl::TextBox& box = *window_.txtObjectName;
  if (f.LastKeyAscii == EditProtocol::kBackspace || f.SuppressChange || f.ProgramTextSet) {
    if (f.ProgramTextSet) {
      f.ProgramTextSet = false;
      box.SetForeColor(EditProtocol::kShownColour);
    }
    return;
  }
  if (!nameEnter_ || f.LastKeyAscii != EditProtocol::kEnter) return;
  const HeaderKind* kind = KindShown(window_);
  if (kind == nullptr) return;
  Current cur = CurrentOf(edit_.store(), kind->select);
  EditContext ctx = edit_.Context();
  if (Change_ObjectName(ctx, cur.Number, cur.Name, Code(kind->rename))) edit_.ReadBack(kind->select);
}

void HeaderHandlers::Connect(const HandlerScope& scope) {
  frmMain& w = window_;
  w.spnObjectNum->SpinDown = [this, scope] { scope([&] { spnObjectNum_SpinDown(); }); };
  w.spnObjectNum->SpinUp = [this, scope] { scope([&] { spnObjectNum_SpinUp(); }); };
  w.txtObjectNum->KeyPress = [this, scope](int& key) { scope([&] { txtObjectNum_KeyPress(key); }); };
  w.txtObjectNum->Change = [this, scope] { scope([&] { txtObjectNum_Change(); }); };
  w.txtObjectName->KeyPress = [this, scope](int& key) { scope([&] { txtObjectName_KeyPress(key); }); };
  w.txtObjectName->Change = [this, scope] { scope([&] { txtObjectName_Change(); }); };
}

}  // namespace tavoro
