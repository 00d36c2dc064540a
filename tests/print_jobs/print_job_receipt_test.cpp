// Receipt jobs with the real renderer: what a lab printer receives is what
// vorna-receipt renders, copy after copy, and images are prepared on the way.
#include <gtest/gtest.h>

#include <filesystem>

#include <clocale>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/usb_printers.h"
#include "print_test_support.h"
#include "printing/print_queue.h"
#include "printing/print_request.h"
#include "printing/print_thread.h"
#include "printing/printer_locator.h"
#include "test_server.h"

namespace vorna {
namespace {

using test::ReadFileBytes;
using test::WaitFor;
using test::WriteFileBytes;

const char kReceipt[] =
    "<html><!--table \"middle dwh\">小店收据</table-->"
    "<!--table \"br\"></table-->"
    "<!--table \"left\">第_LIAN_NUM_联 (_lian_num_)</table-->"
    "<!--table \"dividing\"></table-->"
    "<!--table \"td w50\">商品</table--><!--table \"td w20\">数量</table-->"
    "<!--table \"td w30 right\">金额</table-->"
    "<!--table \"td w50\">苹果</table--><!--table \"td w20\">2</table-->"
    "<!--table \"td w30 right\">12.50</table-->"
    "<!--table \"tr\"></table-->"
    "<!--table \"joint\">合计</table-->"
    "<!--table \"IMG w25\">@IMAGE@</table--></html>";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class ReceiptJobTest : public test::ProgramDirTest {
 protected:
  void SetUp() override {
    ProgramDirTest::SetUp();
    std::setlocale(LC_ALL, "");
    ChoosePrinterCodePage();
    lab_ = dir_ / "lab/";
    setenv("VORNA_DEVICE_LAB", lab_.c_str(), 1);
    ASSERT_EQ(std::system((std::string(VORNA_PROGRAM_DIR) + "/vorna-lab printer add till >/dev/null")
                              .c_str()),
              0);
    printer_ = lab_ + "printers/till";
    server_.Http().Get("/logo.png", [](const httplib::Request&, httplib::Response& response) {
      response.set_content(ReadFileBytes(std::string(VORNA_SOURCE_DIR) +
                                         "/tests/print_jobs/fixtures/logo.png"),
                           "image/png");
    });
    server_.Start();
    thread_ = std::thread([this] {
      // Only the lab printer, even on a machine with a real one.
      PrinterLocator locator(FindLabPrinterPaths);
      RunPrintThread(queue_, locator, DefaultReceiptRendering(), [this](int code) {
        std::u16string script = HandlePrintFeedback(queue_, code);
        std::lock_guard<std::mutex> guard(lock_);
        feedback_.push_back(Utf16ToUtf8(script));
      });
    });
  }
  void TearDown() override {
    PrintJob stop;
    stop.type = kPrintJobStop;
    queue_.push(stop);
    thread_.join();
    unsetenv("VORNA_DEVICE_LAB");
    ProgramDirTest::TearDown();
  }

  std::string Print(const std::string& templateText, int copies, int paperWidth) {
    std::vector<uint8_t> record = PackPrintRequest(paperWidth, copies, u"A1",
                                                   Utf8ToUtf16(templateText));
    HandlePrintInvoiceRequest(queue_, record.data(), record.size());
    EXPECT_TRUE(WaitFor([&] {
      std::lock_guard<std::mutex> guard(lock_);
      return !feedback_.empty();
    }));
    std::lock_guard<std::mutex> guard(lock_);
    std::string script = feedback_.empty() ? "" : feedback_.back();
    feedback_.clear();
    return script;
  }

  // What vorna-receipt writes for one copy. It runs from the job's program
  // directory, so it prepares images there as the job does.
  std::string Render(const std::string& templateText, int copy, int paperWidth) {
    const std::string file = dir_ / "template.txt";
    WriteFileBytes(file, templateText);
    const std::string tool = dir_ / "vorna-receipt";
    if (!test::FileExists(tool))
      std::filesystem::copy_file(std::string(VORNA_PROGRAM_DIR) + "/vorna-receipt", tool);
    std::string command = tool + " render --paper " +
                          std::to_string(paperWidth) + " --copy " + std::to_string(copy) + " " +
                          file + " 2>/dev/null";
    return test::CommandOutput(command);
  }

  std::string lab_;
  std::string printer_;
  test::TestServer server_;
  PrintQueue queue_;
  std::thread thread_;
  std::mutex lock_;
  std::vector<std::string> feedback_;
};

TEST_F(ReceiptJobTest, LabPrinterReceivesEachCopyAsVornaReceiptRendersIt) {
  const std::string withUrl = Replace(kReceipt, "@IMAGE@", server_.Origin() + "/logo.png");
  for (int paper : {58, 76, 80}) {
    SCOPED_TRACE(paper);
    EXPECT_EQ(Print(withUrl, 2, paper), "printInvoiceFeedBack(\"A1\",\"0\");");
    std::vector<std::string> jobs = LabPrinterJobPaths(printer_);
    ASSERT_FALSE(jobs.empty());
    std::string expected = Render(withUrl, 1, paper) + Render(withUrl, 2, paper);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ReadFileBytes(jobs.back()), expected);
  }
  // The image was fetched, converted (w25 of 384 dots on a 200 x 100 picture)
  // and printed.
  EXPECT_TRUE(test::FileExists(dir_ / "logo.png"));
  EXPECT_TRUE(test::FileExists(dir_ / "logo9648.bmp"));
  const std::string withoutImage =
      Replace(kReceipt, "<!--table \"IMG w25\">@IMAGE@</table-->", "");
  EXPECT_GT(Render(withUrl, 1, 80).size(), Render(withoutImage, 1, 80).size() + 6 * 48);
}

TEST_F(ReceiptJobTest, TemplateErrorsWriteNothing) {
  EXPECT_EQ(Print("<!--table td>x</table-->", 1, 58), "printInvoiceFeedBack(\"A1\",\"3\");");
  EXPECT_EQ(ReadFileBytes(printer_), "");
  EXPECT_NE(SoftwareLog().find("模板书写出错（标签属性集没用引号包含）"), std::string::npos);
}

TEST_F(ReceiptJobTest, ImagesThatCannotBeHadAreLeftOut) {
  const std::string withoutImage = Replace(kReceipt, "<!--table \"IMG w25\">@IMAGE@</table-->", "");
  struct Case {
    const char* name;
    std::string templateText;
    std::string logged;
  } cases[] = {
      {"no size", Replace(Replace(kReceipt, "IMG w25", "img"), "@IMAGE@", "x"),
       "  img  没有尺寸属性"},
      {"download fails", Replace(kReceipt, "@IMAGE@", "http://127.0.0.1:1/none.png"),
       "  打印图片下载失败"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Print(c.templateText, 1, 80), "printInvoiceFeedBack(\"A1\",\"0\");");
    EXPECT_EQ(ReadFileBytes(LabPrinterJobPaths(printer_).back()), Render(withoutImage, 1, 80));
    EXPECT_NE(SoftwareLog().find(c.logged), std::string::npos);
  }
}

}  // namespace
}  // namespace vorna
