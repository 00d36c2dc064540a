#include "bridge/identification_headers.h"

namespace vorna {

std::string CombinedHeaderValue(const char* pageValue, const std::string& ours) {
  if (!pageValue || !*pageValue) return ours;
  // A redirect hands us a request that already carries our value.
  std::string existing(pageValue);
  if (existing == ours ||
      (existing.size() > ours.size() + 2 &&
       existing.compare(existing.size() - ours.size() - 2, std::string::npos, ", " + ours) == 0))
    return existing;
  return std::string(pageValue) + ", " + ours;
}

}  // namespace vorna
