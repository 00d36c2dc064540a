#include "platform/usb_printers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "print_test_support.h"
#include "printing/print_queue.h"
#include "printing/print_request.h"
#include "printing/print_thread.h"
#include "printing/printer_locator.h"

namespace vorna {
namespace {

using test::ReadFileBytes;
using test::WaitFor;
using test::WriteFileBytes;

TEST(UsbPrinters, OnePathPerPhysicalPrinterInDiscoveryOrder) {
  const std::string a = "/sys/devices/pci0000:00/usb1/1-1";
  const std::string b = "/sys/devices/pci0000:00/usb1/1-2";
  struct Case {
    const char* name;
    std::vector<UsbPrinterNode> nodes;
    std::vector<std::string> paths;
  } cases[] = {
      {"none", {}, {}},
      {"one", {{"/dev/usb/lp0", a}}, {"/dev/usb/lp0"}},
      {"two interfaces of one printer", {{"/dev/usb/lp0", a}, {"/dev/usb/lp1", a}}, {"/dev/usb/lp0"}},
      {"two identical printers", {{"/dev/usb/lp1", b}, {"/dev/usb/lp0", a}},
       {"/dev/usb/lp1", "/dev/usb/lp0"}},
      {"mixed", {{"/dev/usb/lp0", a}, {"/dev/usb/lp1", b}, {"/dev/usb/lp2", a}},
       {"/dev/usb/lp0", "/dev/usb/lp1"}},
      {"no node", {{"", a}, {"/dev/usb/lp3", a}}, {"/dev/usb/lp3"}},
  };
  for (const Case& c : cases) EXPECT_EQ(OnePathPerPrinter(c.nodes), c.paths) << c.name;
}

TEST(UsbPrinters, DiscoveryWithoutPrintersOrUdevGivesPaths) {
  // Whatever this machine has: only usblp nodes, never a crash.
  for (const std::string& path : FindUsbPrinterPaths())
    EXPECT_EQ(path.rfind("/dev/usb/lp", 0), 0u) << path;
}

class LabPrintersTest : public test::ProgramDirTest {
 protected:
  void SetUp() override {
    ProgramDirTest::SetUp();
    lab_ = dir_ / "lab/";
    setenv("VORNA_DEVICE_LAB", lab_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("VORNA_DEVICE_LAB");
    ProgramDirTest::TearDown();
  }
  int Lab(const std::string& args) {
    std::string command = std::string(VORNA_PROGRAM_DIR) + "/vorna-lab " + args + " >/dev/null 2>&1";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string lab_;
};

TEST_F(LabPrintersTest, LabFolderAndPrinterListing) {
  EXPECT_EQ(DeviceLabFolder(), lab_);
  unsetenv("VORNA_DEVICE_LAB");
  EXPECT_EQ(DeviceLabFolder(), std::string(g_get_user_data_dir()) + "/vorna-device-lab/");
  setenv("VORNA_DEVICE_LAB", (dir_ / "lab").c_str(), 1);  // no trailing slash
  EXPECT_EQ(DeviceLabFolder(), lab_);

  EXPECT_TRUE(FindLabPrinterPaths().empty());  // no folder yet
  ASSERT_EQ(Lab("printer add zeta"), 0);
  ASSERT_EQ(Lab("printer add alpha"), 0);
  mkdir((lab_ + "printers/folder").c_str(), 0755);
  WriteFileBytes(lab_ + "printers/.hidden", "");
  EXPECT_EQ(FindLabPrinterPaths(),
            (std::vector<std::string>{lab_ + "printers/alpha", lab_ + "printers/zeta"}));
  EXPECT_EQ(FindPrinterPaths().back(), lab_ + "printers/zeta");  // after the real ones
  EXPECT_TRUE(AnyPrinterConnected());

  EXPECT_EQ(Lab("printer add alpha"), 1);
  EXPECT_EQ(Lab("printer add ../x"), 2);
  EXPECT_EQ(Lab("printer remove alpha"), 0);
  EXPECT_EQ(Lab("printer remove alpha"), 1);
  EXPECT_EQ(FindLabPrinterPaths(), std::vector<std::string>{lab_ + "printers/zeta"});
}

TEST_F(LabPrintersTest, JobRecordsAreNumberedInOrder) {
  ASSERT_EQ(Lab("printer add p"), 0);
  const std::string printer = lab_ + "printers/p";
  for (const char* job : {"one", "two", "three"}) ASSERT_TRUE(RecordLabPrinterJob(printer, job));
  std::vector<std::string> jobs = LabPrinterJobPaths(printer);
  ASSERT_EQ(jobs.size(), 3u);
  EXPECT_EQ(ReadFileBytes(jobs[0]), "one");
  EXPECT_EQ(ReadFileBytes(jobs[2]), "three");
  EXPECT_EQ(FindLabPrinterPaths(), std::vector<std::string>{printer});  // records are not printers
  EXPECT_EQ(Lab("printer remove p"), 0);
  EXPECT_TRUE(LabPrinterJobPaths(printer).empty());
}

// The client's side: a watch on the lab, the print thread with the real
// printer list; a printer plugged into the lab while it runs is found, and is
// gone once unplugged.
TEST_F(LabPrintersTest, PrinterAddedAndRemovedWhileRunningIsFoundThenGone) {
  if (!FindUsbPrinterPaths().empty()) GTEST_SKIP() << "a real printer would be used first";
  PrintQueue queue;
  std::mutex lock;
  std::vector<int> results;
  std::atomic<int> changes{0};

  // An existing lab; a lab folder made later is noticed too, but GLib polls
  // for missing folders only every few seconds.
  ASSERT_EQ(g_mkdir_with_parents((lab_ + "printers").c_str(), 0755), 0);
  GMainContext* context = g_main_context_new();
  std::atomic<bool> running{true};
  std::unique_ptr<PrinterWatch> watch = PrinterWatch::Create(
      [&](PrinterChange) {
        ++changes;
        HandlePrinterDeviceChange(queue);
      },
      context);
  ASSERT_TRUE(watch && watch->watchesLab());
  std::thread loop([&] {
    while (running) g_main_context_iteration(context, FALSE), g_usleep(2000);
  });
  std::thread printer([&] {
    PrinterLocator locator;
    ReceiptRendering rendering;
    rendering.render = [](const std::u16string& text, int32_t, std::string& bytes) {
      bytes = Utf16ToUtf8(text);
      return 0;
    };
    RunPrintThread(queue, locator, rendering, [&](int code) {
      std::lock_guard<std::mutex> guard(lock);
      results.push_back(code);
    });
  });
  auto print = [&](const std::u16string& text) {
    size_t before;
    {
      std::lock_guard<std::mutex> guard(lock);
      before = results.size();
    }
    PrintJob job;
    job.type = kPrintJobReceipt;
    job.templateText = text;
    queue.push(job);
    EXPECT_TRUE(WaitFor([&] {
      std::lock_guard<std::mutex> guard(lock);
      return results.size() > before;
    }));
    std::lock_guard<std::mutex> guard(lock);
    return results.back();
  };

  EXPECT_EQ(print(u"nobody"), kPrintNoPrinter);
  ASSERT_EQ(Lab("printer add counter"), 0);
  ASSERT_TRUE(WaitFor([&] { return changes > 0; }));
  // The re-discovery job runs before the next receipt.
  EXPECT_EQ(print(u"hello"), kPrintOk);
  EXPECT_EQ(ReadFileBytes(lab_ + "printers/counter"), "hello");

  int seen = changes;
  ASSERT_EQ(Lab("printer remove counter"), 0);
  ASSERT_TRUE(WaitFor([&] { return changes > seen; }));
  EXPECT_EQ(print(u"again"), kPrintNoPrinter);

  PrintJob stop;
  stop.type = kPrintJobStop;
  queue.push(stop);
  printer.join();
  running = false;
  loop.join();
  watch.reset();
  g_main_context_unref(context);
}

TEST_F(LabPrintersTest, WatchIgnoresTheClientsOwnWrites) {
  ASSERT_EQ(Lab("printer add p"), 0);
  GMainContext* context = g_main_context_new();
  int changes = 0;
  std::unique_ptr<PrinterWatch> watch =
      PrinterWatch::Create([&](PrinterChange) { ++changes; }, context);
  ASSERT_TRUE(watch);
  const std::string printer = lab_ + "printers/p";
  WriteFileBytes(printer, "bytes of a receipt");
  RecordLabPrinterJob(printer, "bytes of a receipt");
  // Give the monitor time to deliver anything it would.
  for (int i = 0; i < 100; ++i) {
    while (g_main_context_iteration(context, FALSE)) {
    }
    g_usleep(5000);
  }
  EXPECT_EQ(changes, 0);
  watch.reset();
  g_main_context_unref(context);
}

}  // namespace
}  // namespace vorna
