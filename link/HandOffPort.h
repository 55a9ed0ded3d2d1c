#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

// Where the worker hands work to the window thread and waits for it. Requests and their
// completion pass through standard primitives; the Qt event that wakes the window carries
// nothing, so no data crosses threads where a race checker cannot follow it.
class THandOffPort : public QObject {
  Q_OBJECT

 public:
  using THandler = std::function<void()>;
  using TErrorHandler = std::function<void(const QString& message)>;

  // Lives on the thread that makes it, which must be the window thread.
  THandOffPort(THandler handler, TErrorHandler showError);

  // Worker side: runs the handler on the window thread and waits until it has returned.
  // False when `stopRequested` says so first; the handler may then still run later.
  bool Run(const std::function<bool()>& stopRequested);
  // Worker side: shows a message in the window's error box without waiting.
  void PostError(const QString& message);

 private slots:
  void Serve();

 private:
  THandler Handler;
  TErrorHandler ShowError;
  std::mutex Mutex;
  std::condition_variable Served;
  std::uint64_t Requested = 0;
  std::uint64_t Completed = 0;
  std::atomic<std::uint64_t> CompletedSoFar{0};  // Completed, for the worker's short wait awake
  std::vector<QString> Errors;
};
