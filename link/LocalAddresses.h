#pragma once

#include "protocol/Controls.h"
#include "protocol/LinkExchange.h"

#include <QString>

#include <vector>

// The host's IPv4 addresses, interface by interface in the order the system lists them.
std::vector<QString> HostIpv4Addresses();

// Lists the 192.168.x.x addresses among `addresses` in cbIP, selecting each one as it is added
// so that the last one found stays selected, in LocalIpText and in status panel 1.
void DiscoverLocalAddresses(IMainView& view, TGuardedText& localIpText, const std::vector<QString>& addresses);

// The same for the host's own addresses.
void DiscoverLocalAddresses(IMainView& view, TGuardedText& localIpText);
