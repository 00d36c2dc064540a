#include <gtest/gtest.h>

#include "app/paths.h"
#include "app/text_encoding.h"
#include "bridge/app_extension_handler.h"
#include "bridge/bridge_messages.h"
#include "bridge/main_window_requests.h"
#include "printing/print_queue.h"
#include "printing/print_request.h"
#include "temp_dir.h"

namespace vorna::test {
namespace {

class RecordingActions : public MainWindowActions {
 public:
  bool hasPage = true;
  std::vector<std::string> scripts;
  std::vector<int> fullScreen;
  std::vector<std::string> openedUrls;
  int64_t openReply = kOpenUrlOpened;
  PrintQueue queue;
  CallerRing landline{36};
  CallerRing mobile{64};

  bool RunScriptInMainFrame(const std::string& script) override {
    if (!hasPage) return false;
    scripts.push_back(script);
    return true;
  }
  void SetFullScreen(int mode) override { fullScreen.push_back(mode); }
  int64_t OpenUrlOutside(const std::string& url) override {
    openedUrls.push_back(url);
    return openReply;
  }
  PrintQueue& Queue() override { return queue; }
  CallerRing& LandlineRing() override { return landline; }
  CallerRing& MobileRing() override { return mobile; }
};

WindowMessage Message(uint32_t message, uint64_t wParam = 0, int64_t lParam = 0) {
  WindowMessage m;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  return m;
}

class MainWindowRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetProgramDirectory(dir_.Path()); }  // logs go to the temp folder
  std::optional<int64_t> Handle(const WindowMessage& m) {
    return HandleMainWindowRequest(m, actions_);
  }
  TempDir dir_;
  RecordingActions actions_;
};

TEST_F(MainWindowRequestsTest, PhoneCallReadsTheRingSlotAndQuotesTheNumber) {
  for (int i = 0; i < 5; ++i) actions_.mobile.Store("000");
  ASSERT_EQ(actions_.mobile.Store("12345"), 5u);
  actions_.landline.Store("02988887777");
  actions_.mobile.Store("\");alert(1);//\\\n");

  EXPECT_EQ(Handle(Message(kUmPhoneCall, 5, 0)), 0);
  EXPECT_EQ(Handle(Message(kUmPhoneCall, 0, kPhoneCallLandlineRing)), 0);
  EXPECT_EQ(Handle(Message(kUmPhoneCall, 6, 7)), 0);  // any other lParam: the mobile ring
  EXPECT_EQ(Handle(Message(kUmPhoneCall, 8, 0)), 0);  // out of range: nothing runs
  EXPECT_EQ(actions_.scripts,
            (std::vector<std::string>{"phoneCall(\"12345\");", "phoneCall(\"02988887777\");",
                                      "phoneCall(\"\\\");alert(1);//\\\\\\n\");"}));
}

TEST_F(MainWindowRequestsTest, PrintFeedbackTakesTheOldestOrderNumber) {
  std::vector<uint8_t> record = PackPrintRequest(58, 1, u"A1", u"<p>x</p>");
  WindowMessage print = Message(kWmCopyData, kCopyDataPrintInvoice);
  print.copyDataKind = kCopyDataPrintInvoice;
  print.payload = record;
  EXPECT_EQ(Handle(print), 0);
  ASSERT_EQ(actions_.queue.pendingJobs(), 1u);
  PrintJob job = actions_.queue.pop();  // records A1 for its feedback, as the print thread does
  EXPECT_EQ(job.orderNumber, u"A1");

  EXPECT_EQ(Handle(Message(kUmPrintFeedback, 0, 0)), 0);
  EXPECT_EQ(Handle(Message(kUmPrintFeedback, 0, 2)), 0);  // no order left
  EXPECT_EQ(actions_.scripts, (std::vector<std::string>{"printInvoiceFeedBack(\"A1\",\"0\");",
                                                        "printInvoiceFeedBack(\"\",\"2\");"}));
}

