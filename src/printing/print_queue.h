#pragma once
// The process-wide queue between the main window (and shutdown) and the print
// thread. One lock guards both lists; the print thread blocks in pop() until
// a job is present.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>

#include "printing/print_job.h"

namespace vorna {

class PrintQueue {
 public:
  void push(const PrintJob& job);
  // Waits for a job and removes the oldest. A receipt job's order number is
  // recorded for its feedback before pop returns.
  PrintJob pop();
  // Oldest order number still waiting for its feedback; empty when none.
  std::u16string takeFeedbackOrderNumber();

  size_t pendingJobs() const;

 private:
  mutable std::mutex lock_;
  std::condition_variable jobArrived_;
  std::deque<PrintJob> jobs_;
  std::deque<std::u16string> pendingFeedback_;
};

// The queue the main window, shutdown and the print thread share.
PrintQueue& ThePrintQueue();

}  // namespace vorna
