#include "app/RepaintPacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

TRepaintPacer::TRepaintPacer(QWidget* window) : QObject(window), Window(window) {
  Deadline.setSingleShot(true);
  Deadline.setTimerType(Qt::PreciseTimer);
  connect(&Deadline, &QTimer::timeout, this, &TRepaintPacer::Release);
  Window->installEventFilter(this);
}

void TRepaintPacer::Hold() {
  ++Holds;
  if (Held) return;  // the first hold's deadline stands, so a busy link cannot starve the paint
  Held = true;
  Deadline.start(kMaxHoldMs);
}

void TRepaintPacer::Release() {
  Deadline.stop();
  Held = false;
  emit Released();
  if (!Deferred) return;
  Deferred = false;
  // A fresh request: the repaint manager keeps its dirty regions until one arrives.
  QCoreApplication::postEvent(Window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

void TRepaintPacer::ReleaseSoon() {
  QTimer::singleShot(0, this, [this, holds = Holds] {
    if (Holds == holds) Release();
  });
}

bool TRepaintPacer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Window && event->type() == QEvent::UpdateRequest && Held) {
    Deferred = true;
    return true;
  }
  return QObject::eventFilter(watched, event);
}
