#include "protocol/CommandFrames.h"
#include "protocol/Conversions.h"
#include "support/Hex.h"
#include "support/RecordingView.h"

#include <QtTest>

#include <functional>

namespace {

using TBuilder = std::function<void(TLinkExchange&, IMainView&)>;

const std::map<QString, TBuilder>& Builders() {
  static const std::map<QString, TBuilder> builders{
      {"params", BuildSetParams},     {"hostPort", BuildSetHostPort},
      {"server", BuildSetServer},     {"mac", BuildSetMac},
      {"interval", BuildSetInterval}, {"apply", BuildApplyRestart},
      {"find", BuildFindDevice},      {"poll", [](TLinkExchange& e, IMainView&) { BuildReadTemperatures(e); }},
  };
  return builders;
}

// The window's fields as "Enable Fields" and the layout leave them.
void FillDefaults(TRecordingView& view) {
  const std::pair<TOctetRow, std::array<const char*, 4>> rows[] = {
      {kDeviceIpRow, {"192", "168", "0", "100"}},
      {kGatewayRow, {"192", "168", "0", "1"}},
      {kMaskRow, {"255", "255", "255", "0"}},
      {kServerIpRow, {"10", "0", "0", "5"}},
  };
  for (const auto& [row, texts] : rows)
    for (int i = 0; i < 4; ++i) view.Texts[row[i]] = QLatin1String(texts[i]);
  view.Texts[TControl::mePort] = "2222";
  view.Texts[TControl::meServerPort] = "8283";
  view.Texts[TControl::meServerName] = "abc";
  view.Texts[TControl::meMAC] = "02A1B2C3D4E5";
  view.Texts[TControl::cbTime] = "1";
  view.Checks[TControl::rbServerName] = true;
}

TControl ControlNamed(const QString& name) {
  for (int i = 0; i <= static_cast<int>(TControl::meServerIP4); ++i)
    if (ControlName(static_cast<TControl>(i)) == name) return static_cast<TControl>(i);
  qFatal("no control %s", qPrintable(name));
}

// "meGw2=;rbServerName=0" sets texts and checks.
void Apply(TRecordingView& view, const QString& changes) {
  for (const QString& change : changes.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QString name = change.section(QLatin1Char('='), 0, 0);
    const QString value = change.section(QLatin1Char('='), 1);
    const TControl control = ControlNamed(name);
    if (name.startsWith(QLatin1String("rb")))
      view.Checks[control] = value == QLatin1String("1");
    else
      view.Texts[control] = value;
  }
}

}  // namespace

class TCommandFramesTest : public QObject {
  Q_OBJECT

  TLinkExchange Exchange;
  TRecordingView View;

  QStringList SentFrames() {
    QStringList frames;
    while (const auto frame = Exchange.PendingFrames.Pop(*Exchange.WakeEvent)) frames << ToHex(*frame);
    return frames;
  }

 private slots:
  void init() {
    while (Exchange.WakeEvent && Exchange.PendingFrames.Pop(*Exchange.WakeEvent)) {
    }
    Exchange.WakeEvent = std::make_unique<TWakeEvent>();
    View = TRecordingView();
    FillDefaults(View);
  }

  void builder_writesItsExactFrameAndLogLine_data() {
    QTest::addColumn<QString>("builder");
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("logLine");
    QTest::newRow("set params with the default plan") << "params"
                                                      << ""
                                                      << "EE BB 01 C0 A8 00 64 C0 A8 00 01 FF FF FF 00"
                                                      << "Setting Params...";
    QTest::newRow("set port pc") << "hostPort"
                                 << ""
                                 << "EE BB 02 AE 08"
                                 << "Setting Port...";
    QTest::newRow("five-digit port") << "hostPort"
                                     << "mePort=65535"
                                     << "EE BB 02 FF FF"
                                     << "Setting Port...";
    QTest::newRow("server by address") << "server"
                                       << "rbServerName=0"
                                       << "EE BB 03 02 0A 00 00 05 5B 20"
                                       << "Setting Server...";
    QTest::newRow("server by name") << "server"
                                    << ""
                                    << "EE BB 03 01 03 61 62 63 5B 20"
                                    << "Setting Server...";
    QTest::newRow("server with an empty name") << "server"
                                               << "meServerName="
                                               << "EE BB 03 01 00 5B 20"
                                               << "Setting Server...";
    QTest::newRow("server by name ignores the address octets") << "server"
                                                               << "meServerIP1="
                                                               << "EE BB 03 01 03 61 62 63 5B 20"
                                                               << "Setting Server...";
    QTest::newRow("mac upper case") << "mac"
                                    << ""
                                    << "EE BB 04 02 A1 B2 C3 D4 E5"
                                    << "Setting MAC...";
    QTest::newRow("mac lower case") << "mac"
                                    << "meMAC=02a1b2c3d4e5"
                                    << "EE BB 04 02 A1 B2 C3 D4 E5"
                                    << "Setting MAC...";
    QTest::newRow("interval 1") << "interval"
                                << ""
                                << "EE BB 05 01"
                                << "Setting Timeout...";
    QTest::newRow("interval 60") << "interval"
                                 << "cbTime=60"
                                 << "EE BB 05 3C"
                                 << "Setting Timeout...";
    QTest::newRow("interval in hex") << "interval"
                                     << "cbTime=$10"
                                     << "EE BB 05 10"
                                     << "Setting Timeout...";
    QTest::newRow("save and reboot") << "apply"
                                     << ""
                                     << "EE BB 06"
                                     << "Apply and Restart";
    QTest::newRow("found device") << "find"
                                  << ""
                                  << "EE BB 08"
                                  << "Found device";
    QTest::newRow("temperature poll logs nothing") << "poll"
                                                   << ""
                                                   << "EE BB 09"
                                                   << "";
  }
  void builder_writesItsExactFrameAndLogLine() {
    QFETCH(QString, builder);
    QFETCH(QString, changes);
    QFETCH(QString, frame);
    QFETCH(QString, logLine);
    Apply(View, changes);
    Builders().at(builder)(Exchange, View);
    QCOMPARE(SentFrames(), QStringList{frame});
    QCOMPARE(View.Lines[TControl::mLog], logLine.isEmpty() ? QStringList{} : QStringList{logLine});
    QCOMPARE(int(Exchange.CommandLength), FromHex(frame).size());
  }

