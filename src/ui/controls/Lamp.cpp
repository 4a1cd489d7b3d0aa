#include "ui/controls/Lamp.h"

#include <QPainter>

namespace tessaro {

TLamp::TLamp(QWidget* parent) : QWidget(parent) { resize(20, 20); }

void TLamp::SetState(LampState state) {
  if (state_ == state) return;
  state_ = state;
  update();
}

QColor TLamp::Colour(LampState state) {
  switch (state) {
    case LampState::Busy:
      return Qt::yellow;
    case LampState::On:
      return QColor(0x00, 0xff, 0x00);
    case LampState::Failed:
      return Qt::red;
    case LampState::Off:
      break;
  }
  return Qt::white;
}

void TLamp::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Colour(state_));
  p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace tessaro
