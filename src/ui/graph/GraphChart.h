#pragma once
// The chart of a graph source: a legend entry per shown channel, one value
// axis per unit, direction channels as points on a 0..16 axis, the
// overwritten records shaded and the battery-LOW record marked. Update()
// rebuilds the points for a run of records at the chart's width, so what is
// drawn never exceeds a few points per pixel column.

#include <QString>
#include <vector>

#include "core/graph/GraphSource.h"

QT_BEGIN_NAMESPACE
class QAbstractAxis;
class QChart;
class QValueAxis;
QT_END_NAMESPACE

namespace tessaro {

class GraphPlotItem;

// The file name followed by the overwrite and battery-LOW notes.
QString GraphTitle(const GraphSource& source, const QString& name);

class GraphChart {
 public:
  // chart is not owned (a chart view owns it).
  GraphChart(GraphSource& source, QChart* chart, const QString& name);

  QChart* Chart() const { return chart_; }
  const std::vector<bool>& ShownChannels() const { return shown_; }
  // shown[i] switches Channels()[i] of the source on or off.
  void SetShownChannels(std::vector<bool> shown);

  // Draws records [begin, end) in columns columns; false on a failed read.
  bool Update(int64_t begin, int64_t end, int columns);

 private:
  void BuildLegendAndAxes();
  QValueAxis* ValueAxis(const GraphChannel& channel);
  double AxisX(double timelineX) const;

  GraphSource& source_;
  QChart* chart_;
  GraphPlotItem* plot_;
  QAbstractAxis* timeAxis_ = nullptr;
  std::vector<bool> shown_;
  std::vector<QValueAxis*> axes_;  // per channel, null when hidden
  std::vector<GraphSeries> series_;
  double axisOffset_ = 0;  // seconds added to timeline x for the time axis
};

}  // namespace tessaro
