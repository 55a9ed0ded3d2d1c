#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The window's controls that logic outside the widget class reads or changes.
enum class TControl {
  btNetwork,
  btMAC,
  btTime,
  meMAC,
  mLog,
  mePort,
  btHostPort,
  btServerName,
  meServerName,
  rbServerName,
  rbServerIP,
  btApply,
  btClear,
  btClose,
  cbDHCP,
  meDNS,
  cbTime,
  meServerPort,
  btFind,
  cbIP,
  cbEnableFields,
  mTemp,
  meNofPoints,
  meDevIP1,
  meDevIP2,
  meDevIP3,
  meDevIP4,
  meGw1,
  meGw2,
  meGw3,
  meGw4,
  meMask1,
  meMask2,
  meMask3,
  meMask4,
  meServerIP1,
  meServerIP2,
  meServerIP3,
  meServerIP4,
};

using TOctetRow = std::array<TControl, 4>;

inline constexpr TOctetRow kDeviceIpRow{TControl::meDevIP1, TControl::meDevIP2, TControl::meDevIP3, TControl::meDevIP4};
inline constexpr TOctetRow kGatewayRow{TControl::meGw1, TControl::meGw2, TControl::meGw3, TControl::meGw4};
inline constexpr TOctetRow kMaskRow{TControl::meMask1, TControl::meMask2, TControl::meMask3, TControl::meMask4};
inline constexpr TOctetRow kServerIpRow{TControl::meServerIP1, TControl::meServerIP2, TControl::meServerIP3,
                                        TControl::meServerIP4};

// The six setting buttons that a reply or "Enable Fields" switches on, in the order a reply enables them.
inline constexpr std::array<TControl, 6> kSettingButtons{TControl::btApply,   TControl::btHostPort,
                                                         TControl::btMAC,     TControl::btServerName,
                                                         TControl::btNetwork, TControl::btTime};

// The view operations: the only way logic outside the window class touches the window.
class IMainView {
 public:
  virtual ~IMainView() = default;

  virtual QString Text(TControl control) const = 0;
  // Setting an octet edit's text to a different text runs its range rule, as typing does.
  virtual void SetText(TControl control, const QString& text) = 0;
  virtual bool Checked(TControl control) const = 0;
  // Checking a radio button that was unchecked unchecks the other and runs its click rule.
  virtual void SetChecked(TControl control, bool checked) = 0;
  virtual void SetEnabled(TControl control, bool enabled) = 0;
  virtual void SetReadOnly(TControl control, bool readOnly) = 0;
  virtual void SetPanelText(int panel, const QString& text) = 0;
  // Combo box items. Setting ItemIndex from the program raises no change handler.
  virtual void AddItem(TControl combo, const QString& item) = 0;
  virtual int ItemIndex(TControl combo) const = 0;
  virtual void SetItemIndex(TControl combo, int index) = 0;
  virtual void AppendLine(TControl memo, const QString& line) = 0;
  virtual void DeleteFirstLine(TControl memo) = 0;
  // The poll timer: a changed value starts its period anew, an equal one changes nothing.
  virtual void SetTimerInterval(int milliseconds) = 0;
  virtual void SetTimerEnabled(bool enabled) = 0;
};

// Two raw bytes of one temperature sample, as they stand in the reply.
using TRawSample = std::array<std::uint8_t, 2>;

class ITemperatureSink {
 public:
  virtual ~ITemperatureSink() = default;
  virtual void RecordTemperature(TRawSample raw, std::uint8_t sensor) = 0;
};

// The control's name as the layout gives it ("btNetwork", "meDevIP1").
QString ControlName(TControl control);
