#include "tools/hourglass/avi_writer.h"

#include <string>

namespace avi_writer {

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutId(std::vector<std::uint8_t>& out, const char* id) { out.insert(out.end(), id, id + 4); }

std::vector<std::uint8_t> Chunk(const char* id, const std::vector<std::uint8_t>& body) {
  std::vector<std::uint8_t> out;
  PutId(out, id);
  Put32(out, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() & 1) out.push_back(0);
  return out;
}

std::vector<std::uint8_t> List(const char* form, const std::vector<std::uint8_t>& content, const char* id = "LIST") {
  std::vector<std::uint8_t> body;
  PutId(body, form);
  body.insert(body.end(), content.begin(), content.end());
  return Chunk(id, body);
}

int BitCount(Coding c) {
  switch (c) {
    case Coding::Raw24: return 24;
    case Coding::Raw32: return 32;
    default: return 8;
  }
}

std::vector<std::uint8_t> RawFrame(const std::vector<std::uint32_t>& frame, int width, int height, int bits) {
  const std::size_t stride = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits / 8) + 3) / 4 * 4;
  std::vector<std::uint8_t> out;
  for (int row = height - 1; row >= 0; --row) {
    const std::size_t start = out.size();
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = frame[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
      if (bits == 8) {
        out.push_back(static_cast<std::uint8_t>(v));
      } else {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
        out.push_back(static_cast<std::uint8_t>(v >> 16));
        if (bits == 32) out.push_back(0);
      }
    }
    out.resize(start + stride, 0);
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodeRle8(const std::vector<std::uint32_t>& frame, int width, int height) {
  std::vector<std::uint8_t> out;
  for (int row = height - 1; row >= 0; --row) {
    const std::size_t base = static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
    int x = 0;
    while (x < width) {
      const std::uint8_t v = static_cast<std::uint8_t>(frame[base + static_cast<std::size_t>(x)]);
      int run = 1;
      while (x + run < width && run < 255 && static_cast<std::uint8_t>(frame[base + static_cast<std::size_t>(x + run)]) == v) ++run;
      out.push_back(static_cast<std::uint8_t>(run));
      out.push_back(v);
      x += run;
    }
    out.push_back(0);
    out.push_back(row == 0 ? 1 : 0);  // end of line, or of the picture after the top row
  }
  return out;
}

std::vector<std::uint8_t> WriteAvi(const Clip& clip, Coding coding) {
  const int bits = BitCount(coding);
  const bool rle = coding == Coding::Rle8;
  std::vector<std::vector<std::uint8_t>> bodies;
  for (const auto& frame : clip.frames)
    bodies.push_back(rle ? EncodeRle8(frame, clip.width, clip.height) : RawFrame(frame, clip.width, clip.height, bits));
  bodies.insert(bodies.end(), clip.coded.begin(), clip.coded.end());
  const auto frameCount = static_cast<std::uint32_t>(bodies.size());

  std::vector<std::uint8_t> avih;
  Put32(avih, clip.framePeriodUs);
  Put32(avih, 0);           // max bytes per second
  Put32(avih, 0);           // padding granularity
  Put32(avih, 0x10);        // has an index
  Put32(avih, frameCount);  // total frames
  Put32(avih, 0);           // initial frames
  Put32(avih, 1);           // streams
  Put32(avih, 0);           // suggested buffer size
  Put32(avih, static_cast<std::uint32_t>(clip.width));
  Put32(avih, static_cast<std::uint32_t>(clip.height));
  for (int i = 0; i < 4; ++i) Put32(avih, 0);

  std::vector<std::uint8_t> strh;
  PutId(strh, "vids");
  PutId(strh, rle ? "mrle" : "DIB ");
  Put32(strh, 0);  // flags
  Put16(strh, 0);  // priority
  Put16(strh, 0);  // language
  Put32(strh, 0);  // initial frames
  Put32(strh, clip.framePeriodUs);  // scale / rate = seconds a frame
  Put32(strh, 1000000);
  Put32(strh, 0);  // start
  Put32(strh, frameCount);
  Put32(strh, 0);           // suggested buffer size
  Put32(strh, 0xFFFFFFFF);  // quality
  Put32(strh, 0);           // sample size
  Put16(strh, 0);
  Put16(strh, 0);
  Put16(strh, static_cast<std::uint16_t>(clip.width));
  Put16(strh, static_cast<std::uint16_t>(clip.height));

  std::vector<std::uint8_t> strf;
  Put32(strf, 40);
  Put32(strf, static_cast<std::uint32_t>(clip.width));
  Put32(strf, static_cast<std::uint32_t>(clip.height));
  Put16(strf, 1);
  Put16(strf, static_cast<std::uint16_t>(bits));
  Put32(strf, rle ? 1 : 0);
  Put32(strf, 0);  // image size
  Put32(strf, 0);
  Put32(strf, 0);
  Put32(strf, bits == 8 ? static_cast<std::uint32_t>(clip.palette.size()) : 0);
  Put32(strf, 0);
  if (bits == 8) {
    for (std::uint32_t c : clip.palette) {
      strf.push_back(static_cast<std::uint8_t>(c));
      strf.push_back(static_cast<std::uint8_t>(c >> 8));
      strf.push_back(static_cast<std::uint8_t>(c >> 16));
      strf.push_back(0);
    }
  }

  std::vector<std::uint8_t> strl = Chunk("strh", strh);
  const auto strfChunk = Chunk("strf", strf);
  strl.insert(strl.end(), strfChunk.begin(), strfChunk.end());
  std::vector<std::uint8_t> hdrl = Chunk("avih", avih);
  const auto strlList = List("strl", strl);
  hdrl.insert(hdrl.end(), strlList.begin(), strlList.end());

  std::vector<std::uint8_t> movi, idx1;
  for (const auto& body : bodies) {
    const char* id = rle ? "00dc" : "00db";
    PutId(idx1, id);
    Put32(idx1, 0x10);  // a key frame
    Put32(idx1, static_cast<std::uint32_t>(movi.size() + 4));
    Put32(idx1, static_cast<std::uint32_t>(body.size()));
    const auto c = Chunk(id, body);
    movi.insert(movi.end(), c.begin(), c.end());
  }

  std::vector<std::uint8_t> riff = List("hdrl", hdrl);
  const auto moviList = List("movi", movi);
  riff.insert(riff.end(), moviList.begin(), moviList.end());
  const auto index = Chunk("idx1", idx1);
  riff.insert(riff.end(), index.begin(), index.end());
  return List("AVI ", riff, "RIFF");
}

}  // namespace avi_writer
