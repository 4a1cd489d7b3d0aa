#include "ui/graph/GraphPlotItem.h"

#include <QChart>
#include <QPainter>
#include <QValueAxis>
#include <cmath>
#include <limits>

namespace tessaro {

GraphPlotItem::GraphPlotItem(QChart* chart)
    : QGraphicsItem(chart), chart_(chart), batteryLowX_(std::numeric_limits<double>::quiet_NaN()) {
  setZValue(10);  // above the plot area's background and grid
  QObject::connect(chart, &QChart::plotAreaChanged, chart, [this] { PlotAreaChanged(); });
}

void GraphPlotItem::SetContent(std::vector<Channel> channels, double left, double right) {
  channels_ = std::move(channels);
  left_ = left;
  right_ = right;
  PlotAreaChanged();
}

void GraphPlotItem::SetMarks(double overwriteFrom, double overwriteTo, double batteryLowX) {
  overwriteFrom_ = overwriteFrom;
  overwriteTo_ = overwriteTo;
  batteryLowX_ = batteryLowX;
  update();
}

void GraphPlotItem::PlotAreaChanged() {
  prepareGeometryChange();
  area_ = chart_->plotArea();
  update();
}

QRectF GraphPlotItem::boundingRect() const { return area_; }

double GraphPlotItem::MapX(double x) const {
  return area_.left() + (x - left_) / (right_ - left_) * area_.width();
}

void GraphPlotItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
  if (area_.isEmpty() || !(right_ > left_)) return;
  painter->save();
  painter->setClipRect(area_);
  // Antialiased polylines of thousands of points cost tenfold; the
  // reduction already keeps them to the pixel grid.
  painter->setRenderHint(QPainter::Antialiasing, false);
  if (overwriteFrom_ <= overwriteTo_) {
    const double from = MapX(overwriteFrom_);
    painter->fillRect(
        QRectF(from, area_.top(), std::max(MapX(overwriteTo_) - from, 1.0), area_.height()),
        QColor(255, 0, 0, 40));
  }
  QPolygonF mapped;
  for (const Channel& channel : channels_) {
    if (!channel.axis || !(channel.axis->max() > channel.axis->min())) continue;
    const double bottom = channel.axis->min();
    const double yScale = area_.height() / (channel.axis->max() - bottom);
    const double xScale = area_.width() / (right_ - left_);
    QPen pen(channel.colour, channel.points ? 4 : 1);
    pen.setCapStyle(channel.points ? Qt::SquareCap : Qt::FlatCap);
    painter->setPen(pen);
    for (const QPolygonF& segment : channel.segments) {
      mapped.resize(segment.size());
      for (qsizetype i = 0; i < segment.size(); ++i)
        mapped[i] = QPointF(area_.left() + (segment[i].x() - left_) * xScale,
                            area_.bottom() - (segment[i].y() - bottom) * yScale);
      if (channel.points || mapped.size() == 1)
        painter->drawPoints(mapped);
      else
        painter->drawPolyline(mapped);
    }
  }
  if (!std::isnan(batteryLowX_)) {
    QPen pen(Qt::red, 2, Qt::DashLine);
    painter->setPen(pen);
    const double x = MapX(batteryLowX_);
    painter->drawLine(QPointF(x, area_.top()), QPointF(x, area_.bottom()));
  }
  painter->restore();
}

}  // namespace tessaro
