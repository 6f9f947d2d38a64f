#pragma once
// The Map page's sender: the zone selector and the fields of the current zone, with the key
// ranges of the zones kept in order and apart, each accepted value sent as a Map zone upload.

#include <cstdint>

#include "editing/edit_context.h"
#include "platform/controls/control.h"
#include "platform/controls/text_box.h"

namespace tavoro {

// Txt is txtMap(Index) (its Index says which field), Sld the paired slider or spin button (its
// Name is compared; a slider follows a typed volume or pan). Field is the zone field the box
// edits, taken from the current zone CurMap.Zones(CurZoneIdx) at each use, since a zone re-read
// nested inside the commit replaces the zone; nullptr for the zone selector (Index 0), whose
// value is CurZoneIdx. True only when a value was sent and accepted.
bool Change_MapParm(EditContext& ctx, plat::ctl::TextBox& Txt, plat::ctl::Control& Sld, std::int16_t MapZone::*Field,
                    std::int16_t NibPos, std::uint8_t NibCount, std::uint8_t Unsigned);

}  // namespace tavoro
