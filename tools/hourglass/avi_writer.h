#pragma once
// Writes small silent AVI clips: one video stream, 8-bit (palette, raw or run-length coded) or
// 24/32-bit raw. Used to make the program's own animation and, in tests, clips to read back.

#include <cstdint>
#include <vector>

namespace avi_writer {

enum class Coding { Raw8, Rle8, Raw24, Raw32 };

struct Clip {
  int width = 0;
  int height = 0;
  std::uint32_t framePeriodUs = 100000;
  std::vector<std::uint32_t> palette;  // 0xRRGGBB, for the 8-bit codings (at most 256)
  // Each frame top row first: palette indexes (8-bit codings) or 0xRRGGBB values.
  std::vector<std::vector<std::uint32_t>> frames;
  // Frames already coded, written as they are after `frames` (tests of hand-made codes).
  std::vector<std::vector<std::uint8_t>> coded;
};

std::vector<std::uint8_t> WriteAvi(const Clip& clip, Coding coding);

// One frame's 8-bit run-length coding (bottom row first, as the file holds it).
std::vector<std::uint8_t> EncodeRle8(const std::vector<std::uint32_t>& frame, int width, int height);

}  // namespace avi_writer
