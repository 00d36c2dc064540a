#pragma once
// The print request record that carries app.printInvoice from a renderer to
// the main window, and the main window's handling of the print messages.
//
// Record (little-endian): paper width i32 at 0, copies i32 at 4, order number
// as 64 UTF-16 units at 8 (zero-padded, no terminator when full), the template
// text with a terminating zero unit at 136, then 132 unused bytes:
// 270 + 2n bytes for a template of n units.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_channel.h"
#include "printing/print_job.h"

namespace vorna {

class PrintQueue;

inline constexpr size_t kOrderNumberUnits = 64;
inline constexpr size_t kPrintRequestFixedSize = 270;

std::vector<uint8_t> PackPrintRequest(int32_t paperWidth, int32_t copies,
                                      const std::u16string& orderNumber,
                                      const std::u16string& templateText);

// A receipt job from a record; nullopt when the record is too short or its
// template text has no terminator inside the record.
std::optional<PrintJob> ParsePrintRequest(const uint8_t* data, size_t size);

bool IsPrintInvoiceRequest(uint64_t copyDataKind, uint64_t wParam);

// COPYDATA_PRINT_INVOICE: queue the receipt job; the reply is always 0.
// A refused record is logged and queues nothing.
int64_t HandlePrintInvoiceRequest(PrintQueue& queue, const uint8_t* data, size_t size);
// UM_OPEN_CASH_DRAWER.
void HandleOpenCashDrawer(PrintQueue& queue);
// A printer arrived or left: look for printers again.
void HandlePrinterDeviceChange(PrintQueue& queue);
// WM_DEVICECHANGE as Windows framed it; only interface arrival/removal counts.
void HandleDeviceChangeMessage(PrintQueue& queue, uint64_t event, uint32_t deviceType);
// UM_PRINT_FEEDBACK: takes the oldest pending order number and returns the
// script to run in the page, printInvoiceFeedBack("ORDER","CODE");
std::u16string HandlePrintFeedback(PrintQueue& queue, int64_t resultCode);

// The main window's procedure for the print messages: the print request, the
// cash drawer and the print feedback, whose script goes to `runScript`.
// nullopt for every other message.
std::optional<int64_t> HandlePrintWindowMessage(
    PrintQueue& queue, const WindowMessage& message,
    const std::function<void(const std::u16string& script)>& runScript);

// A JavaScript string literal (double quotes) whose value is `text`.
std::u16string JavaScriptStringLiteral(const std::u16string& text);

}  // namespace vorna
