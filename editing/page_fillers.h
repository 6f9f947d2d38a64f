#pragma once
// The page fillers: each shows the current object of its kind on its tab page, with change
// events suppressed for the whole fill. True when the page was filled; after a failure the
// filler has shown its error box.

#include "editing/edit_context.h"

namespace tavoro {

bool LoadToneDisplay(EditContext& ctx);
bool LoadMapDisplay(EditContext& ctx);
bool LoadPresetDisplay(EditContext& ctx);
bool LoadMultiDisplay(EditContext& ctx);
bool LoadGlobalDisplay(EditContext& ctx);
bool LoadWaveDisplay(EditContext& ctx);
// Colours the Map page's key panels by the zones of the current Map and draws the zone labels;
// called by the keyboard's scroll handler.
void Plot_MapZones(EditContext& ctx);

}  // namespace tavoro
