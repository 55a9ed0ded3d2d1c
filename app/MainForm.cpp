#include "app/MainForm.h"

#include "app/DeferredLog.h"
#include "app/EditMask.h"
#include "app/ErrorBox.h"
#include "app/FieldRules.h"
#include "app/RepaintPacer.h"
#include "app/TemperatureChart.h"
#include "app/VelmoraApplication.h"
#include "link/LocalAddresses.h"
#include "link/SocketThread.h"
#include "protocol/CommandFrames.h"
#include "protocol/Conversions.h"
#include "protocol/ReplyHandler.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>

namespace {

constexpr int kLogLineLimit = 10000;
// Far above the 8 x 99 lines the history can ask for; only bounds a device that reports
// more sensors than the history keeps.
constexpr int kTemperatureLineLimit = 2000;
constexpr int kInitialPollInterval = 10000;
constexpr int kOctetColumnStep = 24;

const char* const kDefaultServerName = "velmora.local";

template <typename TWidget>
TWidget* Place(QWidget* parent, int left, int top, int width, int height) {
  auto* widget = new TWidget(parent);
  widget->setGeometry(left, top, width, height);
  return widget;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, int left, int top, int width, bool enabled) {
  auto* button = Place<QPushButton>(parent, left, top, width, 25);
  button->setText(caption);
  button->setEnabled(enabled);
  return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& caption, int left, int top, int width) {
  auto* label = Place<QLabel>(parent, left, top, width, 13);
  label->setText(caption);
  return label;
}

QLineEdit* MakeMaskEdit(QWidget* parent, const QString& text, QRect geometry, const QString& editMask, int maxLength) {
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(geometry);
  if (!editMask.isEmpty()) edit->setInputMask(QtInputMask(editMask));
  if (maxLength > 0) edit->setMaxLength(maxLength);
  edit->setText(text);
  return edit;
}

QPlainTextEdit* MakeMemo(QWidget* parent, QRect geometry, int lineLimit) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setGeometry(geometry);
  memo->setReadOnly(true);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setMaximumBlockCount(lineLimit);
  return memo;
}

QComboBox* MakeCombo(QWidget* parent, QRect geometry, const QStringList& items, const QString& text) {
  auto* combo = new QComboBox(parent);
  combo->setGeometry(geometry);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->addItems(items);
  combo->setEditText(text);
  return combo;
}

std::array<QLineEdit*, 4> MakeOctetRow(QWidget* parent, int firstLeft, int top) {
  std::array<QLineEdit*, 4> row{};
  for (int i = 0; i < 4; ++i) {
    row[i] = Place<QLineEdit>(parent, firstLeft + i * kOctetColumnStep, top, 25, 21);
    row[i]->setMaxLength(3);
  }
  return row;
}

}  // namespace

TMainForm::TMainForm(TLinkExchange& exchange, TFormOptions options)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Exchange(exchange),
      Options(std::move(options)) {
  if (!Options.HostAddresses) Options.HostAddresses = &HostIpv4Addresses;
  Pacer = new TRepaintPacer(this);
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("MainForm"));
  // MS Sans Serif where it exists; otherwise the closest metrics a Debian desktop has.
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                    QStringLiteral("DejaVu Sans Condensed")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  // Those substitutes run a little wider than the layout's font; narrowing keeps every caption whole.
  font.setStretch(92);
  setFont(font);
  setFixedSize(677, 678);
  move(231, 118);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);

  CreateControls();
  Logs = {{TControl::mLog, new TDeferredLog(mLog, Pacer)}, {TControl::mTemp, new TDeferredLog(mTemp, Pacer)}};
  TemperatureHistory = std::make_unique<TTemperatureHistory>(*this, *Chart1);
  BindEvents();
  Handle([this] { FormCreate(); });
}

TMainForm::~TMainForm() { StopLink(); }

void TMainForm::Register(TControl control, QWidget* widget) {
  Controls[control] = widget;
  widget->setObjectName(ControlName(control));
}

