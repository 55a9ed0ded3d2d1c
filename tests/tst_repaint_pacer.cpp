#include "app/RepaintPacer.h"

#include <QtTest>

namespace {

class TCountingWindow : public QWidget {
 public:
  int Paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++Paints; }
};

}  // namespace

class TRepaintPacerTest : public QObject {
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
};

QTEST_MAIN(TRepaintPacerTest)
#include "tst_repaint_pacer.moc"
