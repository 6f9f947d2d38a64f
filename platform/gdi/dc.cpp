#include "platform/gdi/dc.h"

#include <QColor>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>

namespace plat::gdi {

namespace {

QRgb ToRgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

std::string RectText(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
  return "(" + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," + std::to_string(b) + ")";
}
std::string PointText(int x, int y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }
std::string PenText(const Pen& p) { return p.style == PenStyle::Null ? "null" : "solid " + ColorText(p.color); }
std::string BrushText(const Brush& b) { return b.style == BrushStyle::Hollow ? "hollow" : "solid " + ColorText(b.color); }

// The drawn box of an ellipse or chord: its whole box with a pen, one pixel less on the right
// and at the bottom without one.
struct EllipseBox {
  std::int64_t left, top, right, bottom;  // right and bottom outside
  double cx, cy, a, b;
  bool empty;
};

EllipseBox MakeBox(int l, int t, int r, int b, bool nullPen) {
  EllipseBox e{};
  e.left = l;
  e.top = t;
  e.right = std::int64_t{r} - (nullPen ? 1 : 0);
  e.bottom = std::int64_t{b} - (nullPen ? 1 : 0);
  e.empty = e.right <= e.left || e.bottom <= e.top;
  if (!e.empty) {
    e.a = static_cast<double>(e.right - e.left) / 2.0;
    e.b = static_cast<double>(e.bottom - e.top) / 2.0;
    e.cx = static_cast<double>(e.left) + e.a;
    e.cy = static_cast<double>(e.top) + e.b;
  }
  return e;
}

// The pixels of row y whose centres lie inside the ellipse: [x0, x1], false when none.
bool RowSpan(const EllipseBox& e, std::int64_t y, std::int64_t* x0, std::int64_t* x1) {
  if (e.empty || y < e.top || y >= e.bottom) return false;
  const double dy = (static_cast<double>(y) + 0.5 - e.cy) / e.b;
  const double q = 1.0 - dy * dy;
  if (q < 0) return false;
  const double half = e.a * std::sqrt(q);
  *x0 = std::max<std::int64_t>(e.left, static_cast<std::int64_t>(std::ceil(e.cx - 0.5 - half)));
  *x1 = std::min<std::int64_t>(e.right - 1, static_cast<std::int64_t>(std::floor(e.cx - 0.5 + half)));
  return *x0 <= *x1;
}

struct HalfPlane {
  double px = 0, py = 0, dx = 0, dy = 0, side = 0;
  bool all = true;
  // Narrows [x0, x1] of row y to the pixels whose centres lie on the arc's side of the line.
  bool Clip(std::int64_t y, std::int64_t* x0, std::int64_t* x1) const {
    if (all) return *x0 <= *x1;
    // On the side when (dx * (yc - py) - dy * (xc - px)) * side >= 0, linear in xc = x + 0.5.
    const double a = dx * (static_cast<double>(y) + 0.5 - py) + dy * px;
    if (dy == 0) return a * side >= 0 && *x0 <= *x1;
    const double edge = std::clamp(a / dy - 0.5, -1e15, 1e15);
    if (dy * side > 0) *x1 = std::min(*x1, static_cast<std::int64_t>(std::floor(edge)));
    else *x0 = std::max(*x0, static_cast<std::int64_t>(std::ceil(edge)));
    return *x0 <= *x1;
  }
};

// The side of the chord line that holds the arc from the point towards (x1, y1)
// counter-clockwise (as seen on screen) to the point towards (x2, y2).
HalfPlane ChordSide(const EllipseBox& e, int x1, int y1, int x2, int y2) {
  HalfPlane h;
  if (e.empty) return h;
  auto angle = [&](int x, int y) { return std::atan2(-(y - e.cy) / e.b, (x - e.cx) / e.a); };
  auto point = [&](double th, double* x, double* y) {
    *x = e.cx + e.a * std::cos(th);
    *y = e.cy - e.b * std::sin(th);
  };
  const double t1 = angle(x1, y1);
  const double t2 = angle(x2, y2);
  double sweep = t2 - t1;
  while (sweep <= 0) sweep += 2 * std::numbers::pi;
  double ax, ay, bx, by, mx, my;
  point(t1, &ax, &ay);
  point(t2, &bx, &by);
  point(t1 + sweep / 2, &mx, &my);
  h.px = ax;
  h.py = ay;
  h.dx = bx - ax;
  h.dy = by - ay;
  h.side = h.dx * (my - ay) - h.dy * (mx - ax);
  h.all = std::abs(h.dx) < 1e-9 && std::abs(h.dy) < 1e-9;
  if (h.side == 0) h.all = true;
  return h;
}

}  // namespace

