#include "ui/graph/GraphView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "ui/shell/QtText.h"

namespace tessaro {
namespace {

constexpr double kZoomIn = 0.8;
constexpr double kZoomOut = 1.25;

}  // namespace

TGraphView::TGraphView(GraphSource& source, const QString& name, QWidget* parent)
    : QChartView(new QChart, parent),
      source_(source),
      graph_(source, chart(), name),
      viewport_(source.RecordCount()) {
  setRenderHint(QPainter::Antialiasing);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setRubberBand(QChartView::NoRubberBand);
}

bool TGraphView::Redraw() {
  const QRectF plot = chart()->plotArea();
  const int columns = std::max(1, static_cast<int>(plot.width() > 1 ? plot.width() : width()));
  return graph_.Update(viewport_.Begin(), viewport_.End(), columns);
}

void TGraphView::ResetView() {
  viewport_.Reset();
  Redraw();
}

void TGraphView::ZoomAt(double factor, double anchor) {
  viewport_.Zoom(factor, anchor);
  Redraw();
}

double TGraphView::PlotFraction(double x) const {
  const QRectF plot = chart()->plotArea();
  if (plot.width() <= 0) return 0.5;
  return std::clamp((x - plot.left()) / plot.width(), 0.0, 1.0);
}

void TGraphView::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) return;
  ZoomAt(delta > 0 ? kZoomIn : kZoomOut, PlotFraction(event->position().x()));
  event->accept();
}

void TGraphView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QChartView::mousePressEvent(event);
  dragging_ = true;
  dragStartX_ = event->position().x();
  dragStartBegin_ = viewport_.Begin();
  setCursor(Qt::ClosedHandCursor);
}

void TGraphView::mouseMoveEvent(QMouseEvent* event) {
  const double x = event->position().x();
  if (dragging_) {
    const double plotWidth = std::max(1.0, chart()->plotArea().width());
    const double records = (dragStartX_ - x) / plotWidth * static_cast<double>(viewport_.Span());
    viewport_.MoveTo(dragStartBegin_ + std::llround(records));
    Redraw();
  }
  const double span = static_cast<double>(std::max<int64_t>(viewport_.Span() - 1, 0));
  const int64_t record = viewport_.Begin() + std::llround(PlotFraction(x) * span);
  if (source_.RecordCount() > 0) emit CursorMoved(ToQt(source_.CursorText(record)));
  QChartView::mouseMoveEvent(event);
}

void TGraphView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && dragging_) {
    dragging_ = false;
    unsetCursor();
    return;
  }
  QChartView::mouseReleaseEvent(event);
}

void TGraphView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_R:
    case Qt::Key_Home:
    case Qt::Key_Escape:
      ResetView();
      return;
    case Qt::Key_Plus:
      ZoomAt(kZoomIn, 0.5);
      return;
    case Qt::Key_Minus:
      ZoomAt(kZoomOut, 0.5);
      return;
    default:
      QChartView::keyPressEvent(event);
  }
}

void TGraphView::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  Redraw();
}

}  // namespace tessaro
