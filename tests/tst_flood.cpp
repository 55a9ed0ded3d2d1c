// Floods of every kind of datagram at the tool's host port, from the device and from an
// intruder, while the window keeps working; then a normal exchange must still come out right.
#include "app/MainForm.h"
#include "app/VelmoraApplication.h"
#include "support/Discovery.h"
#include "support/FormHolder.h"
#include "support/ModalBox.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include <fstream>

namespace {

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// One flooder in a namespace host of the test bed, aimed at the tool's host port.
std::unique_ptr<QProcess> StartFlood(const char* namespaceVariable, int rate, int seconds, int seed) {
  auto flood = std::make_unique<QProcess>();
  flood->setProgram(QStringLiteral("ip"));
  flood->setArguments({"netns", "exec", qEnvironmentVariable(namespaceVariable),
                       QCoreApplication::applicationDirPath() + "/velmora-flood", "192.168.77.2", "2222",
                       QString::number(rate), QString::number(seconds), QString::number(seed)});
  flood->start();
  flood->waitForStarted();
  return flood;
}

double FloodRate(QProcess& flood) {
  const QString out = QString::fromLatin1(flood.readAllStandardOutput());
  const auto match = QRegularExpression(QStringLiteral("\\(([0-9]+) a second\\)")).match(out);
  return match.hasMatch() ? match.captured(1).toDouble() : 0;
}

}  // namespace

class TFloodTest : public QObject, TFormHolder {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (qEnvironmentVariableIsEmpty("VELMORA_NS_INTRUDER")) QSKIP("needs the test bed: tools/testbed.sh -- tst_flood");
  }

  void flood_leavesTheWindowResponsiveAndMemoryFlat() {
    MakeForm();
    QVERIFY(DiscoverSimulator(*Form));

    auto fromIntruder = StartFlood("VELMORA_NS_INTRUDER", 12000, 10, 1);
    auto fromDevice = StartFlood("VELMORA_NS_DEVICE", 12000, 10, 2);

    // Keep the tool receiving: a discovery whenever the queue runs low. Errors would block in a box.
    QTimer feed;
    connect(&feed, &QTimer::timeout, [&] {
      if (Exchange->PendingFrames.Size() < 4) Form->btFind->click();
    });
    feed.start(5);
    // The probe: a 10 ms timer must never be more than 100 ms late.
    QElapsedTimer sinceTick;
    qint64 worstLateMs = 0;
    QTimer probe;
    connect(&probe, &QTimer::timeout, [&] { worstLateMs = std::max(worstLateMs, sinceTick.restart() - 10); });
    sinceTick.start();
    probe.start(10);

    QTest::qWait(2000);  // past the first allocations of the log and the chart
    const long baseline = ResidentKiB();
    long highest = baseline;
    while (fromIntruder->state() != QProcess::NotRunning || fromDevice->state() != QProcess::NotRunning) {
      QTest::qWait(50);
      highest = std::max(highest, ResidentKiB());
    }
    feed.stop();
    probe.stop();
    const double rate = FloodRate(*fromIntruder) + FloodRate(*fromDevice);
    qInfo("flood: %.0f datagrams a second; worst probe delay %lld ms; memory %ld -> %ld KiB", rate, worstLateMs,
          baseline, highest);
    QVERIFY2(rate >= 20000, qPrintable(QString::number(rate)));
#ifndef VELMORA_SANITIZED
    QVERIFY2(worstLateMs <= 100, qPrintable(QString::number(worstLateMs)));
    QVERIFY2(highest - baseline <= 5 * 1024, qPrintable(QString::number(highest - baseline)));
#else
    qInfo("sanitizer build: the delay and memory bounds are checked by the plain build only");
#endif

    // Afterwards a normal exchange works and shows the device's own values.
    QTest::qWait(1200);  // let a receive that the flood left waiting run out
    QVERIFY(DiscoverSimulator(*Form));
    QTRY_COMPARE(Form->PanelText(0), QStringLiteral("Connected: 192.168.77.10"));
    QCOMPARE(Form->meDevIP[0]->text() + Form->meDevIP[1]->text() + Form->meDevIP[2]->text(),
             QStringLiteral("19216877"));
    QCOMPARE(Form->meMAC->text(), QStringLiteral("0A1B2C3D4E5F"));
    QCOMPARE(Form->meServerName->text(), QStringLiteral("collector.lan"));
    QTRY_COMPARE(Form->PanelText(1), QStringLiteral("FW:1.05"));
  }

  void closingDuringTheFlood_endsWithinASecondAndAHalf() {
    auto fromIntruder = StartFlood("VELMORA_NS_INTRUDER", 10000, 30, 3);
    for (int round = 0; round < 50; ++round) {
      MakeForm();
      Form->btFind->click();
      QTest::qWait(round % 5 * 30);
      const qint64 closeMs = CloseForm();
      QVERIFY2(closeMs < 1500, qPrintable(QString::number(closeMs)));
    }
    fromIntruder->kill();
    fromIntruder->waitForFinished();
  }
};

int main(int argc, char** argv) {
  TVelmoraApplication app(argc, argv);
  TFloodTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "tst_flood.moc"
