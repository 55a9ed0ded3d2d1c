#pragma once

#include <condition_variable>
#include <mutex>

// A manual-reset event: once set it stays set until reset, and a waiter can give up after a time-out.
class TWakeEvent {
 public:
  enum class TWaitResult { Signalled, TimedOut, Failed };

  void Set();
  void Reset();
  // Failed once the event has been closed, so that a late waiter never blocks on it.
  TWaitResult Wait(int milliseconds);
  void Close();
  bool IsSet() const;

 private:
  mutable std::mutex Mutex;
  std::condition_variable Changed;
  bool Signalled = false;
  bool Closed = false;
};
