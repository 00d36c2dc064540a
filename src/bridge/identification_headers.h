#pragma once
// The headers that identify this client to the service on every request.
#include <string>

typedef struct _SoupMessageHeaders SoupMessageHeaders;

namespace vorna {

inline constexpr const char* kIdentificationHeader = "My-Header";
inline constexpr const char* kIdentificationValue = "vornaer_master_pc";
inline constexpr const char* kVersionHeader = "My-Version";

// A value the page set itself stays, with ours after it on the same line.
std::string CombinedHeaderValue(const char* pageValue, const std::string& ours);
void AddIdentificationHeaders(SoupMessageHeaders* headers);

}  // namespace vorna
