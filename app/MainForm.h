#pragma once

#include "app/PollTimer.h"
#include "protocol/Controls.h"
#include "protocol/LinkExchange.h"
#include "protocol/TemperatureHistory.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class TDeferredLog;
class TRepaintPacer;
class TSocketThread;
class TTemperatureChart;

struct TFormOptions {
  // Where the local addresses come from; the host's interfaces unless a test says otherwise.
  std::function<std::vector<QString>()> HostAddresses;
  // Without the link, frames stay queued in the exchange; the GUI tests read them there.
  bool StartLink = true;
};

// The main window. Logic outside this class reaches it only through the view operations.
class TMainForm : public QWidget, public IMainView, public ITemperatureSink {
  Q_OBJECT

 public:
  explicit TMainForm(TLinkExchange& exchange, TFormOptions options = {});
  ~TMainForm() override;

  // View operations.
  QString Text(TControl control) const override;
  void SetText(TControl control, const QString& text) override;
  bool Checked(TControl control) const override;
  void SetChecked(TControl control, bool checked) override;
  void SetEnabled(TControl control, bool enabled) override;
  void SetReadOnly(TControl control, bool readOnly) override;
  void SetPanelText(int panel, const QString& text) override;
  void AddItem(TControl combo, const QString& item) override;
  int ItemIndex(TControl combo) const override;
  void SetItemIndex(TControl combo, int index) override;
  void AppendLine(TControl memo, const QString& line) override;
  void DeleteFirstLine(TControl memo) override;
  // Lines reach the memos when the window thread is next free; this puts them there now.
  void FlushLogs();
  void SetTimerInterval(int milliseconds) override;
  void SetTimerEnabled(bool enabled) override;

  void RecordTemperature(TRawSample raw, std::uint8_t sensor) override;
  void ReplyHandler();
  void RequestTemperatures();

  QWidget* Control(TControl control) const;
  QString PanelText(int panel) const;
  TSocketThread* WorkerThread() const { return Worker.get(); }
  const TTemperatureHistory& History() const { return *TemperatureHistory; }

  // Event handlers.
  void FormCreate();
  void FormCloseQuery();
  void btNetworkClick();
  void btMACClick();
  void btTimeClick();
  void btHostPortClick();
  void btServerNameClick();
  void btApplyClick();
  void btFindClick();
  void btClearClick();
  void btCloseClick();
  void Timer1Timer();
  void cbIPChange();
  void rbServerNameClick();
  void rbServerIPClick();
  void cbEnableFieldsClick();
  void meDevIP3Change(TControl sender);

  // Controls, in the order the layout declares them.
  QStatusBar* StatusBar1 = nullptr;
  QPushButton* btNetwork = nullptr;
  QPushButton* btMAC = nullptr;
  QPushButton* btTime = nullptr;
  QLineEdit* meMAC = nullptr;
  QPlainTextEdit* mLog = nullptr;
  QLineEdit* mePort = nullptr;
  QPushButton* btHostPort = nullptr;
  QPushButton* btServerName = nullptr;
  QLineEdit* meServerName = nullptr;
  QRadioButton* rbServerName = nullptr;
  QRadioButton* rbServerIP = nullptr;
  QPushButton* btApply = nullptr;
  QPushButton* btClear = nullptr;
  QPushButton* btClose = nullptr;
  QCheckBox* cbDHCP = nullptr;
  QLineEdit* meDNS = nullptr;
  QComboBox* cbTime = nullptr;
  QLineEdit* meServerPort = nullptr;
  QPushButton* btFind = nullptr;
  QComboBox* cbIP = nullptr;
  QCheckBox* cbEnableFields = nullptr;
  TTemperatureChart* Chart1 = nullptr;
  QLineSeries* Series1 = nullptr;
  TPollTimer* Timer1 = nullptr;
  QPlainTextEdit* mTemp = nullptr;
  QLineEdit* meNofPoints = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  std::array<QLineEdit*, 4> meDevIP{};
  std::array<QLineEdit*, 4> meGw{};
  std::array<QLineEdit*, 4> meMask{};
  std::array<QLineEdit*, 4> meServerIP{};
  QLineSeries* Series2 = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void BindEvents();
  void Register(TControl control, QWidget* widget);
  template <typename TWidget>
  TWidget* Find(TControl control) const;
  // Runs a handler; its error is shown in the error box.
  void Handle(const std::function<void()>& handler);
  void StopLink();
  // What the window thread runs in each of the worker's hand-offs.
  void LinkHandOff();

  TLinkExchange& Exchange;
  TFormOptions Options;
  std::unique_ptr<TTemperatureHistory> TemperatureHistory;
  std::map<TControl, QWidget*> Controls;
  std::map<QObject*, TControl> OctetEdits;
  std::array<QLabel*, 2> Panels{};
  // The device address as typed, for the worker, which must not read widgets itself.
  TGuardedText DeviceOctetsText{QStringLiteral("...")};
  std::unique_ptr<TSocketThread> Worker;
  bool LinkStopped = false;
  TRepaintPacer* Pacer = nullptr;
  std::map<TControl, TDeferredLog*> Logs;
};
