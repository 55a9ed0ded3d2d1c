// The real window, worker and transport against the simulator, across the test bed's network.
#include "app/MainForm.h"
#include "app/PollTimer.h"
#include "app/VelmoraApplication.h"
#include "link/SocketThread.h"
#include "support/FormHolder.h"
#include "support/ModalBox.h"
#include "support/SimulatorLog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QString kPc = QStringLiteral("192.168.77.2:2222");
const QString kDevice = QStringLiteral("192.168.77.10");

}  // namespace

class TLinkTest : public QObject, TFormHolder {
  Q_OBJECT

  TSimulatorLog Log;
  void SetOctets(const std::array<QLineEdit*, 4>& row, const QStringList& texts) {
    for (int i = 0; i < 4; ++i) row[i]->setText(texts[i]);
  }
  QStringList MLog() const {
    Form->FlushLogs();
    return Form->mLog->toPlainText().split('\n', Qt::SkipEmptyParts);
  }
  QString LastLogLine() const {
    const QStringList lines = MLog();
    return lines.isEmpty() ? QString() : lines.last();
  }
  // Clicks, then returns the frame the simulator got for it.
  QString Send(QPushButton* button) {
    const auto before = Log.Lines().size();
    button->click();
    const QStringList lines = Log.WaitFor(before + 1);
    return lines.size() > before ? lines[before] : QString();
  }
  void Discover() {
    Form->meDevIP[3]->setText("1");
    Form->btFind->click();
    QTRY_COMPARE(Form->meDevIP[3]->text(), QStringLiteral("10"));
  }

 private slots:
  void initTestCase() {
    if (!Log.Available()) QSKIP("needs the test bed: tools/testbed.sh -- tst_link");
  }
  void init() { MakeForm(); }
  void cleanup() { DropForm(); }

  void findDevice_broadcastsFromTheHostPortAndFillsTheWindow() {
    QCOMPARE(Form->cbIP->currentText(), QStringLiteral("192.168.77.2"));
    QCOMPARE(Send(Form->btFind), QStringLiteral("EEBB08 %1 255.255.255.255").arg(kPc));
    QTRY_COMPARE(Form->PanelText(0), QStringLiteral("Connected: 192.168.77.10"));
    QTRY_COMPARE(Form->PanelText(1), QStringLiteral("FW:1.05"));
    QCOMPARE(Form->meDevIP[0]->text() + "." + Form->meDevIP[1]->text() + "." + Form->meDevIP[2]->text() + "." +
                 Form->meDevIP[3]->text(),
             kDevice);
    QCOMPARE(Form->meMask[2]->text(), QStringLiteral("255"));
    QCOMPARE(Form->meDNS->text(), QStringLiteral("192.168.77.1"));
    QCOMPARE(Form->meMAC->text(), QStringLiteral("0A1B2C3D4E5F"));
    QCOMPARE(Form->meServerName->text(), QStringLiteral("collector.lan"));
    QCOMPARE(Form->meServerPort->text(), QStringLiteral("8283"));
    QCOMPARE(Form->mePort->text(), QStringLiteral("2222"));
    QCOMPARE(Form->Timer1->Interval(), 60000);
    QVERIFY(Form->Timer1->Enabled());
    QVERIFY(Form->btNetwork->isEnabled() && !Form->cbEnableFields->isEnabled());
    QCOMPARE(MLog(), (QStringList{"Found device", "3 bytes have been sent to device"}));
  }

  void afterTheReply_framesGoToItsSender() {
    Discover();
    QCOMPARE(Send(Form->btApply), QStringLiteral("EEBB06 %1 %2").arg(kPc, kDevice));
    QCOMPARE(Send(Form->btFind), QStringLiteral("EEBB08 %1 255.255.255.255").arg(kPc));
  }

