#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTest>

// The simulator's record of every frame it received: "HEX sender:port destination", one a line.
class TSimulatorLog {
 public:
  TSimulatorLog() : Path(qEnvironmentVariable("VELMORA_SIM_LOG")) {}

  bool Available() const { return !Path.isEmpty(); }

  QStringList Lines() const {
    QFile file(Path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }

  // Waits until the log holds at least `count` lines; returns all of them.
  QStringList WaitFor(qsizetype count, int timeoutMs = 5000) const {
    QElapsedTimer clock;
    clock.start();
    QStringList lines = Lines();
    while (lines.size() < count && clock.elapsed() < timeoutMs) {
      QTest::qWait(5);
      lines = Lines();
    }
    return lines;
  }

 private:
  QString Path;
};
