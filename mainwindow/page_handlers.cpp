#include "mainwindow/page_handlers.h"

#include "editing/page_fillers.h"
#include "mainwindow/app.h"
#include "mainwindow/main_window.h"

namespace tavoro {

namespace {

// Reads the current object of a kind again - its directory status, its directory and the object
// whose number the header shows - and refills its page.
void ReadBackObject(App& app, ObjType kind) {
  frmMain& w = app.main();
  ObjectTransfer t(app.link(), app.store);
  ObjectStore& s = app.store;
  const auto number = LeadingNumber(w.txtObjectNum->Text());
  EditContext ctx = w.Editing();
  switch (kind) {
    case ObjType::Tone:
      s.ToneStatus = t.GetObjDirStatus(Code(kind));
      s.ToneDir = t.GetObjDir(Code(kind));
      if (number && t.ToneObjDump(static_cast<std::int16_t>(*number))) LoadToneDisplay(ctx);
      break;
    case ObjType::Wave:
      s.WaveStatus = t.GetObjDirStatus(Code(kind));
      s.WaveDir = t.GetObjDir(Code(kind));
      if (number && t.WaveObjDump(static_cast<std::int16_t>(*number))) LoadWaveDisplay(ctx);
      break;
    default: break;
  }
}

}  // namespace

PageHandlers::PageHandlers(App& app, frmMain& window)
    : edit(app, [&app](ObjType kind) { ReadBackObject(app, kind); }),
      tone(edit, window.pages),
      tonePairs(edit, window.pages),
      wave(edit, window.pages) {
  auto scope = [&window, alive = alive_](const std::function<void()>& body) {
    if (*alive) window.Handler(body);
  };
  tone.Connect(scope);
  tonePairs.Connect(scope);
  wave.Connect(scope);
}

PageHandlers::~PageHandlers() { *alive_ = false; }

}  // namespace tavoro
