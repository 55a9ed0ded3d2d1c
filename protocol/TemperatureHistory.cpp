#include "protocol/TemperatureHistory.h"

#include "protocol/Conversions.h"
#include "protocol/TemperatureDecoding.h"

#include <algorithm>

namespace {

TColor SensorColor(int sensor) { return sensor == 0 ? clBlue : clGreen; }

}  // namespace

TTemperatureHistory::TTemperatureHistory(IMainView& view, ISeriesView& series, TClock clock)
    : View(view), Series(series), Clock(std::move(clock)) {}

QString TemperatureLogLine(std::uint8_t sensor, float value, const QDateTime& when) {
  return QStringLiteral("Sensor %1 %2 %3 %4")
      .arg(IntToStr(sensor), FixedText(value), TimeText(when.time()), DateText(when.date()));
}

void TTemperatureHistory::RecordTemperature(TRawSample raw, std::uint8_t sensor) {
  const int requested = StrToInt(View.Text(TControl::meNofPoints)) & 0xFF;
  const int window = std::min(requested, kMaxWindow);
  const float value = DecodeTemperature(raw[0], raw[1]);
  const QDateTime now = Clock();
  const QString timeText = TimeText(now.time());

  // Sensors without a column are logged only.
  if (sensor < kSensors) {
    const int row = PointCounts[sensor];
    Cells[row][sensor] = {value, timeText};
    PointCounts[sensor] = static_cast<std::uint8_t>(row + 1);
    const bool drawn = sensor < kDrawnSensors;
    if (PointCounts[sensor] > window) {
      Trim(sensor, window, drawn ? SensorColor(sensor) : 0);
    } else if (drawn) {
      Series.AddPoint(sensor, {value, timeText, SensorColor(sensor)});
    }
  }
  View.AppendLine(TControl::mTemp, TemperatureLogLine(sensor, value, now));
}

void TTemperatureHistory::Trim(int sensor, int window, TColor color) {
  const int count = PointCounts[sensor];
  std::vector<TChartPoint> points;
  points.reserve(static_cast<std::size_t>(window));
  // Each source row lies above its destination, so the upward copy reads every row before overwriting it.
  for (int i = 0; i < window; ++i) {
    Cells[i][sensor] = Cells[count + i - window][sensor];
    points.push_back({Cells[i][sensor].Value, Cells[i][sensor].TimeText, color});
  }
  if (sensor < kDrawnSensors) Series.ReplacePoints(sensor, points);
  View.DeleteFirstLine(TControl::mTemp);
  PointCounts[sensor] = static_cast<std::uint8_t>(window);
}
