#include "printing/print_thread.h"

#include <chrono>
#include <system_error>
#include <thread>

#include "log/log.h"
#include "printing/print_messages.h"
#include "printing/print_queue.h"
#include "printing/printer_locator.h"
#include "platform/window_channel.h"

namespace vorna {

void PostPrintFeedback(int resultCode) {
  PostWindowMessage(FindMainWindow(), kUmPrintFeedback, 0, resultCode);
}

void RunPrintThread(PrintQueue& queue, PrinterLocator& locator, const ReceiptRendering& rendering,
                    const PrintFeedback& feedback) {
  ReceiptPrinter printer(locator, rendering);
  locator.refresh();
  for (;;) {
    PrintJob job = queue.pop();
    switch (job.type) {
      case kPrintJobReceipt: {
        int result = printer.printJob(job.templateText, job.paperWidth, job.copies);
        if (feedback) feedback(result);
        break;
      }
      case kPrintJobOpenCashDrawer:
        printer.openCashDrawer();
        break;
      case kPrintJobFindPrinters:
        locator.refresh();
        break;
      case kPrintJobStop:
        return;
      default:
        break;
    }
  }
}

bool StartPrintThread(ReceiptRendering rendering, PrintFeedback feedback) {
  try {
    std::thread thread([rendering = std::move(rendering), feedback = std::move(feedback)] {
      PrinterLocator locator;
      RunPrintThread(ThePrintQueue(), locator, rendering, feedback);
    });
    thread.detach();
    return true;
  } catch (const std::system_error&) {
    WriteSoftwareLog(u"启动打印线程失败");
    return false;
  }
}

bool StartPrintThread() { return StartPrintThread(DefaultReceiptRendering(), PostPrintFeedback); }

void StopPrintThread() {
  PrintJob stop;
  stop.type = kPrintJobStop;
  ThePrintQueue().push(stop);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

}  // namespace vorna
