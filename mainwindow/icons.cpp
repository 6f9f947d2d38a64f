#include "mainwindow/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace tavoro {

namespace {

constexpr int kSize = 24;

void Arrow(QPainter& p) {
  p.setPen(QPen(QColor(30, 90, 170), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(QPointF(12, 3), QPointF(12, 14));
  p.drawPolyline(QPolygonF({QPointF(7, 10), QPointF(12, 15), QPointF(17, 10)}));
  p.setPen(QPen(QColor(60, 60, 70), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF({QPointF(4, 15), QPointF(4, 20), QPointF(20, 20), QPointF(20, 15)}));
}

void Floppy(QPainter& p) {
  p.setPen(QPen(QColor(40, 40, 60), 1.2));
  p.setBrush(QColor(70, 90, 150));
  QPainterPath body;
  body.moveTo(3, 3);
  body.lineTo(18, 3);
  body.lineTo(21, 6);
  body.lineTo(21, 21);
  body.lineTo(3, 21);
  body.closeSubpath();
  p.drawPath(body);
  p.setBrush(QColor(210, 215, 225));
  p.drawRect(QRectF(7, 3, 9, 6));
  p.setBrush(QColor(245, 245, 245));
  p.drawRect(QRectF(6, 13, 12, 8));
}

void Bin(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 70), 1.4));
  p.setBrush(QColor(200, 205, 215));
  p.drawRect(QRectF(6, 7, 12, 14));
  p.drawRect(QRectF(4, 4.5, 16, 2.5));
  p.drawRect(QRectF(10, 2.5, 4, 2));
  p.setPen(QPen(QColor(190, 40, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9, 10), QPointF(15, 18));
  p.drawLine(QPointF(15, 10), QPointF(9, 18));
}

void Wave(QPainter& p, double y0, double amp, const QColor& c, double x0, double x1) {
  QPainterPath path;
  for (int i = 0; i <= 40; ++i) {
    const double x = x0 + (x1 - x0) * i / 40.0;
    const double y = y0 + amp * std::sin(i / 40.0 * 2 * 3.14159265 * 1.5);
    if (i == 0)
      path.moveTo(x, y);
    else
      path.lineTo(x, y);
  }
  p.setPen(QPen(c, 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

void Merge(QPainter& p) {
  Wave(p, 6, 2.5, QColor(30, 90, 170), 2, 12);
  Wave(p, 18, 2.5, QColor(190, 60, 40), 2, 12);
  p.setPen(QPen(QColor(60, 60, 70), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(12, 6), QPointF(16, 12));
  p.drawLine(QPointF(12, 18), QPointF(16, 12));
  Wave(p, 10.5, 2, QColor(30, 90, 170), 16, 23);
  Wave(p, 13.5, 2, QColor(190, 60, 40), 16, 23);
}

void Sliders(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 70), 1.6, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 3; ++i) p.drawLine(QPointF(6 + 6 * i, 3), QPointF(6 + 6 * i, 21));
  p.setBrush(QColor(30, 90, 170));
  p.setPen(QPen(QColor(20, 40, 80), 1));
  const double knob[3] = {14, 7, 16};
  for (int i = 0; i < 3; ++i) p.drawRect(QRectF(3 + 6 * i, knob[i] - 2, 6, 4));
}

void Bars(QPainter& p) {
  p.setPen(QPen(QColor(60, 60, 70), 1.4));
  p.drawLine(QPointF(3, 21), QPointF(21, 21));
  p.drawLine(QPointF(3, 3), QPointF(3, 21));
  const QColor colours[3] = {QColor(30, 90, 170), QColor(40, 150, 80), QColor(200, 120, 30)};
  const double tops[3] = {11, 5, 14};
  for (int i = 0; i < 3; ++i) {
    p.setBrush(colours[i]);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(6 + 5 * i, tops[i], 4, 20.5 - tops[i]));
  }
}

void Speaker(QPainter& p) {
  p.setPen(QPen(QColor(40, 40, 60), 1.2));
  p.setBrush(QColor(70, 80, 110));
  p.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(7, 9), QPointF(12, 4), QPointF(12, 20), QPointF(7, 15), QPointF(3, 15)}));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(30, 90, 170), 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(9, 7, 8, 10), -50 * 16, 100 * 16);
  p.drawArc(QRectF(8, 3.5, 13, 17), -50 * 16, 100 * 16);
}

}  // namespace

QIcon CommandIcon(CommandPicture picture) {
  QPixmap pm(kSize, kSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  switch (picture) {
    case CommandPicture::Download: Arrow(p); break;
    case CommandPicture::LoadBank: Floppy(p); break;
    case CommandPicture::Delete: Bin(p); break;
    case CommandPicture::StereoMerge: Merge(p); break;
    case CommandPicture::Config: Sliders(p); break;
    case CommandPicture::Stats: Bars(p); break;
    case CommandPicture::Audition: Speaker(p); break;
  }
  p.end();
  return QIcon(pm);
}

}  // namespace tavoro
