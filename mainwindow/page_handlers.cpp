#include "mainwindow/page_handlers.h"

#include "mainwindow/app.h"
#include "mainwindow/main_window.h"

namespace tavoro {

PageHandlers::PageHandlers(App& app, frmMain& window)
    : edit(app, [&window](ObjType kind) { window.ObjectDownload(Code(kind)); }),
      tone(edit, window.pages),
      tonePairs(edit, window.pages),
      wave(edit, window.pages),
      map(edit, window),
      preset(edit, window.pages),
      global(edit, window.pages),
      header(edit, window) {
  auto scope = [&window, alive = alive_](const std::function<void()>& body) {
    if (*alive) window.Handler(body);
  };
  tone.Connect(scope);
  tonePairs.Connect(scope);
  wave.Connect(scope);
  map.Connect(scope);
  preset.Connect(scope);
  global.Connect(scope);
  header.Connect(scope);
}

PageHandlers::~PageHandlers() { *alive_ = false; }

}  // namespace tavoro
