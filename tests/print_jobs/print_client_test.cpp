// End to end in the real client: the page prints two copies on a lab printer
// and hears back through printInvoiceFeedBack.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "client_harness.h"
#include "test_server.h"

namespace vorna::test {
namespace {

const char kTemplate[] =
    "<!--table \"middle dwh\">小店收据</table--><!--table \"br\"></table-->"
    "<!--table \"left\">第_LIAN_NUM_联</table--><!--table \"dividing\"></table-->"
    "<!--table \"td w60\">苹果</table--><!--table \"td w40 right\">12.50</table-->"
    "<!--table \"tr\"></table--><!--table \"joint\">合计</table-->";

std::string JsString(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' || c == '\\' ? std::string("\\") + c : std::string(1, c);
  return out + "'";
}

TEST(PrintClient, PagePrintsTwoCopiesAndHearsTheResult) {
  if (!getenv("DISPLAY")) GTEST_SKIP() << "needs a display";
  std::mutex lock;
  std::string bridge, order, code;
  TestServer server;
  server.Http().Get("/master/login", [](const httplib::Request&, httplib::Response& response) {
    response.set_content(
        std::string("<html><body><script>"
                    "function report(path){var r=new XMLHttpRequest();r.open('GET',path);r.send();}"
                    "function printInvoiceFeedBack(o,c){report('/feedback?order='+"
                    "encodeURIComponent(o)+'&code='+encodeURIComponent(c));}"
                    "var ok=typeof app!=='undefined'&&typeof app.printInvoice==='function';"
                    "report('/bridge?ok='+ok);"
                    "if(ok)app.printInvoice('A1',") +
            JsString(kTemplate) + ",2,80);</script></body></html>",
        "text/html; charset=utf-8");
  });
  server.Http().Get("/bridge", [&](const httplib::Request& request, httplib::Response&) {
    std::lock_guard<std::mutex> guard(lock);
    bridge = request.get_param_value("ok");
  });
  server.Http().Get("/feedback", [&](const httplib::Request& request, httplib::Response&) {
    std::lock_guard<std::mutex> guard(lock);
    order = request.get_param_value("order");
    code = request.get_param_value("code");
  });
  server.Start();

  ClientHarness client;
  client.WriteDeployment(server.Origin());
  const std::string lab = "VORNA_DEVICE_LAB=" + client.DeviceLab() + " ";
  ASSERT_EQ(std::system((lab + client.ProgramDir() + "vorna-lab printer add till >/dev/null").c_str()),
            0);
  client.Start();
  ASSERT_TRUE(WaitFor([&] {
    std::lock_guard<std::mutex> guard(lock);
    return !bridge.empty();
  }));
  if (bridge != "true") {
    client.Kill();
    GTEST_SKIP() << "this build's page has no app.printInvoice";
  }
  ASSERT_TRUE(WaitFor([&] {
    std::lock_guard<std::mutex> guard(lock);
    return !code.empty();
  }));
  EXPECT_EQ(order, "A1");
  EXPECT_EQ(code, "0");

  const std::string printer = client.DeviceLab() + "printers/till";
  const std::string templateFile = client.ProgramDir() + "receipt-template.txt";
  WriteFileBytes(templateFile, kTemplate);
  const std::string render = client.ProgramDir() + "vorna-receipt render --paper 80 --copy ";
  const std::string expected = CommandOutput(render + "1 " + templateFile + " 2>/dev/null") +
                               CommandOutput(render + "2 " + templateFile + " 2>/dev/null");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ReadFileBytes(printer), expected);
  for (const XWindow& window : FindWindows()) RequestClose(window.id);
  EXPECT_EQ(client.WaitForExit(), 0);
}

}  // namespace
}  // namespace vorna::test
