// Prints Velmora's speed and memory figures as a table. Run it in the test bed, against the
// simulator answering at once: tools/bench.sh
#include "app/MainForm.h"
#include "app/PollTimer.h"
#include "app/VelmoraApplication.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

struct TStats {
  double Median = 0;
  double P99 = 0;
};

TStats Summarise(std::vector<double> us) {
  std::sort(us.begin(), us.end());
  if (us.empty()) return {};
  return {us[us.size() / 2], us[std::min(us.size() - 1, us.size() * 99 / 100)]};
}

void Row(const char* what, const QString& value, const char* target = "") {
  std::printf("| %-52s | %18s | %-22s |\n", what, qPrintable(value), target);
}

QString Us(double us) { return QStringLiteral("%1 us").arg(us, 0, 'f', 1); }

// Clicks, then runs the event loop until `changed` fires; the time in microseconds, or -1.
// The reply is shown only from the event loop, so `afterClick` runs before it can be.
template <typename TSignal, typename TSender>
double TimeUntil(QPushButton* button, TSender* sender, TSignal changed, const std::function<void()>& afterClick = {}) {
  QEventLoop loop;
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &loop, [&] { loop.exit(1); });
  guard.start(2000);
  const auto start = TClock::now();
  button->click();
  if (afterClick) afterClick();
  const auto connection = QObject::connect(sender, changed, &loop, [&] { loop.exit(0); });
  const int result = loop.exec();
  const auto end = TClock::now();
  QObject::disconnect(connection);
  return result == 0 ? std::chrono::duration<double, std::micro>(end - start).count() : -1;
}

