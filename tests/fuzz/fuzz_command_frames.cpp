// The command builders fed arbitrary field texts: every frame they hand over fits the slot,
// starts with the magic and its code, and nothing is handed over when a builder refuses.
#include "protocol/CommandFrames.h"
#include "protocol/Conversions.h"
#include "support/RecordingView.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TLinkExchange exchange;
  if (!exchange.WakeEvent) exchange.WakeEvent = std::make_unique<TWakeEvent>();
  if (size == 0) return 0;

  // The first byte picks the builder and the server form; the rest is field texts split at NUL.
  TRecordingView view;
  view.Checks[TControl::rbServerName] = data[0] & 0x10;
  const QList<QByteArray> fields =
      QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)).split('\0');
  constexpr TControl kFields[] = {
      TControl::meDevIP1,    TControl::meDevIP2, TControl::meDevIP3,     TControl::meDevIP4,     TControl::meGw1,
      TControl::meGw2,       TControl::meGw3,    TControl::meGw4,        TControl::meMask1,      TControl::meMask2,
      TControl::meMask3,     TControl::meMask4,  TControl::meServerIP1,  TControl::meServerIP2,  TControl::meServerIP3,
      TControl::meServerIP4, TControl::mePort,   TControl::meServerPort, TControl::meServerName, TControl::meMAC,
      TControl::cbTime};
  for (std::size_t i = 0; i < std::size(kFields); ++i)
    view.Texts[kFields[i]] =
        i < std::size_t(fields.size()) ? QString::fromUtf8(fields[qsizetype(i)]) : QStringLiteral("1");

  using TBuilder = void (*)(TLinkExchange&, IMainView&);
  constexpr TBuilder kBuilders[] = {BuildSetParams,   BuildSetHostPort,  BuildSetServer, BuildSetMac,
                                    BuildSetInterval, BuildApplyRestart, BuildFindDevice};
  constexpr std::uint8_t kCodes[] = {1, 2, 3, 4, 5, 6, 8};
  const std::size_t pick = data[0] % std::size(kBuilders);
  bool refused = false;
  try {
    kBuilders[pick](exchange, view);
  } catch (const EVelmoraError&) {
    refused = true;
  }
  const auto frame = exchange.PendingFrames.Pop(*exchange.WakeEvent);
  if (refused != !frame.has_value()) std::abort();
  if (frame) {
    if (frame->size() > kCommandBufferSize || frame->size() < 3 || frame->size() != exchange.CommandLength)
      std::abort();
    if ((*frame)[0] != 0xEE || (*frame)[1] != 0xBB || (*frame)[2] != kCodes[pick]) std::abort();
  }
  return 0;
}
