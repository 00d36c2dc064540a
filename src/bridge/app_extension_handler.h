#pragma once
// The native side of the page's `app` object: one call of an app function
// arrives here by name with the arguments its wrapper passed on.
#include <string>

#include "bridge/channel_port.h"
#include "bridge/desktop.h"
#include "bridge/js_value.h"
#include "bridge/renderer_devices.h"

namespace vorna {

class AppExtensionHandler {
 public:
  // Looks the main window up once; the forwarding functions look again while
  // it is missing.
  AppExtensionHandler(ChannelPort& channel, Desktop& desktop, RendererDevices& devices,
                      std::u16string startUrl);

  // Runs the named function. Rejected arguments give the function's rejection
  // result; only an unknown name sets `exception`. Always returns true.
  bool Execute(const std::u16string& name, const ArgList& args, ResultValue& result,
               std::u16string& exception);

  static constexpr const char16_t* kUnknownFunction = u"Invalid method arguments";

 private:
  using Body = ResultValue (AppExtensionHandler::*)(const ArgList&);
  static const Body kBodies[];

  // The cached handle, looked up again while it is empty.
  const WindowHandle& MainWindowForForwarding();
  bool PostToMainWindow(uint32_t message, uint64_t wParam);

  ResultValue RootDefaultBrowser(const ArgList& args);
  ResultValue GetSoftInfo(const ArgList& args);
  ResultValue CopyUnicodeText(const ArgList& args);
  ResultValue CopyText(const ArgList& args);
  ResultValue PrintInvoice(const ArgList& args);
  ResultValue HasUsbPrinterConnected(const ArgList& args);
  ResultValue OpenCrashBox(const ArgList& args);
  ResultValue IsMultiScreen(const ArgList& args);
  ResultValue GetViceScreenRegion(const ArgList& args);
  ResultValue GetScreenCount(const ArgList& args);
  ResultValue SetExtendDualview(const ArgList& args);
  ResultValue GetElectronicWeigherInfo(const ArgList& args);
  ResultValue GetAllComPort(const ArgList& args);
  ResultValue StartListenPnThread(const ArgList& args);
  ResultValue CloseListenPnThread(const ArgList& args);
  ResultValue StartLandlineCapture(const ArgList& args);
  ResultValue CloseLandlineCapture(const ArgList& args);
  ResultValue WriteDataToTag(const ArgList& args);
  ResultValue ReadDataFromTag(const ArgList& args);
  ResultValue ClearRecord(const ArgList& args);
  ResultValue SetRfPower(const ArgList& args);
  ResultValue IsReadCompletion(const ArgList& args);
  ResultValue IsHasCard(const ArgList& args);
  ResultValue CreateNewCard(const ArgList& args);
  ResultValue WriteDataToCard(const ArgList& args);
  ResultValue ReadDataFromCard(const ArgList& args);
  ResultValue PlayBuzzer(const ArgList& args);
  ResultValue HasKeyboard(const ArgList& args);
  ResultValue SetFullScreen(const ArgList& args);

  ChannelPort& channel_;
  Desktop& desktop_;
  RendererDevices& devices_;
  std::u16string startUrl_;
  WindowHandle mainWindow_;
};

// soft_sign:...;soft_name:...;soft_url:START;soft_version:...
std::u16string SoftwareInfoText(const std::u16string& startUrl);

// The text up to its first zero unit.
std::u16string UpToFirstZero(const std::u16string& text);

// COPYDATA_OPEN_URL payload: UTF-16LE with its terminating zero unit.
std::vector<uint8_t> OpenUrlPayload(const std::u16string& url);

}  // namespace vorna
