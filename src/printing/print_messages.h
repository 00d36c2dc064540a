#pragma once
// Window-message numbers of printing: the page asks for prints and the cash
// drawer, the print thread reports results, device changes trigger discovery.
#include <cstdint>

namespace vorna {

inline constexpr uint32_t kUmPrintFeedback = 32606;   // wParam 0, lParam = result code
inline constexpr uint32_t kUmOpenCashDrawer = 32607;  // wParam 0, lParam 0

// WM_COPYDATA print request: both dwData and wParam carry this code.
inline constexpr uint64_t kCopyDataPrintInvoice = 6326;

inline constexpr uint32_t kWmDeviceChange = 0x0219;
inline constexpr uint64_t kDbtDeviceArrival = 0x8000;
inline constexpr uint64_t kDbtDeviceRemoveComplete = 0x8004;
inline constexpr uint32_t kDbtDevTypDeviceInterface = 5;

}  // namespace vorna
