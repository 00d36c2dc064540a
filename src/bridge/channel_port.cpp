#include "bridge/channel_port.h"

namespace vorna {
namespace {

class WindowChannelPort : public ChannelPort {
 public:
  WindowHandle FindMainWindow() override { return vorna::FindMainWindow(); }
  bool Post(const WindowHandle& window, uint32_t message, uint64_t wParam,
            int64_t lParam) override {
    return PostWindowMessage(window, message, wParam, lParam);
  }
  int64_t SendCopyData(const WindowHandle& window, uint64_t wParam, uint64_t kind,
                       const std::vector<uint8_t>& payload) override {
    return vorna::SendCopyData(window, wParam, kind, payload.data(), payload.size());
  }
};

}  // namespace

std::unique_ptr<ChannelPort> MakeWindowChannelPort() {
  return std::make_unique<WindowChannelPort>();
}

}  // namespace vorna
