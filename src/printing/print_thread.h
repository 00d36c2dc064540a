#pragma once
// The print thread: takes jobs from the queue in order until the stop job.
#include <functional>

#include "printing/print_job_runner.h"

namespace vorna {

class PrintQueue;

// Tells the page a receipt job's result.
using PrintFeedback = std::function<void(int resultCode)>;

// Posts UM_PRINT_FEEDBACK to the main window, looked up for this message.
void PostPrintFeedback(int resultCode);

// The thread's body: finds printers, then runs jobs until a stop job.
// One feedback per receipt job, in job order.
void RunPrintThread(PrintQueue& queue, PrinterLocator& locator, const ReceiptRendering& rendering,
                    const PrintFeedback& feedback);

// Starts the print thread on ThePrintQueue() with the real printers, the
// linked renderer and window-message feedback. Nobody waits for it; false
// (and a log line) when the thread cannot be started.
bool StartPrintThread();
bool StartPrintThread(ReceiptRendering rendering, PrintFeedback feedback);

// Shutdown: queues the stop job and gives the thread 200 ms to finish.
void StopPrintThread();

}  // namespace vorna