std::string ColorText(COLORREF c) {
  char buf[12];
  std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(c));
  return buf;
}

bool BitmapSizeOk(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
         width * height <= kMaxBitmapPixels;
}

std::uint32_t DibRowBytes(std::int64_t width, int bitCount) {
  if (width <= 0 || bitCount <= 0 || bitCount > 32) return 0;
  const std::int64_t bytes = (std::int64_t{bitCount} * width + 31) / 32 * 4;
  if (bytes > std::numeric_limits<std::uint32_t>::max()) return 0;
  return static_cast<std::uint32_t>(bytes);
}

bool GetObject(const Bitmap* bitmap, BitmapDesc* desc) {
  if (!bitmap || bitmap->image.isNull() || !desc) return false;
  desc->width = bitmap->image.width();
  desc->height = bitmap->image.height();
  desc->planes = bitmap->planes;
  desc->bitsPixel = bitmap->bitsPixel;
  desc->widthBytes = static_cast<int>((std::int64_t{bitmap->bitsPixel} * desc->width + 15) / 16 * 2);
  return true;
}

std::shared_ptr<Bitmap> CreateBitmap(int width, int height, int planes, int bitsPixel) {
  if (!BitmapSizeOk(width, height) || planes != 1 || (bitsPixel != 1 && bitsPixel != 24 && bitsPixel != 32))
    return nullptr;
  auto bmp = std::make_shared<Bitmap>();
  bmp->image = QImage(width, height, QImage::Format_RGB32);
  if (bmp->image.isNull()) return nullptr;
  bmp->image.fill(Qt::black);
  bmp->planes = planes;
  bmp->bitsPixel = bitsPixel;
  return bmp;
}

DC::DC(Kind kind, std::string name) : kind_(kind), name_(std::move(name)) {}

DC::~DC() { Record("DeleteDC"); }

std::unique_ptr<DC> DC::ForPainter(QPainter* painter, QSize size) {
  std::unique_ptr<DC> dc(new DC(Kind::Painter, "painter"));
  dc->painter_ = painter;
  dc->painterSize_ = size;
  return dc;
}

std::unique_ptr<DC> DC::Recording(QSize size) {
  std::unique_ptr<DC> dc(new DC(Kind::Recording, "target"));
  dc->log_ = std::make_shared<DrawLog>();
  if (!size.isEmpty() && BitmapSizeOk(size.width(), size.height())) {
    dc->bitmap_ = CreateBitmap(size.width(), size.height(), 1, 32);
    if (dc->bitmap_) dc->bitmap_->image.fill(Qt::white);
  }
  return dc;
}

std::unique_ptr<DC> DC::Display() { return std::unique_ptr<DC>(new DC(Kind::Display, "display")); }

void DC::Record(const std::string& line) {
  if (log_) log_->lines.push_back(name_ + ": " + line);
}

std::unique_ptr<DC> DC::CreateCompatibleDC() {
  std::string name = "mem";
  if (log_) name += std::to_string(++log_->memoryContexts);
  std::unique_ptr<DC> dc(new DC(Kind::Memory, name));
  dc->log_ = log_;
  dc->bitmap_ = CreateBitmap(1, 1, 1, 1);
  Record("CreateCompatibleDC " + name);
  return dc;
}

