#pragma once
// The chart view of a graph source: the mouse wheel zooms the time axis
// around the cursor, dragging pans, R, Home or Escape shows everything
// again, and the record under the cursor is reported as text. Every change
// redraws from the source at the plot area's width in pixels.

#include <QChartView>
#include <memory>

#include "core/graph/GraphViewport.h"
#include "ui/graph/GraphChart.h"

namespace tessaro {

class TGraphView : public QChartView {
  Q_OBJECT

 public:
  TGraphView(GraphSource& source, const QString& name, QWidget* parent = nullptr);

  GraphChart& Graph() { return graph_; }
  GraphViewport& Viewport() { return viewport_; }

  // Redraws the viewport's records; false on a failed read.
  bool Redraw();
  void ResetView();
  // Zooms by factor around the point at anchor (0..1 across the plot area).
  void ZoomAt(double factor, double anchor);

 signals:
  void CursorMoved(const QString& text);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  double PlotFraction(double x) const;

  GraphSource& source_;
  GraphChart graph_;
  GraphViewport viewport_;
  bool dragging_ = false;
  double dragStartX_ = 0;
  int64_t dragStartBegin_ = 0;
};

}  // namespace tessaro
