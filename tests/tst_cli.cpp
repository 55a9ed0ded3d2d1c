// velmora-cli as a script would run it, against the simulator across the test bed's network:
// its exit status, what it prints, and the frames that reach the device.
#include "app/MainForm.h"
#include "support/Discovery.h"
#include "support/FormHolder.h"
#include "support/SimulatorLog.h"

#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <csignal>

namespace {

struct TRun {
  int Status = -1;
  QString Out;
  QString Err;
};

TRun RunCli(const QStringList& arguments, int timeoutMs = 10000) {
  QProcess cli;
  cli.start(QStringLiteral(VELMORA_CLI), arguments);
  if (!cli.waitForFinished(timeoutMs)) cli.kill();
  cli.waitForFinished();
  return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
          QString::fromUtf8(cli.readAllStandardOutput()), QString::fromUtf8(cli.readAllStandardError())};
}

const QString kFromPc = QStringLiteral("192.168.77.2:2222");
const QString kDevice = QStringLiteral("192.168.77.10");

}  // namespace

class TCliTest : public QObject, TFormHolder {
  Q_OBJECT

  TSimulatorLog Log;

  // The frame line that the simulator logged for what `act` sent last.
  QString LastFrame(const std::function<void()>& act) {
    const auto before = Log.Lines().size();
    act();
    const QStringList lines = Log.WaitFor(before + 1);
    return lines.size() > before ? lines.last() : QString();
  }

  void SetRow(const std::array<QLineEdit*, 4>& row, const QString& dotted) {
    const QStringList parts = dotted.split('.');
    for (int i = 0; i < 4; ++i) row[i]->setText(parts[i]);
  }

 private slots:
  void initTestCase() {
    if (!Log.Available()) QSKIP("needs the test bed: tools/testbed.sh -- tst_cli");
  }
  void cleanup() { DropForm(); }

  // First, while the simulator still holds its start-up settings.
  void findJson_printsTheDevicesConfigurationExactly() {
    const auto before = Log.Lines().size();
    const TRun run = RunCli({"find", "--json"});
    QCOMPARE(run.Status, 0);
    const QJsonObject expected{
        {"address", "192.168.77.10"},
        {"gateway", "192.168.77.1"},
        {"mask", "255.255.255.0"},
        {"dns", "192.168.77.1"},
        {"dhcp", false},
        {"mac", "0A1B2C3D4E5F"},
        {"host_port", 2222},
        {"server_name", "collector.lan"},
        {"server_port", 8283},
        {"interval", 1},
        {"firmware", "1.05"},
        {"answered_by", "192.168.77.10"},
    };
    QCOMPARE(QJsonDocument::fromJson(run.Out.toUtf8()).object(), expected);
    QCOMPARE(run.Out.count('\n'), 1);
    QCOMPARE(Log.Lines().mid(before), QStringList{QStringLiteral("EEBB08 %1 255.255.255.255").arg(kFromPc)});
  }

  void findText_showsTheFieldsAsTheWindowDoes() {
    const TRun run = RunCli({"find", "--local", "192.168.77.2", "--timeout", "2000"});
    QCOMPARE(run.Status, 0);
    QVERIFY2(
        run.Out.contains(QRegularExpression("^address: +192\\.168\\.77\\.10$", QRegularExpression::MultilineOption)),
        qPrintable(run.Out));
    QVERIFY(run.Out.contains(QRegularExpression("^dhcp: +off$", QRegularExpression::MultilineOption)));
    QVERIFY(run.Out.contains(QRegularExpression("^firmware: +1\\.05$", QRegularExpression::MultilineOption)));
  }

