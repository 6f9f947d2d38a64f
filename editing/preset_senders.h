#pragma once
// The Preset pages' sender: the common fields and the fields of the selected layer, the switch
// points kept in order with their neighbours, the layer's Maps moved to Maps that exist, and the
// two selectors (allocation group, map entry) that only refresh the boxes depending on them.

#include <cstdint>

#include "editing/edit_context.h"
#include "platform/controls/control.h"
#include "platform/controls/text_box.h"

namespace tavoro {

// Txt is txtPreset(Index), Sld its slider or spin button (only its Name is read), Value the
// CurPreset field (the selected number for the selectors 5 and 7). True only when a value was
// sent and accepted.
bool Change_PresetParm(EditContext& ctx, plat::ctl::TextBox& Txt, const plat::ctl::Control& Sld, std::int16_t& Value,
                       std::int16_t NibPos, std::uint8_t NibCount, std::uint8_t Unsigned);

}  // namespace tavoro
