#pragma once

#include "protocol/Controls.h"
#include "protocol/LinkExchange.h"

#include <cstdint>

enum TCommandCode : std::uint8_t {
  ccSetParams = 1,
  ccSetHostPort = 2,
  ccSetServer = 3,
  ccSetMac = 4,
  ccSetInterval = 5,
  ccApplyRestart = 6,
  ccFindDevice = 8,
  ccReadTemperatures = 9,
};

enum TServerAddressKind : std::uint8_t {
  sakHostName = 1,
  sakIpAddress = 2,
};

// The longest server name whose frame (7 + L bytes) still fits the command buffer.
inline constexpr int kMaxServerNameLength = kCommandBufferSize - 7;

// Each builder logs its command line in mLog, writes its whole frame into CommandBuffer
// from the window's fields and hands the frame to the worker. A field that cannot be
// sent as it stands raises EVelmoraError and nothing is sent.
void BuildSetParams(TLinkExchange& exchange, IMainView& view);
void BuildSetHostPort(TLinkExchange& exchange, IMainView& view);
void BuildSetServer(TLinkExchange& exchange, IMainView& view);
void BuildSetMac(TLinkExchange& exchange, IMainView& view);
void BuildSetInterval(TLinkExchange& exchange, IMainView& view);
void BuildApplyRestart(TLinkExchange& exchange, IMainView& view);
void BuildFindDevice(TLinkExchange& exchange, IMainView& view);
void BuildReadTemperatures(TLinkExchange& exchange);
