#include "protocol/WakeEvent.h"

#include <chrono>

void TWakeEvent::Set() {
  {
    std::lock_guard lock(Mutex);
    Signalled = true;
  }
  Changed.notify_all();
}

void TWakeEvent::Reset() {
  std::lock_guard lock(Mutex);
  Signalled = false;
}

TWakeEvent::TWaitResult TWakeEvent::Wait(int milliseconds) {
  std::unique_lock lock(Mutex);
  if (Closed) return TWaitResult::Failed;
  const bool woken =
      Changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return Signalled || Closed; });
  if (Closed) return TWaitResult::Failed;
  return woken ? TWaitResult::Signalled : TWaitResult::TimedOut;
}

void TWakeEvent::Close() {
  {
    std::lock_guard lock(Mutex);
    Closed = true;
  }
  Changed.notify_all();
}

bool TWakeEvent::IsSet() const {
  std::lock_guard lock(Mutex);
  return Signalled;
}
