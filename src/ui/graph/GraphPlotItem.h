#pragma once
// Draws the graph's points inside the chart's plot area. The chart's own
// series stay empty and only give the legend and the axes: drawing a few
// thousand points per channel through them costs hundreds of milliseconds
// per view (each series strokes its whole path for mouse hit tests), a
// plain polyline a few.

#include <QColor>
#include <QGraphicsItem>
#include <QPolygonF>
#include <vector>

QT_BEGIN_NAMESPACE
class QChart;
class QValueAxis;
QT_END_NAMESPACE

namespace tessaro {

class GraphPlotItem : public QGraphicsItem {
 public:
  struct Channel {
    QColor colour;
    bool points = false;               // points instead of a line
    const QValueAxis* axis = nullptr;  // vertical range
    std::vector<QPolygonF> segments;   // x in axis units, y in values
  };

  explicit GraphPlotItem(QChart* chart);

  // What to draw, with the horizontal range [left, right] in axis units.
  void SetContent(std::vector<Channel> channels, double left, double right);
  // Shaded run [from, to] and the dashed line at x (none when from > to or
  // x is NaN).
  void SetMarks(double overwriteFrom, double overwriteTo, double batteryLowX);
  void PlotAreaChanged();

  QRectF boundingRect() const override;
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

 private:
  double MapX(double x) const;

  QChart* chart_;
  QRectF area_;
  std::vector<Channel> channels_;
  double left_ = 0;
  double right_ = 1;
  double overwriteFrom_ = 1;
  double overwriteTo_ = 0;
  double batteryLowX_;
};

}  // namespace tessaro
