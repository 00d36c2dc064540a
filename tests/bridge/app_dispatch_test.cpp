#include <gtest/gtest.h>

#include "app/text_encoding.h"
#include "bridge/app_functions.h"
#include "bridge/bridge_messages.h"
#include "bridge_fakes.h"
#include "printing/print_request.h"

namespace vorna::test {
namespace {

ArgValue U() { return ArgValue::Undefined(); }
ArgValue S(const char* utf8) { return ArgValue::String(Utf8ToUtf16(utf8)); }
ArgValue N(double v) { return ArgValue::Number(v); }
ArgValue B(bool v) { return ArgValue::Boolean(v); }
ArgValue O(std::vector<ArgProperty> properties) { return ArgValue::Object(std::move(properties)); }

constexpr uint32_t kNothing = 0;

class AppDispatchTest : public ::testing::Test {
 protected:
  ResultValue Call(const char* name, const ArgList& args = {}) {
    ResultValue result;
    std::u16string exception;
    EXPECT_TRUE(handler_.Execute(Utf8ToUtf16(name), args, result, exception));
    EXPECT_TRUE(exception.empty()) << name;
    return result;
  }

  FakeChannel channel_;
  FakeDesktop desktop_;
  RecordingDevices devices_;
  AppExtensionHandler handler_{channel_, desktop_, devices_, u"https://shop.example/master/login"};
};

struct DispatchCase {
  const char* function;
  ArgList args;
  std::string result;
  uint32_t message = kNothing;  // what reached the main window, if anything
  uint64_t wParam = 0;
};

// Every function with accepted and rejected arguments, as the wrappers pass
// them on (0, 1 or 4 values, undefined where the page left one out).
TEST_F(AppDispatchTest, ResultsAndRequestsOfEveryFunction) {
  const std::vector<DispatchCase> cases = {
      {"rootDefaultBrowser", {S("")}, "false"},
      {"rootDefaultBrowser", {N(1)}, "false"},
      {"rootDefaultBrowser", {S("http://a.example/")}, "true", kWmCopyData, kCopyDataOpenUrlWParam},
      {"getSoftInfo", {},
       "\"soft_sign:vornaer_master_pc;soft_name:Vorna商户端;"
       "soft_url:https://shop.example/master/login;soft_version:2.0.1\""},
      {"copyUnicodeText", {U()}, "false"},
      {"copyText", {N(3)}, "false"},
      {"printInvoice", {S("A1"), S("t"), N(2), U()}, "true", kWmCopyData, kCopyDataPrintInvoice},
      {"printInvoice", {S("A1"), S("t"), U(), U()}, "false"},
      {"printInvoice", {S("A1"), S("t"), N(2.5), U()}, "false"},
      {"printInvoice", {N(1), S("t"), N(2), U()}, "false"},
      {"printInvoice", {S("A1"), S(""), N(2), U()}, "true"},
      {"hasUSBPrinterConnected", {}, "false"},
      {"openCrashBox", {}, "undefined", kUmOpenCashDrawer, 0},
      {"isMultiScreen", {}, "false"},
      {"getViceScreenRegion", {}, "[0,0,0,0]"},
      {"getScreenCount", {}, "1"},
      {"setExtendDualview", {}, "true"},
      {"getElectronicWeigherInfo", {S("com3")}, "{state:5,weight:\"\",price:\"\",total:\"\"}"},
      {"getElectronicWeigherInfo", {U()}, "{state:1,weight:\"\",price:\"\",total:\"\"}"},
      {"getAllComPort", {}, "[]"},
      {"startListenPNThread", {}, "true", kUmStartMobileCapture, 0},
      {"closeListenPNThread", {}, "undefined", kUmStopMobileCapture, 0},
      {"startLandlineCapture", {}, "undefined", kUmStartLandlineCapture, 0},
      {"closeLandlineCapture", {}, "undefined", kUmStopLandlineCapture, 0},
      {"writeDataToTag", {N(1)}, "{state:4,successTagCount:0}"},
      {"writeDataToTag", {O({{u"number", N(1)}, {u"price", N(2.5)}})},
       "{state:4,successTagCount:0}"},
      {"writeDataToTag", {O({{u"number", N(1)}, {u"price", N(2.5)}, {u"name", S("x")}})},
       "{state:2,successTagCount:0}"},
      {"readDataFromTag", {}, "{state:2}"},
      {"clearRecord", {}, "undefined"},
      {"setRFPower", {N(1)}, "0"},
      {"setRFPower", {N(0.6)}, "0"},
      {"setRFPower", {S("1")}, "4"},
      {"isReadCompletion", {}, "true"},
      {"isHasCard", {B(true)}, "{uid:\"A1B2C3D4\",state:0}"},
      {"isHasCard", {N(1)}, "{state:4}"},
      {"createNewCard", {O({{u"uid", S("1")}})}, "2"},
      {"createNewCard", {O({})}, "4"},
      {"writeDataToCard", {S("x")}, "4"},
      {"readDataFromCard", {O({{u"uid", S("u")}, {u"key", S("123456")}})},
       "{uid:\"u\",number:\"\",name:\"\",phone:\"\",consume:\"\",points:\"\",discount:\"\","
       "total:\"\",state:2}"},
      {"readDataFromCard", {O({{u"key", S("12345")}})}, "{state:4}"},
      {"playBuzzer", {N(1)}, "0"},
      {"playBuzzer", {N(1.5)}, "4"},
      {"playBuzzer", {N(2147483648.0)}, "4"},
      {"playBuzzer", {N(-2147483648.0)}, "0"},
      {"hasKeyboard", {}, "true"},
      {"setFullScreen", {U()}, "0", kUmSetFullScreen, 2},
      {"setFullScreen", {B(true)}, "0", kUmSetFullScreen, 1},
      {"setFullScreen", {B(false)}, "0", kUmSetFullScreen, 0},
      {"setFullScreen", {N(1)}, "4"},
      {"setFullScreen", {S("true")}, "4"},
  };
  for (const DispatchCase& c : cases) {
    SCOPED_TRACE(std::string(c.function) + " case giving " + c.result);
    channel_.sent.clear();
    EXPECT_EQ(Show(Call(c.function, c.args)), c.result);
    if (c.message == kNothing) {
      EXPECT_TRUE(channel_.sent.empty());
    } else {
      ASSERT_EQ(channel_.sent.size(), 1u);
      EXPECT_EQ(channel_.sent[0].message, c.message);
      EXPECT_EQ(channel_.sent[0].wParam, c.wParam);
    }
  }
}

TEST_F(AppDispatchTest, OnlyAnUnknownNameRaises) {
  for (const char16_t* name : {u"noSuchFunction", u"getsoftinfo", u"getSoftInfo ", u""}) {
    ResultValue result;
    std::u16string exception;
    EXPECT_TRUE(handler_.Execute(name, {}, result, exception));
    EXPECT_EQ(exception, u"Invalid method arguments");
    EXPECT_TRUE(result.IsUnset());
  }
}

TEST_F(AppDispatchTest, DevicesReceiveTheCheckedValues) {
  Call("setRFPower", {N(0.6)});
  Call("playBuzzer", {N(-3)});
  Call("isHasCard", {B(false)});
  EXPECT_EQ(devices_.calls,
            (std::vector<std::string>{"setRfPower 0.600000", "beep -3", "detect idle"}));
}

TEST(AppForwarding, MainWindowLookedUpAgainWhileMissingButNotForOpenUrl) {
  FakeChannel channel;
  FakeDesktop desktop;
  AbsentDevices devices;
  channel.mainWindow = "";
  AppExtensionHandler handler(channel, desktop, devices, u"");
  auto call = [&](const char* name, ArgList args = {}) {
    ResultValue result;
    std::u16string exception;
    handler.Execute(Utf8ToUtf16(name), args, result, exception);
    return Show(result);
  };
  // Missing: nothing is sent and each function answers as for a failed send.
  EXPECT_EQ(call("openCrashBox"), "undefined");
  EXPECT_EQ(call("startListenPNThread"), "false");
  EXPECT_EQ(call("setFullScreen", {U()}), "1");
  EXPECT_EQ(call("printInvoice", {S("A1"), S("t"), N(1), U()}), "true");
  EXPECT_TRUE(channel.sent.empty());

  // The window appears: the forwarding functions find it, rootDefaultBrowser
  // keeps its empty handle (no reply 30 from nobody, so true).
  channel.mainWindow = "main";
  EXPECT_EQ(call("rootDefaultBrowser", {S("http://a.example/")}), "true");
  EXPECT_TRUE(channel.sent.empty());
  EXPECT_TRUE(desktop.openedUrls.empty());
  EXPECT_EQ(call("openCrashBox"), "undefined");
  ASSERT_EQ(channel.sent.size(), 1u);
  int lookups = channel.lookups;
  EXPECT_EQ(call("setFullScreen", {B(true)}), "0");
  EXPECT_EQ(channel.lookups, lookups) << "a found window is kept";
  EXPECT_EQ(call("rootDefaultBrowser", {S("http://a.example/")}), "true");
  EXPECT_EQ(channel.sent.back().kind, kCopyDataOpenUrl);

  channel.postSucceeds = false;
  EXPECT_EQ(call("startListenPNThread"), "false");
  EXPECT_EQ(call("setFullScreen", {U()}), "1");
}

TEST_F(AppDispatchTest, OpenUrlPayloadAndFallbackOnReply30) {
  Call("rootDefaultBrowser", {S("http://价.example/")});
  ASSERT_EQ(channel_.sent.size(), 1u);
  EXPECT_EQ(channel_.sent[0].payload, OpenUrlPayload(u"http://价.example/"));
  EXPECT_EQ(OpenUrlPayload(u"a\u4EF7"), (std::vector<uint8_t>{'a', 0, 0xF7, 0x4E, 0, 0}));
  EXPECT_TRUE(desktop_.openedUrls.empty());

  channel_.copyDataReply = kOpenUrlFailed;
  EXPECT_EQ(Show(Call("rootDefaultBrowser", {S("http://b.example/")})), "false");
  desktop_.openUrlSucceeds = true;
  EXPECT_EQ(Show(Call("rootDefaultBrowser", {S("http://b.example/")})), "true");
  EXPECT_EQ(desktop_.openedUrls.size(), 2u);
}

TEST_F(AppDispatchTest, PrintRequestRecord) {
  struct Case {
    ArgValue paperWidth;
    int32_t expectedWidth;
  };
  std::u16string longOrder(70, u'9');
  for (const Case& c : {Case{U(), 58}, Case{N(80), 80}, Case{N(76.5), 58}, Case{S("80"), 58}}) {
    channel_.sent.clear();
    Call("printInvoice", {ArgValue::String(longOrder), S("<p>价</p>"), N(3), c.paperWidth});
    ASSERT_EQ(channel_.sent.size(), 1u);
    const std::vector<uint8_t>& record = channel_.sent[0].payload;
    EXPECT_EQ(record.size(), 270u + 2 * 8);
    std::optional<PrintJob> job = ParsePrintRequest(record.data(), record.size());
    ASSERT_TRUE(job);
    EXPECT_EQ(job->paperWidth, c.expectedWidth);
    EXPECT_EQ(job->copies, 3);
    EXPECT_EQ(job->orderNumber, longOrder.substr(0, 64));
    EXPECT_EQ(job->templateText, u"<p>价</p>");
  }
}

TEST_F(AppDispatchTest, ClipboardTextEndsAtTheFirstZeroUnit) {
  EXPECT_EQ(Show(Call("copyUnicodeText", {ArgValue::String(std::u16string(u"ab\0cd", 5))})),
            "true");
  EXPECT_EQ(desktop_.unicodeClipboard, u"ab");
  EXPECT_EQ(Show(Call("copyText", {S("价格")})), "true");
  EXPECT_EQ(desktop_.textClipboard, "\xE4\xBB\xB7\xE6\xA0\xBC");
  EXPECT_EQ(Show(Call("copyText", {S("")})), "true");
  EXPECT_EQ(desktop_.textClipboard, "");
}

TEST_F(AppDispatchTest, Screens) {
  struct Case {
    int monitors;
    const char* count;
    const char* multi;
    const char* region;
  };
  for (const Case& c : {Case{0, "1", "false", "[0,0,0,0]"}, Case{1, "1", "false", "[0,0,0,0]"},
                        Case{2, "2", "true", "[1920,0,1024,768]"},
                        Case{3, "3", "true", "[1920,0,1024,768]"}}) {
    desktop_.monitors = c.monitors;
    EXPECT_EQ(Show(Call("getScreenCount")), c.count);
    EXPECT_EQ(Show(Call("isMultiScreen")), c.multi);
    EXPECT_EQ(Show(Call("getViceScreenRegion")), c.region);
  }
}

TEST(AppExtensionSource, WrapperTextAsThePageContractGivesIt) {
  std::string source = AppExtensionSource();
  EXPECT_EQ(source.rfind("var app;if (!app) app = {};(function() {", 0), 0u);
  EXPECT_EQ(source.substr(source.size() - 5), "})();");
  for (const char* line :
       {"  app.getSoftInfo = function() { native function getSoftInfo(); return getSoftInfo();  };",
        "  app.rootDefaultBrowser = function(arg1) { native function rootDefaultBrowser(); return "
        "rootDefaultBrowser(arg1);  };",
        "  app.printInvoice = function(arg1, arg2, arg3,arg4) { native function printInvoice(); "
        "return printInvoice(arg1, arg2, arg3, arg4);  };"})
    EXPECT_NE(source.find(line), std::string::npos) << line;
  EXPECT_EQ(source.find("\n"), std::string::npos);
  size_t declarations = 0;
  for (size_t at = 0; (at = source.find("native function ", at)) != std::string::npos; ++at)
    ++declarations;
  EXPECT_EQ(declarations, 29u);
  // Table order: the first and last wrappers.
  EXPECT_LT(source.find("app.rootDefaultBrowser"), source.find("app.getSoftInfo"));
  EXPECT_LT(source.find("app.hasKeyboard"), source.find("app.setFullScreen"));
}

}  // namespace
}  // namespace vorna::test
