#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>

// The error that a handler raises to stop and have its message shown in the error box.
class EVelmoraError : public std::runtime_error {
 public:
  explicit EVelmoraError(const QString& message) : std::runtime_error(message.toStdString()) {}
  QString Message() const { return QString::fromStdString(what()); }
};

// A text that is not an integer: "'%s' is not a valid integer value".
class EConvertError : public EVelmoraError {
 public:
  using EVelmoraError::EVelmoraError;
};

// Leading blanks, an optional sign, then decimal digits or a hexadecimal number after
// "$", "x", "X", "0x" or "0X"; the value must fit in 32 bits. Anything else raises EConvertError.
std::int32_t StrToInt(const QString& text);

// The same conversion without raising: nothing for a text that StrToInt refuses.
std::optional<std::int32_t> TryStrToInt(const QString& text);

QString IntToStr(std::int64_t value);

// Upper-case hexadecimal, zero-padded to at least `digits` places.
QString IntToHex(std::uint32_t value, int digits);

// Exactly twelve hexadecimal digits, two per byte, high half first, either case.
std::optional<std::array<std::uint8_t, 6>> MacTextToBytes(const QString& text);

// Twelve upper-case hexadecimal digits.
QString MacBytesToText(const std::array<std::uint8_t, 6>& bytes);

// Fixed notation with at most six significant digits, always four decimals, halves
// rounded away from zero, the locale's decimal separator; no sign on a value that rounds to zero.
QString FixedText(double value, const QLocale& locale = QLocale());

// Hours, minutes and seconds in the locale's long time format (no time zone).
QString TimeText(const QTime& time, const QLocale& locale = QLocale());

// The locale's short date format, with a four-digit year.
QString DateText(const QDate& date, const QLocale& locale = QLocale());
