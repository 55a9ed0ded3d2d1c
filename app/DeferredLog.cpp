#include "app/DeferredLog.h"

#include "app/RepaintPacer.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>

TDeferredLog::TDeferredLog(QPlainTextEdit* memo, TRepaintPacer* pacer) : QObject(memo), Memo(memo), Pacer(pacer) {
  connect(Pacer, &TRepaintPacer::Released, this, &TDeferredLog::Flush);
}

void TDeferredLog::Append(const QString& line) {
  Pending.append(line);
  if (Scheduled) return;
  Scheduled = true;
  // While an exchange holds the window's paint, the pacer's release flushes the lines.
  QTimer::singleShot(0, this, [this] {
    // A hold that began after the line was added keeps it until the hold ends.
    if (!Pacer->Holding()) Flush();
  });
}

void TDeferredLog::DeleteFirstLine() {
  Flush();
  if (Memo->document()->isEmpty()) return;
  QTextCursor cursor(Memo->document()->firstBlock());
  if (!cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor))
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
}

void TDeferredLog::Clear() {
  Pending.clear();
  Memo->clear();
}

void TDeferredLog::Flush() {
  Scheduled = false;
  if (Pending.isEmpty()) return;
  // One paragraph a line, all in one edit of the document.
  Memo->appendPlainText(Pending.join(QLatin1Char('\n')));
  Pending.clear();
}
