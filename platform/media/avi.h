#pragma once
// A small reader of RIFF AVI clips, enough for the animations the program plays: one video
// stream, uncompressed with 8 (palette), 24 or 32 bits a pixel, or 8-bit run-length coded; other
// streams are skipped. Nothing here trusts the file: every size is checked against what is left,
// and a clip whose frames would be unreasonably large is refused.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace plat::media {

struct AviClip {
  int width = 0;
  int height = 0;
  int framePeriodUs = 0;  // microseconds a frame is shown
  // Each frame top row first, 0xFFRRGGBB a pixel; a frame coded as "no change" repeats the last.
  std::vector<std::vector<std::uint32_t>> frames;
};

// Largest clip taken: each side and the decoded pixels of all frames together.
inline constexpr int kMaxAviSide = 2048;
inline constexpr std::size_t kMaxAviPixels = std::size_t{1} << 24;

// The clip in `data`, or nothing when it is no AVI this reader can decode (why in *error).
std::optional<AviClip> ReadAvi(const std::uint8_t* data, std::size_t size, std::string* error = nullptr);
std::optional<AviClip> ReadAvi(const std::vector<std::uint8_t>& data, std::string* error = nullptr);

}  // namespace plat::media
