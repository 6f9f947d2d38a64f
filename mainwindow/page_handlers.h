#pragma once
// The handlers of the main window's object pages, one family a file, wired to the window's
// controls in one place. The window makes one of these once its controls exist.

#include <memory>

#include "mainwindow/edit_protocol.h"
#include "mainwindow/global_handlers.h"
#include "mainwindow/header_handlers.h"
#include "mainwindow/map_handlers.h"
#include "mainwindow/preset_handlers.h"
#include "mainwindow/tone_handlers.h"
#include "mainwindow/tone_pairs.h"
#include "mainwindow/wave_handlers.h"

namespace tavoro {

class App;
class frmMain;

class PageHandlers {
 public:
  PageHandlers(App& app, frmMain& window);
  // Events that the window's controls raise while they go find no handler any more.
  ~PageHandlers();
  PageHandlers(const PageHandlers&) = delete;
  PageHandlers& operator=(const PageHandlers&) = delete;

  EditProtocol edit;
  ToneHandlers tone;
  TonePairs tonePairs;
  WaveHandlers wave;
  MapHandlers map;
  PresetHandlers preset;
  GlobalHandlers global;
  HeaderHandlers header;

 private:
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tavoro
