// Print jobs: from the page's print request to the feedback script for a
// 30-row receipt on a lab printer, and dithering a 384 x 384 picture.
#include <benchmark/benchmark.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <random>
#include <thread>

#include "app/paths.h"
#include "app/text_encoding.h"
#include "platform/usb_printers.h"
#include "platform/window_channel.h"
#include "printing/print_messages.h"
#include "printing/print_queue.h"
#include "printing/print_request.h"
#include "printing/print_thread.h"
#include "printing/printer_locator.h"
#include "printing/receipt_image.h"

namespace vorna {
namespace {

std::u16string ThirtyRowReceipt() {
  std::string text =
      "<!--table \"middle dwh bold\">小店收据</table--><!--table \"br\"></table-->"
      "<!--table \"left\">单号：A1 第_LIAN_NUM_联</table--><!--table \"dividing\"></table-->"
      "<!--table \"td w40\">商品</table--><!--table \"td w20\">数量</table-->"
      "<!--table \"td w20\">单价</table--><!--table \"td w20 right\">金额</table-->";
  for (int row = 1; row <= 30; ++row) {
    std::string n = std::to_string(row);
    text += "<!--table \"td w40\">进口红富士苹果" + n + "号</table--><!--table \"td w20\">" + n +
            "</table--><!--table \"td w20\">12.50</table--><!--table \"td w20 right\">" +
            std::to_string(row * 12) + ".50</table-->";
  }
  text += "<!--table \"tr\"></table--><!--table \"dividing\"></table-->"
          "<!--table \"joint\">合计 4650.00</table--><!--table \"br\"></table-->";
  return Utf8ToUtf16(text);
}

std::string MakeTempDir() {
  char pattern[] = "/tmp/vorna-print-bench-XXXXXX";
  return std::string(mkdtemp(pattern)) + "/";
}

// The renderer's request travels over the window channel to a listener that
// stands in for the main window; the print thread writes to a lab printer and
// posts its feedback back over the channel.
void BM_PrintInvoiceToFeedback(benchmark::State& state) {
  const std::string dir = MakeTempDir();
  mkdir((dir + "log").c_str(), 0755);
  SetProgramDirectory(dir);
  setenv("VORNA_DEVICE_LAB", (dir + "lab").c_str(), 1);
  g_mkdir_with_parents((dir + "lab/printers").c_str(), 0755);
  {
    FILE* printer = fopen((dir + "lab/printers/bench").c_str(), "w");
    fclose(printer);
  }

  PrintQueue queue;
  std::mutex lock;
  std::condition_variable fed;
  int feedbacks = 0;
  std::u16string lastScript;

  GMainContext* context = g_main_context_new();
  const std::string title = "print bench " + std::to_string(getpid());
  auto listener = WindowChannelListener::Create(
      "TILLSHELL-BENCH", title,
      [&](const WindowMessage& message) -> int64_t {
        auto reply = HandlePrintWindowMessage(queue, message, [&](const std::u16string& script) {
          std::lock_guard<std::mutex> guard(lock);
          lastScript = script;
          ++feedbacks;
          fed.notify_all();
        });
        return reply.value_or(0);
      },
      context);
  if (!listener) {
    state.SkipWithError("no channel");
    return;
  }
  std::atomic<bool> running{true};
  std::thread loop([&] {
    while (running) g_main_context_iteration(context, TRUE);
  });
  WindowHandle window = FindWindowByClassAndTitle("TILLSHELL-BENCH", title);
  std::thread printer([&] {
    PrinterLocator locator(FindLabPrinterPaths);
    RunPrintThread(queue, locator, DefaultReceiptRendering(), [&](int code) {
      PostWindowMessage(FindWindowByClassAndTitle("TILLSHELL-BENCH", title), kUmPrintFeedback, 0,
                        code);
    });
  });

  const std::u16string receipt = ThirtyRowReceipt();
  for (auto _ : state) {
    std::vector<uint8_t> record = PackPrintRequest(80, 2, u"A1", receipt);
    int before;
    {
      std::lock_guard<std::mutex> guard(lock);
      before = feedbacks;
    }
    SendCopyData(window, kCopyDataPrintInvoice, kCopyDataPrintInvoice, record.data(), record.size());
    std::unique_lock<std::mutex> guard(lock);
    fed.wait(guard, [&] { return feedbacks > before; });
  }
  if (lastScript != u"printInvoiceFeedBack(\"A1\",\"0\");") state.SkipWithError("print failed");

  PrintJob stop;
  stop.type = kPrintJobStop;
  queue.push(stop);
  printer.join();
  running = false;
  g_main_context_wakeup(context);
  loop.join();
  listener.reset();
  g_main_context_unref(context);
  std::system(("rm -rf " + dir).c_str());
  unsetenv("VORNA_DEVICE_LAB");
}
BENCHMARK(BM_PrintInvoiceToFeedback)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Dither384(benchmark::State& state) {
  constexpr int kSide = 384;
  std::vector<uint8_t> source(kSide * kSide * 4);
  std::mt19937 random(7);
  for (uint8_t& byte : source) byte = static_cast<uint8_t>(random());
  std::vector<uint8_t> pixels;
  for (auto _ : state) {
    state.PauseTiming();
    pixels = source;
    state.ResumeTiming();
    DitherToBlackWhite(pixels.data(), kSide, kSide, kSide * 4, 4);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_Dither384)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorna

BENCHMARK_MAIN();
