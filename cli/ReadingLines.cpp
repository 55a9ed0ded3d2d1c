#include "cli/ReadingLines.h"

QString TimeStamp(const QDateTime& at) {
  // ISO 8601 with milliseconds and the offset from UTC, so that rows from any zone sort and compare.
  return at.toOffsetFromUtc(at.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QString CsvHeader() { return QStringLiteral("time,sensor,celsius,status"); }

QString ReadingLine(const QDateTime& at, std::uint8_t sensor, float celsius, bool csv) {
  const QString value = QString::number(celsius, 'f', 4);
  if (csv) return QStringLiteral("%1,%2,%3,ok").arg(TimeStamp(at)).arg(sensor).arg(value);
  return QStringLiteral("%1  sensor %2  %3 °C").arg(TimeStamp(at)).arg(sensor).arg(value);
}

QString MissedReplyLine(const QDateTime& at, int timeoutMs, bool csv) {
  if (csv) return QStringLiteral("%1,,,no reply").arg(TimeStamp(at));
  return QStringLiteral("%1  no reply from the device within %2 ms").arg(TimeStamp(at)).arg(timeoutMs);
}
