#include "platform/window_channel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <random>
#include <thread>
#include <vector>

namespace vorna {
namespace {

// A listener dispatching on this test's own main context.
class ChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context_ = g_main_context_new();
    g_main_context_push_thread_default(context_);
    title_ = "test window " + std::to_string(getpid()) + " " +
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    listener_ = WindowChannelListener::Create("TESTCLASS", title_, [this](const WindowMessage& m) {
      received_.push_back(m);
      return procedure_ ? procedure_(m) : int64_t{0};
    });
    ASSERT_TRUE(listener_);
    window_ = FindWindowByClassAndTitle("TESTCLASS", title_);
    ASSERT_TRUE(window_);
  }
  void TearDown() override {
    listener_.reset();
    g_main_context_pop_thread_default(context_);
    g_main_context_unref(context_);
  }
  // Runs the loop until `done` holds or a generous bound passes.
  bool RunUntil(const std::function<bool()>& done) {
    gint64 deadline = g_get_monotonic_time() + 20 * G_USEC_PER_SEC;
    while (!done() && g_get_monotonic_time() < deadline) {
      g_main_context_iteration(context_, FALSE);
      g_usleep(200);
    }
    return done();
  }
  // A raw connection, for frames no client of ours would write.
  int RawConnect() {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string& name = listener_->Endpoint();
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    connect(fd, reinterpret_cast<sockaddr*>(&address),
            static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size()));
    return fd;
  }

  static std::string FrameHeader(uint32_t magic, uint8_t kind, uint32_t payloadSize) {
    std::string h(40, '\0');
    std::memcpy(h.data(), &magic, 4);
    h[4] = static_cast<char>(kind);
    std::memcpy(h.data() + 36, &payloadSize, 4);
    return h;
  }

  GMainContext* context_ = nullptr;
  std::string title_;
  std::unique_ptr<WindowChannelListener> listener_;
  WindowHandle window_;
  std::vector<WindowMessage> received_;
  std::function<int64_t(const WindowMessage&)> procedure_;
};

TEST_F(ChannelTest, PostedMessagesArriveInOrderFromEachSender) {
  constexpr int kCount = 150;
  std::vector<std::thread> senders;
  for (int sender = 0; sender < 2; ++sender)
    senders.emplace_back([this, sender] {
      for (int i = 0; i < kCount; ++i) PostWindowMessage(window_, 32601 + sender, i, -i);
    });
  ASSERT_TRUE(RunUntil([&] { return received_.size() == 2 * kCount; }));
  for (auto& t : senders) t.join();
  int64_t next[2] = {0, 0};
  for (const auto& m : received_) {
    int sender = static_cast<int>(m.message - 32601);
    ASSERT_EQ(m.wParam, static_cast<uint64_t>(next[sender]));
    ASSERT_EQ(m.lParam, -next[sender]);
    ++next[sender];
  }
}

TEST_F(ChannelTest, SendReturnsTheProcedureResultAndCopyDataArrivesIntact) {
  procedure_ = [](const WindowMessage& m) -> int64_t {
    if (m.message == kWmCopyData) return static_cast<int64_t>(m.payload.size()) + 30;
    return static_cast<int64_t>(m.wParam) * 2 + m.lParam;
  };
  std::vector<uint8_t> payload(300000);
  std::mt19937 random(7);
  for (auto& b : payload) b = static_cast<uint8_t>(random());
  std::atomic<int64_t> sendResult{-1}, copyResult{-1};
  std::thread sender([&] {
    sendResult = SendWindowMessage(window_, 32608, 21, 3);
    copyResult = SendCopyData(window_, 6326, 6326, payload.data(), payload.size());
  });
  ASSERT_TRUE(RunUntil([&] { return copyResult != -1; }));
  sender.join();
  EXPECT_EQ(sendResult, 45);
  EXPECT_EQ(copyResult, static_cast<int64_t>(payload.size()) + 30);
  ASSERT_EQ(received_.size(), 2u);
  EXPECT_EQ(received_[1].wParam, 6326u);
  EXPECT_EQ(received_[1].copyDataKind, 6326u);
  EXPECT_EQ(received_[1].payload, payload);
}

