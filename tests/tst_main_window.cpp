#include "app/ErrorBox.h"
#include "app/MainForm.h"
#include "app/PollTimer.h"
#include "app/TemperatureChart.h"
#include "app/VelmoraApplication.h"
#include "link/SocketThread.h"
#include "support/FormHolder.h"
#include "support/Hex.h"
#include "support/ModalBox.h"

#include <QCategoryAxis>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QtTest>

#include <arpa/inet.h>

namespace {

const std::vector<QString> kHostAddresses{"10.0.0.5", "192.168.1.2", "127.0.0.1", "172.16.1.1", "192.168.77.2"};

}  // namespace

class TMainWindowTest : public QObject, TFormHolder {
  Q_OBJECT

  QLineEdit* Edit(TControl c) const { return qobject_cast<QLineEdit*>(Form->Control(c)); }
  void MakeFormWith(std::vector<QString> addresses = kHostAddresses, bool link = false) {
    MakeForm(TFormOptions{[addresses] { return addresses; }, link});
  }
  QStringList Frames() {
    QStringList frames;
    while (const auto f = Exchange->PendingFrames.Pop(*Exchange->WakeEvent)) frames << ToHex(*f);
    return frames;
  }
  // Typing as a keyboard does; QTest's own helper knows ASCII only.
  static void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, c.unicode() < 128 ? QTest::asciiToKey(char(c.unicode())) : Qt::Key_unknown,
                      Qt::NoModifier, QString(c));
      QApplication::sendEvent(widget, &press);
      QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
      QApplication::sendEvent(widget, &release);
    }
  }
  // The next of the window's own controls in the focus chain, past their inner widgets.
  QWidget* NextControl(QWidget* widget) const {
    QWidget* next = widget->nextInFocusChain();
    while (next->parentWidget() != Form.get()) next = next->nextInFocusChain();
    return next;
  }
  void Deliver(const QString& hex, const char* sender) {
    const QByteArray bytes = FromHex(hex);
    Exchange->ReplyBuffer.fill(0);
    std::copy(bytes.begin(), bytes.end(), Exchange->ReplyBuffer.begin());
    Exchange->ReplyLength = int(bytes.size());
    Exchange->DeviceAddress.sin_addr.s_addr = inet_addr(sender);
    Form->ReplyHandler();
  }

 private slots:
  void init() { MakeFormWith(); }
  void cleanup() { DropForm(); }

  void window_hasItsCaptionSizeAndPlace() {
    QCOMPARE(Form->windowTitle(), QStringLiteral("MainForm"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Velmora"));
    QVERIFY(QGuiApplication::applicationDisplayName() != QStringLiteral("Velmora") ||
            QGuiApplication::applicationDisplayName() == QCoreApplication::applicationName());
    QCOMPARE(Form->size(), QSize(677, 678));
    QCOMPARE(Form->minimumSize(), Form->maximumSize());
    QCOMPARE(Form->pos(), QPoint(231, 118));
    QVERIFY(!(Form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(Form->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!Form->windowIcon().isNull() || !QApplication::windowIcon().isNull());
  }

  void controls_startAsTheLayoutGivesThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("enabled");
    auto row = [](const char* name, const char* kind, const QString& text, QRect g, bool enabled) {
      QTest::newRow(name) << name << kind << text << g << enabled;
    };
    row("btNetwork", "QPushButton", "Set Params", {7, 14, 89, 25}, false);
    row("btMAC", "QPushButton", "Set MAC", {8, 152, 89, 25}, false);
    row("btTime", "QPushButton", "Set Time", {8, 184, 89, 25}, false);
    row("meMAC", "QLineEdit", "02A1B2C3D4E5", {104, 152, 89, 21}, true);
    row("mLog", "QPlainTextEdit", "", {432, 8, 209, 297}, true);
    row("mePort", "QLineEdit", "2222", {104, 216, 46, 21}, true);
    row("btHostPort", "QPushButton", "Set Port PC", {8, 216, 89, 25}, false);
    row("btServerName", "QPushButton", "Set Server Name", {8, 248, 89, 25}, false);
    row("meServerName", "QLineEdit", "velmora.local", {201, 248, 135, 21}, true);
    row("rbServerName", "QRadioButton", "Name", {112, 248, 73, 25}, true);
    row("rbServerIP", "QRadioButton", "IP", {112, 272, 73, 25}, true);
    row("btApply", "QPushButton", "Save&&Reboot", {8, 312, 89, 25}, false);
    row("btClear", "QPushButton", "Clear", {432, 312, 81, 25}, true);
    row("btClose", "QPushButton", "Close", {560, 312, 81, 25}, true);
    row("cbDHCP", "QCheckBox", "DHCP", {296, 16, 81, 17}, false);
    row("meDNS", "QLineEdit", "   .   .   .   ", {136, 112, 97, 21}, false);
    row("cbTime", "QComboBox", "1", {104, 184, 73, 21}, true);
    row("meServerPort", "QLineEdit", "8283", {352, 248, 45, 21}, true);
    row("btFind", "QPushButton", "Found Device", {104, 312, 89, 25}, true);
    row("cbIP", "QComboBox", "192.168.77.2", {296, 40, 129, 21}, true);
    row("cbEnableFields", "QCheckBox", "Enable Fields", {296, 64, 113, 25}, true);
    row("mTemp", "QPlainTextEdit", "", {432, 360, 209, 257}, true);
    row("meNofPoints", "QLineEdit", "10", {368, 616, 39, 21}, true);
    const std::pair<const char*, std::pair<int, int>> rows[] = {
        {"meDevIP", {136, 16}}, {"meGw", {136, 48}}, {"meMask", {136, 80}}, {"meServerIP", {200, 272}}};
    for (const auto& [prefix, place] : rows)
      for (int i = 0; i < 4; ++i) {
        const QByteArray name = QByteArray(prefix) + QByteArray::number(i + 1);
        QTest::newRow(name.constData()) << QString(name) << "QLineEdit"
                                        << "" << QRect(place.first + 24 * i, place.second, 25, 21) << true;
      }
  }
  void controls_startAsTheLayoutGivesThem() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);
    auto* widget = Form->findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(QString(widget->metaObject()->className()), kind);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->isEnabled(), enabled);
    QString shown;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) shown = button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) shown = edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) shown = combo->currentText();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) shown = memo->toPlainText();
    QCOMPARE(shown, text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) QCOMPARE(edit->isReadOnly(), name == QLatin1String("meDNS"));
  }

  void otherSettings_matchTheLayout() {
    QVERIFY(Form->rbServerName->isChecked());
    QVERIFY(!Form->rbServerIP->isChecked());
    QVERIFY(!Form->cbDHCP->isChecked());
    QVERIFY(!Form->cbEnableFields->isChecked());
    QCOMPARE(Form->meMAC->maxLength(), 12);
    QCOMPARE(Form->mePort->maxLength(), 5);
    QCOMPARE(Form->meServerPort->maxLength(), 5);
    QCOMPARE(Form->meNofPoints->maxLength(), 2);
    QCOMPARE(Form->meDevIP[2]->maxLength(), 3);
    QVERIFY(Form->mLog->isReadOnly() && Form->mTemp->isReadOnly());
    QCOMPARE(Form->cbTime->count(), 13);
    QCOMPARE(Form->cbTime->itemText(12), QStringLiteral("60"));
    QCOMPARE(Form->cbTime->currentIndex(), 0);
    QVERIFY(Form->cbTime->isEditable() && Form->cbIP->isEditable());
    QVERIFY(!Form->Timer1->Enabled());
    QCOMPARE(Form->Timer1->Interval(), 10000);
    QCOMPARE(Form->Series1->count(), 0);
    QCOMPARE(Form->Series2->count(), 0);
  }

  void statusBar_startsNotConnectedWithTheLastAddress() {
    QCOMPARE(Form->PanelText(0), QStringLiteral("Not connected"));
    QCOMPARE(Form->PanelText(1), QStringLiteral("192.168.77.2"));
    QCOMPARE(Form->StatusBar1->geometry(), QRect(0, 659, 677, 19));
  }

  void tabOrder_followsTheLayout() {
    QWidget* const order[] = {Form->btNetwork, Form->btMAC, Form->btTime, Form->meMAC, Form->mLog, Form->mePort};
    for (std::size_t i = 1; i < std::size(order); ++i) QCOMPARE(NextControl(order[i - 1]), order[i]);
    QCOMPARE(NextControl(Form->btFind), Form->cbIP);
    QCOMPARE(NextControl(Form->cbIP), Form->cbEnableFields);
    QCOMPARE(NextControl(Form->meNofPoints), Form->meDevIP[0]);
    QCOMPARE(NextControl(Form->meServerIP[2]), Form->meServerIP[3]);
  }

  void localAddresses_listOnly192168InOrderAndSelectTheLast() {
    QCOMPARE(Form->cbIP->count(), 2);
    QCOMPARE(Form->cbIP->itemText(0), QStringLiteral("192.168.1.2"));
    QCOMPARE(Form->cbIP->itemText(1), QStringLiteral("192.168.77.2"));
    QCOMPARE(Form->cbIP->currentIndex(), 1);
    QCOMPARE(Exchange->LocalIpText.Get(), QStringLiteral("192.168.77.2"));
  }

  void noLocalAddress_leavesIPShowingAndPanelEmpty() {
    MakeFormWith({"10.0.0.5", "127.0.0.1"});
    QCOMPARE(Form->cbIP->count(), 0);
    QCOMPARE(Form->cbIP->currentText(), QStringLiteral("IP"));
    QCOMPARE(Form->PanelText(1), QString());
    QCOMPARE(Exchange->LocalIpText.Get(), QString());
  }

  void typingInIP_takesEveryIntermediateText() {
    Form->cbIP->lineEdit()->clear();
    QTest::keyClicks(Form->cbIP->lineEdit(), "192.1");
    QCOMPARE(Exchange->LocalIpText.Get(), QStringLiteral("192.1"));
    QCOMPARE(Form->PanelText(1), QStringLiteral("192.1"));
    Form->cbIP->setCurrentIndex(0);
    QCOMPARE(Exchange->LocalIpText.Get(), QStringLiteral("192.168.1.2"));
  }

  void octetTyping_filtersKeysAndAppliesTheRangeRule_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("256 becomes 0") << "256"
                                   << "0"
                                   << "";
    QTest::newRow("255 stays") << "255"
                               << "255"
                               << "";
    QTest::newRow("000 stays") << "000"
                               << "000"
                               << "";
    QTest::newRow("letters, blank, minus, comma are dropped") << "1a -,2"
                                                              << "12"
                                                              << "";
    QTest::newRow("non-ASCII dropped") << QStringLiteral("7\u00e9") << "7"
                                       << "";
    QTest::newRow("full stop fails the conversion") << "19."
                                                    << "19."
                                                    << "'19.' is not a valid integer value.";
    QTest::newRow("percent fails the conversion") << "1%"
                                                  << "1%"
                                                  << "'1%' is not a valid integer value.";
    QTest::newRow("apostrophe fails the conversion") << "1'"
                                                     << "1'"
                                                     << "'1'' is not a valid integer value.";
  }
  void octetTyping_filtersKeysAndAppliesTheRangeRule() {
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(QString, error);
    QLineEdit* edit = Form->meGw[1];
    const TSeenBox box = RunAndAcceptBoxes([&] { Type(edit, typed); });
    QCOMPARE(edit->text(), text);
    QCOMPARE(box.Shown, !error.isEmpty());
    if (box.Shown) QCOMPARE(box.Text, error);
  }

  void deletingTheLastDigit_showsTheErrorAndLeavesItEmpty() {
    QLineEdit* edit = Form->meMask[3];
    QTest::keyClicks(edit, "7");
    const TSeenBox box = RunAndAcceptBoxes([&] { QTest::keyClick(edit, Qt::Key_Backspace); });
    QCOMPARE(edit->text(), QString());
    QCOMPARE(box.Text, QStringLiteral("'' is not a valid integer value."));
  }

  void cursorKeys_stillWorkInOctets() {
    QLineEdit* edit = Form->meDevIP[0];
    QTest::keyClicks(edit, "12");
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    QCOMPARE(edit->text(), QStringLiteral("2"));
  }

  void errorBox_isCaptionedVelmoraWithOneOkButton() {
    Form->meGw[1]->setText("5");
    const TSeenBox box = RunAndAcceptBoxes([&] { Form->meGw[1]->clear(); });
    QCOMPARE(box.Title, QStringLiteral("Velmora"));
    QCOMPARE(box.Icon, QMessageBox::Critical);
    QCOMPARE(box.Buttons, 1);
    QCOMPARE(QString(box.ButtonText).remove('&'), QStringLiteral("OK"));
    // The tool goes on working after the error.
    QTest::keyClicks(Form->meGw[1], "42");
    QCOMPARE(Form->meGw[1]->text(), QStringLiteral("42"));
  }

  void enableFields_unlocksWithTheDefaultPlanAndLocksAgain() {
    QTest::keyClicks(Form->meDevIP[0], "10");
    QTest::mouseClick(Form->cbEnableFields, Qt::LeftButton, {}, QPoint(5, 12));
    QVERIFY(Form->cbEnableFields->isChecked());
    const QStringList dev{Form->meDevIP[0]->text(), Form->meDevIP[1]->text(), Form->meDevIP[2]->text(),
                          Form->meDevIP[3]->text()};
    QCOMPARE(dev, (QStringList{"192", "168", "0", "100"}));
    QCOMPARE(Form->meGw[3]->text(), QStringLiteral("1"));
    QCOMPARE(Form->meMask[0]->text() + Form->meMask[3]->text(), QStringLiteral("2550"));
    for (QPushButton* b :
         {Form->btApply, Form->btHostPort, Form->btMAC, Form->btServerName, Form->btNetwork, Form->btTime})
      QVERIFY(b->isEnabled());
    QVERIFY(Form->btFind->isEnabled());

    QTest::mouseClick(Form->cbEnableFields, Qt::LeftButton, {}, QPoint(5, 12));
    for (QPushButton* b :
         {Form->btApply, Form->btHostPort, Form->btMAC, Form->btServerName, Form->btNetwork, Form->btTime})
      QVERIFY(!b->isEnabled());
    QVERIFY(Form->meDevIP[0]->isReadOnly() && Form->meGw[2]->isReadOnly() && Form->meMask[3]->isReadOnly());
    QTest::keyClicks(Form->meDevIP[3], "5");
    QCOMPARE(Form->meDevIP[3]->text(), QStringLiteral("100"));
    QVERIFY(!Form->meServerIP[0]->isReadOnly());
    QTest::keyClicks(Form->meServerIP[0], "9");
    QCOMPARE(Form->meServerIP[0]->text(), QStringLiteral("9"));
  }

  void serverSwitch_enablesTheMatchingFields() {
    QVERIFY(Form->meServerName->isEnabled() && Form->meServerIP[0]->isEnabled());  // both until the first switch
    QTest::mouseClick(Form->rbServerIP, Qt::LeftButton, {}, QPoint(5, 12));
    QVERIFY(Form->rbServerIP->isChecked() && !Form->rbServerName->isChecked());
    QVERIFY(!Form->meServerName->isEnabled());
    for (QLineEdit* e : Form->meServerIP) QVERIFY(e->isEnabled());
    QTest::mouseClick(Form->rbServerIP, Qt::LeftButton, {}, QPoint(5, 12));  // already selected: nothing
    QVERIFY(!Form->meServerName->isEnabled());
    QTest::mouseClick(Form->rbServerName, Qt::LeftButton, {}, QPoint(5, 12));
    QVERIFY(Form->meServerName->isEnabled());
    for (QLineEdit* e : Form->meServerIP) QVERIFY(!e->isEnabled());
    QVERIFY(Form->meServerPort->isEnabled());
  }

  void clear_emptiesOnlyTheLog() {
    Form->AppendLine(TControl::mLog, "a");
    Form->AppendLine(TControl::mTemp, "b");
    QTest::mouseClick(Form->btClear, Qt::LeftButton);
    Form->FlushLogs();
    QCOMPARE(Form->mLog->toPlainText(), QString());
    QCOMPARE(Form->mTemp->toPlainText(), QStringLiteral("b"));
  }

  void commandButtons_queueTheirFramesAndLog() {
    QTest::mouseClick(Form->cbEnableFields, Qt::LeftButton, {}, QPoint(5, 12));
    Form->btNetwork->click();
    Form->btFind->click();
    QCOMPARE(Frames(), (QStringList{"EE BB 01 C0 A8 00 64 C0 A8 00 01 FF FF FF 00", "EE BB 08"}));
    QCOMPARE(Form->mLog->toPlainText(), QString());  // laid out once the window thread is free
    QTRY_COMPARE(Form->mLog->toPlainText(), QStringLiteral("Setting Params...\nFound device"));
  }

  void emptyOctet_showsTheErrorAndSendsNothingThenSendsOnceFilled() {
    QTest::mouseClick(Form->cbEnableFields, Qt::LeftButton, {}, QPoint(5, 12));
    RunAndAcceptBoxes([&] { Form->meGw[1]->clear(); });
    const TSeenBox box = RunAndAcceptBoxes([&] { Form->btNetwork->click(); });
    QCOMPARE(box.Text, QStringLiteral("'' is not a valid integer value."));
    QCOMPARE(Frames(), QStringList{});
    Form->meGw[1]->setText("168");
    Form->btNetwork->click();
    QCOMPARE(Frames(), QStringList{"EE BB 01 C0 A8 00 64 C0 A8 00 01 FF FF FF 00"});
  }

  void reply_fillsTheWindowThroughTheViewOperations() {
    Deliver("AA 55 00 00 01 C0 A8 01 0A C0 A8 01 01 FF FF FF 00 0A 00 00 01 AE 05 0A 07 31 2E 30 35", "192.168.1.10");
    QCOMPARE(Form->PanelText(0), QStringLiteral("Connected: 192.168.1.10"));
    QCOMPARE(Form->PanelText(1), QStringLiteral("FW:1.05"));
    QCOMPARE(Form->meDevIP[3]->text(), QStringLiteral("10"));
    QCOMPARE(Form->meDNS->text(), QStringLiteral("10.0.0.1"));
    QVERIFY(Form->cbDHCP->isChecked());
    QCOMPARE(Form->Timer1->Interval(), 600000);
    QVERIFY(Form->Timer1->Enabled() && Form->Timer1->Ticking());
    QCOMPARE(Form->cbTime->currentText(), QStringLiteral("10"));
    QVERIFY(!Form->cbEnableFields->isEnabled());
    QVERIFY(Form->btNetwork->isEnabled() && Form->btApply->isEnabled());
  }

  void serverRecord_switchesTheEnabledFields() {
    Deliver("AA 55 00 00 03 02 00 5B 20 C0 A8 01 0A 0A AE 08", "192.168.1.10");
    QVERIFY(Form->rbServerIP->isChecked() && !Form->rbServerName->isChecked());
    QVERIFY(!Form->meServerName->isEnabled() && Form->meServerIP[0]->isEnabled());
    Deliver("AA 55 00 00 03 01 03 5B 20 61 62 63 05 AE 08", "192.168.1.10");
    QVERIFY(Form->rbServerName->isChecked() && Form->meServerName->isEnabled() && !Form->meServerIP[0]->isEnabled());
    QCOMPARE(Form->meServerName->text(), QStringLiteral("abc"));
  }

  void replyValues_areWhatTheSettingButtonsSendBack() {
    Deliver(
        "AA 55 00 00 01 C0 A8 4D 0A C0 A8 4D 01 FF FF FF 00 C0 A8 4D 01 00 "
        "03 02 00 39 30 0A 00 00 05 0F 39 30 04 0A 1B 2C 3D 4E 5F 05 2D",
        "192.168.77.10");
    Form->btNetwork->click();
    Form->btHostPort->click();
    Form->btServerName->click();
    Form->btMAC->click();
    Form->btTime->click();
    QCOMPARE(Frames(), (QStringList{"EE BB 01 C0 A8 4D 0A C0 A8 4D 01 FF FF FF 00", "EE BB 02 39 30",
                                    "EE BB 03 02 0A 00 00 05 39 30", "EE BB 04 0A 1B 2C 3D 4E 5F", "EE BB 05 2D"}));
  }

  void temperatures_reachTheChartAndTheLog() {
    Deliver("AA 55 00 00 09 02 50 01 91 01", "192.168.1.10");
    QCOMPARE(Form->Series1->count(), 1);
    QCOMPARE(Form->Series2->count(), 1);
    QCOMPARE(Form->Series1->at(0).y(), 21.0);
    QCOMPARE(Form->Series2->at(0).y(), 25.0625);
    QCOMPARE(Form->Series1->pointConfiguration(0).value(QXYSeries::PointConfiguration::Color).value<QColor>(),
             QColor(0, 0, 255));
    QCOMPARE(Form->Series2->pointConfiguration(0).value(QXYSeries::PointConfiguration::Color).value<QColor>(),
             QColor(0, 128, 0));
    QCOMPARE(Form->Series1->color(), QColor(255, 0, 0));
    Form->FlushLogs();
    QCOMPARE(Form->mTemp->document()->blockCount(), 2);
    QVERIFY(Form->mTemp->toPlainText().startsWith("Sensor 0 21"));
    QCOMPARE(Form->Chart1->chart()->title(), QStringLiteral("T, C"));
    QVERIFY(!Form->Chart1->chart()->legend()->isVisible());
  }

  void chartWindow_slidesAndKeepsPointColours() {
    for (int i = 0; i < 15; ++i)
      Deliver(QStringLiteral("AA 55 00 00 09 01 %1 01").arg(0x50 + i, 2, 16, QLatin1Char('0')), "192.168.1.10");
    QCOMPARE(Form->Series1->count(), 10);
    QCOMPARE(Form->Series1->at(9).y(), (0x150 + 14) / 16.0);
    QCOMPARE(Form->Series1->at(0).x(), 0.0);
    QCOMPARE(Form->Series1->pointsConfiguration().size(), 10);
    QCOMPARE(Form->Chart1->Labels(0).size(), std::size_t{10});
    QVERIFY(Form->Chart1->BottomAxis()->count() > 0);
    Form->FlushLogs();
    QCOMPARE(Form->mTemp->document()->blockCount(), 10);
  }

  void emptyPoints_inAHandOffShowsTheErrorAndStoresNothing() {
    Form->meNofPoints->clear();
    Exchange->SentCount = 0;
    const TSeenBox box =
        RunAndAcceptBoxes([&] { RunHandler([&] { Deliver("AA 55 00 00 09 01 50 01", "192.168.1.10"); }); });
    QCOMPARE(box.Text, QStringLiteral("'' is not a valid integer value."));
    QCOMPARE(Form->Series1->count(), 0);
    Form->FlushLogs();
    QCOMPARE(Form->mTemp->toPlainText(), QString());
  }

  void pollTimer_ticksOnlyEnabledWithAnInterval() {
    TPollTimer timer(0);
    int ticks = 0;
    connect(&timer, &TPollTimer::Tick, [&] { ++ticks; });
    timer.SetEnabled(true);
    QVERIFY(!timer.Ticking());
    QTest::qWait(30);
    QCOMPARE(ticks, 0);
    timer.SetInterval(15);
    QVERIFY(timer.Ticking());
    QTRY_VERIFY(ticks > 0);
    timer.SetInterval(0);
    const int stopped = ticks;
    QTest::qWait(40);
    QCOMPARE(ticks, stopped);
  }

  void pollTimer_equalValueDoesNotRestartThePeriod() {
    TPollTimer timer(80);
    int ticks = 0;
    connect(&timer, &TPollTimer::Tick, [&] { ++ticks; });
    timer.SetEnabled(true);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 6; ++i) {  // setting the same value every 20 ms must not hold the tick back
      QTest::qWait(20);
      timer.SetInterval(80);
      timer.SetEnabled(true);
    }
    QVERIFY2(ticks >= 1, qPrintable(QString::number(clock.elapsed())));
  }

  void timerTick_sendsAPollWithoutALogLine() {
    Form->Timer1Timer();
    QCOMPARE(Frames(), QStringList{"EE BB 09"});
    Form->FlushLogs();
    QCOMPARE(Form->mLog->toPlainText(), QString());
  }

  void closeButton_stopsTheWorker() {
    MakeFormWith({}, true);
    QVERIFY(Form->WorkerThread()->isRunning());
    Form->show();
    QTest::mouseClick(Form->btClose, Qt::LeftButton);
    QVERIFY(Form->WorkerThread()->isFinished());
    QVERIFY(!Form->isVisible());
  }

  void closeBox_stopsTheWorker() {
    MakeFormWith({}, true);
    Form->show();
    Form->close();
    QVERIFY(Form->WorkerThread()->isFinished());
    QCOMPARE(Form->windowTitle(), QStringLiteral("MainForm"));
  }
};

int main(int argc, char** argv) {
  TVelmoraApplication app(argc, argv);
  TMainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "tst_main_window.moc"
