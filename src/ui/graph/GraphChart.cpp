#include "ui/graph/GraphChart.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QTimeZone>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "ui/graph/GraphPlotItem.h"
#include "ui/shell/QtText.h"

namespace tessaro {
namespace {

constexpr double kDirectionTop = 16;

QColor ChannelColour(size_t i) {
  static const QColor colours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                   QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
                                   QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                                   QColor(0xe3, 0x77, 0xc2), QColor(0x17, 0xbe, 0xcf),
                                   QColor(0x7f, 0x7f, 0x7f), QColor(0xbc, 0xbd, 0x22)};
  return colours[i % std::size(colours)];
}

QString AxisTitle(const GraphChannel& channel) {
  if (channel.kind == GraphKind::Direction) return Msg(MsgGraphDirectionAxis);
  return channel.unit.empty() ? Msg(MsgGraphValueAxis) : ToQt(channel.unit);
}

// Seconds to take from the recorder's clock time, counted as if it were
// UTC, so that the axis (which shows local time) prints the recorder's time.
double LocalOffset(double seconds) {
  const QDateTime utc =
      QDateTime::fromSecsSinceEpoch(static_cast<qint64>(seconds), QTimeZone::utc());
  const QDateTime local(utc.date(), utc.time(), Qt::LocalTime);
  return static_cast<double>(local.toSecsSinceEpoch() - utc.toSecsSinceEpoch());
}

}  // namespace

QString GraphTitle(const GraphSource& source, const QString& name) {
  QString title = name;
  const DataFileInfo& info = source.Info();
  if (info.overwriteIndex > 0)
    title += QStringLiteral("  ") +
             ToQt(FormatMessage(MsgGraphOverwritten, static_cast<long long>(info.overwriteIndex)));
  if (info.batteryLowIndex >= 0)
    title += QStringLiteral("  ") +
             ToQt(FormatMessage(MsgGraphBatteryLow, static_cast<long long>(info.batteryLowIndex)));
  return title;
}

GraphChart::GraphChart(GraphSource& source, QChart* chart, const QString& name)
    : source_(source),
      chart_(chart),
      plot_(new GraphPlotItem(chart)),
      shown_(source.Channels().size(), true) {
  chart_->setTitle(GraphTitle(source, name));
  chart_->legend()->setAlignment(Qt::AlignBottom);
  if (source_.Timeline().hasTime) {
    auto* axis = new QDateTimeAxis;
    axis->setFormat(QStringLiteral("yy/MM/dd hh:mm:ss"));
    axis->setTitleText(Msg(MsgGraphTimeAxis));
    axisOffset_ = LocalOffset(source_.Timeline().origin);
    timeAxis_ = axis;
  } else {
    auto* axis = new QValueAxis;
    axis->setLabelFormat(QStringLiteral("%.0f"));
    axis->setTitleText(Msg(MsgGraphRecordAxis));
    timeAxis_ = axis;
  }
  chart_->addAxis(timeAxis_, Qt::AlignBottom);
  BuildLegendAndAxes();
}

void GraphChart::SetShownChannels(std::vector<bool> shown) {
  shown.resize(source_.Channels().size(), false);
  shown_ = std::move(shown);
  BuildLegendAndAxes();
}

double GraphChart::AxisX(double timelineX) const {
  if (!source_.Timeline().hasTime) return timelineX;
  return (timelineX - axisOffset_) * 1000.0;
}

QValueAxis* GraphChart::ValueAxis(const GraphChannel& channel) {
  const QString title = AxisTitle(channel);
  for (QAbstractAxis* axis : chart_->axes(Qt::Vertical))
    if (axis->titleText() == title) return static_cast<QValueAxis*>(axis);
  auto* axis = new QValueAxis;
  axis->setTitleText(title);
  if (channel.kind == GraphKind::Direction) {
    axis->setRange(0, kDirectionTop);
    axis->setTickCount(9);
    axis->setLabelFormat(QStringLiteral("%.0f"));
  }
  const bool left = chart_->axes(Qt::Vertical).size() % 2 == 0;
  chart_->addAxis(axis, left ? Qt::AlignLeft : Qt::AlignRight);
  return axis;
}

