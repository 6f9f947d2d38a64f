// The AVI reader on any bytes: never reads outside them, and a clip it returns has the frames and
// sizes it claims.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/media/avi.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto clip = plat::media::ReadAvi(data, size);
  if (!clip) return 0;
  if (clip->width <= 0 || clip->height <= 0 || clip->width > plat::media::kMaxAviSide ||
      clip->height > plat::media::kMaxAviSide || clip->frames.empty() || clip->framePeriodUs <= 0)
    std::abort();
  const std::size_t pixels = static_cast<std::size_t>(clip->width) * static_cast<std::size_t>(clip->height);
  for (const auto& frame : clip->frames)
    if (frame.size() != pixels) std::abort();
  return 0;
}
