#pragma once
// The 29 functions of the page's `app` object, in the order of the wrapper
// source and of the dispatch, and the wrapper source itself.
#include <array>
#include <string>
#include <string_view>

namespace vorna {

struct AppFunction {
  std::string_view name;
  int parameters;  // 0, 1 or 4: what the wrapper always passes on
};

inline constexpr std::array<AppFunction, 29> kAppFunctions{{
    {"rootDefaultBrowser", 1},       {"getSoftInfo", 0},
    {"copyUnicodeText", 1},          {"copyText", 1},
    {"printInvoice", 4},             {"hasUSBPrinterConnected", 0},
    {"openCrashBox", 0},             {"isMultiScreen", 0},
    {"getViceScreenRegion", 0},      {"getScreenCount", 0},
    {"setExtendDualview", 0},        {"getElectronicWeigherInfo", 1},
    {"getAllComPort", 0},            {"startListenPNThread", 0},
    {"closeListenPNThread", 0},      {"startLandlineCapture", 0},
    {"closeLandlineCapture", 0},     {"writeDataToTag", 1},
    {"readDataFromTag", 0},          {"clearRecord", 0},
    {"setRFPower", 1},               {"isReadCompletion", 0},
    {"isHasCard", 1},                {"createNewCard", 1},
    {"writeDataToCard", 1},          {"readDataFromCard", 1},
    {"playBuzzer", 1},               {"hasKeyboard", 0},
    {"setFullScreen", 1},
}};

// The extension source with its `native function` declarations, exactly as
// the page-facing contract defines it.
std::string AppExtensionSource();

// The same wrappers as JavaScript that JavaScriptCore can run: a function
// expression taking the 29 native functions, in table order, as parameters.
// Calling it defines the global `app`; the natives stay out of the page's reach.
std::string AppInstallerSource();

}  // namespace vorna
