#include "platform/controls/picture_box.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

namespace plat::ctl {

namespace {
// No drawing grows the kept image beyond this many pixels a side.
constexpr int kLargestImage = 4096;
}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent), Control(this) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  image_ = QImage(QSize(std::max(1, width()), std::max(1, height())), QImage::Format_RGB32);
  image_.fill(ColorFromNumber(backColor_));
}

void PictureBox::SetScaleMode(int mode) { scaleMode_ = mode == kPixels ? kPixels : kTwips; }

double PictureBox::ScaleWidth() const { return scaleMode_ == kPixels ? width() : TwipsFromPixels(width()); }
double PictureBox::ScaleHeight() const { return scaleMode_ == kPixels ? height() : TwipsFromPixels(height()); }

void PictureBox::SetBackColor(long color) {
  backColor_ = color;
  Cls();
}

QPoint PictureBox::ToPixels(double x, double y) const {
  const double f = scaleMode_ == kPixels ? 1.0 : 1.0 / kTwipsPerPixel;
  auto pixel = [f](double v) { return static_cast<int>(std::lround(std::clamp(v * f, -1.0e6, 1.0e6))); };
  return QPoint(pixel(x), pixel(y));
}

void PictureBox::Cover(const QRect& r) {
  const int w = std::min(kLargestImage, std::max({image_.width(), width(), r.right() + 1}));
  const int h = std::min(kLargestImage, std::max({image_.height(), height(), r.bottom() + 1}));
  if (w <= image_.width() && h <= image_.height()) return;
  QImage grown(QSize(std::max(w, image_.width()), std::max(h, image_.height())), QImage::Format_RGB32);
  grown.fill(ColorFromNumber(backColor_));
  QPainter p(&grown);
  p.drawImage(0, 0, image_);
  p.end();
  image_ = std::move(grown);
}

void PictureBox::Cls() {
  if (image_.size() != size() && width() > 0 && height() > 0) image_ = QImage(size(), QImage::Format_RGB32);
  image_.fill(ColorFromNumber(backColor_));
  currentX_ = 0;
  currentY_ = 0;
  update();
}

void PictureBox::Line(double x1, double y1, double x2, double y2, long color) {
  const QPoint a = ToPixels(x1, y1);
  const QPoint b = ToPixels(x2, y2);
  Cover(QRect(a, b).normalized());
  {
    QPainter p(&image_);
    p.setPen(QPen(ColorFromNumber(color), 0));
    p.drawLine(a, b);
  }
  currentX_ = x2;
  currentY_ = y2;
  update();
}

void PictureBox::LineTo(double x2, double y2, long color) { Line(currentX_, currentY_, x2, y2, color); }

void PictureBox::LineBox(double x1, double y1, double x2, double y2, long color, bool filled) {
  const QPoint a = ToPixels(x1, y1);
  const QPoint b = ToPixels(x2, y2);
  const QRect r = QRect(a, b).normalized();
  Cover(r);
  {
    QPainter p(&image_);
    if (filled) p.fillRect(r, ColorFromNumber(color));
    p.setPen(QPen(ColorFromNumber(color), 0));
    p.drawRect(QRect(r.topLeft(), QSize(r.width() - 1, r.height() - 1)));
  }
  currentX_ = x2;
  currentY_ = y2;
  update();
}

void PictureBox::PSet(double x, double y, long color) {
  const QPoint p = ToPixels(x, y);
  Cover(QRect(p, QSize(1, 1)));
  if (image_.rect().contains(p)) image_.setPixelColor(p, ColorFromNumber(color));
  currentX_ = x;
  currentY_ = y;
  update();
}

long PictureBox::Point(double x, double y) const {
  const QPoint p = ToPixels(x, y);
  if (!image_.rect().contains(p)) return -1;
  return NumberFromColor(image_.pixelColor(p));
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, image_);
}

void PictureBox::resizeEvent(QResizeEvent* event) {
  Cover(QRect(QPoint(0, 0), event->size()));
  QWidget::resizeEvent(event);
}

}  // namespace plat::ctl
