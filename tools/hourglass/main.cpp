// Draws the program's hourglass animation and writes it as an AVI clip:
//   tavoro-hourglass OUTPUT.avi
// The clip: sand runs from the upper bulb to the lower one, then the glass turns over; 8-bit
// run-length coded with a small palette.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "tools/hourglass/avi_writer.h"

namespace {

constexpr int kSide = 48;
constexpr int kRunFrames = 12;  // sand running
constexpr int kTurnFrames = 4;  // the glass turning over
constexpr std::uint32_t kPeriodUs = 120000;

// The palette: every colour the drawing uses, no blending (the drawing is not antialiased).
const std::vector<std::uint32_t> kPalette = {
    0xEFEFEF,  // background, the window's face
    0x6B4423,  // wood
    0x3E2612,  // wood shadow
    0x7A8CA8,  // glass outline
    0xDDE8F4,  // glass
    0xE2B84A,  // sand
    0xB88A26,  // sand shadow
};

QColor Colour(int index) { return QColor::fromRgb(kPalette[static_cast<std::size_t>(index)]); }

// The glass with `t` (0 to 1) of its sand run down, drawn upright around the middle.
void DrawGlass(QPainter& p, double t) {
  const double h = 20, w = 13;  // half height of the glass, half width of a bulb
  QPainterPath glass;
  glass.moveTo(-w, -h);
  glass.lineTo(w, -h);
  glass.cubicTo(w, -h / 3, 2, -3, 2, 0);
  glass.cubicTo(2, 3, w, h / 3, w, h);
  glass.lineTo(-w, h);
  glass.cubicTo(-w, h / 3, -2, 3, -2, 0);
  glass.cubicTo(-2, -3, -w, -h / 3, -w, -h);
  p.setPen(QPen(Colour(3), 1));
  p.setBrush(Colour(4));
  p.drawPath(glass);

  p.setPen(Qt::NoPen);
  p.save();
  p.setClipPath(glass);
  const double top = (h - 3) * (1.0 - t);  // height of the sand left in the upper bulb
  if (top > 0.5) {
    p.setBrush(Colour(5));
    p.drawRect(QRectF(-w, -top, 2 * w, top));
    p.setBrush(Colour(6));
    p.drawRect(QRectF(-w, -top, 2 * w, 1.5));
  }
  const double bottom = (h - 3) * t;
  if (bottom > 0.5) {
    QPainterPath heap;
    heap.moveTo(-w, h);
    heap.lineTo(-w, h - bottom * 0.6);
    heap.lineTo(0, h - bottom);
    heap.lineTo(w, h - bottom * 0.6);
    heap.lineTo(w, h);
    p.setBrush(Colour(5));
    p.drawPath(heap);
  }
  if (t > 0.0 && t < 1.0) {
    p.setBrush(Colour(6));
    p.drawRect(QRectF(-0.5, -2, 1.5, h - bottom + 2));
  }
  p.restore();

  p.setBrush(Colour(1));
  p.setPen(QPen(Colour(2), 1));
  p.drawRect(QRectF(-w - 4, -h - 3, 2 * w + 8, 3));
  p.drawRect(QRectF(-w - 4, h, 2 * w + 8, 3));
}

std::vector<std::uint32_t> Indexed(const QImage& image) {
  std::vector<std::uint32_t> out;
  out.reserve(static_cast<std::size_t>(kSide * kSide));
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const QRgb c = image.pixel(x, y) & 0xFFFFFF;
      std::size_t best = 0;
      long bestDistance = -1;
      for (std::size_t i = 0; i < kPalette.size(); ++i) {
        const long dr = qRed(c) - qRed(kPalette[i]), dg = qGreen(c) - qGreen(kPalette[i]), db = qBlue(c) - qBlue(kPalette[i]);
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
          bestDistance = d;
          best = i;
        }
      }
      out.push_back(static_cast<std::uint32_t>(best));
    }
  }
  return out;
}

std::vector<std::uint32_t> Frame(double t, double angle) {
  QImage image(kSide, kSide, QImage::Format_RGB32);
  image.fill(Colour(0));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.translate(kSide / 2.0, kSide / 2.0);
  p.scale(0.82, 0.82);  // room for the corners while the glass turns over
  p.rotate(angle);
  DrawGlass(p, t);
  p.end();
  return Indexed(image);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.avi\n", argv[0]);
    return 2;
  }
  avi_writer::Clip clip;
  clip.width = kSide;
  clip.height = kSide;
  clip.framePeriodUs = kPeriodUs;
  clip.palette = kPalette;
  for (int i = 0; i < kRunFrames; ++i) clip.frames.push_back(Frame(static_cast<double>(i) / (kRunFrames - 1), 0));
  // Turning over; the last turn lands where the first frame starts again.
  for (int i = 1; i <= kTurnFrames; ++i) clip.frames.push_back(Frame(1.0, 180.0 * i / (kTurnFrames + 1)));
  const auto bytes = avi_writer::WriteAvi(clip, avi_writer::Coding::Rle8);
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
