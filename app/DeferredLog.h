#pragma once

#include <QObject>
#include <QStringList>

class QPlainTextEdit;
class TRepaintPacer;

// The lines of a memo reach the widget in one batch once the window thread is free: laying
// out text costs far more than the rest of a handler, and the link worker waits for every
// reply handler to return. Lines keep their order; a reader sees them after Flush.
class TDeferredLog : public QObject {
  Q_OBJECT

 public:
  TDeferredLog(QPlainTextEdit* memo, TRepaintPacer* pacer);

  void Append(const QString& line);
  // The oldest line, also if it is still waiting.
  void DeleteFirstLine();
  void Clear();
  void Flush();

 private:
  QPlainTextEdit* Memo;
  TRepaintPacer* Pacer;
  QStringList Pending;
  bool Scheduled = false;
};
