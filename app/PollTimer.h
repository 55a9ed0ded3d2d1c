#pragma once

#include <QObject>
#include <QTimer>

// A timer that ticks only while enabled with a non-zero interval. Changing Interval or
// Enabled starts its period anew; setting the value it already has changes nothing.
class TPollTimer : public QObject {
  Q_OBJECT

 public:
  explicit TPollTimer(int interval, QObject* parent = nullptr);

  int Interval() const { return IntervalMs; }
  bool Enabled() const { return IsEnabled; }
  bool Ticking() const { return Timer.isActive(); }
  void SetInterval(int milliseconds);
  void SetEnabled(bool enabled);

 signals:
  void Tick();

 private:
  void Apply();

  QTimer Timer;
  int IntervalMs;
  bool IsEnabled = false;
};
