#include "bridge/app_extension_handler.h"

#include "app/deployment.h"
#include "app/text_encoding.h"
#include "bridge/app_functions.h"
#include "bridge/bridge_messages.h"
#include "printing/print_request.h"

namespace vorna {
namespace {

constexpr int32_t kRejected = 4;
constexpr int32_t kPaperWidthWhenNotGiven = 58;

bool OneOf(const ArgList& args, bool (ArgValue::*test)() const) {
  return args.size() == 1 && (args[0].*test)();
}

bool FirstIsString(const ArgList& args) { return !args.empty() && args[0].IsString(); }

ResultValue StateOnly(int32_t state) {
  return ResultValue::Object({{u"state", ResultValue::Integer(state)}});
}

bool NameEquals(const std::u16string& name, std::string_view ascii) {
  if (name.size() != ascii.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (name[i] != static_cast<char16_t>(ascii[i])) return false;
  return true;
}

}  // namespace

// In table order; the dispatch walks both together.
const AppExtensionHandler::Body AppExtensionHandler::kBodies[] = {
    &AppExtensionHandler::RootDefaultBrowser,     &AppExtensionHandler::GetSoftInfo,
    &AppExtensionHandler::CopyUnicodeText,        &AppExtensionHandler::CopyText,
    &AppExtensionHandler::PrintInvoice,           &AppExtensionHandler::HasUsbPrinterConnected,
    &AppExtensionHandler::OpenCrashBox,           &AppExtensionHandler::IsMultiScreen,
    &AppExtensionHandler::GetViceScreenRegion,    &AppExtensionHandler::GetScreenCount,
    &AppExtensionHandler::SetExtendDualview,      &AppExtensionHandler::GetElectronicWeigherInfo,
    &AppExtensionHandler::GetAllComPort,          &AppExtensionHandler::StartListenPnThread,
    &AppExtensionHandler::CloseListenPnThread,    &AppExtensionHandler::StartLandlineCapture,
    &AppExtensionHandler::CloseLandlineCapture,   &AppExtensionHandler::WriteDataToTag,
    &AppExtensionHandler::ReadDataFromTag,        &AppExtensionHandler::ClearRecord,
    &AppExtensionHandler::SetRfPower,             &AppExtensionHandler::IsReadCompletion,
    &AppExtensionHandler::IsHasCard,              &AppExtensionHandler::CreateNewCard,
    &AppExtensionHandler::WriteDataToCard,        &AppExtensionHandler::ReadDataFromCard,
    &AppExtensionHandler::PlayBuzzer,             &AppExtensionHandler::HasKeyboard,
    &AppExtensionHandler::SetFullScreen,
};

std::u16string SoftwareInfoText(const std::u16string& startUrl) {
  return u"soft_sign:vornaer_master_pc;soft_name:" + Utf8ToUtf16(kProductName) +
         u";soft_url:" + startUrl + u";soft_version:" + Utf8ToUtf16(kProductVersion);
}

std::u16string UpToFirstZero(const std::u16string& text) {
  return text.substr(0, text.find(u'\0'));
}

std::vector<uint8_t> OpenUrlPayload(const std::u16string& url) {
  std::string bytes = Utf16ToLeBytes(url + u'\0');  // with its terminating zero unit
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

AppExtensionHandler::AppExtensionHandler(ChannelPort& channel, Desktop& desktop,
                                         RendererDevices& devices, std::u16string startUrl)
    : channel_(channel),
      desktop_(desktop),
      devices_(devices),
      startUrl_(std::move(startUrl)),
      mainWindow_(channel.FindMainWindow()) {}

bool AppExtensionHandler::Execute(const std::u16string& name, const ArgList& args,
                                  ResultValue& result, std::u16string& exception) {
  static_assert(std::size(kBodies) == kAppFunctions.size());
  for (size_t i = 0; i < kAppFunctions.size(); ++i) {
    if (NameEquals(name, kAppFunctions[i].name)) {
      result = (this->*kBodies[i])(args);
      return true;
    }
  }
  exception = kUnknownFunction;
  return true;
}

const WindowHandle& AppExtensionHandler::MainWindowForForwarding() {
  if (!mainWindow_) mainWindow_ = channel_.FindMainWindow();
  return mainWindow_;
}

bool AppExtensionHandler::PostToMainWindow(uint32_t message, uint64_t wParam) {
  const WindowHandle& window = MainWindowForForwarding();
  return window && channel_.Post(window, message, wParam, 0);
}

ResultValue AppExtensionHandler::RootDefaultBrowser(const ArgList& args) {
  if (!FirstIsString(args) || args[0].text.empty()) return ResultValue::Boolean(false);
  const std::u16string& url = args[0].text;
  // The cached handle as it is: an empty one reaches nobody and answers 0.
  int64_t reply =
      channel_.SendCopyData(mainWindow_, kCopyDataOpenUrlWParam, kCopyDataOpenUrl,
                            OpenUrlPayload(url));
  if (reply == kOpenUrlFailed) return ResultValue::Boolean(desktop_.OpenUrl(url));
  return ResultValue::Boolean(true);
}

ResultValue AppExtensionHandler::GetSoftInfo(const ArgList&) {
  return ResultValue::String(SoftwareInfoText(startUrl_));
}

ResultValue AppExtensionHandler::CopyUnicodeText(const ArgList& args) {
  if (!FirstIsString(args)) return ResultValue::Boolean(false);
  return ResultValue::Boolean(desktop_.CopyUnicodeText(UpToFirstZero(args[0].text)));
}

ResultValue AppExtensionHandler::CopyText(const ArgList& args) {
  if (!FirstIsString(args)) return ResultValue::Boolean(false);
  return ResultValue::Boolean(desktop_.CopyUtf8Text(Utf16ToUtf8(UpToFirstZero(args[0].text))));
}

ResultValue AppExtensionHandler::PrintInvoice(const ArgList& args) {
  if (args.size() < 3 || !args[0].IsString() || !args[1].IsString() || !args[2].IsInteger())
    return ResultValue::Boolean(false);
  int32_t paperWidth =
      args.size() > 3 && args[3].IsInteger() ? args[3].AsInt32() : kPaperWidthWhenNotGiven;
  const std::u16string& templateText = args[1].text;
  if (!templateText.empty()) {
    const WindowHandle& window = MainWindowForForwarding();
    if (window)
      channel_.SendCopyData(window, kCopyDataPrintInvoice, kCopyDataPrintInvoice,
                            PackPrintRequest(paperWidth, args[2].AsInt32(), args[0].text,
                                             templateText));
  }
  return ResultValue::Boolean(true);
}

ResultValue AppExtensionHandler::HasUsbPrinterConnected(const ArgList&) {
  return ResultValue::Boolean(devices_.HasUsbPrinterConnected());
}

ResultValue AppExtensionHandler::OpenCrashBox(const ArgList&) {
  PostToMainWindow(kUmOpenCashDrawer, 0);
  return ResultValue::Unset();
}

ResultValue AppExtensionHandler::IsMultiScreen(const ArgList&) {
  return ResultValue::Boolean(desktop_.MonitorCount() > 1);
}

ResultValue AppExtensionHandler::GetViceScreenRegion(const ArgList&) {
  std::array<int, 4> region{0, 0, 0, 0};
  if (desktop_.MonitorCount() > 1) region = desktop_.SecondScreenRegion();
  std::vector<ResultValue> elements;
  for (int v : region) elements.push_back(ResultValue::Integer(v));
  return ResultValue::Array(std::move(elements));
}

ResultValue AppExtensionHandler::GetScreenCount(const ArgList&) {
  int count = desktop_.MonitorCount();
  return ResultValue::Integer(count < 2 ? 1 : count);
}

ResultValue AppExtensionHandler::SetExtendDualview(const ArgList&) {
  return ResultValue::Boolean(desktop_.ExtendDesktop());
}

ResultValue AppExtensionHandler::GetElectronicWeigherInfo(const ArgList& args) {
  ScaleReading reading = devices_.ReadScale(ScalePortNameFrom(args));
  return ResultValue::Object({{u"state", ResultValue::Integer(reading.state)},
                              {u"weight", ResultValue::String(reading.weight)},
                              {u"price", ResultValue::String(reading.price)},
                              {u"total", ResultValue::String(reading.total)}});
}

ResultValue AppExtensionHandler::GetAllComPort(const ArgList&) {
  std::vector<ResultValue> ports;
  for (std::u16string& port : devices_.ComPorts())
    ports.push_back(ResultValue::String(std::move(port)));
  return ResultValue::Array(std::move(ports));
}

ResultValue AppExtensionHandler::StartListenPnThread(const ArgList&) {
  return ResultValue::Boolean(PostToMainWindow(kUmStartMobileCapture, 0));
}

ResultValue AppExtensionHandler::CloseListenPnThread(const ArgList&) {
  PostToMainWindow(kUmStopMobileCapture, 0);
  return ResultValue::Unset();
}

ResultValue AppExtensionHandler::StartLandlineCapture(const ArgList&) {
  PostToMainWindow(kUmStartLandlineCapture, 0);
  return ResultValue::Unset();
}

ResultValue AppExtensionHandler::CloseLandlineCapture(const ArgList&) {
  PostToMainWindow(kUmStopLandlineCapture, 0);
  return ResultValue::Unset();
}

ResultValue AppExtensionHandler::WriteDataToTag(const ArgList& args) {
  int32_t written = 0;
  int32_t state = kRejected;
  if (args.size() == 1) {
    if (std::optional<TagWriteRequest> tag = TagWriteRequestFrom(args[0]))
      state = devices_.WriteTags(*tag, written);
  }
  return ResultValue::Object({{u"state", ResultValue::Integer(state)},
                              {u"successTagCount", ResultValue::Integer(written)}});
}

ResultValue AppExtensionHandler::ReadDataFromTag(const ArgList&) { return devices_.ReadTags(); }

ResultValue AppExtensionHandler::ClearRecord(const ArgList&) {
  devices_.ClearTagRecord();
  return ResultValue::Unset();
}

ResultValue AppExtensionHandler::SetRfPower(const ArgList& args) {
  if (!OneOf(args, &ArgValue::IsNumber)) return ResultValue::Integer(kRejected);
  return ResultValue::Integer(devices_.SetRfPower(args[0].number));
}

ResultValue AppExtensionHandler::IsReadCompletion(const ArgList&) {
  return ResultValue::Boolean(devices_.IsReadCompletion());
}

ResultValue AppExtensionHandler::IsHasCard(const ArgList& args) {
  if (!OneOf(args, &ArgValue::IsBoolean)) return StateOnly(kRejected);
  std::u16string uid;
  int32_t state = devices_.DetectCard(args[0].boolean, uid);
  return ResultValue::Object({{u"uid", ResultValue::String(state == 0 ? uid : u"")},
                              {u"state", ResultValue::Integer(state)}});
}

ResultValue AppExtensionHandler::CreateNewCard(const ArgList& args) {
  if (args.size() != 1) return ResultValue::Integer(kRejected);
  std::optional<CardWriteRequest> card = CardWriteRequestFrom(args[0]);
  return ResultValue::Integer(card ? devices_.CreateCard(*card) : kRejected);
}

ResultValue AppExtensionHandler::WriteDataToCard(const ArgList& args) {
  if (args.size() != 1) return ResultValue::Integer(kRejected);
  std::optional<CardWriteRequest> card = CardWriteRequestFrom(args[0]);
  return ResultValue::Integer(card ? devices_.WriteCard(*card) : kRejected);
}

ResultValue AppExtensionHandler::ReadDataFromCard(const ArgList& args) {
  if (args.size() != 1) return StateOnly(kRejected);
  std::optional<CardReadRequest> request = CardReadRequestFrom(args[0]);
  return request ? devices_.ReadCard(*request) : StateOnly(kRejected);
}

ResultValue AppExtensionHandler::PlayBuzzer(const ArgList& args) {
  if (!OneOf(args, &ArgValue::IsInteger)) return ResultValue::Integer(kRejected);
  return ResultValue::Integer(devices_.Beep(args[0].AsInt32()));
}

ResultValue AppExtensionHandler::HasKeyboard(const ArgList&) {
  return ResultValue::Boolean(desktop_.HasKeyboard());
}

ResultValue AppExtensionHandler::SetFullScreen(const ArgList& args) {
  if (args.size() != 1) return ResultValue::Integer(kRejected);
  uint64_t mode;
  if (args[0].IsUndefined())
    mode = 2;
  else if (args[0].IsBoolean())
    mode = args[0].boolean ? 1 : 0;
  else
    return ResultValue::Integer(kRejected);
  return ResultValue::Integer(PostToMainWindow(kUmSetFullScreen, mode) ? 0 : 1);
}

}  // namespace vorna
