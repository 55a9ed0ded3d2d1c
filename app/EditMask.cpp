#include "app/EditMask.h"

#include <QStringList>

QString QtInputMask(const QString& editMask) {
  const QStringList parts = editMask.split(QLatin1Char(';'));
  QString places = parts.value(0);
  if (places.startsWith(QLatin1Char('!'))) places.remove(0, 1);

  static const QString qtMeta = QStringLiteral("AaNnXx90DdHhBb><!{}[]\\");
  QString mask;
  for (const QChar c : places) {
    if (c == QLatin1Char('0'))
      mask += QLatin1Char('9');
    else if (c == QLatin1Char('9'))
      mask += QLatin1Char('0');
    else {
      if (qtMeta.contains(c)) mask += QLatin1Char('\\');
      mask += c;
    }
  }
  const QString blank = parts.value(2);
  if (!blank.isEmpty()) mask += QLatin1Char(';') + blank.left(1);
  return mask;
}