TEST_F(MainWindowRequestsTest, WithoutAPageTheFeedbackIsDroppedAndItsOrderGone) {
  for (const char16_t* order : {u"A1", u"A2"}) {
    PrintJob job;
    job.type = kPrintJobReceipt;
    job.orderNumber = order;
    actions_.queue.push(job);
  }
  actions_.queue.pop();
  actions_.queue.pop();
  actions_.hasPage = false;
  Handle(Message(kUmPrintFeedback, 0, 1));
  actions_.hasPage = true;
  Handle(Message(kUmPrintFeedback, 0, 1));
  EXPECT_EQ(actions_.scripts, (std::vector<std::string>{"printInvoiceFeedBack(\"A2\",\"1\");"}));
}

TEST_F(MainWindowRequestsTest, OpenUrlRequestRepliesWhatTheOutsideBrowserGave) {
  WindowMessage open = Message(kWmCopyData, kCopyDataOpenUrlWParam);
  open.copyDataKind = kCopyDataOpenUrl;
  open.payload = OpenUrlPayload(u"http://价.example/?a=1");
  EXPECT_EQ(Handle(open), kOpenUrlOpened);
  actions_.openReply = kOpenUrlFailed;
  EXPECT_EQ(Handle(open), kOpenUrlFailed);
  EXPECT_EQ(actions_.openedUrls[0], "http://价.example/?a=1");

  // Codes that are not the pair of a known request are not ours.
  WindowMessage other = open;
  other.wParam = kCopyDataOpenUrl;
  EXPECT_EQ(Handle(other), std::nullopt);
  EXPECT_EQ(actions_.openedUrls.size(), 2u);
}

TEST(OutsideBrowser, OptionLikeTextNeverReachesItsCommandLine) {
  EXPECT_TRUE(IsSafeBrowserArgument("http://a.example/"));
  EXPECT_TRUE(IsSafeBrowserArgument("www.example.com"));
  EXPECT_FALSE(IsSafeBrowserArgument("--renderer-cmd-prefix=touch /tmp/x"));
  EXPECT_FALSE(IsSafeBrowserArgument("-h"));
  EXPECT_FALSE(IsSafeBrowserArgument(""));
}

TEST_F(MainWindowRequestsTest, WindowRequests) {
  Handle(Message(kUmSetFullScreen, 1));
  Handle(Message(kUmSetFullScreen, 2));
  Handle(Message(kUmSetFullScreen, 3));  // not a mode: nothing
  EXPECT_EQ(actions_.fullScreen, (std::vector<int>{1, 2}));

  EXPECT_EQ(Handle(Message(kUmOpenCashDrawer)), 0);
  EXPECT_EQ(Handle(Message(kWmDeviceChange, kDbtDeviceArrival, kDbtDevTypDeviceInterface)), 0);
  EXPECT_EQ(Handle(Message(kWmDeviceChange, kDbtDeviceArrival, 2)), 0);
  ASSERT_EQ(actions_.queue.pendingJobs(), 2u);
  EXPECT_EQ(actions_.queue.pop().type, kPrintJobOpenCashDrawer);
  EXPECT_EQ(actions_.queue.pop().type, kPrintJobFindPrinters);

  for (uint32_t telephony : {kUmStartMobileCapture, kUmStopMobileCapture,
                             kUmStartLandlineCapture, kUmStopLandlineCapture, kUmLandlineDevice})
    EXPECT_EQ(Handle(Message(telephony, 2)), 0);
  EXPECT_EQ(Handle(Message(kWmClose)), std::nullopt);
  EXPECT_EQ(Handle(Message(kWmCommand, 105)), std::nullopt);
  EXPECT_TRUE(actions_.scripts.empty());
}

TEST(CallerRing, RoundRobinSlotsCutToTheirSize) {
  CallerRing landline(36);
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(landline.Store(std::to_string(i)), i);
  EXPECT_EQ(landline.Store("again"), 0u);
  EXPECT_EQ(landline.Read(0), "again");
  EXPECT_EQ(landline.Read(7), "7");
  EXPECT_EQ(landline.Read(8), "");
  landline.Store(std::string(50, '1'));
  EXPECT_EQ(landline.Read(1), std::string(35, '1'));
  CallerRing mobile(64);
  mobile.Store(std::string(70, '2'));
  EXPECT_EQ(mobile.Read(0), std::string(63, '2'));
  mobile.Store(std::string("12\0" "34", 5));
  EXPECT_EQ(mobile.Read(1), "12");
}

}  // namespace
}  // namespace vorna::test
