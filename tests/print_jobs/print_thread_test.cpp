#include "printing/print_thread.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <mutex>
#include <thread>

#include "platform/usb_printers.h"
#include "print_test_support.h"
#include "printing/print_queue.h"
#include "printing/print_request.h"
#include "printing/printer_locator.h"

namespace vorna {
namespace {

using test::ReadFileBytes;
using test::WaitFor;
using test::WriteFileBytes;

// Stands in for the renderer: "[template#]" with # replaced by the copy
// number; "QUOTE" fails like a template error, "NOTHING" renders no bytes.
ReceiptRendering FakeRendering() {
  ReceiptRendering rendering;
  rendering.render = [](const std::u16string& text, int32_t paperWidth, std::string& bytes) {
    if (text == u"QUOTE") return static_cast<int>(kPrintTemplateFailed);
    if (text == u"NOTHING") return static_cast<int>(kPrintOk);
    bytes = "[" + std::to_string(paperWidth) + ":" + Utf16ToUtf8(text) + "#]";
    return static_cast<int>(kPrintOk);
  };
  rendering.substituteCopyNumber = [](std::string& bytes, int copy) {
    bytes.replace(bytes.find('#'), 1, std::to_string(copy));
  };
  return rendering;
}

// The print thread on a queue of its own, with the printer list chosen by the
// test and the feedback taken the way the main window takes it.
class PrintThreadTest : public test::ProgramDirTest {
 protected:
  void SetUp() override {
    ProgramDirTest::SetUp();
    printer_ = dir_ / "printer";
    WriteFileBytes(printer_, "");
    printers_ = {printer_};
  }
  void TearDown() override {
    if (thread_.joinable()) {
      queue_.push(Job(kPrintJobStop));
      thread_.join();
    }
    ProgramDirTest::TearDown();
  }

  void Start() {
    thread_ = std::thread([this] {
      PrinterLocator locator([this] {
        std::lock_guard<std::mutex> guard(lock_);
        return printers_;
      });
      RunPrintThread(queue_, locator, FakeRendering(), [this](int code) {
        std::u16string script = HandlePrintFeedback(queue_, code);
        std::lock_guard<std::mutex> guard(lock_);
        feedback_.push_back(Utf16ToUtf8(script));
      });
    });
  }
  void SetPrinters(std::vector<std::string> printers) {
    std::lock_guard<std::mutex> guard(lock_);
    printers_ = std::move(printers);
  }
  static PrintJob Job(int32_t type) {
    PrintJob job;
    job.type = type;
    return job;
  }
  static PrintJob Receipt(std::u16string order, std::u16string text, int copies = 1,
                          int paperWidth = 58) {
    PrintJob job = Job(kPrintJobReceipt);
    job.orderNumber = std::move(order);
    job.templateText = std::move(text);
    job.copies = copies;
    job.paperWidth = paperWidth;
    return job;
  }
  std::vector<std::string> Feedback() {
    std::lock_guard<std::mutex> guard(lock_);
    return feedback_;
  }
  // Runs one receipt job and returns its feedback script.
  std::string PrintOne(PrintJob job) {
    size_t before = Feedback().size();
    queue_.push(job);
    EXPECT_TRUE(WaitFor([&] { return Feedback().size() > before; }));
    return Feedback().back();
  }