  // The command line and the window's button, given the same values, send the same datagram.
  void set_sendsTheButtonsFrame_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("frame");
    QTest::newRow("network") << QStringList{"set", "network", "192.168.77.10", "192.168.77.1", "255.255.255.0"}
                             << "btNetwork"
                             << "EEBB01C0A84D0AC0A84D01FFFFFF00";
    QTest::newRow("host port") << QStringList{"set", "host-port", "2222"} << "btHostPort"
                               << "EEBB02AE08";
    QTest::newRow("server address") << QStringList{"set", "server", "10.0.0.5", "8283"} << "btServerName"
                                    << "EEBB03020A0000055B20";
    QTest::newRow("server name") << QStringList{"set", "server", "abc", "8283"} << "btServerName"
                                 << "EEBB0301036162635B20";
    QTest::newRow("address as a name") << QStringList{"set", "server", "--name", "10.0.0.5", "8283"} << "btServerName"
                                       << "EEBB03010831302E302E302E355B20";
    QTest::newRow("mac") << QStringList{"set", "mac", "02A1B2C3D4E5"} << "btMAC"
                         << "EEBB0402A1B2C3D4E5";
    QTest::newRow("interval") << QStringList{"set", "interval", "60"} << "btTime"
                              << "EEBB053C";
    QTest::newRow("apply") << QStringList{"apply"} << "btApply"
                           << "EEBB06";
  }
  void set_sendsTheButtonsFrame() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, button);
    QFETCH(QString, frame);
    const QString expected = QStringLiteral("%1 %2 %3").arg(frame, kFromPc, kDevice);

    TRun run;
    const QString fromCli = LastFrame([&] { run = RunCli(arguments); });
    QCOMPARE(run.Status, 0);
    QVERIFY2(!run.Out.isEmpty(), "the device's answer is printed");
    QCOMPARE(fromCli, expected);

    MakeForm();
    QVERIFY(DiscoverSimulator(*Form));
    const QStringList& v = arguments;
    if (button == "btNetwork") {
      SetRow(Form->meDevIP, v[2]);
      SetRow(Form->meGw, v[3]);
      SetRow(Form->meMask, v[4]);
    } else if (button == "btHostPort") {
      Form->mePort->setText(v[2]);
    } else if (button == "btServerName") {
      const bool byName = v[2] == "--name" || v[2] == "abc";
      (byName ? Form->rbServerName : Form->rbServerIP)->setChecked(true);
      if (byName)
        Form->meServerName->setText(v[v.size() - 2]);
      else
        SetRow(Form->meServerIP, v[2]);
      Form->meServerPort->setText(v.last());
    } else if (button == "btMAC") {
      Form->meMAC->setText(v[2]);
    } else if (button == "btTime") {
      Form->cbTime->setEditText(v[2]);
    }
    const QString fromWindow = LastFrame([&] { Form->findChild<QPushButton*>(button)->click(); });
    QCOMPARE(fromWindow, fromCli);
  }

  void badArguments_exitTwoAndSendNothing_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("named");
    QTest::newRow("short mac") << QStringList{"set", "mac", "0A1B2C"} << "0A1B2C";
    QTest::newRow("port above 65535") << QStringList{"set", "host-port", "70000"} << "70000";
    QTest::newRow("octet above 255") << QStringList{"set", "network", "192.168.77.300", "192.168.77.1", "255.255.255.0"}
                                     << "300";
    QTest::newRow("address with three parts")
        << QStringList{"set", "network", "192.168.77", "192.168.77.1", "255.0.0.0"} << "192.168.77";
    QTest::newRow("name over 89 characters") << QStringList{"set", "server", QString(90, 'n'), "80"} << "90";
    QTest::newRow("interval above 255") << QStringList{"set", "interval", "256"} << "256";
    QTest::newRow("server port not a number") << QStringList{"set", "server", "abc", "http"} << "http";
    QTest::newRow("missing value") << QStringList{"set", "server", "abc"} << "server";
    QTest::newRow("unknown setting") << QStringList{"set", "colour", "red"} << "colour";
    QTest::newRow("unknown command") << QStringList{"reboot"} << "reboot";
    QTest::newRow("option of another command") << QStringList{"find", "--csv"} << "--csv";
    QTest::newRow("timeout not a number") << QStringList{"find", "--timeout", "soon"} << "soon";
    QTest::newRow("bad device address") << QStringList{"apply", "--device", "10.0.0.256"} << "10.0.0.256";
    QTest::newRow("count of zero") << QStringList{"watch", "--count", "0"} << "--count";
  }
  void badArguments_exitTwoAndSendNothing() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, named);
    const auto before = Log.Lines().size();
    const TRun run = RunCli(arguments);
    QCOMPARE(run.Status, 2);
    QVERIFY2(run.Err.contains(named), qPrintable(run.Err));
    QVERIFY(run.Out.isEmpty());
    QTest::qWait(100);
    QCOMPARE(Log.Lines().size(), before);
  }

  void watchCsv_printsOneRowPerSensorAndPollWithRisingTimes() {
    const TRun run = RunCli({"watch", "--csv", "--count", "5"});
    QCOMPARE(run.Status, 0);
    QStringList lines = run.Out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.takeFirst(), QStringLiteral("time,sensor,celsius,status"));
    QCOMPARE(lines.size(), 10);  // the simulator reports two sensors
    QDateTime previous;
    for (int i = 0; i < lines.size(); ++i) {
      const QStringList cells = lines[i].split(',');
      QCOMPARE(cells.size(), 4);
      const QDateTime at = QDateTime::fromString(cells[0], Qt::ISODateWithMs);
      QVERIFY2(at.isValid(), qPrintable(cells[0]));
      if (i % 2 == 0) {
        if (previous.isValid()) QVERIFY(at > previous);
        previous = at;
      }
      QCOMPARE(cells[1], QString::number(i % 2));
      QVERIFY(QRegularExpression("^-?\\d+\\.\\d{4}$").match(cells[2]).hasMatch());
      QCOMPARE(cells[3], QStringLiteral("ok"));
    }
  }

  void noDevice_isExitOneWithMissedPollsSaid() {
    TRun run = RunCli({"set", "interval", "5", "--device", "192.168.77.99", "--timeout", "300"});
    QCOMPARE(run.Status, 1);
    QVERIFY2(run.Err.contains("did not answer"), qPrintable(run.Err));

    run = RunCli({"watch", "--device", "192.168.77.99", "--count", "2", "--timeout", "200"});
    QCOMPARE(run.Status, 1);
    QCOMPARE(run.Out.count("no reply from the device within 200 ms"), 2);
  }

  void watch_endsCleanlyOnCtrlC() {
    QProcess cli;
    cli.start(QStringLiteral(VELMORA_CLI), {"watch", "--every", "1"});
    QVERIFY(QTest::qWaitFor([&] { return cli.canReadLine(); }, 5000));
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(cli.waitForFinished(3000));
    QVERIFY(clock.elapsed() < 1500);
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 0);
    QVERIFY(cli.readAllStandardOutput().endsWith('\n'));
  }

  void help_forEveryCommand_data() {
    QTest::addColumn<QStringList>("arguments");
    for (const char* command : {"find", "set", "apply", "watch"})
      QTest::newRow(command) << QStringList{command, "--help"};
    QTest::newRow("overview") << QStringList{"--help"};
  }
  void help_forEveryCommand() {
    QFETCH(QStringList, arguments);
    const auto before = Log.Lines().size();
    const TRun run = RunCli(arguments);
    QCOMPARE(run.Status, 0);
    QVERIFY(run.Out.startsWith("Usage: velmora-cli " + (arguments.size() > 1 ? arguments[0] : QString("COMMAND"))));
    QCOMPARE(Log.Lines().size(), before);
  }
};

QTEST_MAIN(TCliTest)
#include "tst_cli.moc"
