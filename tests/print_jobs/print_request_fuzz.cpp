// Fuzz entry for the print request record: any bytes are refused, or give a
// job that packs back into a record parsing to the same job.
#include <cstdint>
#include <cstdlib>

#include "printing/print_request.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<vorna::PrintJob> job = vorna::ParsePrintRequest(data, size);
  if (!job) return 0;
  if (job->orderNumber.size() > vorna::kOrderNumberUnits) abort();
  if (job->templateText.find(u'\0') != std::u16string::npos) abort();
  if (270 + 2 * job->templateText.size() > size) abort();
  std::vector<uint8_t> again = vorna::PackPrintRequest(job->paperWidth, job->copies,
                                                       job->orderNumber, job->templateText);
  std::optional<vorna::PrintJob> reparsed = vorna::ParsePrintRequest(again.data(), again.size());
  if (!reparsed || reparsed->paperWidth != job->paperWidth || reparsed->copies != job->copies ||
      reparsed->orderNumber != job->orderNumber || reparsed->templateText != job->templateText)
    abort();
  return 0;
}
