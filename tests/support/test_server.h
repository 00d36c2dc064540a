#pragma once
// A local HTTP server on 127.0.0.1 at a free port, serving on its own thread.
#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>

namespace vorna::test {

class TestServer {
 public:
  TestServer() = default;
  ~TestServer() { Stop(); }
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  httplib::Server& Http() { return server_; }  // add handlers before Start
  void Start() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  void Stop() {
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }
  int Port() const { return port_; }
  std::string Origin() const { return "http://127.0.0.1:" + std::to_string(port_); }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
};

}  // namespace vorna::test
