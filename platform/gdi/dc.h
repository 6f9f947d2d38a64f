#pragma once
// A drawing context with the primitives the lamp control paints with, following the pixel rules
// of the Windows drawing functions the control was written against:
//   - rectangles are left, top, right, bottom; right and bottom are outside the shape;
//   - a polyline leaves out its last point;
//   - Ellipse and Chord fill their box less its right column and bottom row when the pen is the
//     null pen, and outline the whole box with a one-pixel pen otherwise;
//   - an empty or inverted rectangle or box draws nothing.
//
// One DC class, three kinds of surface:
//   - ForPainter: draws through a QPainter (a widget's paint event, an image);
//   - CreateCompatibleDC: a memory context that draws into the bitmap selected into it;
//   - Recording: records every call as a line of text ("mem1: Ellipse (5,5,28,28)") and, when
//     given a size, also draws into an image of its own. It serves as the metafile context and
//     lets tests check drawing exactly. Memory contexts made from a recording context record
//     into the same log under the names mem1, mem2, ...
//
// Sizes are checked before anything is allocated: a bitmap wider or higher than kMaxBitmapSide or
// larger than kMaxBitmapPixels is refused.

#include <QImage>
#include <QSize>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/system.h"

class QPainter;

namespace plat::gdi {

struct Point {
  int x = 0;
  int y = 0;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool IsEmpty() const { return right <= left || bottom <= top; }
  // Width and height as 64-bit values, so no edges can overflow the arithmetic.
  std::int64_t Width() const { return std::int64_t{right} - left; }
  std::int64_t Height() const { return std::int64_t{bottom} - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

enum class PenStyle { Solid, Null };
struct Pen {
  PenStyle style = PenStyle::Solid;
  COLORREF color = 0;
  static Pen Null() { return Pen{PenStyle::Null, 0}; }
  static Pen Solid(COLORREF c) { return Pen{PenStyle::Solid, c}; }
  friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle { Solid, Hollow };
struct Brush {
  BrushStyle style = BrushStyle::Solid;
  COLORREF color = 0xFFFFFF;
  static Brush Hollow() { return Brush{BrushStyle::Hollow, 0}; }
  static Brush Solid(COLORREF c) { return Brush{BrushStyle::Solid, c}; }
  friend bool operator==(const Brush&, const Brush&) = default;
};

inline constexpr int kMaxBitmapSide = 16384;
inline constexpr std::int64_t kMaxBitmapPixels = std::int64_t{1} << 24;
bool BitmapSizeOk(std::int64_t width, std::int64_t height);

// A device-dependent bitmap. Contents are 32-bit RGB whatever depth it reports.
struct Bitmap {
  QImage image;
  int planes = 1;
  int bitsPixel = 32;
};

// What GetObject tells about a bitmap.
struct BitmapDesc {
  int width = 0;
  int height = 0;
  int widthBytes = 0;
  int planes = 0;
  int bitsPixel = 0;
};
bool GetObject(const Bitmap* bitmap, BitmapDesc* desc);

// A monochrome bitmap placeholder (width by height, 1 bit); null for a refused size.
std::shared_ptr<Bitmap> CreateBitmap(int width, int height, int planes, int bitsPixel);

// The header of a device-independent bitmap (40 bytes when stored).
struct BitmapInfoHeader {
  std::uint32_t biSize = 40;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;  // positive: rows stored bottom-up
  std::uint16_t biPlanes = 1;
  std::uint16_t biBitCount = 0;
  std::uint32_t biCompression = 0;  // BI_RGB
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;
};
inline constexpr std::uint32_t DIB_RGB_COLORS = 0;
inline constexpr std::uint32_t SRCCOPY = 0x00CC0020;
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;

// Bytes in one stored row of a DIB (rows are padded to 32 bits); 0 when the width or depth is
// unusable or the result would not fit in 32 bits.
std::uint32_t DibRowBytes(std::int64_t width, int bitCount);

struct DrawLog {
  std::vector<std::string> lines;
  int memoryContexts = 0;
};

class DC {
 public:
  // Draws through `painter`, which must outlive the DC; `size` bounds the surface.
  static std::unique_ptr<DC> ForPainter(QPainter* painter, QSize size);
  // A recording context named "target"; with a non-empty size it also draws into Image().
  static std::unique_ptr<DC> Recording(QSize size = QSize());
  // The screen's context (nothing to draw on), as a source for compatible contexts.
  static std::unique_ptr<DC> Display();

  ~DC();
  DC(const DC&) = delete;
  DC& operator=(const DC&) = delete;

  // A memory context drawing into its selected bitmap (a 1 by 1 monochrome one at first).
  std::unique_ptr<DC> CreateCompatibleDC();
  // A bitmap of this context's depth, cleared to black; null for a refused size.
  std::shared_ptr<Bitmap> CreateCompatibleBitmap(int width, int height);
  int GetDeviceCaps(int index) const;

  Pen SelectPen(const Pen& pen);
  Brush SelectBrush(const Brush& brush);
  // Memory contexts only; returns the bitmap that was selected (null elsewhere or for null).
  std::shared_ptr<Bitmap> SelectBitmap(std::shared_ptr<Bitmap> bitmap);
  std::shared_ptr<Bitmap> CurrentBitmap() const;
  Pen CurrentPen() const { return pen_; }
  Brush CurrentBrush() const { return brush_; }

  int SaveDC();               // the new save level (1, 2, ...)
  bool RestoreDC(int level);  // -1: the last saved state

  bool FillRect(const Rect& rect, const Brush& brush);
  bool Polyline(std::span<const Point> points);
  bool Ellipse(int left, int top, int right, int bottom);
  // The part of the ellipse cut off by the line between its points towards (x1, y1) and
  // (x2, y2), on the side of the arc running counter-clockwise from the first to the second.
  bool Chord(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
  // Only SRCCOPY; the source must have pixels (a memory or sized recording context).
  bool BitBlt(int x, int y, int width, int height, DC& source, int sx, int sy, std::uint32_t rop);

  // Reads `lines` rows from `start` (counted from the bottom) of the bitmap as a DIB of the
  // header's width, height and depth (24 or 32 bits). With bits empty only the header is filled
  // in. Returns the rows copied (or 1 for a header), 0 on failure.
  int GetDIBits(const Bitmap* bitmap, int start, int lines, std::span<std::uint8_t> bits, BitmapInfoHeader* info,
                std::uint32_t usage);
  // Draws the source rectangle of a DIB (24 or 32 bits) stretched onto the destination
  // rectangle. Returns the source rows used, 0 on failure (bad header, short data).
  int StretchDIBits(int x, int y, int width, int height, int sx, int sy, int sWidth, int sHeight,
                    std::span<const std::uint8_t> bits, const BitmapInfoHeader& info, std::uint32_t usage,
                    std::uint32_t rop);

  // The pixels of a memory context's bitmap or a sized recording context; null otherwise.
  const QImage* Image() const;
  // The recording, shared with the memory contexts made from this one (null when not recording).
  std::shared_ptr<DrawLog> Log() const { return log_; }
  const std::string& Name() const { return name_; }

 private:
  enum class Kind { Painter, Memory, Recording, Display };
  DC(Kind kind, std::string name);

  void Record(const std::string& line);
  QImage* Surface();
  QRect Clip() const;
  void FillSpan(int y, std::int64_t x0, std::int64_t x1, COLORREF color);
  void DrawImage(const QRect& target, const QImage& source, const QRect& sourceRect);
  void PlotLine(Point a, Point b, COLORREF color);

  struct Saved {
    Pen pen;
    Brush brush;
    std::shared_ptr<Bitmap> bitmap;
  };

  Kind kind_;
  std::string name_;
  QPainter* painter_ = nullptr;
  QSize painterSize_;
  std::shared_ptr<Bitmap> bitmap_;  // memory: selected; recording: own surface (may be null)
  Pen pen_ = Pen::Solid(0);
  Brush brush_ = Brush::Solid(0xFFFFFF);
  std::vector<Saved> saved_;
  std::shared_ptr<DrawLog> log_;
};

std::string ColorText(COLORREF c);  // "00BBGGRR"

}  // namespace plat::gdi
