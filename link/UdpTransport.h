#pragma once

#include "protocol/LinkExchange.h"

#include <cstdint>
#include <functional>

// One datagram at a time to and from the device, from the selected local address and the host port.
// The socket that sends a frame stays bound until the receive that takes its reply ends, so a
// device that answers at once is never answered into a closed port; with no reply awaited no
// socket exists.
class TUdpTransport {
 public:
  static constexpr int kReceiveTimeoutMs = 1000;

  TUdpTransport(TLinkExchange& exchange, std::uint16_t hostPort, std::uint16_t devicePort);
  ~TUdpTransport();
  TUdpTransport(const TUdpTransport&) = delete;
  TUdpTransport& operator=(const TUdpTransport&) = delete;

  // Bytes sent, -1 when the send fails, 0 when no socket could be opened. Broadcasts are
  // allowed only when asked for, so a unicast to 255.255.255.255 fails.
  std::int32_t SendFrame(const std::uint8_t* bytes, std::uint8_t count, bool broadcast);

  // Bytes received into the 1024-byte buffer (0 for an empty datagram), or -1 for a time-out,
  // an error, a datagram longer than the buffer (its first 1024 bytes stay) or a stop request.
  // A datagram of at least one byte makes its sender the device.
  std::int32_t ReceiveFrame(std::uint8_t* buffer, const std::function<bool()>& stopRequested = {});

  // Closes the socket kept for an awaited reply.
  void Release();

 private:
  // The kept socket when it is bound to the current local address, else a freshly opened one.
  int AcquireSocket(bool& bound);
  void Keep(int socket);

  TLinkExchange& Exchange;
  std::uint16_t HostPort;
  std::uint16_t DevicePort;
  int KeptSocket = -1;
  QString KeptLocalIp;
  QString CurrentLocalIp;
};
