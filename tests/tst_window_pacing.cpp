#include "app/DeferredLog.h"
#include "app/RepaintPacer.h"

#include <QPlainTextEdit>

#include <QtTest>

namespace {

class TCountingWindow : public QWidget {
 public:
  int Paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++Paints; }
};

}  // namespace

class TWindowPacingTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TCountingWindow> Window;
  TRepaintPacer* Pacer = nullptr;

  // Paints that arrive within `ms` of an update asked for now.
  int PaintsAfterUpdate(int ms) {
    const int before = Window->Paints;
    Window->update();
    QTest::qWait(ms);
    return Window->Paints - before;
  }

 private slots:
  void init() {
    Window = std::make_unique<TCountingWindow>();
    Window->resize(100, 100);
    Pacer = new TRepaintPacer(Window.get());
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    QTest::qWait(20);
  }
  void cleanup() { Window.reset(); }

  void withoutHold_repaintsAtOnce() { QCOMPARE(PaintsAfterUpdate(5), 1); }

  void held_repaintWaitsForRelease() {
    Pacer->Hold();
    Window->update();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(Window->Paints, 1);  // only the first show's
    Pacer->Release();
    QTRY_COMPARE_WITH_TIMEOUT(Window->Paints, 2, 1000);
    QVERIFY(!Pacer->Holding());
  }

  void held_repaintComesAfterOneFrameWithoutRelease() {
    Pacer->Hold();
    QElapsedTimer since;
    since.start();
    const int before = Window->Paints;
    Window->update();
    QTRY_VERIFY_WITH_TIMEOUT(Window->Paints > before, 1000);
    QVERIFY(since.elapsed() >= TRepaintPacer::kMaxHoldMs - 1);
    QVERIFY(!Pacer->Holding());
  }

  void repeatedHolds_doNotPushTheDeadlineBack() {
    Pacer->Hold();
    const int before = Window->Paints;
    Window->update();
    QElapsedTimer since;
    since.start();
    // A link that keeps the window busy with commands must still let it paint.
    while (Window->Paints == before && since.elapsed() < 500) {
      Pacer->Hold();
      QTest::qWait(2);
    }
    QVERIFY(Window->Paints > before);
    QVERIFY(since.elapsed() < 100);
  }

  void releaseWithNothingHeld_paintsNothingExtra() {
    Pacer->Hold();
    Pacer->Release();
    QTest::qWait(30);
    QCOMPARE(Window->Paints, 1);
    // Updates still flow afterwards.
    QCOMPARE(PaintsAfterUpdate(10), 1);
  }

  void releaseSoon_letsThePaintThroughUnlessANewHoldBegan() {
    Pacer->Hold();
    Window->update();
    Pacer->ReleaseSoon();
    QVERIFY(Pacer->Holding());
    QTRY_COMPARE_WITH_TIMEOUT(Window->Paints, 2, 1000);

    Pacer->Hold();
    Pacer->ReleaseSoon();
    Pacer->Hold();  // the next exchange: its own reply, or the deadline, ends it
    QCoreApplication::processEvents();
    QVERIFY(Pacer->Holding());
  }

  void log_addedJustBeforeAHold_waitsForItsEnd() {
    auto* memo = new QPlainTextEdit(Window.get());
    TDeferredLog log(memo, Pacer);
    log.Append("click");
    Pacer->Hold();
    QCoreApplication::processEvents();
    QCOMPARE(memo->toPlainText(), QString());
    Pacer->Release();
    QCOMPARE(memo->toPlainText(), QStringLiteral("click"));
  }

  // The log: lines arrive in order, each its own paragraph, once the window thread is free.
  void log_linesArriveTogetherAndInOrder() {
    auto* memo = new QPlainTextEdit(Window.get());
    TDeferredLog log(memo, Pacer);
    log.Append("one");
    log.Append("two");
    QCOMPARE(memo->toPlainText(), QString());
    QTRY_COMPARE(memo->toPlainText(), QStringLiteral("one\ntwo"));
    QCOMPARE(memo->document()->blockCount(), 2);
  }

  void log_waitsForTheHoldToEnd() {
    auto* memo = new QPlainTextEdit(Window.get());
    TDeferredLog log(memo, Pacer);
    Pacer->Hold();
    log.Append("held");
    QCoreApplication::processEvents();
    QCOMPARE(memo->toPlainText(), QString());
    Pacer->Release();
    QCOMPARE(memo->toPlainText(), QStringLiteral("held"));
  }

  void log_deleteFirstLine_reachesLinesStillWaiting() {
    auto* memo = new QPlainTextEdit(Window.get());
    TDeferredLog log(memo, Pacer);
    log.Append("a");
    log.Flush();
    log.Append("b");
    log.Append("c");
    log.DeleteFirstLine();
    QCOMPARE(memo->toPlainText(), QStringLiteral("b\nc"));
    log.DeleteFirstLine();
    log.DeleteFirstLine();
    log.DeleteFirstLine();  // on an empty memo: nothing to do
    QCOMPARE(memo->toPlainText(), QString());
  }

  void log_clearDropsWaitingLinesAndTheLimitHolds() {
    auto* memo = new QPlainTextEdit(Window.get());
    memo->setMaximumBlockCount(3);
    TDeferredLog log(memo, Pacer);
    log.Append("gone");
    log.Clear();
    for (const char* line : {"1", "2", "3", "4", "5"}) log.Append(line);
    log.Flush();
    QCOMPARE(memo->toPlainText(), QStringLiteral("3\n4\n5"));
  }
};

QTEST_MAIN(TWindowPacingTest)
#include "tst_window_pacing.moc"
