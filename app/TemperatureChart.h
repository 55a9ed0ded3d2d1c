#pragma once

#include "protocol/TemperatureHistory.h"

#include <QChartView>

#include <array>
#include <vector>

class QCategoryAxis;
class QLineSeries;
class QValueAxis;

QColor ToQColor(TColor color);

// Chart1: two line series whose points carry their own colour and a time label, with axes
// that follow the points.
class TTemperatureChart : public QChartView, public ISeriesView {
  Q_OBJECT

 public:
  explicit TTemperatureChart(QWidget* parent = nullptr);

  void AddPoint(int series, const TChartPoint& point) override;
  void ReplacePoints(int series, const std::vector<TChartPoint>& points) override;

  QLineSeries* Series(int index) const { return Lines[static_cast<std::size_t>(index)]; }
  QCategoryAxis* BottomAxis() const { return AxisX; }
  QValueAxis* LeftAxis() const { return AxisY; }
  // The time texts of a series' points, in point order.
  const std::vector<QString>& Labels(int series) const { return PointLabels[static_cast<std::size_t>(series)]; }

 private:
  void UpdateAxes();

  std::array<QLineSeries*, 2> Lines{};
  std::array<std::vector<QString>, 2> PointLabels;
  QCategoryAxis* AxisX = nullptr;
  QValueAxis* AxisY = nullptr;
};
