#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>

class QWidget;

// Holds a window's repaints back while the device link is in the middle of an exchange.
// The worker blocks in every hand-off, and a repaint that starts just before one makes it wait
// for the whole paint; holding the paint until the reply is shown (or one display frame has
// passed) keeps the exchange quick and paints the window once, with the reply in it.
class TRepaintPacer : public QObject {
  Q_OBJECT

 public:
  static constexpr int kMaxHoldMs = 16;

  explicit TRepaintPacer(QWidget* window);

  // Repaints wait until Release or until kMaxHoldMs have passed, whichever comes first.
  void Hold();
  // Lets a held repaint through now.
  void Release();
  // The same from the event loop, unless a new hold has begun by then.
  void ReleaseSoon();
  bool Holding() const { return Held; }

 signals:
  // A hold has ended: what waited for the window thread to be free may run now.
  void Released();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* Window;
  QTimer Deadline;
  bool Held = false;
  bool Deferred = false;
  std::uint64_t Holds = 0;
};
