#pragma once
// A picture box that keeps what is drawn on it (a retained image, repainted from memory).
//
// The drawing is kept whole whatever the box's size at the time: drawing beyond the box (as
// happens while a window is filled before it is first shown and laid out) grows the kept image,
// and the box shows its top-left part.
//
// Drawing works in the box's scale: twips (ScaleMode 1, the default, 15 to a pixel) or pixels
// (ScaleMode 3), x to the right and y downward from the top-left corner. Each drawing call moves
// the current point (CurrentX, CurrentY) to where it ended, as the program's plots expect.
// Colours are colour numbers (control.h).

#include <QImage>
#include <QWidget>

#include "platform/controls/control.h"

namespace plat::ctl {

class PictureBox : public QWidget, public Control {
 public:
  enum ScaleModes : int { kTwips = 1, kPixels = 3 };

  explicit PictureBox(QWidget* parent = nullptr);

  int ScaleMode() const { return scaleMode_; }
  void SetScaleMode(int mode);
  double ScaleWidth() const;
  double ScaleHeight() const;
  long BackColor() const { return backColor_; }
  void SetBackColor(long color);  // also clears the drawing, as a new background does
  long ForeColor() const { return foreColor_; }
  void SetForeColor(long color) { foreColor_ = color; }
  double CurrentX() const { return currentX_; }
  double CurrentY() const { return currentY_; }
  void SetCurrentX(double x) { currentX_ = x; }
  void SetCurrentY(double y) { currentY_ = y; }

  // Erases the drawing and puts the current point at (0, 0).
  void Cls();
  // A line from (x1, y1) to (x2, y2); the current point becomes (x2, y2).
  void Line(double x1, double y1, double x2, double y2, long color);
  // A line from the current point to (x2, y2).
  void LineTo(double x2, double y2, long color);
  // A box with the corners (x1, y1) and (x2, y2), outlined (or filled); current point (x2, y2).
  void LineBox(double x1, double y1, double x2, double y2, long color, bool filled = false);
  // One point; the current point becomes (x, y).
  void PSet(double x, double y, long color);

  // What is drawn, pixel by pixel (for tests and screenshots).
  const QImage& Image() const { return image_; }
  // The colour number of the pixel at a point given in the box's scale.
  long Point(double x, double y) const;

  QSize sizeHint() const override { return QSize(120, 80); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QPoint ToPixels(double x, double y) const;
  // Grows the kept image so that it holds `r` (within a sane limit).
  void Cover(const QRect& r);

  int scaleMode_ = kTwips;
  long backColor_ = 0xFFFFFF;
  long foreColor_ = 0;
  double currentX_ = 0;
  double currentY_ = 0;
  QImage image_;
};

}  // namespace plat::ctl
