#pragma once
// Daily log files in <program directory>/log/, UTF-16LE with a byte-order mark.
// Every record is one open-append-close; failures are silent by design.
#include <cstdint>
#include <string>

#include "app/text_encoding.h"  // AnsiToWide, for callers that log 8-bit text

namespace vorna {

void WriteSoftwareLog(std::u16string text);
void WriteWebLog(std::u16string text);
void WriteCrashLog(std::u16string text);

// Deletes log/*.txt files whose modification lies more than `days` days back.
void PurgeOldLogs(int days);
// Same, against a given current time (seconds since 1970); for tests.
void PurgeOldLogsAt(int days, int64_t nowSeconds);

}  // namespace vorna
