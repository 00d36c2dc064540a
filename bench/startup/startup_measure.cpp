// Measures, over several runs of the real client against a local page:
// the time from starting the process to the end of the first page's load
// (the page reports its load event), and the resident memory of the browser
// process, the web process and the network process once the page is shown.
//
//   scripts/with-display.sh build-browser/bench/startup_measure [runs]
#include <dirent.h>
#include <glib.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "client_harness.h"
#include "test_server.h"

namespace {

using vorna::test::ClientHarness;
using vorna::test::WaitFor;

struct Memory {
  long browserKb = 0, webKb = 0, networkKb = 0;
};

std::string StatusField(int pid, const std::string& key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key + ":", 0) == 0) {
      std::string value = line.substr(key.size() + 1);
      value.erase(0, value.find_first_not_of(" \t"));
      return value;
    }
  return "";
}

long ResidentKb(int pid) { return std::atol(StatusField(pid, "VmRSS").c_str()); }

Memory MeasureMemory(int browserPid) {
  Memory memory;
  memory.browserKb = ResidentKb(browserPid);
  DIR* proc = opendir("/proc");
  if (!proc) return memory;
  while (dirent* entry = readdir(proc)) {
    int pid = std::atoi(entry->d_name);
    if (pid <= 0 || std::atoi(StatusField(pid, "PPid").c_str()) != browserPid) continue;
    std::string name = StatusField(pid, "Name");
    if (name.find("WebProces") != std::string::npos) memory.webKb += ResidentKb(pid);
    else if (name.find("NetworkPr") != std::string::npos) memory.networkKb += ResidentKb(pid);
  }
  closedir(proc);
  return memory;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::atomic<gint64> loadEnd{0};
  vorna::test::TestServer server;
  server.Http().Get("/master/login", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(
        "<html><head><title>login</title></head><body><h1>登录</h1><p>simple page</p>"
        "<script>addEventListener('load', () => fetch('/loaded'));</script></body></html>",
        "text/html");
  });
  server.Http().Get("/loaded", [&](const httplib::Request&, httplib::Response& res) {
    loadEnd = g_get_monotonic_time();
    res.set_content("ok", "text/plain");
  });
  server.Start();

  std::vector<double> times, browser, web, network;
  std::printf("run  load_end_ms  browser_rss_mb  web_rss_mb  network_rss_mb\n");
  for (int run = 1; run <= runs; ++run) {
    ClientHarness client;  // fresh program, profile and XDG folders each run
    client.WriteDeployment(server.Origin());
    loadEnd = 0;
    gint64 start = g_get_monotonic_time();
    client.Start();
    if (!WaitFor([&] { return loadEnd.load() != 0; }, 60)) {
      std::fprintf(stderr, "run %d: the page did not finish loading\n", run);
      return 1;
    }
    double ms = (loadEnd - start) / 1000.0;
    g_usleep(1000 * 1000);  // let the processes settle after the load
    Memory m = MeasureMemory(client.Pid());
    times.push_back(ms);
    browser.push_back(m.browserKb / 1024.0);
    web.push_back(m.webKb / 1024.0);
    network.push_back(m.networkKb / 1024.0);
    std::printf("%3d  %11.0f  %14.1f  %10.1f  %14.1f\n", run, ms, browser.back(), web.back(),
                network.back());
    kill(client.Pid(), SIGTERM);  // closes the windows the normal way
    if (client.WaitForExit(30) != 0) client.Kill();
  }
  std::printf("median %9.0f  %14.1f  %10.1f  %14.1f\n", Median(times), Median(browser),
              Median(web), Median(network));
  return 0;
}
