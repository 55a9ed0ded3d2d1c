#include "protocol/Conversions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

int HexDigit(QChar c) {
  const char16_t u = c.unicode();
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'a' && u <= 'f') return u - 'a' + 10;
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  return -1;
}

int DecimalDigit(QChar c) {
  const char16_t u = c.unicode();
  return (u >= '0' && u <= '9') ? u - '0' : -1;
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(const QString& text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && text[i] == u' ') ++i;

  bool negative = false;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }

  int base = 10;
  if (i < n && text[i] == u'$') {
    base = 16;
    ++i;
  } else if (i < n && (text[i] == u'x' || text[i] == u'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }

  if (i == n) return std::nullopt;  // no digits at all
  // The magnitude may reach 2^31 for a negative value; anything larger is out of range.
  const std::int64_t limit = negative ? std::int64_t{1} << 31 : std::numeric_limits<std::int32_t>::max();
  std::int64_t magnitude = 0;
  for (; i < n; ++i) {
    const int d = base == 16 ? HexDigit(text[i]) : DecimalDigit(text[i]);
    if (d < 0) return std::nullopt;
    magnitude = magnitude * base + d;
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t StrToInt(const QString& text) {
  if (const auto value = TryStrToInt(text)) return *value;
  throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

QString IntToStr(std::int64_t value) { return QString::number(value); }

QString IntToHex(std::uint32_t value, int digits) {
  return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

std::optional<std::array<std::uint8_t, 6>> MacTextToBytes(const QString& text) {
  if (text.size() != 12) return std::nullopt;
  std::array<std::uint8_t, 6> bytes{};
  for (int i = 0; i < 6; ++i) {
    const int high = HexDigit(text[2 * i]);
    const int low = HexDigit(text[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
  }
  return bytes;
}

QString MacBytesToText(const std::array<std::uint8_t, 6>& bytes) {
  QString text;
  for (const auto b : bytes) text += IntToHex(b, 2);
  return text;
}

QString FixedText(double value, const QLocale& locale) {
  constexpr int kPrecision = 6;
  constexpr int kDigits = 4;
  const double magnitude = std::fabs(value);
  // Decimals left once the integer part has taken its share of the six significant digits.
  int integerDigits = magnitude < 1.0 ? 0 : static_cast<int>(std::floor(std::log10(magnitude))) + 1;
  int decimals = std::clamp(kPrecision - integerDigits, 0, kDigits);
  double scaled = std::round(magnitude * std::pow(10.0, decimals));  // halves away from zero
  // Rounding may carry into a new integer digit (999.9995 -> 1000.00): one decimal fewer then.
  if (decimals > 0 && scaled >= std::pow(10.0, kPrecision)) {
    --decimals;
    scaled = std::round(magnitude * std::pow(10.0, decimals));
  }
  const double rounded = scaled / std::pow(10.0, decimals);
  QString digits = QString::number(rounded, 'f', kDigits);
  digits.replace(QLatin1Char('.'), locale.decimalPoint());
  return (value < 0 && scaled != 0) ? QStringLiteral("-") + digits : digits;
}

QString TimeText(const QTime& time, const QLocale& locale) {
  QString format = locale.timeFormat(QLocale::LongFormat);
  // Qt's long format ends in a time-zone field; the log wants the clock time alone.
  format.remove(QLatin1Char('t'));
  return locale.toString(time, format.trimmed());
}

QString DateText(const QDate& date, const QLocale& locale) {
  QString format = locale.dateFormat(QLocale::ShortFormat);
  if (!format.contains(QLatin1String("yyyy"))) format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
  return locale.toString(date, format);
}
