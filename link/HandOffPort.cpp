#include "link/HandOffPort.h"

#include <chrono>
#include <exception>

namespace {

constexpr auto kStopCheck = std::chrono::milliseconds(20);
constexpr auto kSpin = std::chrono::microseconds(100);

QString ExceptionMessage(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return QString::fromStdString(e.what());
  } catch (...) {
    return {};
  }
}

}  // namespace

THandOffPort::THandOffPort(THandler handler, TErrorHandler showError)
    : Handler(std::move(handler)), ShowError(std::move(showError)) {}

bool THandOffPort::Run(const std::function<bool()>& stopRequested) {
  std::unique_lock lock(Mutex);
  const std::uint64_t ticket = ++Requested;
  if (!QMetaObject::invokeMethod(this, "Serve", Qt::QueuedConnection)) return false;
  // Most handlers return within a few tens of microseconds; waiting that long awake spares
  // the worker a sleep and a wake-up in every exchange.
  lock.unlock();
  const auto spinUntil = std::chrono::steady_clock::now() + kSpin;
  while (std::chrono::steady_clock::now() < spinUntil)
    if (CompletedSoFar.load(std::memory_order_acquire) >= ticket) return true;
  lock.lock();
  while (!Served.wait_for(lock, kStopCheck, [&] { return Completed >= ticket; }))
    if (stopRequested()) return false;
  return true;
}

void THandOffPort::PostError(const QString& message) {
  {
    std::lock_guard lock(Mutex);
    Errors.push_back(message);
  }
  QMetaObject::invokeMethod(this, "Serve", Qt::QueuedConnection);
}

void THandOffPort::Serve() {
  std::uint64_t upTo = 0;
  std::vector<QString> errors;
  {
    std::lock_guard lock(Mutex);
    upTo = Requested;
    errors.swap(Errors);
  }
  for (const QString& message : errors) ShowError(message);
  // One request is outstanding at most: the worker waits for each before it makes the next.
  if (upTo > Completed) {
    // The lock is not held while the handler runs, so a worker told to stop can always give up.
    try {
      Handler();
    } catch (...) {
      // An error in the handler is shown like any handler's error; the worker keeps running.
      ShowError(ExceptionMessage(std::current_exception()));
    }
  }
  std::lock_guard lock(Mutex);
  Completed = upTo;
  CompletedSoFar.store(upTo, std::memory_order_release);
  Served.notify_all();
}
