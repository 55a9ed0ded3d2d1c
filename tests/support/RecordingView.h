#pragma once

#include "protocol/Controls.h"
#include "protocol/TemperatureHistory.h"

#include <QStringList>

#include <map>
#include <utility>
#include <vector>

// A window that only remembers what the logic showed it, for tests and fuzzing.
class TRecordingView : public IMainView, public ITemperatureSink, public ISeriesView {
 public:
  std::map<TControl, QString> Texts;
  std::map<TControl, bool> Checks;
  std::map<TControl, bool> Enabled;
  std::map<TControl, bool> ReadOnly;
  std::map<int, QString> Panels;
  std::map<TControl, QStringList> Lines;
  std::map<TControl, QStringList> Items;
  std::map<TControl, int> Indexes;
  int TimerInterval = 10000;
  bool TimerEnabled = false;
  int TimerEnableCalls = 0;
  std::vector<std::pair<TRawSample, std::uint8_t>> Samples;
  std::map<int, std::vector<TChartPoint>> Points;
  int ReplaceCalls = 0;
  int SetTextCalls = 0;

  QString Text(TControl control) const override {
    const auto found = Texts.find(control);
    return found == Texts.end() ? QString() : found->second;
  }
  void SetText(TControl control, const QString& text) override {
    ++SetTextCalls;
    Texts[control] = text;
  }
  bool Checked(TControl control) const override {
    const auto found = Checks.find(control);
    return found != Checks.end() && found->second;
  }
  void SetChecked(TControl control, bool checked) override { Checks[control] = checked; }
  void SetEnabled(TControl control, bool enabled) override { Enabled[control] = enabled; }
  void SetReadOnly(TControl control, bool readOnly) override { ReadOnly[control] = readOnly; }
  void SetPanelText(int panel, const QString& text) override { Panels[panel] = text; }
  void AddItem(TControl combo, const QString& item) override { Items[combo].append(item); }
  int ItemIndex(TControl combo) const override {
    const auto found = Indexes.find(combo);
    return found == Indexes.end() ? -1 : found->second;
  }
  void SetItemIndex(TControl combo, int index) override { Indexes[combo] = index; }
  void AppendLine(TControl memo, const QString& line) override { Lines[memo].append(line); }
  void DeleteFirstLine(TControl memo) override {
    if (!Lines[memo].isEmpty()) Lines[memo].removeFirst();
  }
  void SetTimerInterval(int milliseconds) override { TimerInterval = milliseconds; }
  void SetTimerEnabled(bool enabled) override {
    ++TimerEnableCalls;
    TimerEnabled = enabled;
  }
  void RecordTemperature(TRawSample raw, std::uint8_t sensor) override { Samples.emplace_back(raw, sensor); }

  void AddPoint(int series, const TChartPoint& point) override { Points[series].push_back(point); }
  void ReplacePoints(int series, const std::vector<TChartPoint>& points) override {
    ++ReplaceCalls;
    Points[series] = points;
  }
};
