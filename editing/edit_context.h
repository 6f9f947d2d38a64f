#pragma once
// What the senders, page fillers and plots work on: the program's state and the window's
// controls, handed in as one bundle so they can be driven without the whole main window.

#include "editing/edit_flags.h"
#include "editing/editor_view.h"
#include "editing/page_lists.h"
#include "link/startup.h"
#include "objects/records.h"

namespace tavoro {

class Link;

// What the editing procedures need of the main window itself, beyond its controls.
class EditorHost {
 public:
  virtual ~EditorHost() = default;
  // The Map page keyboard's scroll handler; it ends by drawing the zones (Plot_MapZones).
  virtual void hsbKey_Change() = 0;
  // The window's commands beside the pages (the Wave page switches stereo merge).
  virtual void SetCommandEnabled(StartupHost::Command command, bool enabled) = 0;
};

struct EditContext {
  Link& link;
  ObjectStore& store;
  EditFlags& flags;
  EditorView view;
  PageControlLists& lists;
  EditorHost* host = nullptr;
};

}  // namespace tavoro
