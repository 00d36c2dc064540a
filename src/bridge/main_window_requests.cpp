#include "bridge/main_window_requests.h"

#include "app/text_encoding.h"
#include "bridge/bridge_messages.h"
#include "log/log.h"
#include "printing/print_queue.h"
#include "printing/print_request.h"

namespace vorna {
namespace {

void RunPhoneCall(const WindowMessage& message, MainWindowActions& actions) {
  CallerRing& ring =
      message.lParam == kPhoneCallLandlineRing ? actions.LandlineRing() : actions.MobileRing();
  if (message.wParam >= CallerRing::kSlots) return;
  actions.RunScriptInMainFrame(PhoneCallScript(ring.Read(message.wParam)));
}

void RunPrintFeedback(const WindowMessage& message, MainWindowActions& actions) {
  // The order number is taken even when there is no page to tell.
  std::u16string script = HandlePrintFeedback(actions.Queue(), message.lParam);
  actions.RunScriptInMainFrame(Utf16ToUtf8(script));
}

std::optional<int64_t> HandleCopyData(const WindowMessage& message,
                                      MainWindowActions& actions) {
  if (message.copyDataKind == kCopyDataOpenUrl && message.wParam == kCopyDataOpenUrlWParam)
    return actions.OpenUrlOutside(OpenUrlFromPayload(message.payload));
  if (IsPrintInvoiceRequest(message.copyDataKind, message.wParam))
    return HandlePrintInvoiceRequest(actions.Queue(), message.payload.data(),
                                     message.payload.size());
  return std::nullopt;
}

}  // namespace

std::string PhoneCallScript(const std::string& number) {
  return "phoneCall(" + Utf16ToUtf8(JavaScriptStringLiteral(Utf8ToUtf16(number))) + ");";
}

bool IsSafeBrowserArgument(const std::string& url) { return !url.empty() && url[0] != '-'; }

std::string OpenUrlFromPayload(const std::vector<uint8_t>& payload) {
  std::u16string url = Utf16FromLeBytes(payload.data(), payload.size());
  return Utf16ToUtf8(url.substr(0, url.find(u'\0')));
}

std::optional<int64_t> HandleMainWindowRequest(const WindowMessage& message,
                                               MainWindowActions& actions) {
  switch (message.message) {
    case kUmStartMobileCapture:
    case kUmStopMobileCapture:
    case kUmStartLandlineCapture:
    case kUmStopLandlineCapture:
    case kUmLandlineDevice:
      // The telephony capture is not part of this client yet; the requests
      // are accepted and do nothing.
      return 0;
    case kUmPhoneCall:
      RunPhoneCall(message, actions);
      return 0;
    case kUmPrintFeedback:
      RunPrintFeedback(message, actions);
      return 0;
    case kUmOpenCashDrawer:
      HandleOpenCashDrawer(actions.Queue());
      return 0;
    case kUmSetFullScreen:
      if (message.wParam <= 2) actions.SetFullScreen(static_cast<int>(message.wParam));
      return 0;
    case kWmDeviceChange:
      HandleDeviceChangeMessage(actions.Queue(), message.wParam,
                                static_cast<uint32_t>(message.lParam));
      return 0;
    case kWmCopyData:
      return HandleCopyData(message, actions);
    default:
      return std::nullopt;
  }
}

}  // namespace vorna
