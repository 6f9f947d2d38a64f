#pragma once
// The page fillers: each shows the current object of its kind on its tab page, with change
// events suppressed for the whole fill. True when the page was filled; after a failure the
// filler has shown its error box.

#include <cstdint>

#include "editing/edit_context.h"

namespace tavoro {

bool LoadToneDisplay(EditContext& ctx);
bool LoadMapDisplay(EditContext& ctx);
bool LoadPresetDisplay(EditContext& ctx);
bool LoadMultiDisplay(EditContext& ctx);
bool LoadGlobalDisplay(EditContext& ctx);
bool LoadWaveDisplay(EditContext& ctx);
// Colours the Map page's key panels by the zones of the current Map, draws each zone's bracket
// under the keys and its numbered label; called by the keyboard's scroll handler, whose key
// panels carry their note numbers in their Tags. With no Map held it only clears the drawing and
// the labels. Needs no link, so the window can call it before the link exists.
void Plot_MapZones(EditContext& ctx);
void Plot_MapZones(const EditorView& view, const ObjectStore& store, const PageControlLists& lists);

// Draws envelope 1 or 2 of the current Tone in its picture and sets its mode label.
bool Plot_Envelope(EditContext& ctx, std::uint8_t EnvNum);

}  // namespace tavoro
