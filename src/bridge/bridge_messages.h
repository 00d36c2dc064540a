#pragma once
// Window messages between the page's app functions, the browser process's
// workers and the main window.
#include <cstdint>

// UM_PRINT_FEEDBACK, UM_OPEN_CASH_DRAWER and COPYDATA_PRINT_INVOICE live with printing.
#include "printing/print_messages.h"

namespace vorna {

inline constexpr uint32_t kUmStartMobileCapture = 32601;
inline constexpr uint32_t kUmStopMobileCapture = 32602;
inline constexpr uint32_t kUmPhoneCall = 32603;  // wParam slot, lParam 3 landline / else mobile
inline constexpr uint32_t kUmStartLandlineCapture = 32604;
inline constexpr uint32_t kUmStopLandlineCapture = 32605;
inline constexpr uint32_t kUmLandlineDevice = 32608;  // sent; wParam 2 open, 3 close
inline constexpr uint32_t kUmSetFullScreen = 32609;   // wParam 0 leave, 1 enter, 2 toggle

inline constexpr int64_t kPhoneCallLandlineRing = 3;

// WM_COPYDATA requests: (dwData, wParam).
inline constexpr uint64_t kCopyDataOpenUrl = 3243;
inline constexpr uint64_t kCopyDataOpenUrlWParam = 3256;

inline constexpr int64_t kOpenUrlOpened = 0;
inline constexpr int64_t kOpenUrlFailed = 30;

}  // namespace vorna
