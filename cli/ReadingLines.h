#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

// The lines that `watch` prints: plain text for people, or CSV for a spreadsheet.
QString TimeStamp(const QDateTime& at);
QString CsvHeader();
QString ReadingLine(const QDateTime& at, std::uint8_t sensor, float celsius, bool csv);
QString MissedReplyLine(const QDateTime& at, int timeoutMs, bool csv);
