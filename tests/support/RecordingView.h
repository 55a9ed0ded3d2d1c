#pragma once

#include "protocol/FieldView.h"
#include "protocol/TemperatureHistory.h"

#include <utility>
#include <vector>

// A window that only remembers what the logic showed it, for tests and fuzzing; it also
// counts the calls whose number matters.
class TRecordingView : public TFieldView, public ITemperatureSink, public ISeriesView {
 public:
  int TimerEnableCalls = 0;
  std::vector<std::pair<TRawSample, std::uint8_t>> Samples;
  std::map<int, std::vector<TChartPoint>> Points;
  int ReplaceCalls = 0;
  int SetTextCalls = 0;

  void SetText(TControl control, const QString& text) override {
    ++SetTextCalls;
    TFieldView::SetText(control, text);
  }
  void SetTimerEnabled(bool enabled) override {
    ++TimerEnableCalls;
    TFieldView::SetTimerEnabled(enabled);
  }
  void RecordTemperature(TRawSample raw, std::uint8_t sensor) override { Samples.emplace_back(raw, sensor); }

  void AddPoint(int series, const TChartPoint& point) override { Points[series].push_back(point); }
  void ReplacePoints(int series, const std::vector<TChartPoint>& points) override {
    ++ReplaceCalls;
    Points[series] = points;
  }
};
