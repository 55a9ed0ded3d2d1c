#include "protocol/ReplyHandler.h"
#include "support/Hex.h"
#include "support/RecordingView.h"

#include <QtTest>

#include <arpa/inet.h>

class TReplyHandlerTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TLinkExchange> Owned = std::make_unique<TLinkExchange>();
  TLinkExchange& Exchange() { return *Owned; }
  TRecordingView View;

  // A datagram as the worker leaves it for the handler: in the buffer, with its length and sender.
  void Receive(const QString& hex, const char* sender = "192.168.1.10") {
    const QByteArray bytes = FromHex(hex);
    Exchange().ReplyBuffer.fill(0);
    std::copy(bytes.begin(), bytes.end(), Exchange().ReplyBuffer.begin());
    Exchange().ReplyLength = static_cast<std::int32_t>(bytes.size());
    Exchange().DeviceAddress.sin_addr.s_addr = inet_addr(sender);
  }
  void Run() { ReplyHandler(Exchange(), View, View); }
  QString T(TControl c) const { return View.Text(c); }
  QStringList Octets(const TOctetRow& row) const {
    QStringList texts;
    for (const TControl c : row) texts << T(c);
    return texts;
  }
  bool ButtonsEnabled() const {
    for (const TControl b : kSettingButtons)
      if (!View.Enabled.count(b) || !View.Enabled.at(b)) return false;
    return View.TimerEnabled && View.Enabled.count(TControl::cbEnableFields) &&
           !View.Enabled.at(TControl::cbEnableFields);
  }

 private slots:
  void init() {
    Owned = std::make_unique<TLinkExchange>();
    View = TRecordingView();
  }

  void nothingReceived_onlyTheSendIsReported_data() {
    QTest::addColumn<int>("replyLength");
    QTest::addColumn<int>("sentCount");
    QTest::addColumn<QString>("logLine");
    QTest::newRow("before any datagram, 5 bytes sent") << 0 << 5 << "5 bytes have been sent to device";
    QTest::newRow("after a time-out, 3 bytes sent") << -1 << 3 << "3 bytes have been sent to device";
    QTest::newRow("failed send") << 0 << -1 << "Send bytes error";
    QTest::newRow("no socket") << 0 << 0 << "";
  }
  void nothingReceived_onlyTheSendIsReported() {
    QFETCH(int, replyLength);
    QFETCH(int, sentCount);
    QFETCH(QString, logLine);
    Exchange().ReplyLength = replyLength;
    Exchange().SentCount = sentCount;
    Exchange().CommandLength = 9;
    Run();
    QVERIFY(View.Panels.empty());
    QCOMPARE(View.SetTextCalls, 0);
    QCOMPARE(View.Lines[TControl::mLog], logLine.isEmpty() ? QStringList{} : QStringList{logLine});
    QCOMPARE(int(Exchange().CommandLength), sentCount == 0 ? 9 : 0);
    QCOMPARE(Exchange().SentCount, 0);
  }

  void exampleReply_fillsTheWindow() {
    Receive("AA 55 00 00 01 C0 A8 01 0A C0 A8 01 01 FF FF FF 00 0A 00 00 01 AE 05 0A 07 31 2E 30 35");
    Run();
    QCOMPARE(View.Panels[0], QStringLiteral("Connected: 192.168.1.10"));
    QCOMPARE(Exchange().DeviceIpText, QStringLiteral("192.168.1.10"));
    QCOMPARE(Octets(kDeviceIpRow), (QStringList{"192", "168", "1", "10"}));
    QCOMPARE(Octets(kGatewayRow), (QStringList{"192", "168", "1", "1"}));
    QCOMPARE(Octets(kMaskRow), (QStringList{"255", "255", "255", "0"}));
    QCOMPARE(T(TControl::meDNS), QStringLiteral("10.0.0.1"));
    QVERIFY(View.Checked(TControl::cbDHCP));
    QCOMPARE(View.TimerInterval, 600000);
    QCOMPARE(T(TControl::cbTime), QStringLiteral("10"));
    QCOMPARE(View.Panels[1], QStringLiteral("FW:1.05"));
    QCOMPARE(View.TimerEnableCalls, 3);  // records 1, 5 and 7
    QVERIFY(ButtonsEnabled());
    QVERIFY(View.Lines[TControl::mLog].isEmpty());
  }

  void dhcpFlag_onlyAEChecksTheBox_data() {
    QTest::addColumn<QString>("flag");
    QTest::addColumn<bool>("checked");
    QTest::newRow("AE") << "AE" << true;
    QTest::newRow("AF") << "AF" << false;
    QTest::newRow("01") << "01" << false;
    QTest::newRow("00") << "00" << false;
  }
  void dhcpFlag_onlyAEChecksTheBox() {
    QFETCH(QString, flag);
    QFETCH(bool, checked);
    View.Checks[TControl::cbDHCP] = !checked;
    Receive("AA 55 00 00 01 C0 A8 01 0A C0 A8 01 01 FF FF FF 00 0A 00 00 01" + flag);
    Run();
    QCOMPARE(View.Checked(TControl::cbDHCP), checked);
  }

  void records_setTheirFields_data() {
    QTest::addColumn<QString>("records");
    QTest::addColumn<QString>("expected");  // control=text;... ; "timer=" for the interval
    QTest::newRow("host port") << "02 AE 08"
                               << "mePort=2222";
    QTest::newRow("server by name")
        << "03 01 03 5B 20 61 62 63 05 AE 08"
        << "rbServerName=1;meServerPort=8283;meServerName=abc;cbTime=5;mePort=2222;timer=10000";
    QTest::newRow("server by address") << "03 02 00 5B 20 C0 A8 01 0A 0A AE 08"
                                       << "rbServerIP=1;meServerPort=8283;meServerIP1=192;meServerIP2=168;meServerIP3="
                                          "1;meServerIP4=10;cbTime=10;mePort=2222";
    QTest::newRow("server kind 0 is an address")
        << "03 00 07 01 00 0A 00 00 05 01 02 00"
        << "rbServerIP=1;meServerIP1=10;meServerIP4=5;meServerPort=1;cbTime=1;mePort=2";
    QTest::newRow("server kind 5 is an address") << "03 05 00 01 00 0A 00 00 05 01 02 00"
                                                 << "rbServerIP=1;meServerIP1=10";
    QTest::newRow("server name cut at a zero") << "03 01 03 5B 20 61 00 63 05 AE 08"
                                               << "meServerName=a;cbTime=5";
    QTest::newRow("empty server name") << "03 01 00 5B 20 05 AE 08"
                                       << "meServerName=;cbTime=5;mePort=2222";
    QTest::newRow("mac") << "04 12 34 56 78 9A BC"
                         << "meMAC=123456789ABC";
    QTest::newRow("mac keeps two digits a byte") << "04 0A 0B 0C 0D 0E 0F"
                                                 << "meMAC=0A0B0C0D0E0F";
    QTest::newRow("interval 0 stops polling") << "05 00"
                                              << "cbTime=0;timer=0";
    QTest::newRow("interval 255") << "05 FF"
                                  << "cbTime=255;timer=15300000";
    QTest::newRow("interval cut short reads zero") << "05"
                                                   << "cbTime=0;timer=0";
    QTest::newRow("firmware bytes are text, not records")
        << "07 01 02 03 04 02 AE 08" << QStringLiteral("panel1=FW:\u0001\u0002\u0003\u0004;mePort=2222");
    QTest::newRow("firmware cut at a zero") << "07 31 00 35 35"
                                            << "panel1=FW:1";
    QTest::newRow("a later record overwrites an earlier one") << "02 01 00 02 02 00"
                                                              << "mePort=2";
    QTest::newRow("network record cut short reads zeros")
        << "01 C0 A8"
        << "meDevIP1=192;meDevIP2=168;meDevIP3=0;meGw1=0;meDNS=0.0.0.0";
  }
  void records_setTheirFields() {
    QFETCH(QString, records);
    QFETCH(QString, expected);
    Receive("AA 55 00 00 " + records);
    Run();
    for (const QString& item : expected.split(';')) {
      const QString key = item.section('=', 0, 0);
      const QString value = item.section('=', 1);
      if (key == "timer")
        QCOMPARE(View.TimerInterval, value.toInt());
      else if (key == "panel1")
        QCOMPARE(View.Panels[1], value);
      else if (key.startsWith("rb"))
        QVERIFY2(View.Checked(key == "rbServerName" ? TControl::rbServerName : TControl::rbServerIP), qPrintable(key));
      else {
        bool found = false;
        for (int c = 0; c <= int(TControl::meServerIP4); ++c)
          if (ControlName(TControl(c)) == key) {
            QVERIFY2(View.Texts.count(TControl(c)), qPrintable(key + " was not set"));
            QCOMPARE(T(TControl(c)), value);
            found = true;
          }
        QVERIFY2(found, qPrintable(key));
      }
    }
    QVERIFY(ButtonsEnabled());
  }

  void temperatures_areHandedOnInRecordOrder() {
    Receive("AA 55 00 00 09 02 50 01 91 01");
    Run();
    QCOMPARE(View.Samples.size(), std::size_t{2});
    QCOMPARE(View.Samples[0], std::make_pair(TRawSample{0x50, 0x01}, std::uint8_t{0}));
    QCOMPARE(View.Samples[1], std::make_pair(TRawSample{0x91, 0x01}, std::uint8_t{1}));
    QCOMPARE(View.TimerEnableCalls, 1);
  }

  void noSamples_handsNothingOn() {
    Receive("AA 55 00 00 09 00");
    Run();
    QVERIFY(View.Samples.empty());
    QCOMPARE(View.TimerEnableCalls, 1);
  }

  void unassignedCodes_costOneByteAndOneStepEach() {
    Receive("AA 55 00 00 06 08 00");
    Run();
    QCOMPARE(View.SetTextCalls, 0);
    QCOMPARE(View.TimerEnableCalls, 3);
    QVERIFY(ButtonsEnabled());
  }

  void fourByteReply_showsTheSenderAndWalksNothing() {
    Receive("AA 55 01 02");
    Run();
    QCOMPARE(View.Panels[0], QStringLiteral("Connected: 192.168.1.10"));
    QCOMPARE(View.TimerEnableCalls, 0);
    QVERIFY(View.Enabled.empty());
  }

  void sendAfterTwentyByteDatagram_walksSixteenZeros() {
    Exchange().ReplyLength = 20;  // the worker cleared the buffer after that datagram
    Exchange().DeviceAddress.sin_addr.s_addr = inet_addr("192.168.77.10");
    Exchange().SentCount = 3;
    Run();
    QCOMPARE(View.Panels[0], QStringLiteral("Connected: 192.168.77.10"));
    QCOMPARE(View.TimerEnableCalls, 16);
    QCOMPARE(View.Lines[TControl::mLog], QStringList{"3 bytes have been sent to device"});
  }

  // Replies built so that the one-byte cursor would wrap: the walk must end, and must not apply
  // a record it cannot address to its end.
  void cursorWrap_endsTheWalk_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("samples");
    const QString header = "AA 55 00 00 ";
    // 252 unassigned bytes take the cursor from 4 to 256, the end of its reach.
    QTest::newRow("1024 bytes of unassigned codes") << header + QString("06 ").repeated(1020) << 252 << 0;
    QTest::newRow("record that ends at offset 255")
        << header + QString("06 ").repeated(249) + "02 01 00" + QString(" 06").repeated(600) << 250 << 0;
    QTest::newRow("record that runs past offset 255")
        << header + QString("06 ").repeated(250) + "02 01 00 06 06" << 250 << 0;
    QTest::newRow("255 samples") << header + "09 FF " + QString("01 00 ").repeated(255) << 0 << 0;
    QTest::newRow("long name") << header + "03 01 FA 00 00 " + QString("61 ").repeated(250) + "01 00 00" << 0 << 0;
    QTest::newRow("samples that just fit") << header + "09 7D " + QString("01 00 ").repeated(125) << 1 << 125;
  }
  void cursorWrap_endsTheWalk() {
    QFETCH(QString, reply);
    QFETCH(int, steps);
    QFETCH(int, samples);
    Receive(reply);
    Run();
    QCOMPARE(View.TimerEnableCalls, steps);
    QCOMPARE(int(View.Samples.size()), samples);
  }

  void errorInTemperatureRecord_endsTheRunBeforeTheReport() {
    struct TFailingSink : ITemperatureSink {
      void RecordTemperature(TRawSample, std::uint8_t) override { throw std::runtime_error("no N"); }
    } failing;
    Receive("AA 55 00 00 09 01 50 01 02 AE 08");
    Exchange().SentCount = 3;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, ReplyHandler(Exchange(), View, failing));
    QCOMPARE(View.TimerEnableCalls, 0);
    QVERIFY(!View.Texts.count(TControl::mePort));
    QCOMPARE(Exchange().SentCount, 3);
  }
};

QTEST_APPLESS_MAIN(TReplyHandlerTest)
#include "tst_reply_handler.moc"
