#pragma once
// The two caller rings of the browser process: the telephony capture stores a
// caller's number in the next slot and posts UM_PHONE_CALL with the slot; the
// main window reads the slot when it handles the message.
#include <array>
#include <cstddef>
#include <mutex>
#include <string>

namespace vorna {

class CallerRing {
 public:
  static constexpr size_t kSlots = 8;

  explicit CallerRing(size_t slotBytes) : slotBytes_(slotBytes) {}

  // Stores the number (cut to fit a zero-terminated slot) in the next slot,
  // round-robin, and returns that slot's index.
  size_t Store(const std::string& number);
  // The number up to its first zero byte; empty for a slot out of range.
  std::string Read(size_t slot) const;
  size_t SlotBytes() const { return slotBytes_; }

 private:
  const size_t slotBytes_;
  mutable std::mutex lock_;  // a slot may be rewritten while the window reads it
  std::array<std::string, kSlots> slots_;
  size_t next_ = 0;
};

CallerRing& LandlineCallerRing();  // 36-byte slots
CallerRing& MobileCallerRing();    // 64-byte slots

}  // namespace vorna
