#include "bridge/identification_headers.h"

#include <libsoup/soup.h>

#include "app/deployment.h"

namespace vorna {
namespace {

void SetHeader(SoupMessageHeaders* headers, const char* name, const std::string& ours) {
  const char* pageValue = soup_message_headers_get_list(headers, name);
  std::string value = CombinedHeaderValue(pageValue, ours);
  soup_message_headers_replace(headers, name, value.c_str());
}

}  // namespace

void AddIdentificationHeaders(SoupMessageHeaders* headers) {
  SetHeader(headers, kIdentificationHeader, kIdentificationValue);
  SetHeader(headers, kVersionHeader, kProductVersion);
}

}  // namespace vorna