TEST_F(ChannelTest, OwnerThreadSendsDirectlyAndPostsInOrder) {
  procedure_ = [](const WindowMessage& m) { return static_cast<int64_t>(m.wParam) + 1; };
  EXPECT_EQ(SendWindowMessage(window_, 32608, 41, 0), 42);
  EXPECT_TRUE(PostWindowMessage(window_, 32606, 1, 0));
  EXPECT_TRUE(PostWindowMessage(window_, 32606, 2, 0));
  ASSERT_TRUE(RunUntil([&] { return received_.size() == 3; }));
  EXPECT_EQ(received_[1].wParam, 1u);
  EXPECT_EQ(received_[2].wParam, 2u);
}

TEST_F(ChannelTest, OnlyOneWindowHoldsAnIdentity) {
  EXPECT_FALSE(WindowChannelListener::Create("TESTCLASS", title_, nullptr));
  EXPECT_FALSE(FindWindowByClassAndTitle("TESTCLASS", title_ + " other"));
  EXPECT_FALSE(PostWindowMessage(WindowHandle{}, 32601, 0, 0));
  EXPECT_EQ(SendWindowMessage(FindWindowByClassAndTitle("NOCLASS", "none"), 1, 2, 3), 0);
}

TEST_F(ChannelTest, PeerOfAnotherUserIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    // A well-formed post over the socket: refused means no acknowledgement.
    int fd = RawConnect();
    std::string frame = FrameHeader(0x434D5756, 1, 0);
    if (write(fd, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) _exit(4);
    char ack[8];
    _exit(read(fd, ack, sizeof(ack)) > 0 ? 1 : 0);
  }
  int status = -1;
  bool ended = false;
  ASSERT_TRUE(RunUntil([&] { return ended || (ended = waitpid(child, &status, WNOHANG) == child); }));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the foreign post must not be acknowledged";
  EXPECT_EQ(listener_->RefusedConnections(), 1u);
  EXPECT_TRUE(received_.empty());
}

TEST_F(ChannelTest, GarbageFramesAreRefusedAndTheChannelGoesOn) {
  auto header = FrameHeader;
  const std::string frames[] = {
      std::string(64, '\x7f'),                                // noise
      header(0x12345678, 1, 0),                               // wrong magic
      header(0x434D5756, 9, 0),                               // unknown kind
      header(0x434D5756, 1, 0x7FFFFFFF),                      // oversized
      header(0x434D5756, 1, 10) + "abc",                      // cut short
      header(0x434D5756, 1, 0) + "trailing bytes beyond it",  // longer than it says
  };
  size_t refused = 0;
  for (const std::string& frame : frames) {
    int fd = RawConnect();
    ASSERT_EQ(write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    shutdown(fd, SHUT_WR);
    ++refused;
    EXPECT_TRUE(RunUntil([&] { return listener_->RefusedFrames() == refused; }))
        << "frame " << refused;
    close(fd);
  }
  std::atomic<bool> posted{false};
  std::thread poster([&] { posted = PostWindowMessage(window_, 32607, 0, 0); });
  ASSERT_TRUE(RunUntil([&] { return received_.size() == 1; }));
  poster.join();
  EXPECT_TRUE(posted);
  EXPECT_EQ(received_[0].message, 32607u);
}

TEST_F(ChannelTest, AConnectionThatStallsIsDroppedAndTheChannelGoesOn) {
  int fd = RawConnect();
  std::string half = FrameHeader(0x434D5756, 1, 8).substr(0, 20);
  ASSERT_EQ(write(fd, half.data(), half.size()), static_cast<ssize_t>(half.size()));
  EXPECT_TRUE(RunUntil([&] { return listener_->RefusedFrames() == 1; }));  // after about 5 s
  char byte;
  EXPECT_EQ(read(fd, &byte, 1), 0) << "the listener closes its end";
  close(fd);
  std::atomic<bool> posted{false};
  std::thread poster([&] { posted = PostWindowMessage(window_, 32605, 0, 0); });
  ASSERT_TRUE(RunUntil([&] { return received_.size() == 1; }));
  poster.join();
  EXPECT_TRUE(posted);
}

}  // namespace
}  // namespace vorna
