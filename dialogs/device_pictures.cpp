#include "dialogs/device_pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace tavoro {

namespace {

const QColor kCase(0xC8, 0xCC, 0xD4), kDark(0x40, 0x44, 0x4C), kEdge(0x70, 0x76, 0x80);

void CdRom(QPainter& p) {
  QRadialGradient shine(QPointF(20, 20), 26);
  shine.setColorAt(0, QColor(0xF4, 0xF6, 0xFF));
  shine.setColorAt(0.5, QColor(0xC9, 0xD8, 0xF2));
  shine.setColorAt(0.8, QColor(0xF2, 0xD9, 0xEE));
  shine.setColorAt(1, QColor(0xB8, 0xC4, 0xDC));
  p.setPen(QPen(kEdge, 1));
  p.setBrush(shine);
  p.drawEllipse(QPointF(24, 24), 21, 21);
  p.setBrush(QColor(0xE8, 0xEA, 0xEE));
  p.drawEllipse(QPointF(24, 24), 7, 7);
  p.setBrush(QColor(0xEF, 0xEF, 0xEF));
  p.drawEllipse(QPointF(24, 24), 3, 3);
}

void HardDisk(QPainter& p) {
  p.setPen(QPen(kDark, 1));
  p.setBrush(kCase);
  p.drawRoundedRect(QRectF(4.5, 8.5, 39, 31), 3, 3);
  p.setBrush(QColor(0xA8, 0xB0, 0xBC));
  p.drawEllipse(QPointF(20, 24), 12, 12);
  p.setBrush(kDark);
  p.drawEllipse(QPointF(20, 24), 2.5, 2.5);
  p.setPen(QPen(kDark, 2.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(38, 12), QPointF(25, 27));  // the head's arm
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x30, 0xC0, 0x50));
  p.drawRect(QRectF(36, 34, 4, 2));  // activity light
}

void Cartridge(QPainter& p) {
  p.setPen(QPen(kDark, 1));
  p.setBrush(QColor(0x2F, 0x5E, 0xA8));
  p.drawRoundedRect(QRectF(6.5, 5.5, 35, 37), 3, 3);
  p.setBrush(QColor(0xE6, 0xE8, 0xEC));
  p.drawRect(QRectF(12.5, 9.5, 23, 12));  // label
  p.setPen(QPen(QColor(0x2F, 0x5E, 0xA8), 1));
  for (int y = 13; y <= 18; y += 2) p.drawLine(15, y, 33, y);
  p.setPen(QPen(kDark, 1));
  p.setBrush(QColor(0x1E, 0x3C, 0x70));
  p.drawRect(QRectF(16.5, 30.5, 15, 9));  // shutter
}

void Floppy(QPainter& p) {
  QPainterPath body;
  body.moveTo(6, 6);
  body.lineTo(38, 6);
  body.lineTo(42, 10);
  body.lineTo(42, 42);
  body.lineTo(6, 42);
  body.closeSubpath();
  p.setPen(QPen(kDark, 1));
  p.setBrush(QColor(0x3A, 0x3E, 0x46));
  p.drawPath(body);
  p.setBrush(QColor(0xB8, 0xBE, 0xC8));
  p.drawRect(QRectF(14.5, 6.5, 18, 12));  // metal shutter
  p.setBrush(QColor(0x3A, 0x3E, 0x46));
  p.drawRect(QRectF(26.5, 8.5, 4, 8));
  p.setBrush(QColor(0xF2, 0xF2, 0xEE));
  p.drawRect(QRectF(10.5, 24.5, 27, 17));  // label
  p.setPen(QPen(QColor(0x90, 0x98, 0xA8), 1));
  for (int y = 29; y <= 37; y += 4) p.drawLine(13, y, 35, y);
}

}  // namespace

QPixmap DevicePicture(int devType) {
  if (devType < 0 || devType > 3) return {};
  QPixmap pm(48, 48);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  switch (devType) {
    case 0: CdRom(p); break;
    case 1: HardDisk(p); break;
    case 2: Cartridge(p); break;
    default: Floppy(p); break;
  }
  return pm;
}

}  // namespace tavoro