  void badField_logsTheLineShowsTheErrorAndSendsNothing_data() {
    QTest::addColumn<QString>("builder");
    QTest::addColumn<QString>("changes");
    QTest::addColumn<QString>("error");
    QTest::newRow("empty gateway octet") << "params"
                                         << "meGw2="
                                         << "'' is not a valid integer value";
    QTest::newRow("full stop in an octet") << "params"
                                           << "meMask4=19."
                                           << "'19.' is not a valid integer value";
    QTest::newRow("negative octet") << "params"
                                    << "meDevIP1=-1"
                                    << "'-1' is not a valid one-byte value: it must lie between 0 and 255";
    QTest::newRow("empty port") << "hostPort"
                                << "mePort="
                                << "'' is not a valid integer value";
    QTest::newRow("port above 65535") << "hostPort"
                                      << "mePort=70000"
                                      << "'70000' is not a valid port: it must lie between 0 and 65535";
    QTest::newRow("server port above 65535") << "server"
                                             << "meServerPort=99999"
                                             << "'99999' is not a valid port: it must lie between 0 and 65535";
    QTest::newRow("server octet empty") << "server"
                                        << "rbServerName=0;meServerIP3="
                                        << "'' is not a valid integer value";
    QTest::newRow("interval 300") << "interval"
                                  << "cbTime=300"
                                  << "'300' is not a valid one-byte value: it must lie between 0 and 255";
    QTest::newRow("interval empty") << "interval"
                                    << "cbTime="
                                    << "'' is not a valid integer value";
    QTest::newRow("mac too short") << "mac"
                                   << "meMAC=02A1B2"
                                   << "'02A1B2' is not a valid MAC address: it needs exactly twelve hexadecimal digits";
    QTest::newRow("mac not hex")
        << "mac"
        << "meMAC=02A1B2C3D4EZ"
        << "'02A1B2C3D4EZ' is not a valid MAC address: it needs exactly twelve hexadecimal digits";
    QTest::newRow("name of 90 characters")
        << "server"
        << "meServerName=" + QString(90, 'n') << "The server name has 90 characters; at most 89 fit in a frame";
    QTest::newRow("name beyond one byte a character")
        << "server" << QStringLiteral("meServerName=caf\u20AC")
        << QStringLiteral("The server name 'caf\u20AC' holds a character that cannot be sent as one byte");
  }
  void badField_logsTheLineShowsTheErrorAndSendsNothing() {
    QFETCH(QString, builder);
    QFETCH(QString, changes);
    QFETCH(QString, error);
    Apply(View, changes);
    try {
      Builders().at(builder)(Exchange, View);
      QFAIL("no error raised");
    } catch (const EVelmoraError& e) {
      QCOMPARE(e.Message(), error);
    }
    QCOMPARE(View.Lines[TControl::mLog].size(), 1);
    QVERIFY(!Exchange.WakeEvent->IsSet());
    QCOMPARE(SentFrames(), QStringList{});
  }

  void longestName_fillsTheBufferExactly() {
    View.Texts[TControl::meServerName] = QString(kMaxServerNameLength, 'z');
    BuildSetServer(Exchange, View);
    const QStringList frames = SentFrames();
    QCOMPARE(frames.size(), 1);
    QCOMPARE(FromHex(frames[0]).size(), qsizetype(kCommandBufferSize));
  }

  void shortFrameAfterLongOne_sendsOnlyItsOwnBytes() {
    BuildSetParams(Exchange, View);
    BuildApplyRestart(Exchange, View);
    QCOMPARE(SentFrames(), (QStringList{"EE BB 01 C0 A8 00 64 C0 A8 00 01 FF FF FF 00", "EE BB 06"}));
  }

  void commandsGivenWhileBusy_allWaitTheirTurnInOrder() {
    for (int i = 1; i <= 200; ++i) {
      View.Texts[TControl::cbTime] = QString::number(i);
      BuildSetInterval(Exchange, View);
    }
    const QStringList frames = SentFrames();
    QCOMPARE(frames.size(), 200);
    for (int i = 1; i <= 200; ++i)
      QCOMPARE(frames[i - 1], ToHex(FromHex(QStringLiteral("EEBB05%1").arg(i, 2, 16, QLatin1Char('0')))));
    QVERIFY(!Exchange.WakeEvent->IsSet());
  }

  void fullQueue_refusesTheCommandWithAMessage() {
    for (std::size_t i = 0; i < TCommandQueue::kCapacity; ++i) BuildApplyRestart(Exchange, View);
    QVERIFY_THROWS_EXCEPTION(EVelmoraError, BuildApplyRestart(Exchange, View));
    QCOMPARE(Exchange.PendingFrames.Size(), TCommandQueue::kCapacity);
  }

  void withoutWakeEvent_nothingIsQueued() {
    Exchange.WakeEvent.reset();
    QVERIFY_THROWS_EXCEPTION(EVelmoraError, BuildFindDevice(Exchange, View));
    QCOMPARE(Exchange.PendingFrames.Size(), std::size_t{0});
  }
};

QTEST_APPLESS_MAIN(TCommandFramesTest)
#include "tst_command_frames.moc"
