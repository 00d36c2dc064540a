#pragma once
// The window-message channel: how renderers, worker threads and a second
// instance reach the main window. A listener bound to an abstract Unix socket
// named from window class, user id and title stands in for the window; posted
// messages return once queued, sent messages wait for the procedure's result.
// Messages reach the procedure one at a time, in arrival order, on the main loop.
#include <glib.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vorna {

inline constexpr uint32_t kWmClose = 0x0010;
inline constexpr uint32_t kWmCopyData = 0x004A;
inline constexpr uint32_t kWmCommand = 0x0111;
// Not a Windows message: a second start asks the window to show itself
// maximized and come to the front.
inline constexpr uint32_t kChannelActivate = 0x10001;

// Largest payload a frame may carry; bigger frames are refused.
inline constexpr size_t kMaxChannelPayload = 16 * 1024 * 1024;

struct WindowMessage {
  uint32_t message = 0;
  uint64_t wParam = 0;
  int64_t lParam = 0;
  uint64_t copyDataKind = 0;     // dwData of WM_COPYDATA
  std::vector<uint8_t> payload;  // lpData/cbData of WM_COPYDATA
};

// Address of a window; empty when no window was found.
struct WindowHandle {
  std::string endpoint;
  explicit operator bool() const { return !endpoint.empty(); }
};

std::string ChannelEndpointName(const std::string& windowClass, const std::string& title);
WindowHandle FindWindowByClassAndTitle(const std::string& windowClass, const std::string& title);
// The main window: class "TILLSHELL" and the product title.
WindowHandle FindMainWindow();

bool PostWindowMessage(const WindowHandle& window, uint32_t message, uint64_t wParam,
                       int64_t lParam);
// Returns the procedure's result; 0 when the window cannot be reached.
int64_t SendWindowMessage(const WindowHandle& window, uint32_t message, uint64_t wParam,
                          int64_t lParam);
int64_t SendCopyData(const WindowHandle& window, uint64_t wParam, uint64_t copyDataKind,
                     const void* data, size_t size);

class WindowChannelListener {
 public:
  using Procedure = std::function<int64_t(const WindowMessage&)>;

  // Binds the endpoint; null when another window already holds it.
  // Dispatches on `context` (the thread-default/main context when null).
  static std::unique_ptr<WindowChannelListener> Create(const std::string& windowClass,
                                                       const std::string& title,
                                                       Procedure procedure,
                                                       GMainContext* context = nullptr);
  ~WindowChannelListener();
  WindowChannelListener(const WindowChannelListener&) = delete;
  WindowChannelListener& operator=(const WindowChannelListener&) = delete;

  const std::string& Endpoint() const;
  // Counters for diagnostics and tests.
  size_t RefusedConnections() const;
  size_t RefusedFrames() const;

  struct State;  // defined where the listener is implemented
  explicit WindowChannelListener(std::shared_ptr<State> state);

 private:
  std::shared_ptr<State> state_;
};

}  // namespace vorna
