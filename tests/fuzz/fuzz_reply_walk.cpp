// Any datagram, as the worker would hand it over, walked into a window that only records.
#include "protocol/Conversions.h"
#include "protocol/ReplyHandler.h"
#include "protocol/TemperatureHistory.h"
#include "support/RecordingView.h"

#include <arpa/inet.h>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TLinkExchange exchange;
  TRecordingView view;
  // The first byte chooses the window length and the send result, the rest is the datagram.
  const std::uint8_t choice = size > 0 ? data[0] : 0;
  view.Texts[TControl::meNofPoints] = choice % 8 == 0 ? QString() : QString::number(choice % 101);
  static const QDateTime kNoon(QDate(2026, 1, 1), QTime(12, 0, 0));
  TTemperatureHistory history(view, view, [] { return kNoon; });

  const std::size_t length = size > 1 ? std::min(size - 1, kReplyBufferSize) : 0;
  exchange.ReplyBuffer.fill(0);
  std::copy(data + (size > 0 ? 1 : 0), data + (size > 0 ? 1 : 0) + length, exchange.ReplyBuffer.begin());
  exchange.ReplyLength = static_cast<std::int32_t>(length);
  exchange.SentCount = static_cast<std::int8_t>(choice) / 16;
  exchange.DeviceAddress.sin_addr.s_addr = inet_addr("192.168.77.10");

  struct THistorySink : ITemperatureSink {
    TTemperatureHistory& History;
    explicit THistorySink(TTemperatureHistory& h) : History(h) {}
    void RecordTemperature(TRawSample raw, std::uint8_t sensor) override { History.RecordTemperature(raw, sensor); }
  } sink(history);

  try {
    ReplyHandler(exchange, view, sink);
  } catch (const EVelmoraError&) {
    // The empty points field: the run ends there, as in the window.
  }
  for (int s = 0; s < TTemperatureHistory::kSensors; ++s)
    if (history.PointCount(s) > TTemperatureHistory::kMaxWindow) std::abort();
  for (const auto& [series, points] : view.Points)
    if (series < 0 || series > 1 || points.size() > TTemperatureHistory::kMaxWindow) std::abort();
  if (view.TimerInterval < 0 || view.TimerInterval > 255 * 60000) std::abort();
  return 0;
}
