// The app object on a bare JavaScriptCore context: what the page sees.
#include <gtest/gtest.h>
#include <jsc/jsc.h>

#include "app/text_encoding.h"
#include "bridge/app_object.h"
#include "bridge/bridge_messages.h"
#include "bridge/main_window_requests.h"
#include "bridge_fakes.h"
#include "printing/print_request.h"

namespace vorna::test {
namespace {

class AppObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context_ = jsc_context_new();
    DefineAppObject(context_, handler_);
  }
  void TearDown() override { g_object_unref(context_); }

  // Runs script and gives its value as JSON text (or "EX:message").
  std::string Eval(const std::string& script) {
    std::string wrapped = "(function(){ try { var v = (" + script +
                          "); return v === undefined ? 'undefined' : JSON.stringify(v); } "
                          "catch (e) { return 'EX:' + e.message; } })()";
    JSCValue* value = jsc_context_evaluate(context_, wrapped.c_str(), -1);
    gchar* text = jsc_value_to_string(value);
    std::string result = text ? text : "";
    g_free(text);
    g_object_unref(value);
    return result;
  }

  FakeChannel channel_;
  FakeDesktop desktop_;
  RecordingDevices devices_;
  AppExtensionHandler handler_{channel_, desktop_, devices_, u"https://shop.example/master/login"};
  JSCContext* context_ = nullptr;
};

TEST_F(AppObjectTest, PageSeesNativeValues) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Object.keys(app).length", "29"},
      {"typeof app.getSoftInfo()", "\"string\""},
      {"app.setFullScreen(1)", "4"},
      {"app.playBuzzer(1.5)", "4"},
      {"app.setRFPower(1)", "0"},
      {"app.isHasCard(true)", "{\"uid\":\"A1B2C3D4\",\"state\":0}"},
      {"Array.isArray(app.getAllComPort())", "true"},
      {"app.getViceScreenRegion()", "[0,0,0,0]"},
      {"app.openCrashBox()", "undefined"},
      {"app.printInvoice('A1', 't')", "false"},
      {"app.printInvoice('A1', 't', 2)", "true"},
      {"app.writeDataToTag({number: 1, price: 1.5, name: '苹果'})",
       "{\"state\":2,\"successTagCount\":0}"},
      {"app.readDataFromCard({uid: 'x', key: 'ABC'})", "{\"state\":4}"},
  };
  for (const auto& [script, expected] : cases) EXPECT_EQ(Eval(script), expected) << script;
}

TEST_F(AppObjectTest, WrappersPassExactlyTheirParametersOn) {
  // setFullScreen() passes undefined: toggle.
  EXPECT_EQ(Eval("app.setFullScreen()"), "0");
  ASSERT_EQ(channel_.sent.size(), 1u);
  EXPECT_EQ(channel_.sent[0].wParam, 2u);
  // Extra arguments are dropped by the wrapper; one argument is what arrives.
  EXPECT_EQ(Eval("app.setFullScreen(true, 5)"), "0");
  EXPECT_EQ(channel_.sent[1].wParam, 1u);
  // printInvoice without arg4: paper width 58.
  EXPECT_EQ(Eval("app.printInvoice('A1', '<p>价</p>', 2)"), "true");
  const std::vector<uint8_t>& record = channel_.sent.back().payload;
  std::optional<PrintJob> job = ParsePrintRequest(record.data(), record.size());
  ASSERT_TRUE(job);
  EXPECT_EQ(job->paperWidth, 58);
  EXPECT_EQ(job->templateText, u"<p>价</p>");
  // Strings keep characters outside the basic plane and embedded zeros.
  EXPECT_EQ(Eval("app.copyUnicodeText('a😀b\\u0000c')"), "true");
  EXPECT_EQ(desktop_.unicodeClipboard, u"a😀b");
}

TEST_F(AppObjectTest, UnknownNativeThrowsInvalidMethodArguments) {
  JSCValue* native = NewNativeFunction(context_, handler_, "noSuchFunction");
  jsc_context_set_value(context_, "strayNative", native);
  g_object_unref(native);
  EXPECT_EQ(Eval("strayNative(1)"), "EX:Invalid method arguments");
  EXPECT_EQ(Eval("app.getScreenCount()"), "1") << "the context stays usable";
}

TEST_F(AppObjectTest, DefiningAgainKeepsOneObjectWithAllFunctions) {
  Eval("app.extra = 1");
  DefineAppObject(context_, handler_);
  EXPECT_EQ(Eval("[app.extra, Object.keys(app).length]"), "[1,30]");
}

// The callback text with a hostile caller number: the page's phoneCall gets
// the number as it was, and nothing else runs.
TEST_F(AppObjectTest, CallerNumberArrivesAsTextAndRunsNothingElse) {
  JSCValue* setup = jsc_context_evaluate(
      context_,
      "var calls = []; function phoneCall(n) { calls.push(n); }"
      "function alert() { calls.push('alert ran'); }",
      -1);
  g_object_unref(setup);
  const std::vector<std::string> numbers = {
      "12345", "\");alert(1);//", "\\\"", "a\nb\rc", "x\u2028y</script>", "价格"};
  for (const std::string& number : numbers) {
    JSCValue* done = jsc_context_evaluate(context_, PhoneCallScript(number).c_str(), -1);
    g_object_unref(done);
  }
  JSCValue* calls = jsc_context_get_value(context_, "calls");
  JSCValue* length = jsc_value_object_get_property(calls, "length");
  ASSERT_EQ(jsc_value_to_int32(length), static_cast<int32_t>(numbers.size()));
  for (size_t i = 0; i < numbers.size(); ++i) {
    JSCValue* element = jsc_value_object_get_property_at_index(calls, i);
    gchar* text = jsc_value_to_string(element);
    EXPECT_EQ(text, numbers[i]);
    g_free(text);
    g_object_unref(element);
  }
  g_object_unref(length);
  g_object_unref(calls);
}

}  // namespace
}  // namespace vorna::test
