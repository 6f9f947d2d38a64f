#include "link/frame.h"

namespace tavoro {

plat::Bytes MakeSysExHeader() { return {kSysExStart, 0x00, 0x00, 0x1B, 0x02, 0x05}; }

plat::Bytes SysExFrame(const plat::Bytes& header, std::uint8_t deviceId, const plat::Bytes& body) {
  plat::Bytes m = header;
  m.append(deviceId).append(body).append(kSysExEnd);
  return m;
}

plat::Bytes FrontPanelKey(std::uint8_t key) { return {0x11, 0x01, 0x01, key}; }

bool IsSendableSysEx(const plat::Bytes& message) {
  const auto& v = message.vec();
  if (v.size() < 2 || v.front() != kSysExStart || v.back() != kSysExEnd) return false;
  for (std::size_t i = 1; i + 1 < v.size(); ++i)
    if (v[i] > 0x7F) return false;
  return true;
}

}  // namespace tavoro