std::shared_ptr<Bitmap> DC::CreateCompatibleBitmap(int width, int height) {
  std::shared_ptr<Bitmap> bmp = CreateBitmap(width, height, 1, 32);
  Record("CreateCompatibleBitmap " + std::to_string(width) + "x" + std::to_string(height) + (bmp ? "" : " refused"));
  return bmp;
}

int DC::GetDeviceCaps(int index) const {
  switch (index) {
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    default: return 0;
  }
}

Pen DC::SelectPen(const Pen& pen) {
  Record("SelectPen " + PenText(pen));
  return std::exchange(pen_, pen);
}

Brush DC::SelectBrush(const Brush& brush) {
  Record("SelectBrush " + BrushText(brush));
  return std::exchange(brush_, brush);
}

std::shared_ptr<Bitmap> DC::SelectBitmap(std::shared_ptr<Bitmap> bitmap) {
  if (kind_ != Kind::Memory || !bitmap) return nullptr;
  Record("SelectBitmap " + std::to_string(bitmap->image.width()) + "x" + std::to_string(bitmap->image.height()) + "x" +
         std::to_string(bitmap->bitsPixel));
  return std::exchange(bitmap_, std::move(bitmap));
}

std::shared_ptr<Bitmap> DC::CurrentBitmap() const { return kind_ == Kind::Memory ? bitmap_ : nullptr; }

int DC::SaveDC() {
  Record("SaveDC");
  saved_.push_back(Saved{pen_, brush_, bitmap_});
  return static_cast<int>(saved_.size());
}

bool DC::RestoreDC(int level) {
  Record("RestoreDC " + std::to_string(level));
  const int count = static_cast<int>(saved_.size());
  if (level < 0) level = count + 1 + level;
  if (level < 1 || level > count) return false;
  const Saved s = saved_[static_cast<std::size_t>(level - 1)];
  saved_.resize(static_cast<std::size_t>(level - 1));
  pen_ = s.pen;
  brush_ = s.brush;
  if (kind_ == Kind::Memory) bitmap_ = s.bitmap;
  return true;
}

QImage* DC::Surface() {
  if ((kind_ == Kind::Memory || kind_ == Kind::Recording) && bitmap_ && !bitmap_->image.isNull()) return &bitmap_->image;
  return nullptr;
}

const QImage* DC::Image() const {
  if ((kind_ == Kind::Memory || kind_ == Kind::Recording) && bitmap_ && !bitmap_->image.isNull()) return &bitmap_->image;
  return nullptr;
}

QRect DC::Clip() const {
  if (kind_ == Kind::Painter) return painter_ ? QRect(QPoint(0, 0), painterSize_) : QRect();
  if (const QImage* img = Image()) return img->rect();
  return QRect();
}

void DC::FillSpan(int y, std::int64_t x0, std::int64_t x1, COLORREF color) {
  const QRect clip = Clip();
  if (clip.isEmpty() || y < clip.top() || y > clip.bottom()) return;
  x0 = std::max<std::int64_t>(x0, clip.left());
  x1 = std::min<std::int64_t>(x1, std::int64_t{clip.right()} + 1);
  if (x0 >= x1) return;
  if (kind_ == Kind::Painter) {
    painter_->fillRect(QRect(static_cast<int>(x0), y, static_cast<int>(x1 - x0), 1), QColor(ToRgb(color)));
    return;
  }
  QImage* img = Surface();
  if (!img) return;
  auto* line = reinterpret_cast<QRgb*>(img->scanLine(y));
  std::fill(line + x0, line + x1, ToRgb(color));
}

void DC::DrawImage(const QRect& target, const QImage& source, const QRect& sourceRect) {
  if (kind_ == Kind::Painter) {
    if (painter_) painter_->drawImage(target, source, sourceRect);
    return;
  }
  QImage* img = Surface();
  if (!img) return;
  QPainter p(img);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(target, source, sourceRect);
}

