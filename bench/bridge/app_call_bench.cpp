// Calls per second of app functions on a bare JavaScriptCore context with
// stand-in devices: the bridge's own cost per call, without a page or display.
#include <benchmark/benchmark.h>
#include <jsc/jsc.h>

#include "bridge/app_object.h"
#include "bridge_fakes.h"

namespace vorna {
namespace {

constexpr int kCallsPerIteration = 1000;

void RunCalls(benchmark::State& state, const char* call) {
  test::FakeChannel channel;
  test::FakeDesktop desktop;
  AbsentDevices devices;
  AppExtensionHandler handler(channel, desktop, devices, u"https://shop.example/master/login");
  JSCContext* context = jsc_context_new();
  DefineAppObject(context, handler);
  std::string source = std::string("(function (n) { for (var i = 0; i < n; i++) ") + call + "; })";
  JSCValue* loop = jsc_context_evaluate(context, source.c_str(), -1);
  for (auto _ : state) {
    JSCValue* done = jsc_value_function_call(loop, G_TYPE_INT, kCallsPerIteration, G_TYPE_NONE);
    g_object_unref(done);
  }
  state.SetItemsProcessed(state.iterations() * kCallsPerIteration);
  g_object_unref(loop);
  g_object_unref(context);
}

void BM_IntegerResult(benchmark::State& state) { RunCalls(state, "app.getScreenCount()"); }
void BM_BooleanResult(benchmark::State& state) { RunCalls(state, "app.isReadCompletion()"); }
void BM_StringResult(benchmark::State& state) { RunCalls(state, "app.getSoftInfo()"); }
void BM_ObjectResult(benchmark::State& state) { RunCalls(state, "app.isHasCard(true)"); }
void BM_RejectedArguments(benchmark::State& state) { RunCalls(state, "app.setRFPower('1')"); }
void BM_ObjectArgument(benchmark::State& state) {
  RunCalls(state, "app.writeDataToTag({number: 1, price: 2.5, name: 'apple'})");
}
BENCHMARK(BM_IntegerResult);
BENCHMARK(BM_BooleanResult);
BENCHMARK(BM_StringResult);
BENCHMARK(BM_ObjectResult);
BENCHMARK(BM_RejectedArguments);
BENCHMARK(BM_ObjectArgument);

}  // namespace
}  // namespace vorna

BENCHMARK_MAIN();
