#include "app/TemperatureChart.h"

#include <QCategoryAxis>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// Leaves room for about one time label per this many pixels of plot width.
constexpr int kPixelsPerLabel = 64;

QLineSeries* MakeSeries(const QString& name, TColor ownColor) {
  auto* series = new QLineSeries;
  series->setName(name);
  series->setColor(ToQColor(ownColor));
  series->setPointsVisible(true);
  series->setMarkerSize(4);  // a small circle, about two pixels either side of its centre
  series->setPointLabelsVisible(false);
  return series;
}

}  // namespace

QColor ToQColor(TColor color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

// The view takes the chart it is made with; a chart given later would leave its first one behind.
TTemperatureChart::TTemperatureChart(QWidget* parent) : QChartView(new QChart, parent) {
  QChart* chart = this->chart();
  chart->setTitle(QStringLiteral("T, C"));
  chart->legend()->hide();
  chart->setAnimationOptions(QChart::NoAnimation);
  QLinearGradient background(0, 0, 0, 1);
  background.setCoordinateMode(QGradient::ObjectBoundingMode);
  background.setColorAt(0, ToQColor(clWhite));
  background.setColorAt(1, ToQColor(clYellow));
  chart->setBackgroundBrush(background);
  chart->setBackgroundRoundness(0);
  chart->setPlotAreaBackgroundVisible(false);
  chart->setMargins(QMargins(4, 4, 4, 4));
  chart->layout()->setContentsMargins(0, 0, 0, 0);

  Lines = {MakeSeries(QStringLiteral("Series1"), clRed), MakeSeries(QStringLiteral("Series2"), clGreen)};
  AxisX = new QCategoryAxis;
  AxisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  AxisX->setGridLineVisible(false);
  AxisX->setStartValue(-1);
  AxisY = new QValueAxis;
  AxisY->setLabelFormat(QStringLiteral("%g"));
  chart->addAxis(AxisX, Qt::AlignBottom);
  chart->addAxis(AxisY, Qt::AlignLeft);
  for (auto* series : Lines) {
    chart->addSeries(series);
    series->attachAxis(AxisX);
    series->attachAxis(AxisY);
  }
  setFrameShape(QFrame::NoFrame);
  setRenderHint(QPainter::Antialiasing);
  UpdateAxes();
}

void TTemperatureChart::AddPoint(int index, const TChartPoint& point) {
  QLineSeries* series = Series(index);
  const int x = series->count();
  series->append(x, point.Value);
  series->setPointConfiguration(x, QXYSeries::PointConfiguration::Color, ToQColor(point.Color));
  PointLabels[static_cast<std::size_t>(index)].push_back(point.Label);
  UpdateAxes();
}

void TTemperatureChart::ReplacePoints(int index, const std::vector<TChartPoint>& points) {
  QLineSeries* series = Series(index);
  QList<QPointF> values;
  QHash<int, QHash<QXYSeries::PointConfiguration, QVariant>> colours;
  auto& labels = PointLabels[static_cast<std::size_t>(index)];
  labels.clear();
  values.reserve(static_cast<qsizetype>(points.size()));
  for (const TChartPoint& point : points) {
    colours[static_cast<int>(values.size())][QXYSeries::PointConfiguration::Color] = ToQColor(point.Color);
    values.append(QPointF(static_cast<qreal>(values.size()), point.Value));
    labels.push_back(point.Label);
  }
  // Point colours are keyed by index and do not move with their points: set them anew, in one go.
  series->clearPointsConfiguration();
  series->replace(values);
  series->setPointsConfiguration(colours);
  UpdateAxes();
}

void TTemperatureChart::UpdateAxes() {
  int points = 0;
  double low = 0;
  double high = 0;
  bool any = false;
  for (const QLineSeries* series : Lines) {
    points = std::max(points, static_cast<int>(series->count()));
    for (const QPointF& p : series->points()) {
      low = any ? std::min(low, p.y()) : p.y();
      high = any ? std::max(high, p.y()) : p.y();
      any = true;
    }
  }
  if (!any || high - low < 0.5) {
    const double middle = any ? (low + high) / 2 : 0;
    low = middle - 1;
    high = middle + 1;
  }
  const double pad = (high - low) * 0.05;
  AxisY->setRange(std::floor(low - pad), std::ceil(high + pad));
  AxisX->setRange(-0.3, std::max(points - 1, 1) + 0.3);

  // Time labels come from sensor 0's points, or from sensor 1's while sensor 0 has none.
  const auto& labels = PointLabels[0].empty() ? PointLabels[1] : PointLabels[0];
  for (const QString& old : AxisX->categoriesLabels()) AxisX->remove(old);
  const qreal plotWidth = chart()->plotArea().width() > 0 ? chart()->plotArea().width() : width() - 60;
  const int room = std::max(1, static_cast<int>(plotWidth) / kPixelsPerLabel);
  const int step = std::max(1, static_cast<int>(std::ceil(static_cast<double>(labels.size()) / room)));
  for (std::size_t i = 0; i < labels.size(); i += static_cast<std::size_t>(step)) {
    // Category labels must be unique; readings within one second share their text.
    QString label = labels[i];
    while (AxisX->categoriesLabels().contains(label)) label += QChar(0x200B);
    AxisX->append(label, static_cast<qreal>(i));
  }
}
