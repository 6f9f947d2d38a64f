#pragma once
// Page clearing: empties and switches off the page of one object kind when there is nothing of
// that kind to show. Only what the window shows changes; the object store is left alone.

#include <cstdint>

#include "editing/edit_flags.h"
#include "editing/editor_view.h"
#include "editing/page_lists.h"

namespace tavoro {

class Link;

// kind: 0 Wave, 1 Tone, 2 Map, 3 Preset, 4 Multi, 18 Global; any other kind only locks the name
// box. Every control of the kind's list(s) is reset by its Tag and disabled; spin buttons are
// left as they are. Change events raised meanwhile find SuppressChange set.
void ClearObjDisplay(const EditorView& view, const PageControlLists& lists, EditFlags& flags, Link& link,
                     std::uint8_t kind);

}  // namespace tavoro