  PrintQueue queue_;
  std::thread thread_;
  std::mutex lock_;
  std::string printer_;
  std::vector<std::string> printers_;
  std::vector<std::string> feedback_;
};

TEST_F(PrintThreadTest, BackToBackJobsGetTheirOwnFeedbackInOrder) {
  queue_.push(Receipt(u"A1", u"first", 1, 80));
  queue_.push(Receipt(u"A2", u"second", 2));
  Start();
  ASSERT_TRUE(WaitFor([&] { return Feedback().size() == 2; }));
  EXPECT_EQ(Feedback()[0], "printInvoiceFeedBack(\"A1\",\"0\");");
  EXPECT_EQ(Feedback()[1], "printInvoiceFeedBack(\"A2\",\"0\");");
  EXPECT_EQ(ReadFileBytes(printer_), "[80:first1][58:second1][58:second2]");
  // Each job is also kept on its own by the lab printer.
  std::vector<std::string> jobs = LabPrinterJobPaths(printer_);
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(ReadFileBytes(jobs[1]), "[58:second1][58:second2]");
}

TEST_F(PrintThreadTest, ResultCodesAndTheirLogTexts) {
  const std::string missing = dir_ / "gone";
  struct Case {
    const char* name;
    std::vector<std::string> printers;
    std::u16string text;
    int copies;
    std::string result;
    std::string bytes;       // what the printer file received
    std::string logged;      // expected in the software log
  } cases[] = {
      {"empty template", {printer_}, u"", 1, "0", "", ""},
      {"empty template, no printer", {}, u"", 1, "0", "", ""},
      {"copies 0 prints one copy", {printer_}, u"x", 0, "0", "[58:x1]", ""},
      {"copies -5 prints one copy", {printer_}, u"y", -5, "0", "[58:y1]", ""},
      {"no printer", {}, u"x", 1, "1", "", "无驱打印时，没有打印机连接电脑"},
      {"cannot open", {missing, printer_}, u"x", 1, "2", "",
       missing + "  打开打印机设备名失败，错误码：" + std::to_string(ENOENT)},
      {"template error", {printer_}, u"QUOTE", 2, "3", "", ""},
      {"no bytes", {printer_}, u"NOTHING", 2, "3", "", ""},
      {"write fails", {"/dev/full"}, u"x", 1, "2", "",
       "/dev/full  写入打印机失败，错误码：" + std::to_string(ENOSPC)},
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFileBytes(printer_, "");
    SetPrinters(c.printers);
    queue_.push(Job(kPrintJobFindPrinters));
    EXPECT_EQ(PrintOne(Receipt(u"N", c.text, c.copies)),
              "printInvoiceFeedBack(\"N\",\"" + c.result + "\");");
    EXPECT_EQ(ReadFileBytes(printer_), c.bytes);
    if (!c.logged.empty()) {
      EXPECT_NE(SoftwareLog().find(c.logged), std::string::npos);
    }
  }
  EXPECT_TRUE(LabPrinterJobPaths(missing).empty());
}

TEST_F(PrintThreadTest, CashDrawerSendsSevenBytesAndReportsNothing) {
  Start();
  queue_.push(Job(kPrintJobOpenCashDrawer));
  ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(printer_).size() == 7; }));
  EXPECT_EQ(ReadFileBytes(printer_), std::string("\x1B\x40\x1B\x70\x00\x64\x64", 7));

  SetPrinters({});
  queue_.push(Job(kPrintJobFindPrinters));
  queue_.push(Job(kPrintJobOpenCashDrawer));
  ASSERT_TRUE(WaitFor([&] { return SoftwareLog().find("无驱打印时") != std::string::npos; }));
  SetPrinters({dir_ / "gone"});
  queue_.push(Job(kPrintJobFindPrinters));
  queue_.push(Job(kPrintJobOpenCashDrawer));
  ASSERT_TRUE(WaitFor([&] {
    return SoftwareLog().find("发送打开收银箱指令时，打开打印机设备名失败,错误码：" +
                              std::to_string(ENOENT)) != std::string::npos;
  }));
  EXPECT_TRUE(Feedback().empty());
}

TEST_F(PrintThreadTest, UnknownTypesAreSkippedAndStopLeavesLaterJobsUnhandled) {
  queue_.push(Job(5));
  queue_.push(Job(-1));
  queue_.push(Receipt(u"A1", u"before"));
  queue_.push(Job(kPrintJobStop));
  queue_.push(Receipt(u"A2", u"after"));
  queue_.push(Job(kPrintJobOpenCashDrawer));
  Start();
  thread_.join();  // returns only through the stop job
  EXPECT_EQ(Feedback(), std::vector<std::string>{"printInvoiceFeedBack(\"A1\",\"0\");"});
  EXPECT_EQ(ReadFileBytes(printer_), "[58:before1]");
  EXPECT_EQ(queue_.pendingJobs(), 2u);
}

TEST_F(PrintThreadTest, ThePrinterListChangesOnlyWithARediscoveryJob) {
  SetPrinters({});
  Start();
  EXPECT_EQ(PrintOne(Receipt(u"A1", u"x")), "printInvoiceFeedBack(\"A1\",\"1\");");
  SetPrinters({printer_});
  EXPECT_EQ(PrintOne(Receipt(u"A2", u"x")), "printInvoiceFeedBack(\"A2\",\"1\");");
  queue_.push(Job(kPrintJobFindPrinters));
  EXPECT_EQ(PrintOne(Receipt(u"A3", u"x")), "printInvoiceFeedBack(\"A3\",\"0\");");
}

}  // namespace
}  // namespace vorna
