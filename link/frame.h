#pragma once
// The System Exclusive frame every message to the instrument uses:
//   F0 | 00 00 1B | 02 05 | device id | body (command and data) | F7
// There is no checksum. Replies come back in the same frame.

#include <cstdint>

#include "platform/bytes.h"

namespace tavoro {

inline constexpr std::uint8_t kSysExStart = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;
inline constexpr std::uint8_t kDefaultDeviceId = 0x7F;  // every instrument listens to 7F

// The six bytes F0 00 00 1B 02 05 that begin every message.
plat::Bytes MakeSysExHeader();

// header + device id + body + F7.
plat::Bytes SysExFrame(const plat::Bytes& header, std::uint8_t deviceId, const plat::Bytes& body);

// Body of the front-panel key message: 11 01 01 k (k = key code 0-11).
plat::Bytes FrontPanelKey(std::uint8_t key);

// True when `message` starts with F0, ends with F7 and carries only data bytes (00-7F) between
// them: the only shape the output port may be given as one System Exclusive message.
bool IsSendableSysEx(const plat::Bytes& message);

}  // namespace tavoro