void TMainForm::CreateControls() {
  Label1 = MakeLabel(this, QStringLiteral("Points"), 336, 620, 29);
  Label2 = MakeLabel(this, QStringLiteral("IP"), 108, 20, 10);
  Label3 = MakeLabel(this, QStringLiteral("GW"), 108, 52, 19);
  Label4 = MakeLabel(this, QStringLiteral("Mask"), 108, 84, 26);
  Label5 = MakeLabel(this, QStringLiteral("DNS"), 108, 116, 23);

  StatusBar1 = Place<QStatusBar>(this, 0, 659, 677, 19);
  StatusBar1->setSizeGripEnabled(false);
  for (int i = 0; i < 2; ++i) {
    Panels[i] = new QLabel(StatusBar1);
    Panels[i]->setMinimumWidth(i == 0 ? 200 : 50);
    Panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  }
  Panels[0]->setFixedWidth(200);
  StatusBar1->addWidget(Panels[0]);
  StatusBar1->addWidget(Panels[1], 1);  // the last panel reaches the right edge

  btNetwork = MakeButton(this, QStringLiteral("Set Params"), 7, 14, 89, false);
  btMAC = MakeButton(this, QStringLiteral("Set MAC"), 8, 152, 89, false);
  btTime = MakeButton(this, QStringLiteral("Set Time"), 8, 184, 89, false);
  meMAC = MakeMaskEdit(this, QStringLiteral("02A1B2C3D4E5"), {104, 152, 89, 21}, {}, 12);
  mLog = MakeMemo(this, {432, 8, 209, 297}, kLogLineLimit);
  // Five digits, so that every UDP port shows whole.
  mePort = MakeMaskEdit(this, QStringLiteral("2222"), {104, 216, 46, 21}, QStringLiteral("99999;0;_"), 5);
  btHostPort = MakeButton(this, QStringLiteral("Set Port PC"), 8, 216, 89, false);
  btServerName = MakeButton(this, QStringLiteral("Set Server Name"), 8, 248, 89, false);
  meServerName = MakeMaskEdit(this, QLatin1String(kDefaultServerName), {201, 248, 135, 21}, {}, 0);
  rbServerName = Place<QRadioButton>(this, 112, 248, 73, 25);
  rbServerName->setText(QStringLiteral("Name"));
  rbServerName->setChecked(true);
  rbServerIP = Place<QRadioButton>(this, 112, 272, 73, 25);
  rbServerIP->setText(QStringLiteral("IP"));
  btApply = MakeButton(this, QStringLiteral("Save&&Reboot"), 8, 312, 89, false);
  btClear = MakeButton(this, QStringLiteral("Clear"), 432, 312, 81, true);
  btClose = MakeButton(this, QStringLiteral("Close"), 560, 312, 81, true);
  cbDHCP = Place<QCheckBox>(this, 296, 16, 81, 17);
  cbDHCP->setText(QStringLiteral("DHCP"));
  cbDHCP->setEnabled(false);
  // Only replies write the DNS field. Qt's masks cannot show a short group with leading blanks
  // (it would read "10_.0__.0__.1__"), so the field starts with the blank template and no mask.
  meDNS = MakeMaskEdit(this, QStringLiteral("   .   .   .   "), {136, 112, 97, 21}, {}, 15);
  meDNS->setEnabled(false);
  meDNS->setReadOnly(true);
  cbTime = MakeCombo(this, {104, 184, 73, 21},
                     {"1", "5", "10", "15", "20", "25", "30", "35", "40", "45", "50", "55", "60"}, QStringLiteral("1"));
  cbTime->setCurrentIndex(0);
  meServerPort = MakeMaskEdit(this, QStringLiteral("8283"), {352, 248, 45, 21}, QStringLiteral("99999;0;_"), 5);
  btFind = MakeButton(this, QStringLiteral("Found Device"), 104, 312, 89, true);
  cbIP = MakeCombo(this, {296, 40, 129, 21}, {}, QStringLiteral("IP"));
  cbEnableFields = Place<QCheckBox>(this, 296, 64, 113, 25);
  cbEnableFields->setText(QStringLiteral("Enable Fields"));
  Chart1 = new TTemperatureChart(this);
  Chart1->setGeometry(8, 360, 400, 250);
  Series1 = Chart1->Series(0);
  Series2 = Chart1->Series(1);
  Timer1 = new TPollTimer(kInitialPollInterval, this);
  mTemp = MakeMemo(this, {432, 360, 209, 257}, kTemperatureLineLimit);
  meNofPoints = MakeMaskEdit(this, QStringLiteral("10"), {368, 616, 39, 21}, QStringLiteral("!99;1;_"), 2);
  meDevIP = MakeOctetRow(this, 136, 16);
  meGw = MakeOctetRow(this, 136, 48);
  meMask = MakeOctetRow(this, 136, 80);
  meServerIP = MakeOctetRow(this, 200, 272);

  const std::pair<TControl, QWidget*> named[] = {
      {TControl::btNetwork, btNetwork},
      {TControl::btMAC, btMAC},
      {TControl::btTime, btTime},
      {TControl::meMAC, meMAC},
      {TControl::mLog, mLog},
      {TControl::mePort, mePort},
      {TControl::btHostPort, btHostPort},
      {TControl::btServerName, btServerName},
      {TControl::meServerName, meServerName},
      {TControl::rbServerName, rbServerName},
      {TControl::rbServerIP, rbServerIP},
      {TControl::btApply, btApply},
      {TControl::btClear, btClear},
      {TControl::btClose, btClose},
      {TControl::cbDHCP, cbDHCP},
      {TControl::meDNS, meDNS},
      {TControl::cbTime, cbTime},
      {TControl::meServerPort, meServerPort},
      {TControl::btFind, btFind},
      {TControl::cbIP, cbIP},
      {TControl::cbEnableFields, cbEnableFields},
      {TControl::mTemp, mTemp},
      {TControl::meNofPoints, meNofPoints},
  };
  for (const auto& [control, widget] : named) Register(control, widget);
  const std::pair<const TOctetRow*, std::array<QLineEdit*, 4>*> rows[] = {
      {&kDeviceIpRow, &meDevIP}, {&kGatewayRow, &meGw}, {&kMaskRow, &meMask}, {&kServerIpRow, &meServerIP}};
  for (const auto& [controls, edits] : rows)
    for (int i = 0; i < 4; ++i) {
      Register((*controls)[i], (*edits)[i]);
      OctetEdits[(*edits)[i]] = (*controls)[i];
    }

  // Tab order as the layout numbers it.
  QWidget* const tabOrder[] = {
      btNetwork,    btMAC,        btTime,     meMAC,      mLog,           mePort,        btHostPort,    btServerName,
      meServerName, rbServerName, rbServerIP, btApply,    btClear,        btClose,       cbDHCP,        meDNS,
      cbTime,       meServerPort, btFind,     cbIP,       cbEnableFields, Chart1,        mTemp,         meNofPoints,
      meDevIP[0],   meDevIP[1],   meDevIP[2], meDevIP[3], meGw[0],        meGw[1],       meGw[2],       meGw[3],
      meMask[0],    meMask[1],    meMask[2],  meMask[3],  meServerIP[0],  meServerIP[1], meServerIP[2], meServerIP[3]};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void TMainForm::BindEvents() {
  const std::pair<QPushButton*, void (TMainForm::*)()> clicks[] = {
      {btNetwork, &TMainForm::btNetworkClick},
      {btMAC, &TMainForm::btMACClick},
      {btTime, &TMainForm::btTimeClick},
      {btHostPort, &TMainForm::btHostPortClick},
      {btServerName, &TMainForm::btServerNameClick},
      {btApply, &TMainForm::btApplyClick},
      {btFind, &TMainForm::btFindClick},
      {btClear, &TMainForm::btClearClick},
      {btClose, &TMainForm::btCloseClick},
  };
  for (const auto& [button, handler] : clicks)
    connect(button, &QPushButton::clicked, this,
            [this, handler = handler] { Handle([this, handler] { (this->*handler)(); }); });

  connect(Timer1, &TPollTimer::Tick, this, [this] { Handle([this] { Timer1Timer(); }); });
  connect(cbIP, &QComboBox::editTextChanged, this, [this] { Handle([this] { cbIPChange(); }); });
  // A radio button's click rule runs when it becomes checked, by the operator or the program.
  connect(rbServerName, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Handle([this] { rbServerNameClick(); });
  });
  connect(rbServerIP, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Handle([this] { rbServerIPClick(); });
  });
  connect(cbEnableFields, &QCheckBox::clicked, this, [this] { Handle([this] { cbEnableFieldsClick(); }); });

  for (const auto& [edit, control] : OctetEdits) {
    auto* line = static_cast<QLineEdit*>(edit);
    line->installEventFilter(this);
    connect(line, &QLineEdit::textChanged, this,
            [this, control = control] { Handle([this, control] { meDevIP3Change(control); }); });
  }
  for (QLineEdit* edit : meDevIP)
    connect(edit, &QLineEdit::textChanged, this, [this] {
      DeviceOctetsText.Set(meDevIP[0]->text() + '.' + meDevIP[1]->text() + '.' + meDevIP[2]->text() + '.' +
                           meDevIP[3]->text());
    });
}

