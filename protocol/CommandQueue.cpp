#include "protocol/CommandQueue.h"

#include "protocol/WakeEvent.h"

bool TCommandQueue::Push(TFrame frame, TWakeEvent& wake) {
  std::lock_guard lock(Mutex);
  if (Frames.size() >= kCapacity) return false;
  Frames.push_back(std::move(frame));
  ++Pushed;
  wake.Set();
  return true;
}

std::optional<TFrame> TCommandQueue::Pop(TWakeEvent& wake) {
  std::lock_guard lock(Mutex);
  std::optional<TFrame> frame;
  if (!Frames.empty()) {
    frame = std::move(Frames.front());
    Frames.pop_front();
  }
  if (Frames.empty()) wake.Reset();
  return frame;
}

std::size_t TCommandQueue::Size() const {
  std::lock_guard lock(Mutex);
  return Frames.size();
}

std::uint64_t TCommandQueue::PushCount() const {
  std::lock_guard lock(Mutex);
  return Pushed;
}
