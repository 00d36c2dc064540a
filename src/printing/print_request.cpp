#include "printing/print_request.h"

#include <algorithm>

#include "log/log.h"
#include "printing/print_messages.h"
#include "printing/print_queue.h"

namespace vorna {
namespace {

constexpr size_t kPaperWidthOffset = 0;
constexpr size_t kCopiesOffset = 4;
constexpr size_t kOrderNumberOffset = 8;
constexpr size_t kTemplateOffset = 136;
constexpr size_t kUnusedTail = 132;

void PutInt32(std::vector<uint8_t>& out, size_t offset, int32_t value) {
  uint32_t bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

void PutUnit(std::vector<uint8_t>& out, size_t offset, char16_t unit) {
  out[offset] = static_cast<uint8_t>(unit & 0xFF);
  out[offset + 1] = static_cast<uint8_t>(unit >> 8);
}

int32_t GetInt32(const uint8_t* data, size_t offset) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(data[offset + i]) << (8 * i);
  return static_cast<int32_t>(bits);
}

char16_t GetUnit(const uint8_t* data, size_t offset) {
  return static_cast<char16_t>(data[offset] | (data[offset + 1] << 8));
}

void AppendDecimal(std::u16string& out, int64_t value) {
  for (char c : std::to_string(value)) out.push_back(static_cast<char16_t>(c));
}

}  // namespace

std::vector<uint8_t> PackPrintRequest(int32_t paperWidth, int32_t copies,
                                      const std::u16string& orderNumber,
                                      const std::u16string& templateText) {
  std::vector<uint8_t> record(kPrintRequestFixedSize + 2 * templateText.size(), 0);
  PutInt32(record, kPaperWidthOffset, paperWidth);
  PutInt32(record, kCopiesOffset, copies);
  size_t orderUnits = std::min(orderNumber.size(), kOrderNumberUnits);
  for (size_t i = 0; i < orderUnits; ++i)
    PutUnit(record, kOrderNumberOffset + 2 * i, orderNumber[i]);
  for (size_t i = 0; i < templateText.size(); ++i)
    PutUnit(record, kTemplateOffset + 2 * i, templateText[i]);
  // The terminator and the unused tail are already zero.
  return record;
}

std::optional<PrintJob> ParsePrintRequest(const uint8_t* data, size_t size) {
  if (data == nullptr || size < kPrintRequestFixedSize) return std::nullopt;
  PrintJob job;
  job.type = kPrintJobReceipt;
  job.paperWidth = GetInt32(data, kPaperWidthOffset);
  job.copies = GetInt32(data, kCopiesOffset);
  for (size_t i = 0; i < kOrderNumberUnits; ++i) {
    char16_t unit = GetUnit(data, kOrderNumberOffset + 2 * i);
    if (unit == 0) break;
    job.orderNumber.push_back(unit);
  }
  // The template's terminator must lie before the unused tail.
  const size_t templateEnd = size - kUnusedTail;
  for (size_t offset = kTemplateOffset; offset + 2 <= templateEnd; offset += 2) {
    char16_t unit = GetUnit(data, offset);
    if (unit == 0) return job;
    job.templateText.push_back(unit);
  }
  return std::nullopt;
}

bool IsPrintInvoiceRequest(uint64_t copyDataKind, uint64_t wParam) {
  return copyDataKind == kCopyDataPrintInvoice && wParam == kCopyDataPrintInvoice;
}

int64_t HandlePrintInvoiceRequest(PrintQueue& queue, const uint8_t* data, size_t size) {
  std::optional<PrintJob> job = ParsePrintRequest(data, size);
  if (job)
    queue.push(*job);
  else
    WriteSoftwareLog(u"打印请求数据不完整，已忽略");
  return 0;
}

void HandleOpenCashDrawer(PrintQueue& queue) {
  PrintJob job;
  job.type = kPrintJobOpenCashDrawer;
  queue.push(job);
}

void HandlePrinterDeviceChange(PrintQueue& queue) {
  PrintJob job;
  job.type = kPrintJobFindPrinters;
  queue.push(job);
}

void HandleDeviceChangeMessage(PrintQueue& queue, uint64_t event, uint32_t deviceType) {
  if ((event == kDbtDeviceArrival || event == kDbtDeviceRemoveComplete) &&
      deviceType == kDbtDevTypDeviceInterface)
    HandlePrinterDeviceChange(queue);
}

std::u16string HandlePrintFeedback(PrintQueue& queue, int64_t resultCode) {
  std::u16string orderNumber = queue.takeFeedbackOrderNumber();
  if (orderNumber.empty()) WriteSoftwareLog(u"无订单号");
  std::u16string code;
  AppendDecimal(code, resultCode);
  return u"printInvoiceFeedBack(" + JavaScriptStringLiteral(orderNumber) + u"," +
         JavaScriptStringLiteral(code) + u");";
}

std::optional<int64_t> HandlePrintWindowMessage(
    PrintQueue& queue, const WindowMessage& message,
    const std::function<void(const std::u16string& script)>& runScript) {
  switch (message.message) {
    case kWmCopyData:
      if (!IsPrintInvoiceRequest(message.copyDataKind, message.wParam)) return std::nullopt;
      return HandlePrintInvoiceRequest(queue, message.payload.data(), message.payload.size());
    case kUmOpenCashDrawer:
      HandleOpenCashDrawer(queue);
      return 0;
    case kUmPrintFeedback: {
      std::u16string script = HandlePrintFeedback(queue, message.lParam);
      if (runScript) runScript(script);
      return 0;
    }
    default:
      return std::nullopt;
  }
}

std::u16string JavaScriptStringLiteral(const std::u16string& text) {
  std::u16string out = u"\"";
  for (char16_t unit : text) {
    switch (unit) {
      case u'"': out += u"\\\""; break;
      case u'\\': out += u"\\\\"; break;
      case u'\n': out += u"\\n"; break;
      case u'\r': out += u"\\r"; break;
      case u'\u2028': out += u"\\u2028"; break;
      case u'\u2029': out += u"\\u2029"; break;
      default: out.push_back(unit);
    }
  }
  out.push_back(u'"');
  return out;
}

}  // namespace vorna