void TMainForm::Handle(const std::function<void()>& handler) {
  const std::uint64_t queued = Exchange.PendingFrames.PushCount();
  RunHandler(handler);
  // A command on its way: the window repaints once its reply is in.
  if (Exchange.PendingFrames.PushCount() != queued) Pacer->Hold();
}

void TMainForm::LinkHandOff() {
  const bool reply = HoldsReply(Exchange);
  const bool noReplyComing = !reply && Exchange.SentCount <= 0;
  ReplyHandler();
  // Released once the worker is free again, so it never waits for the paint.
  if ((reply || noReplyComing) && Exchange.PendingFrames.Size() == 0) Pacer->ReleaseSoon();
}

// ---- Start and stop ------------------------------------------------------------------------

void TMainForm::FormCreate() {
  DiscoverLocalAddresses(*this, Exchange.LocalIpText, Options.HostAddresses());
  Worker = std::make_unique<TSocketThread>(
      Exchange, DeviceOctetsText, [this] { LinkHandOff(); },
      [this](const QString& message) { ShowErrorBox(message, this); });
  QString eventError;
  try {
    Exchange.WakeEvent = std::make_unique<TWakeEvent>();
  } catch (const std::exception& e) {
    eventError = QString::fromStdString(e.what());
  }
  SetPanelText(0, QStringLiteral("Not connected"));
  Exchange.HostPortText = mePort->text();
  if (!Exchange.WakeEvent)
    throw EVelmoraError(QStringLiteral("The device link could not be started: %1").arg(eventError));
  if (Options.StartLink) Worker->start();
}

