#include "printing/print_request.h"

#include <gtest/gtest.h>

#include "print_test_support.h"
#include "printing/print_messages.h"
#include "printing/print_queue.h"

namespace vorna {
namespace {

using test::ProgramDirTest;

std::u16string Units(size_t count, char16_t unit) { return std::u16string(count, unit); }

uint16_t UnitAt(const std::vector<uint8_t>& record, size_t offset) {
  return static_cast<uint16_t>(record[offset] | (record[offset + 1] << 8));
}

TEST(PrintRequestRecord, LayoutOfAPackedRecord) {
  std::vector<uint8_t> record = PackPrintRequest(80, -2, u"A1", u"<!--br--></table-->");
  ASSERT_EQ(record.size(), 270u + 2 * 19);
  EXPECT_EQ((std::vector<uint8_t>(record.begin(), record.begin() + 8)),
            (std::vector<uint8_t>{80, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(UnitAt(record, 8), u'A');
  EXPECT_EQ(UnitAt(record, 10), u'1');
  for (size_t offset = 12; offset < 136; offset += 2) EXPECT_EQ(UnitAt(record, offset), 0) << offset;
  EXPECT_EQ(UnitAt(record, 136), u'<');
  EXPECT_EQ(UnitAt(record, 136 + 2 * 18), u'>');
  for (size_t offset = 136 + 2 * 19; offset < record.size(); ++offset) EXPECT_EQ(record[offset], 0);
}

TEST(PrintRequestRecord, OrderNumberKeepsAtMost64Units) {
  struct Case {
    std::u16string sent;
    std::u16string received;
  } cases[] = {
      {u"", u""},
      {u"单号-7", u"单号-7"},
      {Units(63, u'x'), Units(63, u'x')},
      {Units(64, u'y'), Units(64, u'y')},  // fills the field, no terminator
      {Units(64, u'z') + u"tail", Units(64, u'z')},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> record = PackPrintRequest(58, 1, c.sent, u"T");
    std::optional<PrintJob> job = ParsePrintRequest(record.data(), record.size());
    ASSERT_TRUE(job);
    EXPECT_EQ(job->orderNumber, c.received) << c.sent.size();
    EXPECT_EQ(job->templateText, u"T");  // a full order field does not run into the template
  }
}

TEST(PrintRequestRecord, RoundTripCarriesAllFourValues) {
  const std::u16string templateText = u"<!--td w50>商品</table-->\r\n" + Units(5000, u'字');
  std::vector<uint8_t> record = PackPrintRequest(76, 3, u"A1", templateText);
  std::optional<PrintJob> job = ParsePrintRequest(record.data(), record.size());
  ASSERT_TRUE(job);
  EXPECT_EQ(job->type, kPrintJobReceipt);
  EXPECT_EQ(job->paperWidth, 76);
  EXPECT_EQ(job->copies, 3);
  EXPECT_EQ(job->orderNumber, u"A1");
  EXPECT_EQ(job->templateText, templateText);
}

TEST(PrintRequestRecord, MalformedRecordsAreRefused) {
  std::vector<uint8_t> good = PackPrintRequest(58, 1, u"A1", u"abc");
  std::vector<uint8_t> unterminated = good;
  unterminated[136 + 6] = 'x';  // the terminator overwritten
  std::vector<uint8_t> cut = good;
  cut.resize(good.size() - 1);  // the terminator now falls into the tail
  std::vector<uint8_t> allText(good.size(), 'q');
  struct Case {
    const char* name;
    const uint8_t* data;
    size_t size;
  } cases[] = {
      {"null", nullptr, 300},
      {"empty", good.data(), 0},
      {"header only", good.data(), 136},
      {"one short of the minimum", good.data(), 269},
      {"no terminator", unterminated.data(), unterminated.size()},
      {"cut", cut.data(), cut.size()},
      {"no zero unit anywhere", allText.data(), allText.size()},
  };
  for (const Case& c : cases) EXPECT_FALSE(ParsePrintRequest(c.data, c.size)) << c.name;
  EXPECT_TRUE(ParsePrintRequest(good.data(), good.size()));
}

TEST(JavaScriptStringLiteral, EscapesWhatWouldEndOrBreakTheLiteral) {
  struct Case {
    std::u16string value;
    std::u16string literal;
  } cases[] = {
      {u"A1", u"\"A1\""},
      {u"", u"\"\""},
      {u"订单-1 #2 'x'", u"\"订单-1 #2 'x'\""},
      {u"a\"b", u"\"a\\\"b\""},
      {u"a\\b", u"\"a\\\\b\""},
      {u"a\nb\rc", u"\"a\\nb\\rc\""},
      {u"\u2028\u2029", u"\"\\u2028\\u2029\""},
      {u"\");alert(1);(\"", u"\"\\\");alert(1);(\\\"\""},
  };
  for (const Case& c : cases) EXPECT_EQ(JavaScriptStringLiteral(c.value), c.literal);
}

class PrintMessagesTest : public ProgramDirTest {
 protected:
  PrintQueue queue_;
};

TEST_F(PrintMessagesTest, PrintInvoiceRequestQueuesAReceiptJobAndRepliesZero) {
  EXPECT_TRUE(IsPrintInvoiceRequest(6326, 6326));
  EXPECT_FALSE(IsPrintInvoiceRequest(6326, 3256));
  EXPECT_FALSE(IsPrintInvoiceRequest(3243, 6326));

  std::vector<uint8_t> record = PackPrintRequest(80, 2, u"A1", u"hello");
  EXPECT_EQ(HandlePrintInvoiceRequest(queue_, record.data(), record.size()), 0);
  ASSERT_EQ(queue_.pendingJobs(), 1u);
  PrintJob job = queue_.pop();
  EXPECT_EQ(job.type, kPrintJobReceipt);
  EXPECT_EQ(job.orderNumber, u"A1");
  EXPECT_EQ(job.templateText, u"hello");
  EXPECT_EQ(job.copies, 2);
  EXPECT_EQ(job.paperWidth, 80);

  EXPECT_EQ(HandlePrintInvoiceRequest(queue_, record.data(), 100), 0);
  EXPECT_EQ(queue_.pendingJobs(), 0u);
  EXPECT_NE(SoftwareLog().find("打印请求数据不完整"), std::string::npos);
}

TEST_F(PrintMessagesTest, DrawerAndDeviceChangesQueueTheirJobs) {
  HandleOpenCashDrawer(queue_);
  EXPECT_EQ(queue_.pop().type, kPrintJobOpenCashDrawer);

  struct Case {
    uint64_t event;
    uint32_t deviceType;
    bool queues;
  } cases[] = {
      {kDbtDeviceArrival, kDbtDevTypDeviceInterface, true},
      {kDbtDeviceRemoveComplete, kDbtDevTypDeviceInterface, true},
      {kDbtDeviceArrival, 2, false},  // a volume, not a device interface
      {0x0007, kDbtDevTypDeviceInterface, false},
  };
  for (const Case& c : cases) {
    HandleDeviceChangeMessage(queue_, c.event, c.deviceType);
    ASSERT_EQ(queue_.pendingJobs(), c.queues ? 1u : 0u) << std::hex << c.event;
    if (c.queues) {
      PrintJob job = queue_.pop();
      EXPECT_EQ(job.type, kPrintJobFindPrinters);
      EXPECT_TRUE(job.orderNumber.empty() && job.templateText.empty());
    }
  }
}

TEST_F(PrintMessagesTest, FeedbackTakesTheOldestOrderNumber) {
  for (const char16_t* order : {u"A1", u"B\"2"}) {
    PrintJob job;
    job.type = kPrintJobReceipt;
    job.orderNumber = order;
    queue_.push(job);
    queue_.pop();
  }
  EXPECT_EQ(HandlePrintFeedback(queue_, 0), u"printInvoiceFeedBack(\"A1\",\"0\");");
  EXPECT_EQ(HandlePrintFeedback(queue_, 2), u"printInvoiceFeedBack(\"B\\\"2\",\"2\");");
  EXPECT_EQ(SoftwareLog().find("无订单号"), std::string::npos);
  // A second feedback for one order finds no number left.
  EXPECT_EQ(HandlePrintFeedback(queue_, 1), u"printInvoiceFeedBack(\"\",\"1\");");
  EXPECT_NE(SoftwareLog().find("无订单号"), std::string::npos);
}

TEST_F(PrintMessagesTest, WindowProcedureHandlesOnlyThePrintMessages) {
  std::vector<std::u16string> scripts;
  auto run = [&](const std::u16string& script) { scripts.push_back(script); };
  auto handle = [&](const WindowMessage& message) {
    return HandlePrintWindowMessage(queue_, message, run);
  };

  std::vector<uint8_t> record = PackPrintRequest(58, 1, u"A1", u"t");
  WindowMessage print{kWmCopyData, kCopyDataPrintInvoice, 0, kCopyDataPrintInvoice, record};
  EXPECT_EQ(handle(print), 0);
  EXPECT_EQ(queue_.pop().orderNumber, u"A1");
  EXPECT_EQ(handle({kUmPrintFeedback, 0, 3, 0, {}}), 0);
  EXPECT_EQ(scripts, std::vector<std::u16string>{u"printInvoiceFeedBack(\"A1\",\"3\");"});
  EXPECT_EQ(handle({kUmOpenCashDrawer, 0, 0, 0, {}}), 0);
  EXPECT_EQ(queue_.pop().type, kPrintJobOpenCashDrawer);

  WindowMessage openUrl{kWmCopyData, 3256, 0, 3243, record};
  EXPECT_FALSE(handle(openUrl));
  EXPECT_FALSE(handle({32603, 5, 0, 0, {}}));  // a phone call is not ours
  EXPECT_EQ(queue_.pendingJobs(), 0u);
}

}  // namespace
}  // namespace vorna
