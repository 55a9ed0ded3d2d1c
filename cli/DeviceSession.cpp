#include "cli/DeviceSession.h"

#include "link/LocalAddresses.h"
#include "link/SocketThread.h"
#include "protocol/ReplyHandler.h"
#include "protocol/TemperatureDecoding.h"

#include <QEventLoop>
#include <QTimer>

#include <cstdio>

TDeviceSession::TDeviceSession(const QString& localAddress, const QString& hostPort, const QString& device)
    : DeviceOctetsText(device) {
  if (localAddress.isEmpty())
    DiscoverLocalAddresses(Fields, Link.LocalIpText);
  else
    Link.LocalIpText.Set(localAddress);
  Link.HostPortText = hostPort;
  Link.WakeEvent = std::make_unique<TWakeEvent>();
  Worker = std::make_unique<TSocketThread>(
      Link, DeviceOctetsText, [this] { HandOff(); },
      [](const QString& message) { std::fprintf(stderr, "velmora-cli: %s\n", qPrintable(message)); });
  Worker->start();
}

TDeviceSession::~TDeviceSession() {
  // The worker gives up a pending hand-off by itself once told to stop.
  Worker->Terminate();
  Worker->wait();
  Link.WakeEvent->Close();
}

void TDeviceSession::HandOff() {
  const bool reply = HoldsReply(Link);
  ReplyHandler(Link, Fields, *this);
  if (!reply) return;
  Replied = true;
  if (Loop && StopOnReply) Loop->quit();
}

bool TDeviceSession::Ask(const std::function<void(TLinkExchange&, IMainView&)>& build, int timeoutMs) {
  Fields.Written.clear();
  Samples.clear();
  Replied = false;
  build(Link, Fields);
  if (!Replied) Wait(timeoutMs, true);
  return Replied;
}

void TDeviceSession::Pause(int ms) { Wait(ms, false); }

void TDeviceSession::Wait(int ms, bool stopOnReply) {
  if (WasInterrupted || ms <= 0) return;
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  Loop = &loop;
  StopOnReply = stopOnReply;
  loop.exec();
  Loop = nullptr;
}

void TDeviceSession::Interrupt() {
  WasInterrupted = true;
  if (Loop) Loop->quit();
}

void TDeviceSession::RecordTemperature(TRawSample raw, std::uint8_t sensor) {
  Samples.push_back({sensor, DecodeTemperature(raw[0], raw[1])});
}
