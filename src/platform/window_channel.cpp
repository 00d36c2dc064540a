#include "platform/window_channel.h"

#include "platform/channel_frame.h"

#include <fcntl.h>
#include <glib-unix.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>

#include "app/deployment.h"

namespace vorna {
namespace {

constexpr int kPostAckTimeoutMs = 5000;
constexpr int kSendReplyTimeoutMs = 30000;
constexpr guint kIdleConnectionTimeoutMs = 5000;
constexpr size_t kMaxOpenConnections = 64;

// A file descriptor that closes itself.
class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = other.Release();
    }
    return *this;
  }
  int Get() const { return fd_; }
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void Reset() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

bool MakeAddress(const std::string& endpoint, sockaddr_un* address, socklen_t* length) {
  std::memset(address, 0, sizeof(*address));
  address->sun_family = AF_UNIX;
  if (endpoint.size() + 1 > sizeof(address->sun_path)) return false;
  // Abstract namespace: a leading zero byte, no file in the file system.
  std::memcpy(address->sun_path + 1, endpoint.data(), endpoint.size());
  *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + endpoint.size());
  return true;
}

UniqueFd Connect(const std::string& endpoint) {
  sockaddr_un address;
  socklen_t length;
  if (!MakeAddress(endpoint, &address, &length)) return UniqueFd();
  UniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (fd.Get() < 0) return UniqueFd();
  if (connect(fd.Get(), reinterpret_cast<sockaddr*>(&address), length) != 0) return UniqueFd();
  return fd;
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool ReadReply(int fd, int timeoutMs, int64_t* result) {
  uint8_t reply[8];
  size_t have = 0;
  gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(timeoutMs) * 1000;
  while (have < sizeof(reply)) {
    int left = static_cast<int>((deadline - g_get_monotonic_time()) / 1000);
    if (left <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    int rc = poll(&p, 1, left);
    if (rc < 0 && errno == EINTR) continue;
    if (rc <= 0) return false;
    ssize_t n = recv(fd, reply + have, sizeof(reply) - have, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    have += static_cast<size_t>(n);
  }
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | reply[i];
  *result = static_cast<int64_t>(value);
  return true;
}

}  // namespace

// ---------------------------------------------------------------- listener

struct PendingMessage {
  WindowMessage message;
  bool wantsReply = false;
  UniqueFd replyTo;  // send: where the result goes
};

struct Connection {
  UniqueFd fd;
  std::vector<uint8_t> buffer;
  GSource* readSource = nullptr;
  GSource* timeoutSource = nullptr;
  // What the idle time-out needs; lives as long as the connection's sources.
  WindowChannelListener::State* state = nullptr;
  int rawFd = -1;
};

struct WindowChannelListener::State {
  std::string endpoint;
  Procedure procedure;
  GMainContext* context = nullptr;
  UniqueFd listenFd;
  GSource* acceptSource = nullptr;
  GSource* dispatchSource = nullptr;
  std::map<int, std::unique_ptr<Connection>> connections;
  std::deque<PendingMessage> queue;
  std::mutex queueMutex;  // in-process posts from the owner thread may arrive re-entrantly
  size_t refusedConnections = 0;
  size_t refusedFrames = 0;
  bool dispatching = false;

  ~State();
  void Enqueue(PendingMessage pending);
  void DispatchAll();
  void CloseConnection(int fd);
  void OnReadable(int fd);
};

namespace {

// Listeners of this process, so that the owner thread can reach its own window
// without a socket round trip (which would wait on itself).
std::mutex g_localMutex;
std::map<std::string, std::weak_ptr<WindowChannelListener::State>> g_localListeners;

std::shared_ptr<WindowChannelListener::State> LocalListenerOnThisThread(
    const std::string& endpoint) {
  std::lock_guard lock(g_localMutex);
  auto it = g_localListeners.find(endpoint);
  if (it == g_localListeners.end()) return nullptr;
  auto state = it->second.lock();
  if (!state || !g_main_context_is_owner(state->context)) return nullptr;
  return state;
}

gboolean DispatchCallback(gpointer data) {
  static_cast<WindowChannelListener::State*>(data)->DispatchAll();
  return G_SOURCE_REMOVE;
}

gboolean ReadCallback(gint fd, GIOCondition, gpointer data) {
  static_cast<WindowChannelListener::State*>(data)->OnReadable(fd);
  return G_SOURCE_CONTINUE;  // OnReadable destroys the source when done
}

gboolean IdleTimeoutCallback(gpointer data) {
  auto* connection = static_cast<Connection*>(data);
  WindowChannelListener::State* state = connection->state;
  state->refusedFrames++;
  state->CloseConnection(connection->rawFd);  // frees `connection`
  return G_SOURCE_REMOVE;
}

void DestroySource(GSource*& source) {
  if (source) {
    g_source_destroy(source);
    g_source_unref(source);
    source = nullptr;
  }
}

void SendResult(int fd, int64_t result) {
  uint8_t reply[8];
  for (int i = 0; i < 8; ++i) reply[i] = static_cast<uint8_t>(static_cast<uint64_t>(result) >> (8 * i));
  WriteAll(fd, reply, sizeof(reply));
}

gboolean AcceptCallback(gint, GIOCondition, gpointer data) {
  auto* state = static_cast<WindowChannelListener::State*>(data);
  for (;;) {
    UniqueFd fd(accept4(state->listenFd.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (fd.Get() < 0) break;
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    if (getsockopt(fd.Get(), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        credentials.uid != getuid() || state->connections.size() >= kMaxOpenConnections) {
      state->refusedConnections++;
      continue;
    }
    auto connection = std::make_unique<Connection>();
    int raw = fd.Get();
    connection->fd = std::move(fd);
    connection->readSource = g_unix_fd_source_new(raw, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR));
    g_source_set_callback(connection->readSource, G_SOURCE_FUNC(ReadCallback), state, nullptr);
    g_source_attach(connection->readSource, state->context);
    connection->timeoutSource = g_timeout_source_new(kIdleConnectionTimeoutMs);
    connection->state = state;
    connection->rawFd = raw;
    g_source_set_callback(connection->timeoutSource, IdleTimeoutCallback, connection.get(),
                          nullptr);
    g_source_attach(connection->timeoutSource, state->context);
    state->connections[raw] = std::move(connection);
  }
  return G_SOURCE_CONTINUE;
}

}  // namespace

WindowChannelListener::State::~State() {
  for (auto& [fd, connection] : connections) {
    DestroySource(connection->readSource);
    DestroySource(connection->timeoutSource);
  }
  DestroySource(acceptSource);
  DestroySource(dispatchSource);
  if (context) g_main_context_unref(context);
}

void WindowChannelListener::State::CloseConnection(int fd) {
  auto it = connections.find(fd);
  if (it == connections.end()) return;
  DestroySource(it->second->readSource);
  DestroySource(it->second->timeoutSource);
  connections.erase(it);
}

void WindowChannelListener::State::OnReadable(int fd) {
  auto it = connections.find(fd);
  if (it == connections.end()) return;
  Connection& c = *it->second;
  uint8_t chunk[65536];
  for (;;) {
    ssize_t n = recv(fd, chunk, sizeof(chunk), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (n <= 0) {
      // The peer hung up: a lookup probe when nothing came, else a cut frame.
      if (!c.buffer.empty()) refusedFrames++;
      CloseConnection(fd);
      return;
    }
    c.buffer.insert(c.buffer.end(), chunk, chunk + n);
    ChannelFrame frame;
    FrameStatus status = ParseChannelFrame(c.buffer.data(), c.buffer.size(), &frame);
    if (status == FrameStatus::kIncomplete) continue;
    if (status == FrameStatus::kInvalid) {
      refusedFrames++;
      CloseConnection(fd);
      return;
    }
    PendingMessage pending;
    pending.message = std::move(frame.message);
    pending.wantsReply = frame.wantsReply;
    UniqueFd connectionFd = std::move(c.fd);
    CloseConnection(fd);
    if (pending.wantsReply) {
      pending.replyTo = std::move(connectionFd);
    } else {
      SendResult(connectionFd.Get(), 0);  // queued: the poster may go on
    }
    Enqueue(std::move(pending));
    return;
  }
}

void WindowChannelListener::State::Enqueue(PendingMessage pending) {
  std::lock_guard lock(queueMutex);
  queue.push_back(std::move(pending));
  if (!dispatchSource) {
    dispatchSource = g_idle_source_new();
    g_source_set_priority(dispatchSource, G_PRIORITY_DEFAULT);
    g_source_set_callback(dispatchSource, DispatchCallback, this, nullptr);
    g_source_attach(dispatchSource, context);
  }
}

void WindowChannelListener::State::DispatchAll() {
  {
    std::lock_guard lock(queueMutex);
    if (dispatchSource) {
      g_source_unref(dispatchSource);
      dispatchSource = nullptr;
    }
  }
  if (dispatching) return;  // a nested loop inside the procedure: wait for it
  dispatching = true;
  for (;;) {
    PendingMessage pending;
    {
      std::lock_guard lock(queueMutex);
      if (queue.empty()) break;
      pending = std::move(queue.front());
      queue.pop_front();
    }
    int64_t result = procedure ? procedure(pending.message) : 0;
    if (pending.wantsReply) SendResult(pending.replyTo.Get(), result);
  }
  dispatching = false;
}

std::unique_ptr<WindowChannelListener> WindowChannelListener::Create(
    const std::string& windowClass, const std::string& title, Procedure procedure,
    GMainContext* context) {
  auto state = std::make_shared<State>();
  state->endpoint = ChannelEndpointName(windowClass, title);
  state->procedure = std::move(procedure);
  state->context = context ? context : g_main_context_ref_thread_default();
  if (context) g_main_context_ref(context);

  sockaddr_un address;
  socklen_t length;
  if (!MakeAddress(state->endpoint, &address, &length)) return nullptr;
  state->listenFd = UniqueFd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (state->listenFd.Get() < 0 ||
      bind(state->listenFd.Get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(state->listenFd.Get(), 64) != 0)
    return nullptr;
  state->acceptSource = g_unix_fd_source_new(state->listenFd.Get(), G_IO_IN);
  g_source_set_callback(state->acceptSource, G_SOURCE_FUNC(AcceptCallback), state.get(), nullptr);
  g_source_attach(state->acceptSource, state->context);
  {
    std::lock_guard lock(g_localMutex);
    g_localListeners[state->endpoint] = state;
  }
  return std::make_unique<WindowChannelListener>(state);
}

WindowChannelListener::WindowChannelListener(std::shared_ptr<State> state)
    : state_(std::move(state)) {}

WindowChannelListener::~WindowChannelListener() {
  {
    std::lock_guard lock(g_localMutex);
    g_localListeners.erase(state_->endpoint);
  }
}

const std::string& WindowChannelListener::Endpoint() const { return state_->endpoint; }
size_t WindowChannelListener::RefusedConnections() const { return state_->refusedConnections; }
size_t WindowChannelListener::RefusedFrames() const { return state_->refusedFrames; }

// ---------------------------------------------------------------- clients

std::string ChannelEndpointName(const std::string& windowClass, const std::string& title) {
  // A window lives on one desktop: the display is part of its identity.
  const char* display = g_getenv("DISPLAY");
  if (!display) display = g_getenv("WAYLAND_DISPLAY");
  std::string name = "vorna-wm/" + windowClass + "/" + std::to_string(getuid()) + "/" +
                     (display ? display : "") + "/" + title;
  if (name.size() > 100) {
    // Keep the abstract name within sun_path; a digest keeps it unique.
    gchar* digest = g_compute_checksum_for_string(G_CHECKSUM_SHA256, name.c_str(), -1);
    name = "vorna-wm/" + std::to_string(getuid()) + "/" + digest;
    g_free(digest);
  }
  return name;
}

WindowHandle FindWindowByClassAndTitle(const std::string& windowClass, const std::string& title) {
  std::string endpoint = ChannelEndpointName(windowClass, title);
  {
    std::lock_guard lock(g_localMutex);
    auto it = g_localListeners.find(endpoint);
    if (it != g_localListeners.end() && !it->second.expired()) return WindowHandle{endpoint};
  }
  if (Connect(endpoint).Get() < 0) return WindowHandle{};
  return WindowHandle{endpoint};
}

WindowHandle FindMainWindow() { return FindWindowByClassAndTitle(kWindowClass, MainWindowTitle()); }

namespace {

bool Deliver(const WindowHandle& window, bool wantsReply, const WindowMessage& message,
             int64_t* result) {
  *result = 0;
  if (!window || message.payload.size() > kMaxChannelPayload) return false;
  if (auto local = LocalListenerOnThisThread(window.endpoint)) {
    if (wantsReply) {
      *result = local->procedure ? local->procedure(message) : 0;
    } else {
      PendingMessage pending;
      pending.message = message;
      local->Enqueue(std::move(pending));
    }
    return true;
  }
  UniqueFd fd = Connect(window.endpoint);
  if (fd.Get() < 0) return false;
  std::vector<uint8_t> frame = EncodeChannelFrame(wantsReply, message);
  if (!WriteAll(fd.Get(), frame.data(), frame.size())) return false;
  return ReadReply(fd.Get(), wantsReply ? kSendReplyTimeoutMs : kPostAckTimeoutMs, result);
}

}  // namespace

bool PostWindowMessage(const WindowHandle& window, uint32_t message, uint64_t wParam,
                       int64_t lParam) {
  int64_t ignored;
  return Deliver(window, false, WindowMessage{message, wParam, lParam, 0, {}}, &ignored);
}

int64_t SendWindowMessage(const WindowHandle& window, uint32_t message, uint64_t wParam,
                          int64_t lParam) {
  int64_t result;
  Deliver(window, true, WindowMessage{message, wParam, lParam, 0, {}}, &result);
  return result;
}

int64_t SendCopyData(const WindowHandle& window, uint64_t wParam, uint64_t copyDataKind,
                     const void* data, size_t size) {
  WindowMessage m{kWmCopyData, wParam, 0, copyDataKind, {}};
  if (size > kMaxChannelPayload) return 0;
  const auto* bytes = static_cast<const uint8_t*>(data);
  m.payload.assign(bytes, bytes + size);
  int64_t result;
  Deliver(window, true, m, &result);
  return result;
}

}  // namespace vorna
