#pragma once

#include "protocol/Controls.h"
#include "protocol/LinkExchange.h"

#include <cstdint>

enum TRecordCode : std::uint8_t {
  rcNetwork = 1,
  rcHostPort = 2,
  rcServer = 3,
  rcMac = 4,
  rcInterval = 5,
  rcFirmware = 7,
  rcTemperatures = 9,
};

// The walk's cursor is one byte wide: nothing beyond this offset is ever read as a record.
inline constexpr int kCursorReach = 256;

// Shows the last datagram's sender and records in the window, then reports the last send.
// Runs on the window thread while the worker waits in its hand-off.
void ReplyHandler(TLinkExchange& exchange, IMainView& view, ITemperatureSink& temperatures);
