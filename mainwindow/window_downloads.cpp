// The main window's side of the bulk and single downloads: the pages are filled by the page
// fillers, the header, panels and commands are the window's own controls.
#include "editing/page_fillers.h"
#include "mainwindow/app.h"
#include "mainwindow/main_window.h"
#include "objects/downloads.h"

namespace tavoro {

namespace {

class WindowDownloadHost : public DownloadHost {
 public:
  explicit WindowDownloadHost(frmMain& w) : w_(w) {}

  bool LoadDisplay(std::uint8_t kind) override {
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
  void ClearObjDisplay(std::uint8_t kind) override { w_.ClearObjDisplay(kind); }
  void SetMousePointer(int pointer) override { w_.SetMousePointer(pointer); }
  void SetCommandEnabled(Command command, bool enabled) override {
    using Window = StartupHost::Command;
    switch (command) {
      case Command::DeleteObject: w_.SetCommandEnabled(Window::DeleteObject, enabled); break;
      case Command::DeleteMenu: w_.SetCommandEnabled(Window::DeleteMenu, enabled); break;
      case Command::StereoMerge: w_.SetCommandEnabled(Window::StereoMerge, enabled); break;
      case Command::StereoMergeMenu: w_.SetCommandEnabled(Window::StereoMergeMenu, enabled); break;
    }
  }
  std::string ObjectNumText() override { return w_.txtObjectNum->Text(); }
  void SetObjectNumText(const std::string& text) override { w_.txtObjectNum->SetText(text); }
  void SetObjectNameText(const std::string& text) override { w_.txtObjectName->SetText(text); }
  void SetObjectNumLocked(bool locked) override { w_.txtObjectNum->SetLocked(locked); }
  void SetObjectNameLocked(bool locked) override { w_.txtObjectName->SetLocked(locked); }
  void SetObjectNumForeColor(long colour) override { w_.txtObjectNum->SetForeColor(colour); }
  std::string PageLabel() override { return w_.lblObjNumHash->Caption(); }
  std::string PanelTag(int panel) override { return w_.stbMainForm->Panels(panel).Tag(); }

 private:
  frmMain& w_;
};

}  // namespace

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
