#include "app/FieldRules.h"

#include "protocol/Conversions.h"

#include <algorithm>

namespace {

constexpr std::array<const char*, 4> kDefaultDeviceIp{"192", "168", "0", "100"};
constexpr std::array<const char*, 4> kDefaultGateway{"192", "168", "0", "1"};
constexpr std::array<const char*, 4> kDefaultMask{"255", "255", "255", "0"};

void UnlockRow(IMainView& view, const TOctetRow& row, const std::array<const char*, 4>& defaults) {
  for (int i = 0; i < 4; ++i) {
    view.SetReadOnly(row[i], false);
    view.SetText(row[i], QLatin1String(defaults[i]));
  }
}

void SetServerGroup(IMainView& view, bool byName) {
  view.SetEnabled(TControl::meServerName, byName);
  for (const TControl octet : kServerIpRow) view.SetEnabled(octet, !byName);
  view.SetChecked(byName ? TControl::rbServerIP : TControl::rbServerName, false);
}

}  // namespace

bool IsOctetKeyAllowed(QChar typed) {
  const char16_t c = typed.unicode();
  return (c >= '0' && c <= '9') || c == '.' || c == '\b' || c == '%' || c == '\'';
}

bool IsOctetEdit(TControl control) {
  for (const TOctetRow* row : {&kDeviceIpRow, &kGatewayRow, &kMaskRow, &kServerIpRow})
    if (std::find(row->begin(), row->end(), control) != row->end()) return true;
  return false;
}

void CheckOctetRange(IMainView& view, TControl octet) {
  if (StrToInt(view.Text(octet)) > 255) view.SetText(octet, QStringLiteral("0"));
}

void EnableFieldsClick(IMainView& view) {
  const bool unlock = view.Checked(TControl::cbEnableFields);
  for (const TControl button : kSettingButtons) view.SetEnabled(button, unlock);
  if (unlock) {
    UnlockRow(view, kDeviceIpRow, kDefaultDeviceIp);
    UnlockRow(view, kGatewayRow, kDefaultGateway);
    UnlockRow(view, kMaskRow, kDefaultMask);
  } else {
    for (const TOctetRow* row : {&kDeviceIpRow, &kGatewayRow, &kMaskRow})
      for (const TControl octet : *row) view.SetReadOnly(octet, true);
  }
}

void ServerIPClick(IMainView& view) {
  if (view.Checked(TControl::rbServerIP)) SetServerGroup(view, false);
}

void ServerNameClick(IMainView& view) {
  if (view.Checked(TControl::rbServerName)) SetServerGroup(view, true);
}
