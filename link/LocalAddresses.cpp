#include "link/LocalAddresses.h"

#include <ifaddrs.h>
#include <netinet/in.h>

std::vector<QString> HostIpv4Addresses() {
  std::vector<QString> addresses;
  ifaddrs* list = nullptr;
  if (::getifaddrs(&list) != 0) return addresses;
  for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
    if (entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET)
      addresses.push_back(Ipv4Text(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr));
  }
  ::freeifaddrs(list);
  return addresses;
}

void DiscoverLocalAddresses(IMainView& view, TGuardedText& localIpText, const std::vector<QString>& addresses) {
  for (const QString& address : addresses) {
    if (!address.startsWith(QLatin1String("192.168."))) continue;
    localIpText.Set(address);
    view.AddItem(TControl::cbIP, address);
    view.SetItemIndex(TControl::cbIP, view.ItemIndex(TControl::cbIP) + 1);
  }
  view.SetPanelText(1, localIpText.Get());
}

void DiscoverLocalAddresses(IMainView& view, TGuardedText& localIpText) {
  DiscoverLocalAddresses(view, localIpText, HostIpv4Addresses());
}
