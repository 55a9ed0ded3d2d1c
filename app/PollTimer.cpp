#include "app/PollTimer.h"

TPollTimer::TPollTimer(int interval, QObject* parent) : QObject(parent), IntervalMs(interval) {
  Timer.setTimerType(Qt::CoarseTimer);
  connect(&Timer, &QTimer::timeout, this, &TPollTimer::Tick);
}

void TPollTimer::SetInterval(int milliseconds) {
  if (milliseconds == IntervalMs) return;
  IntervalMs = milliseconds;
  Apply();
}

void TPollTimer::SetEnabled(bool enabled) {
  if (enabled == IsEnabled) return;
  IsEnabled = enabled;
  Apply();
}

void TPollTimer::Apply() {
  // A QTimer with interval 0 would fire on every pass of the event loop.
  if (IsEnabled && IntervalMs > 0)
    Timer.start(IntervalMs);
  else
    Timer.stop();
}
