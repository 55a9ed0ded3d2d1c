#include "protocol/LinkExchange.h"

#include <arpa/inet.h>

QString Ipv4Text(const in_addr& address) {
  const auto* b = reinterpret_cast<const std::uint8_t*>(&address.s_addr);
  return QStringLiteral("%1.%2.%3.%4").arg(b[0]).arg(b[1]).arg(b[2]).arg(b[3]);
}

in_addr ParseInetAddr(const QString& text) {
  in_addr address{};
  // A NUL inside the text would hide what follows it from inet_addr.
  address.s_addr = text.contains(QChar(0)) ? INADDR_NONE : inet_addr(text.toLatin1().constData());
  return address;
}
