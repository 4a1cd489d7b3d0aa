#include "ui/AppIcon.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

namespace tessaro {

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
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
    icon.addPixmap(pixmap);
  }
  return icon;
}

QIcon StandardIcon(QStyle::StandardPixmap which) {
  return QApplication::style()->standardIcon(which);
}

}  // namespace tessaro