bool DC::FillRect(const Rect& rect, const Brush& brush) {
  Record("FillRect " + RectText(rect.left, rect.top, rect.right, rect.bottom) + " " + BrushText(brush));
  if (rect.IsEmpty() || brush.style == BrushStyle::Hollow) return true;
  const QRect clip = Clip();
  if (clip.isEmpty()) return true;
  const std::int64_t y0 = std::max<std::int64_t>(rect.top, clip.top());
  const std::int64_t y1 = std::min<std::int64_t>(rect.bottom, std::int64_t{clip.bottom()} + 1);
  for (std::int64_t y = y0; y < y1; ++y) FillSpan(static_cast<int>(y), rect.left, rect.right, brush.color);
  return true;
}

void DC::PlotLine(Point a, Point b, COLORREF color) {
  // Horizontal and vertical lines as spans; others stepped, leaving out the end point.
  if (a.y == b.y) {
    if (a.x < b.x) FillSpan(a.y, a.x, b.x, color);
    else if (a.x > b.x) FillSpan(a.y, std::int64_t{b.x} + 1, std::int64_t{a.x} + 1, color);
    return;
  }
  if (a.x == b.x) {
    // Rows from a.y towards b.y, b.y left out, limited to the visible rows.
    const QRect clip = Clip();
    const std::int64_t first = a.y < b.y ? a.y : std::int64_t{b.y} + 1;
    const std::int64_t last = a.y < b.y ? std::int64_t{b.y} - 1 : a.y;
    const std::int64_t y0 = std::max<std::int64_t>(first, clip.top());
    const std::int64_t y1 = std::min<std::int64_t>(last, clip.bottom());
    for (std::int64_t y = y0; y <= y1; ++y) FillSpan(static_cast<int>(y), a.x, std::int64_t{a.x} + 1, color);
    return;
  }
  const std::int64_t dx = std::abs(std::int64_t{b.x} - a.x);
  const std::int64_t dy = -std::abs(std::int64_t{b.y} - a.y);
  const int sx = a.x < b.x ? 1 : -1;
  const int sy = a.y < b.y ? 1 : -1;
  std::int64_t err = dx + dy;
  std::int64_t x = a.x;
  std::int64_t y = a.y;
  while (x != b.x || y != b.y) {
    if (y >= std::numeric_limits<int>::min() && y <= std::numeric_limits<int>::max())
      FillSpan(static_cast<int>(y), x, x + 1, color);
    const std::int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

bool DC::Polyline(std::span<const Point> points) {
  std::string line = "Polyline";
  for (const Point& p : points) line += " " + PointText(p.x, p.y);
  Record(line);
  if (points.size() < 2) return false;
  if (pen_.style == PenStyle::Null) return true;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) PlotLine(points[i], points[i + 1], pen_.color);
  return true;
}

namespace {

// Paints the pixels of a box that `inside` accepts: the outline (pixels with a neighbour
// outside) in the pen colour when there is a pen, the rest in the brush unless it is hollow.
template <class Span, class Fill>
void PaintRegion(const EllipseBox& e, const QRect& clip, bool pen, Span span, Fill fill) {
  if (e.empty || clip.isEmpty()) return;
  const std::int64_t y0 = std::max<std::int64_t>(e.top, clip.top());
  const std::int64_t y1 = std::min<std::int64_t>(e.bottom, std::int64_t{clip.bottom()} + 1);
  for (std::int64_t y = y0; y < y1; ++y) {
    std::int64_t a0, a1;
    if (!span(y, &a0, &a1)) continue;
    if (!pen) {
      fill(y, a0, a1 + 1, false);
      continue;
    }
    // Interior: inside, with both horizontal neighbours and the pixels above and below inside.
    std::int64_t i0 = a0 + 1, i1 = a1 - 1;
    std::int64_t u0, u1, d0, d1;
    if (span(y - 1, &u0, &u1) && span(y + 1, &d0, &d1)) {
      i0 = std::max({i0, u0, d0});
      i1 = std::min({i1, u1, d1});
    } else {
      i1 = i0 - 1;
    }
    if (i0 > i1) {
      fill(y, a0, a1 + 1, true);
    } else {
      fill(y, a0, i0, true);
      fill(y, i0, i1 + 1, false);
      fill(y, i1 + 1, a1 + 1, true);
    }
  }
}

}  // namespace

bool DC::Ellipse(int left, int top, int right, int bottom) {
  Record("Ellipse " + RectText(left, top, right, bottom));
  const bool pen = pen_.style != PenStyle::Null;
  const EllipseBox e = MakeBox(left, top, right, bottom, !pen);
  auto span = [&](std::int64_t y, std::int64_t* x0, std::int64_t* x1) { return RowSpan(e, y, x0, x1); };
  auto fill = [&](std::int64_t y, std::int64_t x0, std::int64_t x1, bool outline) {
    if (outline) FillSpan(static_cast<int>(y), x0, x1, pen_.color);
    else if (brush_.style != BrushStyle::Hollow) FillSpan(static_cast<int>(y), x0, x1, brush_.color);
  };
  PaintRegion(e, Clip(), pen, span, fill);
  return true;
}

bool DC::Chord(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) {
  Record("Chord " + RectText(left, top, right, bottom) + " " + PointText(x1, y1) + " " + PointText(x2, y2));
  const bool pen = pen_.style != PenStyle::Null;
  const EllipseBox e = MakeBox(left, top, right, bottom, !pen);
  const HalfPlane side = ChordSide(e, x1, y1, x2, y2);
  const QRect clip = Clip();
  // A row of the chord is one run: the ellipse's row cut by the half plane.
  auto span = [&](std::int64_t y, std::int64_t* a, std::int64_t* b) {
    return RowSpan(e, y, a, b) && side.Clip(y, a, b);
  };
  auto fill = [&](std::int64_t y, std::int64_t a, std::int64_t b, bool outline) {
    if (outline) FillSpan(static_cast<int>(y), a, b, pen_.color);
    else if (brush_.style != BrushStyle::Hollow) FillSpan(static_cast<int>(y), a, b, brush_.color);
  };
  PaintRegion(e, clip, pen, span, fill);
  return true;
}

bool DC::BitBlt(int x, int y, int width, int height, DC& source, int sx, int sy, std::uint32_t rop) {
  Record("BitBlt " + RectText(x, y, std::int64_t{x} + width, std::int64_t{y} + height) + " " + source.name_ + " " + PointText(sx, sy) + (rop == SRCCOPY ? " SRCCOPY" : " rop"));
  if (rop != SRCCOPY || !BitmapSizeOk(width, height)) return false;
  const QImage* src = source.Image();
  if (!src) return false;
  DrawImage(QRect(x, y, width, height), *src, QRect(sx, sy, width, height));
  return true;
}

int DC::GetDIBits(const Bitmap* bitmap, int start, int lines, std::span<std::uint8_t> bits, BitmapInfoHeader* info,
                  std::uint32_t usage) {
  Record("GetDIBits " + std::to_string(start) + "+" + std::to_string(lines));
  if (!bitmap || bitmap->image.isNull() || !info || usage != DIB_RGB_COLORS) return 0;
  const QImage& img = bitmap->image;
  if (bits.empty()) {
    info->biSize = 40;
    info->biWidth = img.width();
    info->biHeight = img.height();
    info->biPlanes = 1;
    info->biBitCount = static_cast<std::uint16_t>(bitmap->bitsPixel);
    info->biCompression = 0;
    info->biSizeImage = DibRowBytes(img.width(), bitmap->bitsPixel) * static_cast<std::uint32_t>(img.height());
    return 1;
  }
  if (info->biBitCount != 24 && info->biBitCount != 32) return 0;
  if (info->biCompression != 0 || info->biWidth != img.width()) return 0;
  const std::int64_t height = std::abs(std::int64_t{info->biHeight});
  if (height != img.height() || start < 0 || lines <= 0 || std::int64_t{start} + lines > height) return 0;
  const std::uint32_t rowBytes = DibRowBytes(info->biWidth, info->biBitCount);
  if (rowBytes == 0 || std::uint64_t{rowBytes} * static_cast<std::uint64_t>(lines) > bits.size()) return 0;
  const bool bottomUp = info->biHeight > 0;
  const int bpp = info->biBitCount / 8;
  for (int i = 0; i < lines; ++i) {
    const int dibRow = start + i;
    const int imgRow = bottomUp ? img.height() - 1 - dibRow : dibRow;
    const auto* src = reinterpret_cast<const QRgb*>(img.constScanLine(imgRow));
    std::uint8_t* dst = bits.data() + std::size_t{rowBytes} * static_cast<std::size_t>(i);
    std::fill(dst, dst + rowBytes, std::uint8_t{0});
    for (int x = 0; x < img.width(); ++x) {
      dst[x * bpp + 0] = static_cast<std::uint8_t>(qBlue(src[x]));
      dst[x * bpp + 1] = static_cast<std::uint8_t>(qGreen(src[x]));
      dst[x * bpp + 2] = static_cast<std::uint8_t>(qRed(src[x]));
    }
  }
  return lines;
}

int DC::StretchDIBits(int x, int y, int width, int height, int sx, int sy, int sWidth, int sHeight,
                      std::span<const std::uint8_t> bits, const BitmapInfoHeader& info, std::uint32_t usage,
                      std::uint32_t rop) {
  Record("StretchDIBits " + RectText(x, y, std::int64_t{x} + width, std::int64_t{y} + height) + " from " +
         RectText(sx, sy, std::int64_t{sx} + sWidth, std::int64_t{sy} + sHeight) +
         " " + std::to_string(info.biWidth) + "x" + std::to_string(info.biHeight) + "x" + std::to_string(info.biBitCount));
  if (rop != SRCCOPY || usage != DIB_RGB_COLORS) return 0;
  if (info.biSize != 40 || info.biCompression != 0 || (info.biBitCount != 24 && info.biBitCount != 32)) return 0;
  const std::int64_t w = info.biWidth;
  const std::int64_t h = std::abs(std::int64_t{info.biHeight});
  if (!BitmapSizeOk(w, h) || !BitmapSizeOk(width, height) || !BitmapSizeOk(sWidth, sHeight)) return 0;
  if (sx < 0 || sy < 0 || sx + std::int64_t{sWidth} > w || sy + std::int64_t{sHeight} > h) return 0;
  const std::uint32_t rowBytes = DibRowBytes(w, info.biBitCount);
  if (rowBytes == 0 || std::uint64_t{rowBytes} * static_cast<std::uint64_t>(h) > bits.size()) return 0;
  QImage img(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
  if (img.isNull()) return 0;
  const bool bottomUp = info.biHeight > 0;
  const int bpp = info.biBitCount / 8;
  for (int row = 0; row < h; ++row) {
    const std::uint8_t* src = bits.data() + std::size_t{rowBytes} * static_cast<std::size_t>(row);
    auto* dst = reinterpret_cast<QRgb*>(img.scanLine(bottomUp ? static_cast<int>(h) - 1 - row : row));
    for (int col = 0; col < w; ++col) dst[col] = qRgb(src[col * bpp + 2], src[col * bpp + 1], src[col * bpp + 0]);
  }
  // For a bottom-up DIB the source rectangle is measured from the lowest row.
  const int top = bottomUp ? static_cast<int>(h) - sy - sHeight : sy;
  const QImage part = img.copy(QRect(sx, top, sWidth, sHeight));
  const QImage scaled = (sWidth == width && sHeight == height)
                            ? part
                            : part.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  DrawImage(QRect(x, y, width, height), scaled, scaled.rect());
  return sHeight;
}

}  // namespace plat::gdi
