#include "ui/shell/AppIcon.h"

#include <QApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

namespace tessaro {

QImage AppIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient fill(0, 0, 0, size);
  fill.setColorAt(0, QColor(0x3a, 0x8e, 0xe6));
  fill.setColorAt(1, QColor(0x1c, 0x4f, 0x9c));
  p.setBrush(fill);
  p.setPen(QPen(QColor(0x12, 0x33, 0x66), size / 16.0));
  const qreal inset = size / 16.0;
  p.drawRoundedRect(QRectF(inset, inset, size - 2 * inset, size - 2 * inset), size / 5.0,
                    size / 5.0);
  // A recorder trace across the badge.
  p.setPen(QPen(Qt::white, size / 10.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const qreal s = size;
  const QPointF trace[] = {{0.18 * s, 0.60 * s}, {0.36 * s, 0.60 * s}, {0.46 * s, 0.28 * s},
                           {0.58 * s, 0.76 * s}, {0.68 * s, 0.46 * s}, {0.82 * s, 0.46 * s}};
  p.drawPolyline(trace, 6);
  p.end();
  return image;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
  return icon;
}

QIcon StandardIcon(QStyle::StandardPixmap which) {
  return QApplication::style()->standardIcon(which);
}

namespace {

void DrawScreen(QPainter& p) {
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
  p.setBrush(QColor(0xd8, 0xd8, 0xd8));
  p.drawRoundedRect(QRectF(2.5, 3.5, 27, 20), 2, 2);
  p.setBrush(QColor(0x20, 0x30, 0x48));
  p.drawRect(QRectF(5, 6, 22, 15));
  p.setBrush(QColor(0x90, 0x90, 0x90));
  p.drawRect(QRectF(11, 24, 10, 3));
  p.drawRect(QRectF(7, 27, 18, 2));
}

}  // namespace

QIcon MakeDrawnIcon(DrawnIcon which) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (which) {
    case DrawnIcon::SerialLine: {
      // A nine-pin connector with its cable.
      p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
      p.setBrush(QColor(0xb0, 0xb8, 0xc8));
      const QPointF shell[] = {{3, 9}, {29, 9}, {26, 21}, {6, 21}};
      p.drawPolygon(shell, 4);
      p.setBrush(QColor(0x30, 0x30, 0x30));
      for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(8 + i * 4, 13), 1.2, 1.2);
      for (int i = 0; i < 4; ++i) p.drawEllipse(QPointF(10 + i * 4, 17), 1.2, 1.2);
      p.setPen(QPen(QColor(0x1c, 0x4f, 0x9c), 3, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(16, 21), QPointF(16, 29));
      break;
    }
    case DrawnIcon::Folder: {
      p.setPen(QPen(QColor(0x8a, 0x6a, 0x10), 1.5));
      p.setBrush(QColor(0xf0, 0xc8, 0x50));
      const QPointF back[] = {{3, 8}, {12, 8}, {15, 11}, {29, 11}, {29, 27}, {3, 27}};
      p.drawPolygon(back, 6);
      p.setBrush(QColor(0xf8, 0xdc, 0x78));
      const QPointF front[] = {{3, 27}, {7, 15}, {31, 15}, {29, 27}};
      p.drawPolygon(front, 4);
      break;
    }
    case DrawnIcon::Monitor: {
      DrawScreen(p);
      p.setPen(QPen(QColor(0x40, 0xff, 0x60), 1.5));
      const QPointF wave[] = {{6, 15}, {10, 15}, {12, 10}, {15, 19}, {18, 12}, {20, 15}, {26, 15}};
      p.drawPolyline(wave, 7);
      break;
    }
    case DrawnIcon::Terminal: {
      DrawScreen(p);
      p.setPen(QPen(QColor(0xf0, 0xf0, 0xf0), 1.8, Qt::SolidLine, Qt::RoundCap));
      const QPointF prompt[] = {{8, 10}, {12, 13.5}, {8, 17}};
      p.drawPolyline(prompt, 3);
      p.drawLine(QPointF(14, 18), QPointF(21, 18));
      break;
    }
  }
  p.end();
  return QIcon(pixmap);
}

}  // namespace tessaro
