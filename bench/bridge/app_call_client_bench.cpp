// Calls per second of a cheap app function from the page in the real client,
// timed by the page itself. Needs a display (scripts/with-display.sh).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <mutex>

#include "client_harness.h"
#include "test_server.h"

namespace vorna {
namespace {

constexpr int kCalls = 20000;

void PageCalls(benchmark::State& state, const std::string& call) {
  if (!getenv("DISPLAY")) {
    state.SkipWithError("needs a display");
    return;
  }
  std::mutex lock;
  std::string elapsedMs;
  test::TestServer server;
  const std::string page =
      "<html><body><script>var n=" + std::to_string(kCalls) +
      ";for(var w=0;w<1000;w++)" + call +  // warm up
      ";var start=performance.now();for(var i=0;i<n;i++)" + call +
      ";var ms=performance.now()-start;var r=new XMLHttpRequest();"
      "r.open('GET','/done?ms='+ms);r.send();</script></body></html>";
  server.Http().Get("/master/login", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content(page, "text/html; charset=utf-8");
  });
  server.Http().Get("/done", [&](const httplib::Request& request, httplib::Response&) {
    std::lock_guard<std::mutex> guard(lock);
    elapsedMs = request.get_param_value("ms");
  });
  server.Start();

  test::ClientHarness client;
  client.WriteDeployment(server.Origin());
  for (auto _ : state) {
    client.Start();
    bool done = test::WaitFor([&] {
      std::lock_guard<std::mutex> guard(lock);
      return !elapsedMs.empty();
    }, 120);
    client.Kill();
    if (!done) {
      state.SkipWithError("the page did not report");
      return;
    }
    double ms = std::stod(elapsedMs);
    state.SetIterationTime(ms / 1000.0 / kCalls);  // per call
    state.counters["calls_per_s"] = kCalls / (ms / 1000.0);
  }
}

void BM_PageIsReadCompletion(benchmark::State& state) {
  PageCalls(state, "app.isReadCompletion()");
}
void BM_PageGetSoftInfo(benchmark::State& state) { PageCalls(state, "app.getSoftInfo()"); }
BENCHMARK(BM_PageIsReadCompletion)->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageGetSoftInfo)->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorna

BENCHMARK_MAIN();
