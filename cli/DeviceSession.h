#pragma once

#include "protocol/Controls.h"
#include "protocol/FieldView.h"
#include "protocol/LinkExchange.h"

#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TSocketThread;

// The window's link without the window: the same worker, transport and reply handler, with a
// field view in place of the widgets. Lives on the thread that runs the event loop.
class TDeviceSession : public ITemperatureSink {
 public:
  struct TReading {
    std::uint8_t Sensor = 0;
    float Celsius = 0;
  };

  // `localAddress` empty: the address the window would choose; `device` empty: discovery finds it.
  TDeviceSession(const QString& localAddress, const QString& hostPort, const QString& device);
  ~TDeviceSession() override;

  TFieldView& View() { return Fields; }
  QString LocalAddress() const { return Link.LocalIpText.Get(); }
  QString AnsweredBy() const { return Link.DeviceKnown ? Link.DeviceIpText : QString(); }
  // The controls that the last reply wrote, and the readings it held.
  const std::set<TControl>& Written() const { return Fields.Written; }
  const std::vector<TReading>& Readings() const { return Samples; }

  // Builds one frame with `build` (which reads the field view) and hands it to the worker,
  // then waits until a reply has been shown or `timeoutMs` has passed. True when a reply came.
  bool Ask(const std::function<void(TLinkExchange&, IMainView&)>& build, int timeoutMs);
  // Waits, serving the worker, until `ms` have passed or Interrupt is called.
  void Pause(int ms);
  // Ends the current wait early, from a signal's notifier.
  void Interrupt();
  bool Interrupted() const { return WasInterrupted; }

  void RecordTemperature(TRawSample raw, std::uint8_t sensor) override;

 private:
  void HandOff();
  void Wait(int ms, bool stopOnReply);

  TLinkExchange Link;
  TFieldView Fields;
  TGuardedText DeviceOctetsText;
  std::unique_ptr<TSocketThread> Worker;
  std::vector<TReading> Samples;
  bool Replied = false;
  bool WasInterrupted = false;
  bool StopOnReply = false;
  class QEventLoop* Loop = nullptr;
};
