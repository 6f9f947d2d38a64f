// The drawing contexts: the pixel rules the lamp relies on, the recording, bitmaps and DIBs.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "platform/gdi/dc.h"

using namespace plat::gdi;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 16 by 16 white canvas.
std::unique_ptr<DC> Canvas(int w = 16, int h = 16) {
  auto dc = DC::Recording(QSize(w, h));
  EXPECT_NE(dc->Image(), nullptr);
  return dc;
}

COLORREF At(const DC& dc, int x, int y) {
  const QRgb p = dc.Image()->pixel(x, y);
  return RGB(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
             static_cast<std::uint8_t>(qBlue(p)));
}

// The set pixels of a colour, as rows of '#' and '.', for readable shape checks.
std::vector<std::string> Mask(const DC& dc, COLORREF c) {
  std::vector<std::string> rows;
  const QImage& img = *dc.Image();
  for (int y = 0; y < img.height(); ++y) {
    std::string row;
    for (int x = 0; x < img.width(); ++x) row += At(dc, x, y) == c ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

int Count(const DC& dc, COLORREF c) {
  int n = 0;
  for (const std::string& row : Mask(dc, c)) n += static_cast<int>(std::count(row.begin(), row.end(), '#'));
  return n;
}

}  // namespace

TEST(DrawingContext, RectanglesLeaveOutTheirRightColumnAndBottomRow) {
  auto dc = Canvas();
  dc->FillRect(Rect{2, 3, 6, 5}, Brush::Solid(kRed));
  EXPECT_EQ(Count(*dc, kRed), 8);
  EXPECT_EQ(At(*dc, 2, 3), kRed);
  EXPECT_EQ(At(*dc, 5, 4), kRed);
  EXPECT_EQ(At(*dc, 6, 4), kWhite);
  EXPECT_EQ(At(*dc, 5, 5), kWhite);

  // Empty, inverted and hollow: nothing.
  dc->FillRect(Rect{8, 8, 8, 12}, Brush::Solid(kBlue));
  dc->FillRect(Rect{12, 12, 9, 9}, Brush::Solid(kBlue));
  dc->FillRect(Rect{0, 0, 16, 16}, Brush::Hollow());
  EXPECT_EQ(Count(*dc, kBlue), 0);
  EXPECT_EQ(Count(*dc, kRed), 8);

  // Partly outside the surface: clipped, never written out of bounds.
  dc->FillRect(Rect{-1000000, 14, 1000000, 2000000}, Brush::Solid(kBlue));
  EXPECT_EQ(Count(*dc, kBlue), 32);
}

TEST(DrawingContext, PolylinesLeaveOutTheirLastPoint) {
  auto dc = Canvas();
  dc->SelectPen(Pen::Solid(kRed));
  const Point pts[] = {{1, 5}, {1, 1}, {6, 1}};
  dc->Polyline(pts);
  // Column 1 from 5 up to 2, row 1 from 1 to 5: the corner once, (6,1) left out.
  EXPECT_EQ(Count(*dc, kRed), 9);
  EXPECT_EQ(At(*dc, 1, 5), kRed);
  EXPECT_EQ(At(*dc, 1, 1), kRed);
  EXPECT_EQ(At(*dc, 5, 1), kRed);
  EXPECT_EQ(At(*dc, 6, 1), kWhite);

  const Point diag[] = {{0, 10}, {4, 14}};
  dc->Polyline(diag);
  EXPECT_EQ(At(*dc, 3, 13), kRed);
  EXPECT_EQ(At(*dc, 4, 14), kWhite);

  dc->SelectPen(Pen::Null());
  const Point hidden[] = {{10, 10}, {15, 10}};
  dc->Polyline(hidden);
  EXPECT_EQ(At(*dc, 10, 10), kWhite);
}

TEST(DrawingContext, EllipsesWithoutPenFillOnePixelLessThanTheirBox) {
  auto dc = Canvas(12, 12);
  dc->SelectPen(Pen::Null());
  dc->SelectBrush(Brush::Solid(kRed));
  dc->Ellipse(1, 1, 10, 10);
  // The 9 by 9 box less its right column and bottom row: pixels 1 to 8 both ways.
  const std::vector<std::string> expected = {
      "............",  //
      "...####.....",  //
      "..######....",  //
      ".########...",  //
      ".########...",  //
      ".########...",  //
      ".########...",  //
      "..######....",  //
      "...####.....",  //
      "............",  //
      "............",  //
      "............",
  };
  EXPECT_EQ(Mask(*dc, kRed), expected);
}

TEST(DrawingContext, EllipsesWithAPenOutlineTheWholeBox) {
  auto dc = Canvas(12, 12);
  dc->SelectPen(Pen::Solid(kBlue));
  dc->SelectBrush(Brush::Solid(kRed));
  dc->Ellipse(1, 1, 10, 10);
  const std::vector<std::string> outline = Mask(*dc, kBlue);
  const std::vector<std::string> inside = Mask(*dc, kRed);
  // The outline touches all four sides of the 9 by 9 box and nothing outside it.
  EXPECT_EQ(outline[1].substr(1, 9).find('#') != std::string::npos, true);
  EXPECT_NE(outline[9].find('#'), std::string::npos);
  EXPECT_EQ(outline[10], "............");
  EXPECT_EQ(outline[5][1], '#');
  EXPECT_EQ(outline[5][9], '#');
  EXPECT_EQ(outline[5][10], '.');
  EXPECT_EQ(inside[5][5], '#');
  EXPECT_EQ(inside[5][1], '.');

  // Hollow brush: the outline only.
  auto ring = Canvas(12, 12);
  ring->SelectPen(Pen::Solid(kBlue));
  ring->SelectBrush(Brush::Hollow());
  ring->Ellipse(1, 1, 10, 10);
  EXPECT_EQ(Mask(*ring, kBlue), outline);
  EXPECT_EQ(At(*ring, 5, 5), kWhite);

  // Empty and inverted boxes draw nothing.
  auto none = Canvas(12, 12);
  none->SelectPen(Pen::Solid(kBlue));
  none->Ellipse(5, 5, 5, 9);
  none->Ellipse(9, 9, 2, 2);
  EXPECT_EQ(Count(*none, kBlue), 0);
}

TEST(DrawingContext, ChordFillsTheSideOfTheArcRunningCounterClockwise) {
  auto dc = Canvas(12, 12);
  dc->SelectPen(Pen::Null());
  dc->SelectBrush(Brush::Solid(kBlue));
  dc->Ellipse(0, 0, 11, 11);
  dc->SelectBrush(Brush::Solid(kRed));
  // From the upper right to the lower left counter-clockwise: the upper-left half.
  dc->Chord(0, 0, 11, 11, 11, 0, 0, 11);
  EXPECT_EQ(At(*dc, 2, 2), kRed);
  EXPECT_EQ(At(*dc, 7, 7), kBlue);
  EXPECT_EQ(At(*dc, 1, 5), kRed);
  EXPECT_EQ(At(*dc, 8, 5), kBlue);
  // Swapping the points takes the other half.
  dc->SelectBrush(Brush::Solid(kWhite));
  dc->Chord(0, 0, 11, 11, 0, 11, 11, 0);
  EXPECT_EQ(At(*dc, 7, 7), kWhite);
  EXPECT_EQ(At(*dc, 2, 2), kRed);
}

TEST(DrawingContext, RecordsEveryCallUnderTheContextsName) {
  auto dc = DC::Recording();
  EXPECT_EQ(dc->Image(), nullptr);
  auto mem = dc->CreateCompatibleDC();
  mem->SaveDC();
  auto bmp = dc->CreateCompatibleBitmap(4, 3);
  mem->SelectBitmap(bmp);
  mem->SelectPen(Pen::Null());
  mem->SelectBrush(Brush::Solid(kRed));
  mem->Ellipse(0, 0, 4, 3);
  const Point pts[] = {{0, 0}, {3, 0}};
  mem->Polyline(pts);
  mem->Chord(0, 0, 4, 3, 4, 0, 0, 3);
  dc->BitBlt(0, 0, 4, 3, *mem, 0, 0, SRCCOPY);
  mem->RestoreDC(-1);
  mem.reset();
  const std::vector<std::string> expected = {
      "target: CreateCompatibleDC mem1",
      "mem1: SaveDC",
      "target: CreateCompatibleBitmap 4x3",
      "mem1: SelectBitmap 4x3x32",
      "mem1: SelectPen null",
      "mem1: SelectBrush solid 000000FF",
      "mem1: Ellipse (0,0,4,3)",
      "mem1: Polyline (0,0) (3,0)",
      "mem1: Chord (0,0,4,3) (4,0) (0,3)",
      "target: BitBlt (0,0,4,3) mem1 (0,0) SRCCOPY",
      "mem1: RestoreDC -1",
      "mem1: DeleteDC",
  };
  EXPECT_EQ(dc->Log()->lines, expected);
}

TEST(DrawingContext, SavedStatesComeBack) {
  auto dc = DC::Recording(QSize(4, 4));
  auto mem = dc->CreateCompatibleDC();
  const auto placeholder = mem->CurrentBitmap();
  ASSERT_NE(placeholder, nullptr);
  EXPECT_EQ(placeholder->bitsPixel, 1);
  const int level = mem->SaveDC();
  mem->SelectPen(Pen::Solid(kRed));
  mem->SelectBrush(Brush::Hollow());
  mem->SelectBitmap(dc->CreateCompatibleBitmap(2, 2));
  mem->SaveDC();
  mem->SelectPen(Pen::Null());
  EXPECT_TRUE(mem->RestoreDC(level));
  EXPECT_EQ(mem->CurrentPen(), Pen::Solid(0));
  EXPECT_EQ(mem->CurrentBrush(), Brush::Solid(0xFFFFFF));
  EXPECT_EQ(mem->CurrentBitmap(), placeholder);
  EXPECT_FALSE(mem->RestoreDC(-1));  // nothing saved any more
  EXPECT_FALSE(mem->RestoreDC(7));
}

TEST(DrawingContext, BitmapsOfUnusableSizeAreRefused) {
  auto dc = DC::Recording();
  EXPECT_EQ(dc->CreateCompatibleBitmap(0, 10), nullptr);
  EXPECT_EQ(dc->CreateCompatibleBitmap(10, -1), nullptr);
  EXPECT_EQ(dc->CreateCompatibleBitmap(kMaxBitmapSide + 1, 1), nullptr);
  EXPECT_EQ(dc->CreateCompatibleBitmap(kMaxBitmapSide, kMaxBitmapSide), nullptr);  // too many pixels
  EXPECT_NE(dc->CreateCompatibleBitmap(kMaxBitmapSide, 1), nullptr);
  EXPECT_EQ(dc->Log()->lines.front(), "target: CreateCompatibleBitmap 0x10 refused");
  EXPECT_EQ(DC::Recording(QSize(0, 5))->Image(), nullptr);
  EXPECT_EQ(DibRowBytes(1, 32), 4u);
  EXPECT_EQ(DibRowBytes(3, 24), 12u);
  EXPECT_EQ(DibRowBytes(0, 32), 0u);
  EXPECT_EQ(DibRowBytes(std::int64_t{1} << 40, 32), 0u);
}

TEST(DrawingContext, BitBltCopiesPixelsFromAMemoryContext) {
  auto target = Canvas(8, 8);
  auto mem = target->CreateCompatibleDC();
  mem->SelectBitmap(target->CreateCompatibleBitmap(3, 2));
  mem->FillRect(Rect{0, 0, 3, 2}, Brush::Solid(kBlue));
  mem->FillRect(Rect{2, 1, 3, 2}, Brush::Solid(kRed));
  EXPECT_TRUE(target->BitBlt(4, 5, 3, 2, *mem, 0, 0, SRCCOPY));
  EXPECT_EQ(At(*target, 4, 5), kBlue);
  EXPECT_EQ(At(*target, 6, 6), kRed);
  EXPECT_EQ(At(*target, 7, 6), kWhite);
  EXPECT_EQ(Count(*target, kBlue), 5);

  auto noPixels = DC::Recording();
  EXPECT_FALSE(target->BitBlt(0, 0, 2, 2, *noPixels, 0, 0, SRCCOPY));
  EXPECT_FALSE(target->BitBlt(0, 0, 2, 2, *mem, 0, 0, 0x00EE0086));
}

TEST(DrawingContext, DibsRoundTripAndShortDataIsRefused) {
  auto display = DC::Display();
  auto mem = display->CreateCompatibleDC();
  auto bmp = CreateBitmap(3, 2, 1, 32);
  mem->SelectBitmap(bmp);
  mem->FillRect(Rect{0, 0, 3, 2}, Brush::Solid(kBlue));
  mem->FillRect(Rect{0, 0, 1, 1}, Brush::Solid(kRed));  // top-left red

  BitmapInfoHeader info;
  ASSERT_EQ(mem->GetDIBits(bmp.get(), 0, 2, {}, &info, DIB_RGB_COLORS), 1);
  EXPECT_EQ(info.biWidth, 3);
  EXPECT_EQ(info.biHeight, 2);
  EXPECT_EQ(info.biBitCount, 32);
  std::vector<std::uint8_t> bits(DibRowBytes(3, 32) * 2);
  ASSERT_EQ(mem->GetDIBits(bmp.get(), 0, 2, bits, &info, DIB_RGB_COLORS), 2);
  // Bottom-up: the top-left pixel is the first of the second stored row, in B, G, R order.
  EXPECT_EQ(bits[12], 0);
  EXPECT_EQ(bits[13], 0);
  EXPECT_EQ(bits[14], 255);
  EXPECT_EQ(bits[0], 255);

  auto target = Canvas(6, 4);
  EXPECT_EQ(target->StretchDIBits(0, 0, 6, 4, 0, 0, 3, 2, bits, info, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(At(*target, 0, 0), kRed);
  EXPECT_EQ(At(*target, 1, 1), kRed);
  EXPECT_EQ(At(*target, 2, 0), kBlue);
  EXPECT_EQ(At(*target, 5, 3), kBlue);

  std::vector<std::uint8_t> shortBits(bits.begin(), bits.end() - 1);
  EXPECT_EQ(target->StretchDIBits(0, 0, 6, 4, 0, 0, 3, 2, shortBits, info, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(mem->GetDIBits(bmp.get(), 0, 2, shortBits, &info, DIB_RGB_COLORS), 0);
  BitmapInfoHeader huge = info;
  huge.biWidth = 1 << 30;
  EXPECT_EQ(target->StretchDIBits(0, 0, 6, 4, 0, 0, 3, 2, bits, huge, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(target->StretchDIBits(0, 0, 6, 4, 2, 0, 3, 2, bits, info, DIB_RGB_COLORS, SRCCOPY), 0);
}

TEST(DrawingContext, PainterContextDrawsTheSamePixels) {
  QImage image(12, 12, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    auto dc = DC::ForPainter(&painter, image.size());
    dc->SelectPen(Pen::Null());
    dc->SelectBrush(Brush::Solid(kRed));
    dc->Ellipse(1, 1, 10, 10);
    dc->FillRect(Rect{0, 11, 12, 12}, Brush::Solid(kBlue));
  }
  auto ref = Canvas(12, 12);
  ref->SelectPen(Pen::Null());
  ref->SelectBrush(Brush::Solid(kRed));
  ref->Ellipse(1, 1, 10, 10);
  ref->FillRect(Rect{0, 11, 12, 12}, Brush::Solid(kBlue));
  EXPECT_EQ(image, *ref->Image());
}

TEST(SystemColours, TranslationResolvesSystemColoursAndRefusesBadOnes) {
  COLORREF c = 0x12345678;
  EXPECT_TRUE(TranslateColor(0x00C0C0C0, &c));
  EXPECT_EQ(c, 0x00C0C0C0u);
  EXPECT_TRUE(TranslateColor(0x8000000F, &c));
  EXPECT_EQ(c, GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(TranslateColor(0x02123456, &c));
  EXPECT_EQ(c, 0x00123456u);
  c = 0x12345678;
  EXPECT_FALSE(TranslateColor(0x8000001F, &c));  // index 31
  EXPECT_FALSE(TranslateColor(0x800000FF, &c));
  EXPECT_FALSE(TranslateColor(0x80010005, &c));
  EXPECT_FALSE(TranslateColor(0x41000000, &c));
  EXPECT_EQ(c, 0x12345678u);
  EXPECT_EQ(GetSysColor(-1), 0u);
  EXPECT_EQ(GetSysColor(31), 0u);
}
