#pragma once
// The cashier page of the demo service.
#include <string>

namespace vorna::demo {

// The page served at /master/login; `requestHeaders` is shown in it so the
// cashier can see what the client identified itself with.
std::string CashierPage(const std::string& requestHeaders);

}  // namespace vorna::demo
