#pragma once

#include "protocol/CommandQueue.h"
#include "protocol/WakeEvent.h"

#include <QString>

#include <netinet/in.h>

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>

inline constexpr std::array<std::uint8_t, 2> CommandMagic{0xEE, 0xBB};
inline constexpr std::array<std::uint8_t, 2> ReplyMagic{0xAA, 0x55};
inline constexpr std::uint16_t DevicePortNumber = 3333;
inline constexpr std::size_t kCommandBufferSize = 96;
inline constexpr std::size_t kReplyBufferSize = 1024;

// A text that one thread writes while another reads it.
class TGuardedText {
 public:
  explicit TGuardedText(QString text = {}) : Value(std::move(text)) {}
  QString Get() const {
    std::lock_guard lock(Mutex);
    return Value;
  }
  void Set(const QString& text) {
    std::lock_guard lock(Mutex);
    Value = text;
  }

 private:
  mutable std::mutex Mutex;
  QString Value;
};

// The state that the window and the link worker share. The worker is woken through
// WakeEvent; a frame reaches it as a whole copy in PendingFrames.
struct TLinkExchange {
  std::array<std::uint8_t, kCommandBufferSize> CommandBuffer{};
  std::uint8_t CommandLength = 0;
  std::array<std::uint8_t, kReplyBufferSize> ReplyBuffer{};
  std::int32_t ReplyLength = 0;
  std::int32_t SentCount = 0;
  std::uint8_t AwaitingReply = 0;
  std::uint8_t DeviceKnown = 0;
  sockaddr_in DeviceAddress{};
  QString DeviceIpText = QStringLiteral("123.456.789.000");
  TGuardedText LocalIpText;
  QString HostPortText;
  std::unique_ptr<TWakeEvent> WakeEvent;
  TCommandQueue PendingFrames;
};

// Whether the reply buffer begins with ReplyMagic: the worker's test for a hand-off, which
// also tells a reply hand-off from a send hand-off while it runs.
inline bool HoldsReply(const TLinkExchange& exchange) {
  return exchange.ReplyBuffer[0] == ReplyMagic[0] && exchange.ReplyBuffer[1] == ReplyMagic[1];
}

// Dotted-decimal text of an address held in network byte order.
QString Ipv4Text(const in_addr& address);

// The address that inet_addr gives for a text: octal and hexadecimal parts and fewer
// than four parts are accepted, and a text that does not parse gives 255.255.255.255.
in_addr ParseInetAddr(const QString& text);
