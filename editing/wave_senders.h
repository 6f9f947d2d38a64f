#pragma once
// The Wave page's sender: fine tune, the play and loop points and the root pitch, each checked
// against the Wave's other points before the Wave is sent; and the loop-point check that keeps
// the stored Wave's loop inside a new play range.

#include <cstdint>

#include "editing/edit_context.h"
#include "platform/controls/control.h"
#include "platform/controls/text_box.h"

namespace tavoro {

// Kind: which value rules a Wave box follows.
inline constexpr std::uint8_t kWaveFineTune = 0;  // signed byte
inline constexpr std::uint8_t kWavePoint = 1;     // a play or loop point, 32 bits
inline constexpr std::uint8_t kWavePitch = 4;     // root pitch in hundredths, typed in semitones

// Txt is the Wave box (its Name says which field), Sld its spin button (only its Name is read),
// Value the CurWave field itself. True when a value was sent, whatever the instrument answered;
// False when nothing was sent.
bool Change_WaveParm(EditContext& ctx, plat::ctl::TextBox& Txt, const plat::ctl::Control& Sld, std::int16_t& Value,
                     std::int16_t NibPos, std::uint8_t NibCount, std::uint8_t Kind);
bool Change_WaveParm(EditContext& ctx, plat::ctl::TextBox& Txt, const plat::ctl::Control& Sld, std::int32_t& Value,
                     std::int16_t NibPos, std::uint8_t NibCount, std::uint8_t Kind);

// Moves the loop points of WaveDump (never CurWave) into the play range PlayStart..PlayEnd that
// the Wave is about to get; nothing is sent. False when a write failed (after its box).
bool Check_LoopPoints(EditContext& ctx, std::int32_t PlayStart, std::int32_t PlayEnd);

}  // namespace tavoro
