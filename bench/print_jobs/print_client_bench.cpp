// The page's view of printing in the real client: from app.printInvoice to
// the printInvoiceFeedBack callback, for a 30-row receipt on a lab printer.
// Needs a display (scripts/with-display.sh).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <sstream>

#include "client_harness.h"
#include "test_server.h"

namespace vorna {
namespace {

std::string ThirtyRowTemplate() {
  std::string text =
      "<!--table \\\"middle dwh bold\\\">小店收据</table--><!--table \\\"dividing\\\"></table-->";
  for (int row = 1; row <= 30; ++row) {
    std::string n = std::to_string(row);
    text += "<!--table \\\"td w40\\\">进口红富士苹果" + n + "号</table-->" +
            "<!--table \\\"td w20\\\">" + n + "</table--><!--table \\\"td w20\\\">12.50</table-->" +
            "<!--table \\\"td w20 right\\\">" + std::to_string(row * 12) + ".50</table-->";
  }
  return text + "<!--table \\\"tr\\\"></table--><!--table \\\"joint\\\">合计</table-->";
}

void BM_PageCallToFeedback(benchmark::State& state) {
  if (!getenv("DISPLAY")) {
    state.SkipWithError("needs a display");
    return;
  }
  constexpr int kCalls = 50;
  std::mutex lock;
  std::string report;
  test::TestServer server;
  const std::string page =
      "<html><body><script>var t=\"" + ThirtyRowTemplate() +
      "\";var times=[],start=0,n=0;"
      "function next(){start=performance.now();app.printInvoice('A'+n,t,1,80);}"
      "function printInvoiceFeedBack(o,c){times.push(performance.now()-start);"
      "if(++n<" + std::to_string(kCalls) + ")next();else{var r=new XMLHttpRequest();"
      "r.open('GET','/done?times='+times.join(','));r.send();}}"
      "next();</script></body></html>";
  server.Http().Get("/master/login", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content(page, "text/html; charset=utf-8");
  });
  server.Http().Get("/done", [&](const httplib::Request& request, httplib::Response&) {
    std::lock_guard<std::mutex> guard(lock);
    report = request.get_param_value("times");
  });
  server.Start();

  test::ClientHarness client;
  client.WriteDeployment(server.Origin());
  std::system(("VORNA_DEVICE_LAB=" + client.DeviceLab() + " " + client.ProgramDir() +
               "vorna-lab printer add till >/dev/null")
                  .c_str());
  for (auto _ : state) {
    client.Start();
    bool done = test::WaitFor([&] {
      std::lock_guard<std::mutex> guard(lock);
      return !report.empty();
    }, 120);
    client.Kill();
    if (!done) {
      state.SkipWithError("no feedback from the page");
      return;
    }
    std::vector<double> times;
    std::stringstream items(report);
    for (std::string item; std::getline(items, item, ',');) times.push_back(std::stod(item));
    double sum = 0, low = times[0], high = times[0];
    for (double t : times) sum += t, low = std::min(low, t), high = std::max(high, t);
    state.SetIterationTime(sum / times.size() / 1000.0);
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    state.counters["first_ms"] = times[0];
    state.counters["median_ms"] = sorted[sorted.size() / 2];
    state.counters["min_ms"] = low;
    state.counters["max_ms"] = high;
    state.counters["calls"] = static_cast<double>(times.size());
  }
}
BENCHMARK(BM_PageCallToFeedback)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorna

BENCHMARK_MAIN();
