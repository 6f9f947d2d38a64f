#include "platform/media/avi.h"

#include <algorithm>
#include <array>

namespace plat::media {

namespace {

constexpr std::uint32_t FourCC(const char (&s)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[0])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[3])) << 24;
}

constexpr std::uint32_t kRiff = FourCC("RIFF"), kAvi = FourCC("AVI "), kList = FourCC("LIST"), kHdrl = FourCC("hdrl"),
                        kAvih = FourCC("avih"), kStrl = FourCC("strl"), kStrh = FourCC("strh"), kStrf = FourCC("strf"),
                        kVids = FourCC("vids"), kMovi = FourCC("movi"), kRec = FourCC("rec ");
constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1;
constexpr int kDefaultPeriodUs = 100000;
constexpr int kMinPeriodUs = 1000, kMaxPeriodUs = 10000000;

std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 | static_cast<std::uint32_t>(p[2]) << 16 |
         static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::int32_t S32(const std::uint8_t* p) { return static_cast<std::int32_t>(U32(p)); }

struct Span {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
};

struct Chunk {
  std::uint32_t id = 0;
  Span body;
};

// The chunks of a RIFF list, one after the other. In a cut-off file a list keeps what came of
// it, and a data chunk that claims more than is left ends the list: what came whole is kept.
class Chunks {
 public:
  explicit Chunks(Span s) : rest_(s) {}
  bool Next(Chunk& c) {
    if (rest_.size < 8) return false;
    c.id = U32(rest_.data);
    std::size_t size = U32(rest_.data + 4);
    if (size > rest_.size - 8) {
      if (c.id != kList) return false;
      size = rest_.size - 8;
    }
    c.body = {rest_.data + 8, size};
    const std::size_t step = 8 + size + (size & 1);
    if (step >= rest_.size) {
      rest_ = {};
    } else {
      rest_ = {rest_.data + step, rest_.size - step};
    }
    return true;
  }

 private:
  Span rest_;
};

// A LIST chunk's form type and content.
bool AsList(const Chunk& c, std::uint32_t& form, Span& content) {
  if (c.id != kList || c.body.size < 4) return false;
  form = U32(c.body.data);
  content = {c.body.data + 4, c.body.size - 4};
  return true;
}

struct Video {
  bool found = false;
  int streamIndex = -1;
  std::uint32_t scale = 0, rate = 0;
  int width = 0, height = 0;
  bool bottomUp = true;
  int bitCount = 0;
  std::uint32_t compression = 0;
  std::array<std::uint32_t, 256> palette{};
};

struct Parse {
  std::uint32_t periodUs = 0;
  int streams = 0;
  Video video;
  std::vector<Span> frames;
  std::string error;
};

void ReadFormat(Span f, Video& v) {
  if (f.size < 40) return;
  const std::uint32_t headerSize = std::max<std::uint32_t>(40, U32(f.data));
  v.width = S32(f.data + 4);
  const std::int32_t h = S32(f.data + 8);
  v.bottomUp = h > 0;
  v.height = h == INT32_MIN ? 0 : (h < 0 ? -h : h);
  v.bitCount = U16(f.data + 14);
  v.compression = U32(f.data + 16);
  std::uint32_t colours = U32(f.data + 32);
  if (colours == 0 || colours > 256) colours = 256;
  if (headerSize >= f.size) return;
  const std::size_t available = (f.size - headerSize) / 4;
  const std::size_t n = std::min<std::size_t>(colours, available);
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t* q = f.data + headerSize + 4 * i;
    v.palette[i] = 0xFF000000u | static_cast<std::uint32_t>(q[2]) << 16 | static_cast<std::uint32_t>(q[1]) << 8 | q[0];
  }
  for (std::size_t i = n; i < v.palette.size(); ++i) v.palette[i] = 0xFF000000u;
}

void ReadHeaders(Span hdrl, Parse& p) {
  Chunks chunks(hdrl);
  Chunk c;
  while (chunks.Next(c)) {
    std::uint32_t form = 0;
    Span content;
    if (c.id == kAvih && c.body.size >= 4) {
      p.periodUs = U32(c.body.data);
    } else if (AsList(c, form, content) && form == kStrl) {
      const int index = p.streams++;
      Chunks inner(content);
      Chunk s;
      bool isVideo = false;
      std::uint32_t scale = 0, rate = 0;
      Span format;
      while (inner.Next(s)) {
        if (s.id == kStrh && s.body.size >= 28) {
          isVideo = U32(s.body.data) == kVids;
          scale = U32(s.body.data + 20);
          rate = U32(s.body.data + 24);
        } else if (s.id == kStrf) {
          format = s.body;
        }
      }
      if (isVideo && !p.video.found) {
        p.video.found = true;
        p.video.streamIndex = index;
        p.video.scale = scale;
        p.video.rate = rate;
        ReadFormat(format, p.video);
      }
    }
  }
}

bool IsFrameOf(std::uint32_t id, int stream) {
  if (stream < 0 || stream > 99) return false;
  const char tens = static_cast<char>('0' + stream / 10), ones = static_cast<char>('0' + stream % 10);
  const char a = static_cast<char>(id & 0xFF), b = static_cast<char>((id >> 8) & 0xFF);
  const char c = static_cast<char>((id >> 16) & 0xFF), d = static_cast<char>((id >> 24) & 0xFF);
  return a == tens && b == ones && (c == 'd') && (d == 'b' || d == 'c');
}

