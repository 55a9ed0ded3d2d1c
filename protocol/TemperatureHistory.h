#pragma once

#include "protocol/Controls.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// Colours as the device's tooling writes them: 0x00BBGGRR.
using TColor = std::uint32_t;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clYellow = 0x00FFFF;

struct TChartPoint {
  double Value = 0;
  QString Label;
  TColor Color = 0;
};

// The chart's two line series, index 0 for sensor 0 and 1 for sensor 1.
class ISeriesView {
 public:
  virtual ~ISeriesView() = default;
  virtual void AddPoint(int series, const TChartPoint& point) = 0;
  // Clears the series and shows exactly these points, as one update of the chart.
  virtual void ReplacePoints(int series, const std::vector<TChartPoint>& points) = 0;
};

struct THistoryCell {
  float Value = 0;
  QString TimeText;
};

// The sliding window of each sensor's latest readings, drawn on the chart and logged in mTemp.
class TTemperatureHistory {
 public:
  static constexpr int kSensors = 8;
  static constexpr int kDrawnSensors = 2;
  // The points field admits up to 99, and a full window briefly holds one reading more.
  static constexpr int kMaxWindow = 99;
  static constexpr int kRows = kMaxWindow + 1;

  using TClock = std::function<QDateTime()>;

  TTemperatureHistory(IMainView& view, ISeriesView& series, TClock clock = &QDateTime::currentDateTime);

  // Raises the conversion error, before anything is stored, when meNofPoints holds no number.
  void RecordTemperature(TRawSample raw, std::uint8_t sensor);

  std::uint8_t PointCount(int sensor) const { return PointCounts[sensor]; }
  const THistoryCell& Cell(int row, int sensor) const { return Cells[row][sensor]; }

 private:
  // Rows 0..N-1 take the N newest readings, oldest first, and the series is redrawn from them.
  void Trim(int sensor, int window, TColor color);

  IMainView& View;
  ISeriesView& Series;
  TClock Clock;
  std::array<std::array<THistoryCell, kSensors>, kRows> Cells{};
  std::array<std::uint8_t, kSensors> PointCounts{};
};

// "Sensor 0 21.5000 14:05:09 05.03.2014"
QString TemperatureLogLine(std::uint8_t sensor, float value, const QDateTime& when);
