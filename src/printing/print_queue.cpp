#include "printing/print_queue.h"

#include <memory>

namespace vorna {

void PrintQueue::push(const PrintJob& job) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    jobs_.push_back(job);
  }
  jobArrived_.notify_one();
}

PrintJob PrintQueue::pop() {
  std::unique_lock<std::mutex> guard(lock_);
  // The predicate is tested under the lock, so a push between the test and
  // the wait cannot be missed.
  jobArrived_.wait(guard, [this] { return !jobs_.empty(); });
  PrintJob job = std::move(jobs_.front());
  jobs_.pop_front();
  if (job.type == kPrintJobReceipt) pendingFeedback_.push_back(job.orderNumber);
  return job;
}

std::u16string PrintQueue::takeFeedbackOrderNumber() {
  std::lock_guard<std::mutex> guard(lock_);
  if (pendingFeedback_.empty()) return {};
  std::u16string orderNumber = std::move(pendingFeedback_.front());
  pendingFeedback_.pop_front();
  return orderNumber;
}

size_t PrintQueue::pendingJobs() const {
  std::lock_guard<std::mutex> guard(lock_);
  return jobs_.size();
}

PrintQueue& ThePrintQueue() {
  // Never destroyed: nobody waits for the print thread at exit, and a job
  // still running then must not come back to a destroyed lock.
  static PrintQueue& queue = *std::make_unique<PrintQueue>().release();
  return queue;
}

}  // namespace vorna
