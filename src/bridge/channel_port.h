#pragma once
// How the renderer's app functions reach the main window. The real port is the
// window-message channel; tests substitute a recorder.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/window_channel.h"

namespace vorna {

class ChannelPort {
 public:
  virtual ~ChannelPort() = default;
  virtual WindowHandle FindMainWindow() = 0;
  virtual bool Post(const WindowHandle& window, uint32_t message, uint64_t wParam,
                    int64_t lParam) = 0;
  virtual int64_t SendCopyData(const WindowHandle& window, uint64_t wParam, uint64_t kind,
                               const std::vector<uint8_t>& payload) = 0;
};

std::unique_ptr<ChannelPort> MakeWindowChannelPort();

}  // namespace vorna
