// The AVI reader: every coding it takes read back pixel for pixel, the frame period, run-length
// frames drawn over the last one, and files it must refuse without reading past their end.
#include "platform/media/avi.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tools/hourglass/avi_writer.h"

using avi_writer::Coding;
using plat::media::ReadAvi;

namespace {

constexpr std::uint32_t kPalette[] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456};

// Three frames of 5 by 3 pixels (an odd width, so rows are padded), palette indexes.
avi_writer::Clip IndexedClip() {
  avi_writer::Clip c;
  c.width = 5;
  c.height = 3;
  c.framePeriodUs = 80000;
  c.palette.assign(std::begin(kPalette), std::end(kPalette));
  c.frames = {{0, 1, 2, 3, 4, 4, 4, 4, 4, 4, 1, 1, 2, 2, 3},
              {4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 2, 2, 2, 2, 2},
              {1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3}};
  return c;
}

std::vector<std::uint32_t> Argb(const std::vector<std::uint32_t>& frame, const avi_writer::Clip& c, bool indexed) {
  std::vector<std::uint32_t> out;
  for (std::uint32_t v : frame) out.push_back(0xFF000000u | (indexed ? c.palette[v] : v));
  return out;
}

TEST(AviReaderTest, EveryCodingReadsBackPixelForPixel) {
  for (Coding coding : {Coding::Raw8, Coding::Rle8, Coding::Raw24, Coding::Raw32}) {
    avi_writer::Clip c = IndexedClip();
    const bool indexed = coding == Coding::Raw8 || coding == Coding::Rle8;
    if (!indexed)
      for (auto& f : c.frames)
        for (auto& v : f) v = kPalette[v] ^ 0x010203;  // true colours, distinct bytes per channel
    std::string error;
    const auto clip = ReadAvi(avi_writer::WriteAvi(c, coding), &error);
    ASSERT_TRUE(clip) << static_cast<int>(coding) << ": " << error;
    EXPECT_EQ(clip->width, 5);
    EXPECT_EQ(clip->height, 3);
    EXPECT_EQ(clip->framePeriodUs, 80000);
    ASSERT_EQ(clip->frames.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(clip->frames[i], Argb(c.frames[i], c, indexed)) << static_cast<int>(coding) << " frame " << i;
  }
}

// Hand-made run-length frames: an absolute run, a jump over unchanged pixels, the end of the
// picture before its last rows; what a frame does not draw keeps the previous frame, and an
// empty frame repeats it.
TEST(AviReaderTest, RunLengthFramesDrawOverTheLastFrame) {
  avi_writer::Clip c = IndexedClip();
  c.frames.resize(1);
  // Bottom row: 3 pixels 1 2 3 as they are (padded to a word), then jump 1 right and 1 up and
  // draw two 4s, end of the picture.
  c.coded = {{0, 3, 1, 2, 3, 0, 0, 2, 1, 1, 2, 4, 0, 1}, {}};
  const auto clip = ReadAvi(avi_writer::WriteAvi(c, Coding::Rle8));
  ASSERT_TRUE(clip);
  ASSERT_EQ(clip->frames.size(), 3u);
  std::vector<std::uint32_t> expected = c.frames[0];
  expected[10] = 1, expected[11] = 2, expected[12] = 3;  // the bottom row starts at index 10
  expected[5 + 4] = 4;  // middle row, x 4; the run's second pixel falls off the row's end
  EXPECT_EQ(clip->frames[1], Argb(expected, c, true));
  EXPECT_EQ(clip->frames[2], clip->frames[1]);
}

// Codes that run past the frame's data end the frame there; nothing outside it is read.
TEST(AviReaderTest, RunLengthCodesCutShortEndTheFrame) {
  const std::vector<std::vector<std::uint8_t>> codes = {
      {0, 5, 1, 2},      // an absolute run of 5 with 2 bytes left
      {0, 2, 9},         // a jump without its second byte
      {7},               // half a code
      {0, 2, 200, 200},  // a jump far outside the picture
  };
  for (const auto& code : codes) {
    avi_writer::Clip c = IndexedClip();
    c.frames.resize(1);
    c.coded = {code};
    const auto clip = ReadAvi(avi_writer::WriteAvi(c, Coding::Rle8));
    ASSERT_TRUE(clip);
    ASSERT_EQ(clip->frames.size(), 2u);
    EXPECT_EQ(clip->frames[1].size(), 15u);
  }
}

// Byte offsets in a clip the writer makes (one stream): the fields the refusals patch.
constexpr std::size_t kAvihPeriod = 32, kStrhType = 108, kStrhScale = 128, kStrhRate = 132, kStrfWidth = 176,
                      kStrfHeight = 180, kStrfBits = 186, kStrfCoding = 188;

void Patch32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(AviReaderTest, WriterLayoutIsWhatThePatchesAssume) {
  const auto b = avi_writer::WriteAvi(IndexedClip(), Coding::Raw8);
  EXPECT_EQ(std::string(b.begin() + kStrhType, b.begin() + kStrhType + 4), "vids");
  EXPECT_EQ(b[kStrfWidth], 5);
  EXPECT_EQ(b[kStrfHeight], 3);
  EXPECT_EQ(b[kStrfBits], 8);
  EXPECT_EQ(b[kAvihPeriod], 80000 & 0xFF);
}

TEST(AviReaderTest, FilesItCannotDecodeAreRefused) {
  struct Case {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> damage;
  };
  const Case cases[] = {
      {"not RIFF", [](auto& b) { b[0] = 'X'; }},
      {"not AVI", [](auto& b) { b[8] = 'W'; }},
      {"only the header", [](auto& b) { b.resize(12); }},
      {"no video stream", [](auto& b) { b[kStrhType] = 'a'; }},
      {"16 bits a pixel", [](auto& b) { b[kStrfBits] = 16; }},
      {"compressed", [](auto& b) { Patch32(b, kStrfCoding, 0x64697678); }},
      {"run-length with 24 bits", [](auto& b) { Patch32(b, kStrfCoding, 1), b[kStrfBits] = 24; }},
      {"zero width", [](auto& b) { Patch32(b, kStrfWidth, 0); }},
      {"negative width", [](auto& b) { Patch32(b, kStrfWidth, 0xFFFFFFFB); }},
      {"huge height", [](auto& b) { Patch32(b, kStrfHeight, 100000); }},
      {"frames shorter than the picture", [](auto& b) { Patch32(b, kStrfHeight, 9); }},
      {"cut before the first frame", [](auto& b) { b.resize(250); }},
  };
  for (const Case& c : cases) {
    auto bytes = avi_writer::WriteAvi(IndexedClip(), Coding::Raw8);
    c.damage(bytes);
    std::string error;
    EXPECT_FALSE(ReadAvi(bytes, &error)) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
  EXPECT_FALSE(ReadAvi(nullptr, 0));
}

TEST(AviReaderTest, ACutFileKeepsItsWholeFramesAndTheStreamGivesThePeriod) {
  auto bytes = avi_writer::WriteAvi(IndexedClip(), Coding::Raw8);
  // Without the index and half of the last frame: two frames left.
  const std::size_t frameChunk = 8 + 3 * 8;
  const std::size_t moviEnd = bytes.size() - (8 + 3 * 16);
  bytes.resize(moviEnd - frameChunk / 2);
  Patch32(bytes, kAvihPeriod, 0);  // no period in the main header: scale / rate of the stream
  Patch32(bytes, kStrhScale, 1);
  Patch32(bytes, kStrhRate, 25);
  const auto clip = ReadAvi(bytes);
  ASSERT_TRUE(clip);
  EXPECT_EQ(clip->frames.size(), 2u);
  EXPECT_EQ(clip->framePeriodUs, 40000);
}

TEST(AviReaderTest, TheProgramsOwnHourglassPlays) {
  std::ifstream in(TAVORO_SOURCE_DIR "/resources/HourGlas.avi", std::ios::binary);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string error;
  const auto clip = ReadAvi(bytes, &error);
  ASSERT_TRUE(clip) << error;
  EXPECT_GE(clip->frames.size(), 8u);
  EXPECT_NE(clip->frames.front(), clip->frames[clip->frames.size() / 2]);
  EXPECT_GE(clip->framePeriodUs, 50000);
  EXPECT_LE(clip->framePeriodUs, 250000);
}

}  // namespace