  void exampleFrames_arriveByteExact_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("frame");
    QTest::newRow("set params") << "btNetwork"
                                << "plan"
                                << "EEBB01C0A80064C0A80001FFFFFF00";
    QTest::newRow("set port pc") << "btHostPort"
                                 << ""
                                 << "EEBB02AE08";
    QTest::newRow("server by address") << "btServerName"
                                       << "ip"
                                       << "EEBB03020A0000055B20";
    QTest::newRow("server by name") << "btServerName"
                                    << "name"
                                    << "EEBB030103616263"
                                       "5B20";
    QTest::newRow("server empty name") << "btServerName"
                                       << "noname"
                                       << "EEBB0301005B20";
    QTest::newRow("set mac") << "btMAC"
                             << "mac"
                             << "EEBB0402A1B2C3D4E5";
    QTest::newRow("set mac lower case") << "btMAC"
                                        << "lowermac"
                                        << "EEBB0402A1B2C3D4E5";
    QTest::newRow("set time 1") << "btTime"
                                << "time1"
                                << "EEBB0501";
    QTest::newRow("set time 60") << "btTime"
                                 << "time60"
                                 << "EEBB053C";
  }
  void exampleFrames_arriveByteExact() {
    QFETCH(QString, button);
    QFETCH(QString, setup);
    QFETCH(QString, frame);
    Discover();
    if (setup == "plan") {
      SetOctets(Form->meDevIP, {"192", "168", "0", "100"});
      SetOctets(Form->meGw, {"192", "168", "0", "1"});
      SetOctets(Form->meMask, {"255", "255", "255", "0"});
    }
    if (setup == "ip") {
      Form->rbServerIP->setChecked(true);
      SetOctets(Form->meServerIP, {"10", "0", "0", "5"});
    }
    if (setup == "name" || setup == "noname") {
      Form->rbServerName->setChecked(true);
      Form->meServerName->setText(setup == "name" ? "abc" : "");
    }
    if (setup == "mac" || setup == "lowermac") Form->meMAC->setText(setup == "mac" ? "02A1B2C3D4E5" : "02a1b2c3d4e5");
    if (setup.startsWith("time")) Form->cbTime->setEditText(setup.mid(4));
    if (!setup.startsWith("server")) Form->meServerPort->setText("8283");
    auto* target = Form->findChild<QPushButton*>(button);
    QCOMPARE(Send(target).section(' ', 0, 0), frame);
  }

  void shortFrameAfterLongOne_sendsOnlyItsOwnBytes() {
    Discover();
    const auto before = Log.Lines().size();
    Form->btNetwork->click();
    Form->btApply->click();
    const QStringList lines = Log.WaitFor(before + 2);
    QCOMPARE(lines.mid(before).size(), 2);
    QCOMPARE(lines[before + 1].section(' ', 0, 0), QStringLiteral("EEBB06"));
  }

  void emptyField_sendsNothingUntilFilled() {
    Discover();
    const auto before = Log.Lines().size();
    RunAndAcceptBoxes([&] { Form->meGw[1]->clear(); });
    const TSeenBox box = RunAndAcceptBoxes([&] { Form->btNetwork->click(); });
    QCOMPARE(box.Text, QStringLiteral("'' is not a valid integer value."));
    QTest::qWait(300);
    QCOMPARE(Log.Lines().size(), before);
    Form->meGw[1]->setText("168");
    QCOMPARE(Send(Form->btNetwork).section(' ', 0, 0), QStringLiteral("EEBB01C0A84D0AC0A84D01FFFFFF00"));
  }

  void beforeAnyReply_unicastsGoToTheTypedAddressParsedAsInetAddr() {
    // "012" is octal: the frame reaches 192.168.77.10.
    QTest::mouseClick(Form->cbEnableFields, Qt::LeftButton, {}, QPoint(5, 12));
    SetOctets(Form->meDevIP, {"192", "168", "77", "012"});
    QCOMPARE(Send(Form->btHostPort), QStringLiteral("EEBB02AE08 %1 %2").arg(kPc, kDevice));
    QTRY_COMPARE(Form->PanelText(0), QStringLiteral("Connected: 192.168.77.10"));
    QTRY_COMPARE(Form->mePort->text(), QStringLiteral("2222"));
  }

  void emptyDeviceAddress_failsTheSend() {
    QTest::mouseClick(Form->cbEnableFields, Qt::LeftButton, {}, QPoint(5, 12));
    // Each emptied octet shows its conversion error; the address text becomes "...".
    RunAndAcceptBoxes([&] { SetOctets(Form->meDevIP, {"", "", "", ""}); });
    const auto before = Log.Lines().size();
    Form->btHostPort->click();
    QTRY_COMPARE(LastLogLine(), QStringLiteral("Send bytes error"));
    QCOMPARE(Log.Lines().size(), before);
  }

  void hostPort_staysWhatItWasAtStart() {
    Discover();
    Form->mePort->setText("4444");
    QCOMPARE(Send(Form->btHostPort), QStringLiteral("EEBB025C11 %1 %2").arg(kPc, kDevice));
  }

  void immediateAnswers_areFoundEveryTime() {
    for (int i = 0; i < 20; ++i) Discover();
  }

  void manyCommandsAtOnce_allArriveWholeAndInOrder() {
    Discover();
    const auto before = Log.Lines().size();
    QStringList expected;
    for (int i = 0; i < 200; ++i) {
      const int minutes = i % 250 + 1;
      Form->cbTime->setEditText(QString::number(minutes));
      Form->btTime->click();
      expected << QStringLiteral("EEBB05%1").arg(minutes, 2, 16, QLatin1Char('0')).toUpper();
    }
    const QStringList lines = Log.WaitFor(before + 200, 30000);
    QStringList got;
    for (const QString& line : lines.mid(before)) got << line.section(' ', 0, 0);
    QCOMPARE(got, expected);
    QTRY_COMPARE(MLog().count("2 bytes have been sent to device"), 0);  // no torn frame: all were 4 bytes
    QTRY_COMPARE(MLog().count("4 bytes have been sent to device"), 200);
  }

  void temperaturePolls_reachTheChartAndTheLog() {
    Discover();
    for (int i = 0; i < 12; ++i) {
      const auto before = Log.Lines().size();
      Form->Timer1Timer();
      QCOMPARE(Log.WaitFor(before + 1).value(before).section(' ', 0, 0), QStringLiteral("EEBB09"));
    }
    QTRY_COMPARE(Form->Series1->count(), 10);
    QTRY_COMPARE(Form->Series2->count(), 10);
    QTRY_COMPARE(Form->mTemp->document()->blockCount(), 20);
    QVERIFY(Form->mTemp->toPlainText().contains("Sensor 1 "));
  }

  void closingDuringAReceive_endsWithinASecondAndAHalf() {
    for (int round = 0; round < 50; ++round) {
      MakeForm();
      QTest::mouseClick(Form->cbEnableFields, Qt::LeftButton, {}, QPoint(5, 12));
      SetOctets(Form->meDevIP, {"192", "168", "77", "99"});  // nobody there: the worker waits for a reply
      Form->btApply->click();
      QTRY_VERIFY2(MLog().contains("3 bytes have been sent to device"), qPrintable(MLog().join('|')));
      QTest::qWait(round % 5 * 40);
      const qint64 closeMs = CloseForm();
      QVERIFY2(closeMs < 1500, qPrintable(QString::number(closeMs)));
    }
  }

  void closingDuringAHandOff_endsWithinASecondAndAHalf() {
    for (int round = 0; round < 50; ++round) {
      MakeForm();
      Form->btFind->click();
      // Without the event loop the worker sends and then waits in its hand-off for this thread.
      QThread::msleep(5 + round % 5 * 5);
      const qint64 closeMs = CloseForm();
      QVERIFY2(closeMs < 1500, qPrintable(QString::number(closeMs)));
    }
  }

  void vanishedDevice_isStillAskedAndCommandsGoOutBetweenReceives() {
    QTest::mouseClick(Form->cbEnableFields, Qt::LeftButton, {}, QPoint(5, 12));
    SetOctets(Form->meDevIP, {"192", "168", "77", "99"});  // a device that never answers
    Form->btApply->click();
    QTRY_VERIFY(MLog().contains("3 bytes have been sent to device"));
    QElapsedTimer clock;
    clock.start();
    // The worker is inside a one-second receive; the command goes out when it ends.
    QCOMPARE(Send(Form->btFind), QStringLiteral("EEBB08 %1 255.255.255.255").arg(kPc));
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
    QTRY_COMPARE(Form->PanelText(0), QStringLiteral("Connected: 192.168.77.10"));
  }

  void localAddressChangedWhileRunning_takesEffectWithTheNextSocket() {
    Discover();
    Form->cbIP->setEditText("192.168.77.250");  // not this host's: the bind fails
    QCOMPARE(Form->PanelText(1), QStringLiteral("192.168.77.250"));
    // An unbound broadcast has no route out of this host (it has no default route), so it fails.
    const auto before = Log.Lines().size();
    Form->btFind->click();
    QTRY_COMPARE(LastLogLine(), QStringLiteral("Send bytes error"));
    QTest::qWait(300);
    QCOMPARE(Log.Lines().size(), before);
    Form->cbIP->setCurrentIndex(0);
    QCOMPARE(Exchange->LocalIpText.Get(), QStringLiteral("192.168.77.2"));
    Discover();
  }
};

int main(int argc, char** argv) {
  TVelmoraApplication app(argc, argv);
  TLinkTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "tst_link.moc"