void TMainForm::StopLink() {
  if (LinkStopped) return;
  LinkStopped = true;
  if (Worker) {
    Worker->Terminate();
    // The worker gives up a pending hand-off and a receive as soon as it sees the request.
    Worker->wait();
  }
  if (Exchange.WakeEvent) Exchange.WakeEvent->Close();
}

void TMainForm::FormCloseQuery() { StopLink(); }

void TMainForm::closeEvent(QCloseEvent* event) {
  Handle([this] { FormCloseQuery(); });
  event->accept();
}

void TMainForm::btCloseClick() {
  if (Worker) Worker->Terminate();
  close();
}

void TMainForm::btClearClick() { Logs.at(TControl::mLog)->Clear(); }

void TMainForm::cbIPChange() {
  Exchange.LocalIpText.Set(cbIP->currentText());
  SetPanelText(1, Exchange.LocalIpText.Get());
}

// ---- Commands ------------------------------------------------------------------------------

void TMainForm::btNetworkClick() { BuildSetParams(Exchange, *this); }
void TMainForm::btMACClick() { BuildSetMac(Exchange, *this); }
void TMainForm::btTimeClick() { BuildSetInterval(Exchange, *this); }
void TMainForm::btHostPortClick() { BuildSetHostPort(Exchange, *this); }
void TMainForm::btServerNameClick() { BuildSetServer(Exchange, *this); }
void TMainForm::btApplyClick() { BuildApplyRestart(Exchange, *this); }
void TMainForm::btFindClick() { BuildFindDevice(Exchange, *this); }
void TMainForm::Timer1Timer() { RequestTemperatures(); }
void TMainForm::RequestTemperatures() { BuildReadTemperatures(Exchange); }

// ---- Replies -------------------------------------------------------------------------------

void TMainForm::ReplyHandler() { ::ReplyHandler(Exchange, *this, *this); }

void TMainForm::RecordTemperature(TRawSample raw, std::uint8_t sensor) {
  TemperatureHistory->RecordTemperature(raw, sensor);
}

// ---- Field rules ---------------------------------------------------------------------------

