#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

class TWakeEvent;

using TFrame = std::vector<std::uint8_t>;

// Frames that the window has completed and the worker has not sent yet, oldest first.
// The window's single frame slot is copied in here whole, so a command given while the
// worker is busy waits its turn instead of overwriting or tearing the frame being sent.
class TCommandQueue {
 public:
  static constexpr std::size_t kCapacity = 256;

  // Queues the frame and sets the event under one lock; false when the queue is full.
  bool Push(TFrame frame, TWakeEvent& wake);
  // Takes the oldest frame; resets the event under the same lock once the queue is empty,
  // so a frame pushed meanwhile always keeps its wake-up.
  std::optional<TFrame> Pop(TWakeEvent& wake);
  std::size_t Size() const;
  // How many frames have been queued since the start, sent or not.
  std::uint64_t PushCount() const;

 private:
  mutable std::mutex Mutex;
  std::deque<TFrame> Frames;
  std::uint64_t Pushed = 0;
};
