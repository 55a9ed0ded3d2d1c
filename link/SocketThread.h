#pragma once

#include "link/HandOffPort.h"
#include "protocol/LinkExchange.h"

#include <QThread>

#include <cstdint>
#include <functional>

// The one thread that talks to the network. Each pass receives when a reply is awaited,
// then waits up to 100 ms for a command and sends it. After every send, and after every
// datagram that begins with ReplyMagic, it runs the reply handler on the window thread and
// waits until that has returned.
class TSocketThread : public QThread {
  Q_OBJECT

 public:
  using THandler = THandOffPort::THandler;
  using TErrorHandler = THandOffPort::TErrorHandler;

  static constexpr int kWakeWaitMs = 100;

  // Made on the window thread, where the handlers will run; `deviceOctetsText` is the device
  // address as typed, kept up to date by the window thread.
  TSocketThread(TLinkExchange& exchange, const TGuardedText& deviceOctetsText, THandler replyHandler,
                TErrorHandler showError);
  ~TSocketThread() override;

  void Terminate() { requestInterruption(); }
  bool Terminated() const { return isInterruptionRequested(); }

  std::int32_t HostPort = 0;
  std::int32_t DevicePort = 0;

 protected:
  void run() override;  // Execute

 private:
  // Runs the reply handler on the window thread; false when stopped before it ran.
  bool HandOff();
  void Pass(class TUdpTransport& transport);
  void SendStep(TUdpTransport& transport);

  TLinkExchange& Exchange;
  const TGuardedText& DeviceOctetsText;
  THandOffPort Port;
};
