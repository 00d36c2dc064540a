#include "printing/print_queue.h"

#include <gtest/gtest.h>

#include <thread>

namespace vorna {
namespace {

PrintJob Job(int32_t type, std::u16string order = {}) {
  PrintJob job;
  job.type = type;
  job.orderNumber = std::move(order);
  return job;
}

TEST(PrintQueue, JobsLeaveInOrderAndOnlyReceiptsAwaitFeedback) {
  PrintQueue queue;
  queue.push(Job(kPrintJobReceipt, u"A1"));
  queue.push(Job(kPrintJobOpenCashDrawer));
  queue.push(Job(kPrintJobReceipt, u"A2"));
  EXPECT_EQ(queue.takeFeedbackOrderNumber(), u"");  // not taken by the thread yet
  EXPECT_EQ(queue.pop().orderNumber, u"A1");
  EXPECT_EQ(queue.pop().type, kPrintJobOpenCashDrawer);
  EXPECT_EQ(queue.pop().orderNumber, u"A2");
  EXPECT_EQ(queue.takeFeedbackOrderNumber(), u"A1");
  EXPECT_EQ(queue.takeFeedbackOrderNumber(), u"A2");
  EXPECT_EQ(queue.takeFeedbackOrderNumber(), u"");
}

TEST(PrintQueue, NoJobIsMissedByAWaitingThread) {
  // The consumer is mostly blocked in pop while pushes arrive at arbitrary
  // moments; every job must come out, in order, and nothing may hang.
  PrintQueue queue;
  constexpr int kJobs = 20000;
  std::vector<int32_t> seen;
  seen.reserve(kJobs);
  std::thread consumer([&] {
    for (int i = 0; i < kJobs; ++i) seen.push_back(queue.pop().copies);
  });
  for (int i = 0; i < kJobs; ++i) {
    PrintJob job = Job(kPrintJobFindPrinters);
    job.copies = i;
    queue.push(job);
    if (i % 97 == 0) std::this_thread::yield();
  }
  consumer.join();
  ASSERT_EQ(seen.size(), static_cast<size_t>(kJobs));
  for (int i = 0; i < kJobs; ++i) ASSERT_EQ(seen[i], i);
}

}  // namespace
}  // namespace vorna
