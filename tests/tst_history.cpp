#include "protocol/Conversions.h"
#include "protocol/TemperatureHistory.h"
#include "support/RecordingView.h"

#include <QtTest>

class THistoryTest : public QObject {
  Q_OBJECT

  TRecordingView View;
  QDateTime Now{QDate(2014, 3, 5), QTime(14, 5, 9)};
  std::unique_ptr<TTemperatureHistory> History;

  // 21 °C plus a sixteenth per step, so that every reading is recognisable; one second apart.
  void Read(int sensor, int step = 0) {
    const int raw = 0x150 + step;
    History->RecordTemperature({std::uint8_t(raw & 0xFF), std::uint8_t(raw >> 8)}, std::uint8_t(sensor));
    Now = Now.addSecs(1);
  }
  void SetPoints(const QString& text) { View.Texts[TControl::meNofPoints] = text; }
  int TempLines() { return int(View.Lines[TControl::mTemp].size()); }
  const std::vector<TChartPoint>& Series(int s) { return View.Points[s]; }

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

  void init() {
    View = TRecordingView();
    SetPoints("10");
    Now = QDateTime(QDate(2014, 3, 5), QTime(14, 5, 9));
    History = std::make_unique<TTemperatureHistory>(View, View, [this] { return Now; });
  }

  void firstReading_isStoredDrawnAndLogged() {
    History->RecordTemperature({0x58, 0x01}, 0);  // 21.5 °C
    QCOMPARE(History->PointCount(0), std::uint8_t{1});
    QCOMPARE(History->Cell(0, 0).Value, 21.5f);
    QCOMPARE(History->Cell(0, 0).TimeText, QStringLiteral("14:05:09"));
    QCOMPARE(Series(0).size(), std::size_t{1});
    QCOMPARE(Series(0)[0].Label, QStringLiteral("14:05:09"));
    QCOMPARE(Series(0)[0].Color, clBlue);
    QCOMPARE(View.Lines[TControl::mTemp], QStringList{"Sensor 0 21,5000 14:05:09 05.03.2014"});
  }

  void sensorOne_isGreen() {
    Read(1);
    QCOMPARE(Series(1).at(0).Color, clGreen);
    QVERIFY(Series(0).empty());
  }

  void eleventhReading_slidesTheWindowWithStoredTimes() {
    for (int i = 0; i < 11; ++i) Read(0, i);
    QCOMPARE(History->PointCount(0), std::uint8_t{10});
    QCOMPARE(View.ReplaceCalls, 1);
    QCOMPARE(Series(0).size(), std::size_t{10});
    for (int i = 0; i < 10; ++i) {
      QCOMPARE(Series(0)[i].Value, double(DecodeTemperatureFor(i + 1)));
      QCOMPARE(Series(0)[i].Label, TimeText(QTime(14, 5, 10 + i)));
      QCOMPARE(Series(0)[i].Color, clBlue);
    }
    QCOMPARE(TempLines(), 10);
    QVERIFY(View.Lines[TControl::mTemp].first().contains("14:05:10"));
  }

  void zeroPoints_keepsTheSeriesEmptyButLogs() {
    SetPoints("0");
    Read(0);
    Read(0, 1);
    QCOMPARE(History->PointCount(0), std::uint8_t{0});
    QVERIFY(Series(0).empty());
    QCOMPARE(TempLines(), 1);  // each reading removes the first line before adding its own
  }

  void loweredN_trimsAtTheNextReading() {
    for (int i = 0; i < 10; ++i) Read(0, i);
    SetPoints("3");
    Read(0, 10);
    QCOMPARE(History->PointCount(0), std::uint8_t{3});
    QCOMPARE(Series(0).size(), std::size_t{3});
    QCOMPARE(Series(0).back().Value, double(DecodeTemperatureFor(10)));
    QCOMPARE(Series(0).front().Value, double(DecodeTemperatureFor(8)));
    QCOMPARE(TempLines(), 10);
  }

  void raisedN_fillsAgainBeforeOverflowing() {
    SetPoints("3");
    for (int i = 0; i < 3; ++i) Read(0, i);
    SetPoints("10");
    for (int i = 3; i < 10; ++i) Read(0, i);
    QCOMPARE(View.ReplaceCalls, 0);
    QCOMPARE(History->PointCount(0), std::uint8_t{10});
    Read(0, 10);
    QCOMPARE(View.ReplaceCalls, 1);
  }

  void twoSensors_fillTheLogToTwentyLines() {
    for (int i = 0; i < 30; ++i) {
      Read(0, i);
      Read(1, i);
    }
    QCOMPARE(TempLines(), 20);
    QVERIFY(View.Lines[TControl::mTemp].last().startsWith("Sensor 1 "));
  }

  void overflowWithEmptyLog_removesNothing() {
    for (int i = 0; i < 10; ++i) Read(0, i);
    View.Lines[TControl::mTemp].clear();
    Read(0, 10);
    QCOMPARE(TempLines(), 1);
  }

  void negativeZero_isPlottedAndLoggedAsZero() {
    History->RecordTemperature({0x00, 0x80}, 0);
    QCOMPARE(Series(0).at(0).Value, 0.0);
    QVERIFY(View.Lines[TControl::mTemp].first().startsWith("Sensor 0 0,0000 "));
  }

  void pointsText_isReadAsTheConversionReadsIt_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("window");
    QTest::newRow("leading blank") << " 5" << 5;
    QTest::newRow("99") << "99" << 99;
    QTest::newRow("above the history is held to it") << "300" << 44;  // 300 mod 256
    QTest::newRow("negative wraps and is held") << "-1" << 99;
  }
  void pointsText_isReadAsTheConversionReadsIt() {
    QFETCH(QString, text);
    QFETCH(int, window);
    SetPoints(text);
    for (int i = 0; i < 120; ++i) Read(0, i % 16);
    QCOMPARE(int(History->PointCount(0)), window);
    QCOMPARE(int(Series(0).size()), window);
  }

  void emptyPoints_raisesTheErrorAndStoresNothing() {
    SetPoints("");
    try {
      Read(0);
      QFAIL("no error");
    } catch (const EConvertError& e) {
      QCOMPARE(e.Message(), QStringLiteral("'' is not a valid integer value"));
    }
    QCOMPARE(History->PointCount(0), std::uint8_t{0});
    QVERIFY(Series(0).empty());
    QCOMPARE(TempLines(), 0);
  }

  void sensorsWithoutSeries_areKeptOrLoggedButNeverDrawn() {
    for (int i = 0; i < 12; ++i) Read(5, i);
    QCOMPARE(History->PointCount(5), std::uint8_t{10});
    for (int i = 0; i < 5; ++i) Read(200, i);
    QVERIFY(View.Points.empty());
    QCOMPARE(TempLines(), 10 + 5);
    QVERIFY(View.Lines[TControl::mTemp].last().startsWith("Sensor 200 "));
  }

 private:
  static float DecodeTemperatureFor(int step) { return (0x150 + step) / 16.0f; }
};

QTEST_APPLESS_MAIN(THistoryTest)
#include "tst_history.moc"
