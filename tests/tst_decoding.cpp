#include "protocol/Conversions.h"
#include "protocol/TemperatureDecoding.h"
#include "support/Hex.h"

#include <QtTest>

#include <cmath>

class TDecodingTest : public QObject {
  Q_OBJECT

 private slots:
  void everyInput_isTheSignedMagnitudeInSixteenths() {
    for (int raw = 0; raw < 0x10000; ++raw) {
      const bool negative = raw & 0x8000;
      const int magnitude = (negative ? (0x10000 - raw) & 0xFFFF : raw) & 0x7FF;
      const float expected = (negative ? -1.0f : 1.0f) * static_cast<float>(magnitude) / 16.0f;
      const float decoded =
          DecodeTemperature(static_cast<std::uint8_t>(raw & 0xFF), static_cast<std::uint8_t>(raw >> 8));
      if (decoded != expected || std::signbit(decoded) != negative)
        QFAIL(qPrintable(
            QStringLiteral("0x%1 decoded to %2, not %3").arg(raw, 4, 16, QLatin1Char('0')).arg(decoded).arg(expected)));
    }
  }

  void workedExamples_data() {
    QTest::addColumn<QString>("bytes");
    QTest::addColumn<double>("celsius");
    QTest::addColumn<QString>("text");
    QTest::newRow("00 00") << "00 00" << 0.0 << "0.0000";
    QTest::newRow("01 00") << "01 00" << 0.0625 << "0.0625";
    QTest::newRow("08 00") << "08 00" << 0.5 << "0.5000";
    QTest::newRow("A2 00") << "A2 00" << 10.125 << "10.1250";
    QTest::newRow("50 01") << "50 01" << 21.0 << "21.0000";
    QTest::newRow("91 01") << "91 01" << 25.0625 << "25.0625";
    QTest::newRow("01 06") << "01 06" << 96.0625 << "96.0625";
    QTest::newRow("D0 07") << "D0 07" << 125.0 << "125.0000";
    QTest::newRow("FF 07") << "FF 07" << 127.9375 << "127.9380";
    QTest::newRow("00 08 bit 11 alone") << "00 08" << 0.0 << "0.0000";
    QTest::newRow("FF 0F bits 11 to 15 unused") << "FF 0F" << 127.9375 << "127.9380";
    QTest::newRow("FF FF") << "FF FF" << -0.0625 << "-0.0625";
    QTest::newRow("F8 FF") << "F8 FF" << -0.5 << "-0.5000";
    QTest::newRow("5E FF") << "5E FF" << -10.125 << "-10.1250";
    QTest::newRow("6F FE") << "6F FE" << -25.0625 << "-25.0625";
    QTest::newRow("90 FC") << "90 FC" << -55.0 << "-55.0000";
    QTest::newRow("01 80 bits dropped after negation") << "01 80" << -127.9375 << "-127.9380";
    QTest::newRow("00 80 negative zero") << "00 80" << 0.0 << "0.0000";
    QTest::newRow("00 F8 negative zero") << "00 F8" << 0.0 << "0.0000";
  }
  void workedExamples() {
    QFETCH(QString, bytes);
    QFETCH(double, celsius);
    QFETCH(QString, text);
    const QByteArray raw = FromHex(bytes);
    const float value = DecodeTemperature(static_cast<std::uint8_t>(raw[0]), static_cast<std::uint8_t>(raw[1]));
    QCOMPARE(static_cast<double>(value), celsius);
    QCOMPARE(FixedText(value, QLocale::c()), text);
  }
};

QTEST_APPLESS_MAIN(TDecodingTest)
#include "tst_decoding.moc"
