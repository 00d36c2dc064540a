// vorna-demo-service [--port N] [--deployment FILE]
// Serves a cashier-style page at /master/login on 127.0.0.1 that calls every
// app function and shows results and callbacks. With --deployment it writes a
// deployment.ini pointing the client at itself.
#include <httplib.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "demo_page.h"

namespace {

std::string HeaderLines(const httplib::Request& request) {
  std::string lines;
  for (const char* name : {"My-Header", "My-Version", "User-Agent", "Accept-Language"}) {
    if (request.has_header(name))
      lines += std::string(name) + ": " + request.get_header_value(name) + "\n";
  }
  return lines;
}

bool WriteDeployment(const std::string& path, const std::string& origin) {
  std::ofstream file(path, std::ios::trunc);
  file << "[deployment]\nServiceOrigin=" << origin << "\nVendorSite=" << origin
       << "/vendor\nChannelHost=" << origin << "\n";
  return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
  int port = 8800;
  std::string deployment;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--port") && i + 1 < argc) {
      port = std::atoi(argv[++i]);
    } else if (!std::strcmp(argv[i], "--deployment") && i + 1 < argc) {
      deployment = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--port N] [--deployment FILE]\n", argv[0]);
      return 2;
    }
  }

  httplib::Server server;
  server.Get("/master/login", [](const httplib::Request& request, httplib::Response& response) {
    response.set_content(vorna::demo::CashierPage(HeaderLines(request)),
                         "text/html; charset=utf-8");
  });
  server.Get("/", [](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("/master/login");
  });
  // A second page for the frame that shows a frame has its own app.
  server.Get("/master/frame", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(
        "<!DOCTYPE html><meta charset=\"utf-8\"><body style=\"font:12px sans-serif\">"
        "<script>document.write('子框架: app ' + (typeof app) + ', ' + "
        "(typeof app === 'object' ? Object.keys(app).length : 0) + ' 个函数');</script>",
        "text/html; charset=utf-8");
  });

  if (port == 0) port = server.bind_to_any_port("127.0.0.1");
  else if (!server.bind_to_port("127.0.0.1", port)) {
    std::fprintf(stderr, "cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::string origin = "http://127.0.0.1:" + std::to_string(port);
  if (!deployment.empty() && !WriteDeployment(deployment, origin)) {
    std::fprintf(stderr, "cannot write %s\n", deployment.c_str());
    return 1;
  }
  std::printf("%s/master/login\n", origin.c_str());
  std::fflush(stdout);
  return server.listen_after_bind() ? 0 : 1;
}
