#pragma once
// The Tone page's parameter senders. Each takes the value the user committed in a box (Enter,
// or the paired slider being the window's active control), normalises the special texts,
// stores the value in its CurTone field and uploads the Tone with that field patched in.
//
// Both return True when they uploaded, whatever the instrument answered (the caller then reads
// the Tone back); False when nothing was sent. The box's text turns black only when the
// instrument accepted. Every text the sender writes itself is written with ProgramTextSet up
// (when it changes), so the box's change handler takes it for the program's write.
//
// Value is the CurTone field itself; NibPos and NibCount its place in the Tone dump. The box's
// Name (and Index, for the arrays) tells the sender which special texts apply.

#include <cstdint>

#include "editing/edit_context.h"
#include "platform/controls/range_controls.h"
#include "platform/controls/text_box.h"

namespace tavoro {

// The eight envelope stages, txtEnv1Att ... txtEnv2Rel with their sliders. Attack is signed;
// sustain 0 is gate mode ("gt"), and a sent sustain switches its envelope's mode, with the
// decay box ("--" and disabled in trigger mode); decay and release 99 show the infinity sign.
bool Change_Envelope(EditContext& ctx, plat::ctl::TextBox& Txt, plat::ctl::Slider& Sld, std::int16_t& Value,
                     std::int16_t NibPos, std::uint8_t NibCount);

// The DCA, DCF, DCO, LFO and pan parameters. Unsigned: 0 for a signed field (a negative value
// is stored and sent as value + 256), 1 for an unsigned one. txtLFO(4) knows "qnt" (0);
// txtLFO(5) shows the stored value + 1 and "none" for 0.
bool Change_ToneParm(EditContext& ctx, plat::ctl::TextBox& Txt, plat::ctl::Slider& Sld, std::int16_t& Value,
                     std::int16_t NibPos, std::uint8_t NibCount, std::uint8_t Unsigned);

}  // namespace tavoro
