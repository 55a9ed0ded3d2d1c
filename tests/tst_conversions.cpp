#include "app/EditMask.h"
#include "app/ErrorBox.h"
#include "protocol/Conversions.h"
#include "protocol/LinkExchange.h"

#include <QtTest>

#include <cmath>
#include <limits>

class TConversionsTest : public QObject {
  Q_OBJECT

 private slots:
  void strToInt_acceptsIntegers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("leading zeros") << "000" << 0;
    QTest::newRow("decimal") << "255" << 255;
    QTest::newRow("leading blanks") << "   42" << 42;
    QTest::newRow("plus sign") << "+7" << 7;
    QTest::newRow("minus sign") << "-12" << -12;
    QTest::newRow("dollar hex") << "$FF" << 255;
    QTest::newRow("x hex") << "x1f" << 31;
    QTest::newRow("X hex") << "X10" << 16;
    QTest::newRow("0x hex") << "0x7FFFFFFF" << std::numeric_limits<int>::max();
    QTest::newRow("0X hex") << "0Xab" << 171;
    QTest::newRow("negative hex") << "-$10" << -16;
    QTest::newRow("largest") << "2147483647" << std::numeric_limits<int>::max();
    QTest::newRow("smallest") << "-2147483648" << std::numeric_limits<int>::min();
  }
  void strToInt_acceptsIntegers() {
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(StrToInt(text), value);
  }

  void strToInt_rejectsEverythingElse_data() {
    QTest::addColumn<QString>("text");
    for (const char* text :
         {"",  " ",  "19.", "1%",         "1'",          "12a",        "a",           "- 1", "1 ",  "+", "-",
          "$", "0x", "x",   "2147483648", "-2147483649", "0x80000000", "99999999999", "1e3", "--1", "٣"})
      QTest::newRow(text[0] ? text : "empty") << QString::fromUtf8(text);
  }
  void strToInt_rejectsEverythingElse() {
    QFETCH(QString, text);
    try {
      StrToInt(text);
      QFAIL("no error raised");
    } catch (const EConvertError& e) {
      QCOMPARE(e.Message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
  }

  void intToHex_isUpperCaseAndPadded() {
    QCOMPARE(IntToHex(0x0A, 2), QStringLiteral("0A"));
    QCOMPARE(IntToHex(0xBC, 2), QStringLiteral("BC"));
    QCOMPARE(IntToHex(0x123, 2), QStringLiteral("123"));
    QCOMPARE(IntToStr(-5), QStringLiteral("-5"));
  }

  void macText_turnsIntoBytesPairByPair_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("bytes");  // empty: refused
    QTest::newRow("upper case") << "02A1B2C3D4E5"
                                << "02A1B2C3D4E5";
    QTest::newRow("lower case") << "02a1b2c3d4e5"
                                << "02A1B2C3D4E5";
    QTest::newRow("too short") << "02A1B2C3D4E"
                               << "";
    QTest::newRow("too long") << "02A1B2C3D4E5F"
                              << "";
    QTest::newRow("not hex") << "02A1B2C3D4EG"
                             << "";
    QTest::newRow("separators") << "02:A1:B2:C3"
                                << "";
    QTest::newRow("empty") << ""
                           << "";
  }
  void macText_turnsIntoBytesPairByPair() {
    QFETCH(QString, text);
    QFETCH(QString, bytes);
    const auto mac = MacTextToBytes(text);
    QCOMPARE(mac.has_value(), !bytes.isEmpty());
    if (mac) QCOMPARE(MacBytesToText(*mac), bytes);
  }

  void fixedText_roundsToSixDigitsAndShowsFourDecimals_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("21.5") << 21.5 << "21.5000";
    QTest::newRow("127.9375") << 127.9375 << "127.9380";
    QTest::newRow("-127.9375") << -127.9375 << "-127.9380";
    QTest::newRow("-0.0625") << -0.0625 << "-0.0625";
    QTest::newRow("0.0625") << 0.0625 << "0.0625";
    QTest::newRow("zero") << 0.0 << "0.0000";
    QTest::newRow("negative zero") << -0.0 << "0.0000";
    QTest::newRow("96.0625") << 96.0625 << "96.0625";
    QTest::newRow("10.125") << 10.125 << "10.1250";
    QTest::newRow("-55") << -55.0 << "-55.0000";
    QTest::newRow("125") << 125.0 << "125.0000";
    QTest::newRow("tiny negative rounds to zero") << -0.00001 << "0.0000";
    QTest::newRow("carry into a new digit") << 99.99995 << "100.0000";
  }
  void fixedText_roundsToSixDigitsAndShowsFourDecimals() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FixedText(value, QLocale::c()), text);
  }

  void fixedText_usesTheLocalesDecimalSeparator() {
    QCOMPARE(FixedText(21.5, QLocale(QLocale::German)), QStringLiteral("21,5000"));
  }

  void timeAndDateTexts_followTheLocale() {
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(TimeText(QTime(14, 5, 9), german), QStringLiteral("14:05:09"));
    QCOMPARE(DateText(QDate(2014, 3, 5), german), QStringLiteral("05.03.2014"));
    const QString english = TimeText(QTime(14, 5, 9), QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY2(english.contains(QLatin1String("2:05:09")), qPrintable(english));
  }

  void inetAddr_parsesAsTheSocketLibraryDoes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address");
    QTest::newRow("dotted") << "192.168.77.10"
                            << "192.168.77.10";
    QTest::newRow("octal octet") << "192.168.010.1"
                                 << "192.168.8.1";
    QTest::newRow("hex octet") << "0xC0.168.1.1"
                               << "192.168.1.1";
    QTest::newRow("three parts") << "10.1.5"
                                 << "10.1.0.5";
    QTest::newRow("empty octets") << "..."
                                  << "255.255.255.255";
    QTest::newRow("octet too large") << "192.168.1.300"
                                     << "255.255.255.255";
    QTest::newRow("empty") << ""
                           << "255.255.255.255";
    QTest::newRow("embedded nul") << QStringLiteral("10.0.0.1") + QChar(0) + "x"
                                  << "255.255.255.255";
  }
  void inetAddr_parsesAsTheSocketLibraryDoes() {
    QFETCH(QString, text);
    QFETCH(QString, address);
    QCOMPARE(Ipv4Text(ParseInetAddr(text)), address);
  }

  void editMask_swapsRequiredAndOptionalDigits_data() {
    QTest::addColumn<QString>("editMask");
    QTest::addColumn<QString>("qtMask");
    QTest::newRow("port") << "0000;0;_"
                          << "9999;_";
    QTest::newRow("five-digit port") << "99999;0;_"
                                     << "00000;_";
    QTest::newRow("points") << "!99;1;_"
                            << "00;_";
    QTest::newRow("dns") << "!000.000.000.000;1;_"
                         << "999.999.999.999;_";
    QTest::newRow("literal letters are escaped") << "A-0;1;_"
                                                 << "\\A-9;_";
  }
  void editMask_swapsRequiredAndOptionalDigits() {
    QFETCH(QString, editMask);
    QFETCH(QString, qtMask);
    QCOMPARE(QtInputMask(editMask), qtMask);
  }

  void errorBoxText_addsAFullStopAfterHigherCharacters_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("conversion error") << "'' is not a valid integer value"
                                      << "'' is not a valid integer value.";
    QTest::newRow("ends in a full stop") << "Done."
                                         << "Done.";
    QTest::newRow("ends in a blank") << "Odd "
                                     << "Odd ";
    QTest::newRow("ends in an apostrophe") << "x'"
                                           << "x'";
    QTest::newRow("ends in a slash") << "a/"
                                     << "a/.";
    QTest::newRow("empty") << ""
                           << "";
  }
  void errorBoxText_addsAFullStopAfterHigherCharacters() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorBoxText(message), shown);
  }
};

QTEST_APPLESS_MAIN(TConversionsTest)
#include "tst_conversions.moc"
