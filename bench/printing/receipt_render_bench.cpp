// Time to turn a realistic receipt template into printer bytes: header, item
// rows with Chinese names, lines and totals, on 58 and 80 mm, in the tab
// layout of 76 mm, and a very long receipt.
#include <benchmark/benchmark.h>

#include <string>

#include "app/text_encoding.h"
#include "printing/receipt.h"

namespace {

std::string Block(const std::string& attributeSet, const std::string& content) {
  return "<!--table \"" + attributeSet + "\">" + content + "</table-->";
}

std::u16string Receipt(int items) {
  static const char* const kNames[] = {"有机香蕉", "进口车厘子礼盒装特级大果", "纯牛奶",
                                       "全麦面包切片", "农夫山泉饮用天然水550ml", "鸡蛋"};
  std::string t = "<html><body>";
  t += Block("dwh middle", "维尔纳便利店") + Block("middle", "第_LIAN_NUM_联") +
       Block("", "订单号：20261211-000123") + Block("", "时间：2026-12-11 09:41") +
       Block("dividing", "") + Block("td w40 bold", "商品") + Block("td w20 middle", "数量") +
       Block("td w20 right", "单价") + Block("td w20 right", "金额") + Block("tr", "");
  for (int i = 0; i < items; ++i) {
    const std::string price = std::to_string(3 + i % 17) + "." + std::to_string(10 + i % 90);
    t += Block("td w40", kNames[i % 6]) + Block("td w20 middle", std::to_string(1 + i % 4));
    if (i % 3 != 0) t += Block("td w20 right", price);  // some rows have three cells
    t += Block("td w20 right", price) + Block("tr", "");
  }
  t += Block("dividing", "=") + Block("joint", "*合计") + Block("right bold", "应收：1234.50") +
       Block("right", "实收：1300.00") + Block("right", "找零：65.50") + Block("dividing", "") +
       Block("middle", "谢谢惠顾，欢迎再次光临") + Block("br", "") + "</body></html>";
  return vorna::Utf8ToUtf16(t);
}

void RenderOnPaper(benchmark::State& state, int paper, int items) {
  vorna::SetPrinterCodePage(vorna::kCodePageGbk);
  const std::u16string receipt = Receipt(items);
  vorna::ReceiptRenderOptions options;
  options.paperWidth = paper;
  options.log = [](const std::u16string&) {};
  size_t bytes = 0;
  for (auto _ : state) {
    vorna::RenderedReceipt rendered = vorna::RenderReceipt(receipt, options);
    std::string copy = vorna::SubstituteCopyNumber(rendered.bytes, 1);
    bytes = copy.size();
    benchmark::DoNotOptimize(copy);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetItemsProcessed(state.iterations());
}

void BM_Receipt30Items58mm(benchmark::State& s) { RenderOnPaper(s, 58, 30); }
void BM_Receipt30Items80mm(benchmark::State& s) { RenderOnPaper(s, 80, 30); }
void BM_Receipt30ItemsTabLayout76mm(benchmark::State& s) { RenderOnPaper(s, 76, 30); }
void BM_Receipt500Items58mm(benchmark::State& s) { RenderOnPaper(s, 58, 500); }

BENCHMARK(BM_Receipt30Items58mm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Receipt30Items80mm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Receipt30ItemsTabLayout76mm)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Receipt500Items58mm)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
