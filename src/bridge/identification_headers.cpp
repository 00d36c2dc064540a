#include "bridge/identification_headers.h"

#include "app/deployment.h"

namespace vorna {
namespace {

void SetHeader(SoupMessageHeaders* headers, const char* name, const std::string& ours) {
  const char* pageValue = soup_message_headers_get_list(headers, name);
  std::string value = CombinedHeaderValue(pageValue, ours);
  soup_message_headers_replace(headers, name, value.c_str());
}

}  // namespace

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

void AddIdentificationHeaders(SoupMessageHeaders* headers) {
  SetHeader(headers, kIdentificationHeader, kIdentificationValue);
  SetHeader(headers, kVersionHeader, kProductVersion);
}

}  // namespace vorna