void TMainForm::rbServerNameClick() { ServerNameClick(*this); }
void TMainForm::rbServerIPClick() { ServerIPClick(*this); }
void TMainForm::cbEnableFieldsClick() { EnableFieldsClick(*this); }
void TMainForm::meDevIP3Change(TControl sender) { CheckOctetRange(*this, sender); }

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && OctetEdits.count(watched)) {
    const QString typed = static_cast<QKeyEvent*>(event)->text();
    // Keys without a printable character (cursor keys, Delete, Tab, shortcuts) insert nothing
    // and keep working; a printable character must pass the filter.
    if (typed.size() == 1 && typed[0].isPrint() && !IsOctetKeyAllowed(typed[0])) return true;
    if (typed.size() > 1) return true;
  }
  return QWidget::eventFilter(watched, event);
}

// ---- View operations -----------------------------------------------------------------------

QWidget* TMainForm::Control(TControl control) const {
  const auto found = Controls.find(control);
  return found == Controls.end() ? nullptr : found->second;
}

template <typename TWidget>
TWidget* TMainForm::Find(TControl control) const {
  return qobject_cast<TWidget*>(Control(control));
}

QString TMainForm::Text(TControl control) const {
  if (auto* edit = Find<QLineEdit>(control)) return edit->text();
  if (auto* combo = Find<QComboBox>(control)) return combo->currentText();
  if (auto* memo = Find<QPlainTextEdit>(control)) return memo->toPlainText();
  return {};
}

void TMainForm::SetText(TControl control, const QString& text) {
  if (auto* edit = Find<QLineEdit>(control)) {
    if (edit->text() != text) edit->setText(text);
  } else if (auto* combo = Find<QComboBox>(control)) {
    if (combo->currentText() != text) combo->setEditText(text);
  }
}

bool TMainForm::Checked(TControl control) const {
  const auto* button = Find<QAbstractButton>(control);
  return button && button->isChecked();
}

void TMainForm::SetChecked(TControl control, bool checked) {
  auto* button = Find<QAbstractButton>(control);
  if (!button || button->isChecked() == checked) return;
  if (!checked && button->autoExclusive()) {
    // Qt keeps one radio of a group checked; clearing one by itself needs exclusivity off for a moment.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
    return;
  }
  button->setChecked(checked);
}

void TMainForm::SetEnabled(TControl control, bool enabled) {
  if (QWidget* widget = Control(control)) widget->setEnabled(enabled);
}

void TMainForm::SetReadOnly(TControl control, bool readOnly) {
  if (auto* edit = Find<QLineEdit>(control)) edit->setReadOnly(readOnly);
}

void TMainForm::SetPanelText(int panel, const QString& text) {
  if (panel >= 0 && panel < static_cast<int>(Panels.size())) Panels[static_cast<std::size_t>(panel)]->setText(text);
}

QString TMainForm::PanelText(int panel) const { return Panels[static_cast<std::size_t>(panel)]->text(); }

void TMainForm::AddItem(TControl combo, const QString& item) {
  auto* box = Find<QComboBox>(combo);
  if (!box) return;
  // Qt selects the first item put into an empty list; the program's selection stays its own.
  const QSignalBlocker quiet(box);
  const int index = box->currentIndex();
  const QString text = box->currentText();
  box->addItem(item);
  box->setCurrentIndex(index);
  if (index < 0) box->setEditText(text);
}

int TMainForm::ItemIndex(TControl combo) const {
  const auto* box = Find<QComboBox>(combo);
  return box ? box->currentIndex() : -1;
}

void TMainForm::SetItemIndex(TControl combo, int index) {
  auto* box = Find<QComboBox>(combo);
  if (!box || box->currentIndex() == index) return;
  const QSignalBlocker quiet(box);
  box->setCurrentIndex(index);
}

void TMainForm::AppendLine(TControl memo, const QString& line) {
  if (const auto log = Logs.find(memo); log != Logs.end()) log->second->Append(line);
}

void TMainForm::DeleteFirstLine(TControl memo) {
  if (const auto log = Logs.find(memo); log != Logs.end()) log->second->DeleteFirstLine();
}

void TMainForm::FlushLogs() {
  for (const auto& [memo, log] : Logs) log->Flush();
}

void TMainForm::SetTimerInterval(int milliseconds) { Timer1->SetInterval(milliseconds); }

void TMainForm::SetTimerEnabled(bool enabled) { Timer1->SetEnabled(enabled); }
