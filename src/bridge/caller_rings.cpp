#include "bridge/caller_rings.h"

namespace vorna {

size_t CallerRing::Store(const std::string& number) {
  std::string text = number.substr(0, number.find('\0'));
  if (text.size() > slotBytes_ - 1) text.resize(slotBytes_ - 1);
  std::lock_guard<std::mutex> guard(lock_);
  size_t slot = next_;
  slots_[slot] = std::move(text);
  next_ = (next_ + 1) % kSlots;
  return slot;
}

std::string CallerRing::Read(size_t slot) const {
  if (slot >= kSlots) return {};
  std::lock_guard<std::mutex> guard(lock_);
  return slots_[slot];
}

CallerRing& LandlineCallerRing() {
  static CallerRing ring(36);
  return ring;
}

CallerRing& MobileCallerRing() {
  static CallerRing ring(64);
  return ring;
}

}  // namespace vorna
