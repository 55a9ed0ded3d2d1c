#include "link/SocketThread.h"

#include "link/UdpTransport.h"
#include "protocol/CommandFrames.h"
#include "protocol/Conversions.h"

TSocketThread::TSocketThread(TLinkExchange& exchange, const TGuardedText& deviceOctetsText, THandler replyHandler,
                             TErrorHandler showError)
    : Exchange(exchange), DeviceOctetsText(deviceOctetsText), Port(std::move(replyHandler), std::move(showError)) {
  setObjectName(QStringLiteral("Velmora link"));
}

TSocketThread::~TSocketThread() {
  Terminate();
  wait();
}

bool TSocketThread::HandOff() {
  return !Terminated() && Port.Run([this] { return Terminated(); });
}

void TSocketThread::run() {
  const auto port = TryStrToInt(Exchange.HostPortText);
  if (!port || *port < 0 || *port > 65535) {
    Port.PostError(QStringLiteral("The host port '%1' is not a port number from 0 to 65535; the device link is stopped")
                       .arg(Exchange.HostPortText));
    return;
  }
  HostPort = *port;
  DevicePort = DevicePortNumber;
  if (!Exchange.WakeEvent) {
    Port.PostError(QStringLiteral("The device link has no wake-up event; it is stopped"));
    return;
  }

  TUdpTransport transport(Exchange, static_cast<std::uint16_t>(HostPort), static_cast<std::uint16_t>(DevicePort));
  while (!Terminated()) Pass(transport);
}

void TSocketThread::Pass(TUdpTransport& transport) {
  if (Exchange.AwaitingReply) {
    Exchange.ReplyLength = transport.ReceiveFrame(Exchange.ReplyBuffer.data(), [this] { return Terminated(); });
    if (Exchange.ReplyLength != -1) {
      if (HoldsReply(Exchange) && !HandOff()) return;
      Exchange.ReplyBuffer.fill(0);
      Exchange.AwaitingReply = 0;
    }
  }
  if (Terminated()) return;

  switch (Exchange.WakeEvent->Wait(kWakeWaitMs)) {
    case TWakeEvent::TWaitResult::Signalled:
      return SendStep(transport);
    case TWakeEvent::TWaitResult::TimedOut:
      return;
    case TWakeEvent::TWaitResult::Failed:
      // Only a closed event fails; pause so that the loop never spins until it is stopped.
      msleep(kWakeWaitMs);
      return;
  }
}

void TSocketThread::SendStep(TUdpTransport& transport) {
  // The queue resets the event when it hands out its last frame, so a later command keeps its wake-up.
  const auto frame = Exchange.PendingFrames.Pop(*Exchange.WakeEvent);
  if (!frame) return;
  if (!Exchange.DeviceKnown) {
    Exchange.DeviceAddress = {};
    Exchange.DeviceAddress.sin_family = AF_INET;
    Exchange.DeviceAddress.sin_port = htons(static_cast<std::uint16_t>(DevicePort));
    Exchange.DeviceAddress.sin_addr = ParseInetAddr(DeviceOctetsText.Get());
  }
  const bool broadcast = frame->size() > 2 && (*frame)[2] == ccFindDevice;
  Exchange.SentCount = transport.SendFrame(frame->data(), static_cast<std::uint8_t>(frame->size()), broadcast);
  if (Exchange.SentCount > 0) Exchange.AwaitingReply = 1;
  HandOff();
}