// One empty series per shown channel carries its legend entry and ties its
// axis to the chart; the points are drawn by the plot item.
void GraphChart::BuildLegendAndAxes() {
  chart_->removeAllSeries();
  for (QAbstractAxis* axis : chart_->axes(Qt::Vertical)) {
    chart_->removeAxis(axis);
    delete axis;
  }
  const std::vector<GraphChannel>& channels = source_.Channels();
  axes_.assign(channels.size(), nullptr);
  for (size_t i = 0; i < channels.size(); ++i) {
    if (!shown_[i]) continue;
    axes_[i] = ValueAxis(channels[i]);
    auto* series = new QLineSeries;
    series->setName(ToQt(channels[i].legend));
    series->setColor(ChannelColour(i));
    chart_->addSeries(series);
    series->attachAxis(timeAxis_);
    series->attachAxis(axes_[i]);
    if (channels[i].kind == GraphKind::Direction)
      for (QLegendMarker* marker : chart_->legend()->markers(series))
        marker->setShape(QLegend::MarkerShapeRectangle);
  }
}

bool GraphChart::Update(int64_t begin, int64_t end, int columns) {
  if (!source_.BuildSeries(begin, end, columns, series_)) return false;
  const std::vector<GraphChannel>& channels = source_.Channels();
  std::vector<GraphPlotItem::Channel> drawn;
  std::map<QValueAxis*, std::pair<double, double>> ranges;
  for (size_t i = 0; i < channels.size(); ++i) {
    if (!shown_[i]) continue;
    GraphPlotItem::Channel channel;
    channel.colour = ChannelColour(i);
    channel.points = channels[i].kind == GraphKind::Direction;
    channel.axis = axes_[i];
    auto& range = ranges
                      .try_emplace(axes_[i], std::numeric_limits<double>::max(),
                                   std::numeric_limits<double>::lowest())
                      .first->second;
    for (const auto& segment : series_[i].segments) {
      QPolygonF polygon;
      polygon.reserve(static_cast<qsizetype>(segment.size()));
      for (const GraphPoint& p : segment) {
        polygon.append(QPointF(AxisX(p.x), p.y));
        range.first = std::min(range.first, p.y);
        range.second = std::max(range.second, p.y);
      }
      channel.segments.push_back(std::move(polygon));
    }
    drawn.push_back(std::move(channel));
  }
  for (auto& [axis, range] : ranges) {
    if (axis->titleText() == Msg(MsgGraphDirectionAxis)) continue;
    double low = range.first, high = range.second;
    if (low > high) low = 0, high = 1;
    const double margin = high > low ? (high - low) * 0.05 : std::max(std::abs(high) * 0.05, 1.0);
    axis->setRange(low - margin, high + margin);
  }

  const GraphTimeline& timeline = source_.Timeline();
  const double left = AxisX(timeline.X(begin));
  const double right = std::max(AxisX(timeline.X(end - 1)), left + (timeline.hasTime ? 1000 : 1));
  if (auto* dates = qobject_cast<QDateTimeAxis*>(timeAxis_))
    dates->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(left)),
                    QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(right)));
  else
    static_cast<QValueAxis*>(timeAxis_)->setRange(left, right);
  plot_->SetContent(std::move(drawn), left, right);

  const DataFileInfo& info = source_.Info();
  double overwriteFrom = 1, overwriteTo = 0;
  if (begin < info.overwriteIndex) {
    overwriteFrom = left;
    overwriteTo = AxisX(timeline.X(std::min(info.overwriteIndex, end) - 1));
  }
  const int64_t low = info.batteryLowIndex;
  const double batteryLowX =
      low >= begin && low < end ? AxisX(timeline.X(low)) : std::numeric_limits<double>::quiet_NaN();
  plot_->SetMarks(overwriteFrom, overwriteTo, batteryLowX);
  return true;
}

}  // namespace tessaro
