#include "printing/print_job_runner.h"

#include <exception>

#include "app/text_encoding.h"
#include "log/log.h"
#include "printing/printer_io.h"
#include "printing/printer_locator.h"

namespace vorna {
namespace {

constexpr char16_t kNoPrinter[] = u"无驱打印时，没有打印机连接电脑";

std::u16string Decimal(int value) { return Utf8ToUtf16(std::to_string(value)); }

void LogWriteFailure(const std::string& path, int error) {
  WriteSoftwareLog(Utf8ToUtf16(path) + u"  写入打印机失败，错误码：" + Decimal(error) + u" " +
                   SystemErrorText(error));
}

}  // namespace

ReceiptPrinter::ReceiptPrinter(PrinterLocator& locator, ReceiptRendering rendering)
    : locator_(locator), rendering_(std::move(rendering)) {}

int ReceiptPrinter::printJob(const std::u16string& templateText, int32_t paperWidth,
                             int32_t copies) {
  if (templateText.empty()) return kPrintOk;

  std::string path;
  if (!locator_.firstPath(path)) {
    WriteSoftwareLog(kNoPrinter);
    return kPrintNoPrinter;
  }
  int error = 0;
  PrinterDevice device = PrinterDevice::Open(path, error);
  if (!device.isOpen()) {
    WriteSoftwareLog(Utf8ToUtf16(path) + u"  打开打印机设备名失败，错误码：" + Decimal(error));
    return kPrintDeviceFailed;
  }
  if (copies < 1) copies = 1;

  try {
    std::string rendered;
    if (!rendering_.render || rendering_.render(templateText, paperWidth, rendered) != kPrintOk ||
        rendered.empty())
      return kPrintTemplateFailed;
    for (int copy = 1; copy <= copies; ++copy) {
      std::string bytes = rendered;
      if (rendering_.substituteCopyNumber) rendering_.substituteCopyNumber(bytes, copy);
      // A receipt that did not reach the printer must not be reported as printed.
      if (int writeError = device.write(bytes); writeError != 0) {
        LogWriteFailure(path, writeError);
        return kPrintDeviceFailed;
      }
    }
  } catch (const std::exception&) {
    return kPrintTemplateFailed;
  }
  return kPrintOk;
}

void ReceiptPrinter::openCashDrawer() {
  std::string path;
  if (!locator_.firstPath(path)) {
    WriteSoftwareLog(kNoPrinter);
    return;
  }
  int error = 0;
  PrinterDevice device = PrinterDevice::Open(path, error);
  if (!device.isOpen()) {
    WriteSoftwareLog(u"发送打开收银箱指令时，打开打印机设备名失败,错误码：" + Decimal(error));
    return;
  }
  if (int writeError = device.write(std::string(kOpenCashDrawerBytes, kOpenCashDrawerSize));
      writeError != 0)
    LogWriteFailure(path, writeError);
}

}  // namespace vorna
