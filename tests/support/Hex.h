#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// "EE BB 08" and "eebb08" alike.
inline QByteArray FromHex(const QString& text) { return QByteArray::fromHex(text.toLatin1()); }

template <typename TBytes>
QString ToHex(const TBytes& bytes) {
  QByteArray raw(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  return QString::fromLatin1(raw.toHex(' ').toUpper());
}