void CollectFrames(Span movi, Parse& p, int depth) {
  Chunks chunks(movi);
  Chunk c;
  while (chunks.Next(c)) {
    std::uint32_t form = 0;
    Span content;
    if (AsList(c, form, content)) {
      if (form == kRec && depth < 4) CollectFrames(content, p, depth + 1);
    } else if (IsFrameOf(c.id, p.video.streamIndex)) {
      p.frames.push_back(c.body);
    }
  }
}

std::uint32_t Pixel(const std::uint8_t* q, int bitCount, const std::array<std::uint32_t, 256>& palette) {
  switch (bitCount) {
    case 8: return palette[q[0]];
    default: return 0xFF000000u | static_cast<std::uint32_t>(q[2]) << 16 | static_cast<std::uint32_t>(q[1]) << 8 | q[0];
  }
}

bool DecodeRaw(Span f, const Video& v, std::vector<std::uint32_t>& canvas) {
  const std::size_t w = static_cast<std::size_t>(v.width), h = static_cast<std::size_t>(v.height);
  const std::size_t bytesPerPixel = static_cast<std::size_t>(v.bitCount / 8);
  const std::size_t stride = (w * bytesPerPixel + 3) / 4 * 4;
  if (f.size < stride * h) return false;
  for (std::size_t row = 0; row < h; ++row) {
    const std::uint8_t* src = f.data + stride * row;
    const std::size_t y = v.bottomUp ? h - 1 - row : row;
    for (std::size_t x = 0; x < w; ++x) canvas[y * w + x] = Pixel(src + x * bytesPerPixel, v.bitCount, v.palette);
  }
  return true;
}

// 8-bit runs drawn over the previous frame (a frame may change only part of the picture). A code
// that runs past the frame's data ends the frame.
void DecodeRle8(Span f, const Video& v, std::vector<std::uint32_t>& canvas) {
  const std::size_t w = static_cast<std::size_t>(v.width), h = static_cast<std::size_t>(v.height);
  std::size_t x = 0, y = 0;  // y counts rows from the bottom
  auto put = [&](std::uint8_t index) {
    if (x < w && y < h) canvas[(h - 1 - y) * w + x] = v.palette[index];
    ++x;
  };
  std::size_t i = 0;
  while (i + 1 < f.size && y < h) {
    const std::uint8_t count = f.data[i], value = f.data[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(value);
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (i + 1 >= f.size) return;
      x += f.data[i];
      y += f.data[i + 1];
      i += 2;
    } else {
      if (value > f.size - i) return;
      for (std::size_t k = 0; k < value; ++k) put(f.data[i + k]);
      i += value + (value & 1u);
    }
  }
}

std::optional<AviClip> Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return std::nullopt;
}

}  // namespace

std::optional<AviClip> ReadAvi(const std::uint8_t* data, std::size_t size, std::string* error) {
  if (data == nullptr || size < 12 || U32(data) != kRiff || U32(data + 8) != kAvi) return Fail(error, "not an AVI file");
  const std::size_t riffSize = std::min<std::size_t>(U32(data + 4), size - 8);
  if (riffSize < 4) return Fail(error, "not an AVI file");
  Parse p;
  Chunks top({data + 12, riffSize - 4});
  Chunk c;
  Span movi;
  bool haveMovi = false;
  while (top.Next(c)) {
    std::uint32_t form = 0;
    Span content;
    if (!AsList(c, form, content)) continue;
    if (form == kHdrl) ReadHeaders(content, p);
    if (form == kMovi && !haveMovi) {
      movi = content;
      haveMovi = true;
    }
  }
  const Video& v = p.video;
  if (!v.found) return Fail(error, "no video stream");
  if (v.width <= 0 || v.height <= 0 || v.width > kMaxAviSide || v.height > kMaxAviSide)
    return Fail(error, "unsupported picture size");
  const bool raw = v.compression == kBiRgb && (v.bitCount == 8 || v.bitCount == 24 || v.bitCount == 32);
  const bool rle = v.compression == kBiRle8 && v.bitCount == 8 && v.bottomUp;
  if (!raw && !rle) return Fail(error, "unsupported video coding");
  if (haveMovi) CollectFrames(movi, p, 0);
  if (p.frames.empty()) return Fail(error, "no frames");
  const std::size_t pixels = static_cast<std::size_t>(v.width) * static_cast<std::size_t>(v.height);
  if (pixels * p.frames.size() > kMaxAviPixels) return Fail(error, "clip too large");

  AviClip clip;
  clip.width = v.width;
  clip.height = v.height;
  std::uint64_t period = p.periodUs;
  if (period == 0 && v.scale > 0 && v.rate > 0) period = std::uint64_t{v.scale} * 1000000u / v.rate;
  if (period == 0) period = kDefaultPeriodUs;
  clip.framePeriodUs = static_cast<int>(std::clamp<std::uint64_t>(period, kMinPeriodUs, kMaxPeriodUs));

  std::vector<std::uint32_t> canvas(pixels, raw ? 0xFF000000u : v.palette[0]);
  clip.frames.reserve(p.frames.size());
  for (const Span& f : p.frames) {
    if (f.size > 0) {
      if (rle) {
        DecodeRle8(f, v, canvas);
      } else if (!DecodeRaw(f, v, canvas)) {
        return Fail(error, "frame shorter than its picture");
      }
    }
    clip.frames.push_back(canvas);
  }
  return clip;
}

std::optional<AviClip> ReadAvi(const std::vector<std::uint8_t>& data, std::string* error) {
  return ReadAvi(data.data(), data.size(), error);
}

}  // namespace plat::media
