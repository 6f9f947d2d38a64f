// What the delete, load bank and stereo merge windows reach of the main window.
#include "editing/page_fillers.h"
#include "mainwindow/app.h"
#include "mainwindow/main_window.h"

namespace tavoro {

OperationContext frmMain::Operations() {
  return OperationContext{app_.link(), app_.store, app_.flags, app_.HomeDir, lastBankNumber_, *this};
}

std::string frmMain::PageLabel() { return lblObjNumHash->Caption(); }

bool frmMain::LoadDisplay(std::uint8_t kind) {
  EditContext ctx = Editing();
  switch (kind) {
    case 0: return LoadWaveDisplay(ctx);
    case 1: return LoadToneDisplay(ctx);
    case 2: return LoadMapDisplay(ctx);
    case 3: return LoadPresetDisplay(ctx);
    case 4: return LoadMultiDisplay(ctx);
    case 18: return LoadGlobalDisplay(ctx);
    default: return false;
  }
}

void frmMain::RunAsHandler(const std::function<void()>& operation) {
  HandlerScope scope(*this);
  operation();
}

std::string frmMain::WaveSizeText() { return pages.txtWaveSize->Text(); }
std::string frmMain::WaveModeText() { return pages.txtWaveMode->Text(); }

}  // namespace tavoro
