#include "mainwindow/window_downloads.h"

#include "editing/page_fillers.h"
#include "mainwindow/app.h"
#include "mainwindow/edit_protocol.h"
#include "mainwindow/main_window.h"
#include "objects/downloads.h"

namespace tavoro {

bool WindowDownloadHost::LoadDisplay(std::uint8_t kind) {
  EditContext ctx = w_.Editing();
  switch (kind) {
    case Code(ObjType::Wave): return LoadWaveDisplay(ctx);
    case Code(ObjType::Tone): return LoadToneDisplay(ctx);
    case Code(ObjType::Map): return LoadMapDisplay(ctx);
    case Code(ObjType::Preset): return LoadPresetDisplay(ctx);
    case Code(ObjType::Multi): return LoadMultiDisplay(ctx);
    case Code(ObjType::Global): return LoadGlobalDisplay(ctx);
    default: return false;
  }
}
void WindowDownloadHost::ClearObjDisplay(std::uint8_t kind) { w_.ClearObjDisplay(kind); }
void WindowDownloadHost::SetMousePointer(int pointer) { w_.SetMousePointer(pointer); }
void WindowDownloadHost::SetCommandEnabled(Command command, bool enabled) {
  using Window = StartupHost::Command;
  switch (command) {
    case Command::DeleteObject: w_.SetCommandEnabled(Window::DeleteObject, enabled); break;
    case Command::DeleteMenu: w_.SetCommandEnabled(Window::DeleteMenu, enabled); break;
    case Command::StereoMerge: w_.SetCommandEnabled(Window::StereoMerge, enabled); break;
    case Command::StereoMergeMenu: w_.SetCommandEnabled(Window::StereoMergeMenu, enabled); break;
  }
}
std::string WindowDownloadHost::ObjectNumText() { return w_.txtObjectNum->Text(); }
void WindowDownloadHost::SetObjectNumText(const std::string& text) { w_.txtObjectNum->SetText(text); }
// The name a download writes is the one the instrument holds: black, also after a refused rename.
void WindowDownloadHost::SetObjectNameText(const std::string& text) {
  w_.txtObjectName->SetText(text);
  w_.txtObjectName->SetForeColor(EditProtocol::kShownColour);
}
void WindowDownloadHost::SetObjectNumLocked(bool locked) { w_.txtObjectNum->SetLocked(locked); }
void WindowDownloadHost::SetObjectNameLocked(bool locked) { w_.txtObjectName->SetLocked(locked); }
void WindowDownloadHost::SetObjectNumForeColor(long colour) { w_.txtObjectNum->SetForeColor(colour); }
std::string WindowDownloadHost::PageLabel() { return w_.lblObjNumHash->Caption(); }
std::string WindowDownloadHost::PanelTag(int panel) { return w_.stbMainForm->Panels(panel).Tag(); }

bool frmMain::AllObjectsDump() {
  HandlerScope scope(*this);
  WindowDownloadHost host(*this);
  ObjectTransfer transfer(app_.link(), app_.store);
  return tavoro::AllObjectsDump(transfer, host);
}

void frmMain::ObjectDownload(std::uint8_t ObjType) {
  HandlerScope scope(*this);
  WindowDownloadHost host(*this);
  ObjectTransfer transfer(app_.link(), app_.store);
  tavoro::ObjectDownload(transfer, host, ObjType);
}

}  // namespace tavoro
