#pragma once
// The Global page's senders: the Multi's boxes (group and part selectors, polyphony, a part's
// Preset and volume), uploaded with the whole Multi; and the Global values, each sent as its own
// short change message (a Global parameter, the bank name, the master tune).

#include <cstdint>
#include <string>

#include "editing/edit_context.h"
#include "platform/controls/control.h"
#include "platform/controls/text_box.h"

namespace tavoro {

// Txt is txtGlobal(Index) of the Multi half, Sld its spin button or slider (only its Name is
// read), Value the CurMulti field (the selected group or part for the selectors 0 and 2). The
// last argument is not used. True only when a value was sent and accepted.
bool Change_MultiParm(EditContext& ctx, plat::ctl::TextBox& Txt, const plat::ctl::Control& Sld, std::int16_t& Value,
                      std::int16_t NibPos, std::uint8_t NibCount, std::uint8_t Unused);

// Ctl is the changed control of the Global half (its Tag "txt", "opt" or "cbo" and Index say what
// is sent), Paired its spin button or slider (not used), Value the GlobalData field, B1 and B2 the
// message's first two body bytes. Unsigned 0 makes a lone "-" restore the shown value. True only
// when the instrument accepted the change; a refused change leaves the field as it was.
bool Change_GlobalParm(EditContext& ctx, plat::ctl::Control& Ctl, const plat::ctl::Control& Paired,
                       std::int16_t& Value, std::uint8_t B1, std::uint8_t B2, std::uint8_t Unsigned);
bool Change_GlobalParm(EditContext& ctx, plat::ctl::Control& Ctl, const plat::ctl::Control& Paired,
                       std::string& Value, std::uint8_t B1, std::uint8_t B2, std::uint8_t Unsigned);

}  // namespace tavoro
