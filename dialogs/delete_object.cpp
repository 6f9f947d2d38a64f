#include "dialogs/delete_object.h"

#include <array>
#include <optional>

#include "editing/number_text.h"
#include "platform/ui/message_box.h"

namespace tavoro {

namespace {

struct KindTexts {
  const char* label;  // the page's object prefix
  std::uint8_t kind;
  const char* caption;
  const char* current;  // optDelObj(0)
  const char* all;      // optDelObj(1)
  const char* confirmAll;
  const char* progressAll;
  const char* noun;  // in "Delete Current Wave: w#" and "Deleting Wave w#"
};

constexpr std::array<KindTexts, 5> kKinds{{
    {"w#", 0, "Delete Wave", "Delete Current Wave:", "Delete All Waves", "Delete all Waves?", "Deleting all Waves...", "Wave"},
    {"t#", 1, "Delete Tone", "Delete Current Tone:", "Delete All Tones", "Delete all Tones?", "Deleting all Tones...", "Tone"},
    {"m#", 2, "Delete Map", "Delete Current Map:", "Delete All Maps", "Delete all Maps?", "Deleting all Maps...", "Map"},
    {"p#", 3, "Delete Preset", "Delete Current Preset:", "Delete All Presets", "Delete all Presets?", "Deleting all Presets...",
     "Preset"},
    {"mu#", 4, "Delete Multi", "Delete Current Multi:", "Delete All Multis", "Delete all Multis?", "Deleting all Multis...",
     "Multi"},
}};

const KindTexts* KindOfPage(const std::string& label) {
  for (const KindTexts& k : kKinds)
    if (label == k.label) return &k;
  return nullptr;
}

// The object the store holds for the kind: its directory entry at the kind's index.
std::optional<DirEntry> StoredObject(ObjectStore& store, std::uint8_t kind) {
  const KindStore k = StoreOf(store, static_cast<ObjType>(kind));
  if (!k.Loaded || k.DirIdx < 0 || k.DirIdx >= static_cast<int>(k.Dir.Entries.size())) return std::nullopt;
  return k.Dir.Entries[static_cast<std::size_t>(k.DirIdx)];
}

void Refuse(const std::string& text) {
  plat::BoxRequest box;
  box.title = "Delete Object";
  box.text = text;
  box.icon = plat::BoxIcon::Critical;
  plat::ShowMessageBox(box);
}

}  // namespace

frmDeleteObject::frmDeleteObject(const OperationContext& ctx, QWidget* owner) : plat::ctl::Form(owner), ctx_(ctx) {
  setObjectName("frmDeleteObject");
  SetCaption("Delete Object");
  setFixedSize(380, 178);

  pnlDelObj = new plat::ctl::Panel3D(this);
  pnlDelObj->SetName("pnlDelObj");
  pnlDelObj->SetBevelOuter(1);
  pnlDelObj->setGeometry(10, 10, 360, 112);
  const char* captions[] = {"Delete Current Object:", "Delete All Type Objects", "Clear All Of Memory"};
  for (int i = 0; i < 3; ++i) {
    auto* opt = new plat::ctl::OptionButton(captions[i], pnlDelObj);
    opt->setGeometry(12, 10 + 34 * i, 170, 24);
    optDelObj.Add(i, opt);
  }
  const int widths[] = {44, 118}, lengths[] = {3, 14}, lefts[] = {186, 234};
  for (int i = 0; i < 2; ++i) {
    auto* box = new plat::ctl::TextBox(pnlDelObj);
    box->SetLocked(true);
    box->SetMaxLength(lengths[i]);
    box->setGeometry(lefts[i], 10, widths[i], 24);
    box->setFocusPolicy(Qt::NoFocus);
    txtDelObj.Add(i, box);
  }
  cmdDelObj = new plat::ctl::CommandButton("&Delete", this);
  cmdDelObj->SetName("cmdDelObj");
  cmdDelObj->setGeometry(96, 134, 88, 30);
  cmdDelObj->setDefault(true);
  cmdCancel = new plat::ctl::CommandButton("&Cancel", this);
  cmdCancel->SetName("cmdCancel");
  cmdCancel->setGeometry(196, 134, 88, 30);

  cmdDelObj->Click = [this] { cmdDelObj_Click(); };
  cmdCancel->Click = [this] { cmdCancel_Click(); };
  Form_Load = [this] { OnLoad(); };
  Form_Activate = [this] { cmdDelObj->SetFocus(); };
}

void frmDeleteObject::ShowModal(const OperationContext& ctx) {
  // Owned by the main window until its own Unload deletes it.
  auto* form = new frmDeleteObject(ctx, ctx.host.MainWindow());
  form->Show(plat::ctl::Form::kModal);
}

plat::Bytes frmDeleteObject::ObjectDeleteMsg(std::uint8_t kind, int number) {
  return plat::Bytes{kDeleteCommand, kind, 0, 0, 0, 2} + DigitBytes(number, 4);
}

void frmDeleteObject::OnLoad() {
  const KindTexts* k = KindOfPage(ctx_.host.PageLabel());
  if (k) {
    optDelObj(0).SetCaption(k->current);
    optDelObj(1).SetCaption(k->all);
    SetCaption(k->caption);
  }
  const std::optional<DirEntry> object = k ? StoredObject(ctx_.store, k->kind) : std::nullopt;
  if (object) {
    optDelObj(0).SetEnabled(true);
    optDelObj(0).SetValue(true);
    txtDelObj(0).SetText(std::to_string(object->Number));
    txtDelObj(1).SetText(Trim(object->Name));
  } else {
    optDelObj(0).SetEnabled(false);
    optDelObj(1).SetValue(true);
    txtDelObj(0).SetText("");
    txtDelObj(1).SetText("");
  }
}

void frmDeleteObject::cmdCancel_Click() { Unload(); }

void frmDeleteObject::cmdDelObj_Click() {
  if (RequestOutstanding(ctx_)) return;
  std::uint8_t kind = kWholeMemory;
  int number = 0;
  std::string confirm = "Clear All Vesk Memory ?";
  std::string progressText = "Clearing all Vesk memory...";
  if (!optDelObj(2).Value()) {
    const KindTexts* k = KindOfPage(ctx_.host.PageLabel());
    if (!k) {
      Refuse("The page shown holds no kind of object that can be deleted.");
      return;
    }
    kind = k->kind;
    if (optDelObj(0).Value()) {
      const std::optional<DirEntry> object = StoredObject(ctx_.store, kind);
      if (!object) {
        Refuse(std::string("No ") + k->noun + " is loaded: there is no current " + k->noun + " to delete.");
        return;
      }
      number = object->Number;
      const std::string shown = k->label + std::to_string(number) + "   " + Trim(object->Name);
      confirm = std::string("Delete Current ") + k->noun + ": " + shown + " ?";
      progressText = std::string("Deleting ") + k->noun + " " + shown + (kind == 0 ? "" : "...");
    } else if (optDelObj(1).Value()) {
      number = -1;
      confirm = k->confirmAll;
      progressText = k->progressAll;
    } else {
      return;
    }
  }

  Hide();
  plat::BoxRequest box;
  box.title = "Delete Object";
  box.text = confirm;
  box.icon = plat::BoxIcon::Exclamation;
  box.buttons = plat::BoxButtons::YesNo;
  if (plat::ShowMessageBox(box) != plat::BoxResult::Yes) {
    Show(plat::ctl::Form::kModal);  // back as it was, still modal
    return;
  }

  // From here on the window is gone: only the context is used.
  OperationContext ctx = ctx_;
  ProgressRef progress = ProgressRef::Show(ctx.host.MainWindow(), ctx.HomeDir, Caption(), progressText);
  Unload();
  if (SendForStatus(ctx, ObjectDeleteMsg(kind, number), kDeleteTimeoutMs))
    RereadAll(ctx, progress, kind == kWholeMemory ? "Downloading Global Data..." : "Downloading Vesk Data...");
  EndOperation(ctx, progress);
}

}  // namespace tavoro