// The same exchange made by the smallest raw UDP client, as the physical limit.
std::vector<double> RawExchanges(int count) {
  std::vector<double> us;
  const int s = socket(AF_INET, SOCK_DGRAM, 0);
  const int on = 1;
  setsockopt(s, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(2299);
  local.sin_addr.s_addr = inet_addr("192.168.77.2");
  if (bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) return us;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(3333);
  to.sin_addr.s_addr = INADDR_BROADCAST;
  const std::uint8_t frame[] = {0xEE, 0xBB, 0x08};
  std::uint8_t reply[1024];
  for (int i = 0; i < count; ++i) {
    const auto start = TClock::now();
    sendto(s, frame, sizeof frame, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    pollfd p{s, POLLIN, 0};
    if (poll(&p, 1, 1000) <= 0) continue;
    recv(s, reply, sizeof reply, 0);
    us.push_back(std::chrono::duration<double, std::micro>(TClock::now() - start).count());
  }
  close(s);
  return us;
}

long ResidentKiB(qint64 pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

double CpuSeconds(qint64 pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string content((std::istreambuf_iterator<char>(stat)), {});
  const auto close = content.rfind(')');
  std::istringstream rest(content.substr(close + 2));
  std::string field;
  double ticks = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i)
    if (i == 14 || i == 15) ticks += std::stod(field);
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer sinceStart;
  sinceStart.start();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  TVelmoraApplication app(argc, argv);
  const int exchanges =
      qEnvironmentVariableIntValue("BENCH_EXCHANGES") > 0 ? qEnvironmentVariableIntValue("BENCH_EXCHANGES") : 1000;
  const int idleSeconds =
      qEnvironmentVariableIsSet("BENCH_IDLE_SECONDS") ? qEnvironmentVariableIntValue("BENCH_IDLE_SECONDS") : 60;

  TLinkExchange exchange;
  TMainForm form(exchange);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) std::fprintf(stderr, "velmora-bench: the window was not shown\n");
  const double startupMs = sinceStart.nsecsElapsed() / 1e6;

  std::printf("| %-52s | %18s | %-22s |\n", "measure", "value", "target");
  std::printf("|%s|%s|%s|\n", std::string(54, '-').c_str(), std::string(20, '-').c_str(), std::string(24, '-').c_str());

  // Click on "Found Device" to the filled fields: the reply rewrites meDevIP4 from a sentinel.
  std::vector<double> find;
  for (int i = 0; i < exchanges + 20; ++i) {
    form.meDevIP[3]->setText("1");
    const double us = TimeUntil(form.btFind, form.meDevIP[3], &QLineEdit::textChanged);
    if (i >= 20 && us >= 0) find.push_back(us);  // the first few warm up caches and sockets
  }
  // Set Time: the reply writes the interval back into cbTime.
  std::vector<double> set;
  for (int i = 0; i < exchanges; ++i) {
    form.cbTime->setEditText(QString::number(i % 60 + 1));
    const double us = TimeUntil(form.btTime, form.cbTime, &QComboBox::editTextChanged,
                                [&] { form.cbTime->setEditText(QStringLiteral("-")); });
    if (us >= 0) set.push_back(us);
  }
  // Sustained: discoveries back to back for two seconds.
  int sustained = 0;
  QElapsedTimer window;
  window.start();
  while (window.elapsed() < 2000) {
    form.meDevIP[3]->setText("1");
    if (TimeUntil(form.btFind, form.meDevIP[3], &QLineEdit::textChanged) >= 0) ++sustained;
  }
  const double perSecond = sustained * 1000.0 / window.elapsed();
  const auto raw = RawExchanges(exchanges);

  const TStats f = Summarise(find), s = Summarise(set), r = Summarise(raw);
  Row("Found Device: click to filled fields, median", Us(f.Median), "<= 3 x raw median");
  Row("Found Device: click to filled fields, p99", Us(f.P99), "< 5000 us");
  Row("Set Time: click to the reply shown, median", Us(s.Median));
  Row("Set Time: click to the reply shown, p99", Us(s.P99));
  Row("sustained exchanges per second", QString::number(perSecond, 'f', 0));
  Row("raw UDP client round trip, median", Us(r.Median), "the physical limit");
  Row("raw UDP client round trip, p99", Us(r.P99));
  Row("tool / raw, median", QString::number(r.Median > 0 ? f.Median / r.Median : 0, 'f', 2), "<= 3");
  std::printf("| %-52s | %18s | %-22s |\n", "exchanges measured (find / set / raw)",
              qPrintable(QStringLiteral("%1 / %2 / %3").arg(find.size()).arg(set.size()).arg(raw.size())), "");

  // The window's share of an exchange: the reply handler on the discovery reply, run directly
  // while the worker is idle.
  {
    const QByteArray reply = QByteArray::fromHex(
        "AA55000001C0A84D0AC0A84D01FFFFFF00C0A84D010003010D5B20636F6C6C6563746F722E6C616E01AE08040A1B2C3D4E5F050107312E"
        "3035");
    constexpr int kRuns = 2000;
    std::vector<double> us;
    for (int i = 0; i < kRuns; ++i) {
      std::copy(reply.begin(), reply.end(), exchange.ReplyBuffer.begin());
      exchange.ReplyLength = static_cast<std::int32_t>(reply.size());
      form.meDevIP[3]->setText("1");
      const auto start = TClock::now();
      form.ReplyHandler();
      us.push_back(std::chrono::duration<double, std::micro>(TClock::now() - start).count());
    }
    exchange.ReplyBuffer.fill(0);
    Row("reply handler on the discovery reply, median", Us(Summarise(us).Median));
    form.SetTimerInterval(60000);
  }

  // RecordTemperature per reading with the chart attached.
  for (const char* n : {"10", "99"}) {
    form.meNofPoints->setText(QLatin1String(n));
    constexpr int kReadings = 5000;
    const auto start = TClock::now();
    for (int i = 0; i < kReadings; ++i)
      form.RecordTemperature({std::uint8_t(0x50 + i % 32), 0x01}, std::uint8_t(i % 2));
    const double us = std::chrono::duration<double, std::micro>(TClock::now() - start).count() / kReadings;
    Row(qPrintable(QStringLiteral("RecordTemperature per reading, N = %1").arg(QLatin1String(n))), Us(us),
        std::string(n) == "99" ? "< 1000 us" : "");
  }
  Row("start to window shown (in process)", QStringLiteral("%1 ms").arg(startupMs, 0, 'f', 1));

  // The idle tool: a process of its own, started and left alone.
  if (idleSeconds > 0) {
    QProcess tool;
    tool.setProgram(QCoreApplication::applicationDirPath() + "/../velmora");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    tool.setProcessEnvironment(env);
    tool.start();
    tool.waitForStarted();
    QTest::qWait(2000);
    const double cpuBefore = CpuSeconds(tool.processId());
    QTest::qWait(idleSeconds * 1000);
    const double cpu = CpuSeconds(tool.processId()) - cpuBefore;
    Row(qPrintable(QStringLiteral("idle tool CPU over %1 s, share of one core").arg(idleSeconds)),
        QStringLiteral("%1 %").arg(100.0 * cpu / idleSeconds, 0, 'f', 3), "< 0.5 %");
    Row("idle tool resident memory", QStringLiteral("%1 MiB").arg(ResidentKiB(tool.processId()) / 1024.0, 0, 'f', 1));
    tool.terminate();
    tool.waitForFinished(3000);
  }
  form.close();
  return 0;
}
