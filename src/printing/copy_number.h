#pragma once
// Copy-number placeholders in a rendered receipt: "_LIAN_NUM_" becomes the
// Chinese numeral of the copy (1 to 10 only), "_lian_num_" its decimal digits.
#include <string>

namespace vorna {

// Returns one copy's bytes with the placeholders of copy `copyNumber` (from 1)
// filled in. Bytes are in the printer code page, and so are the numerals.
std::string SubstituteCopyNumber(std::string bytes, int copyNumber);

}  // namespace vorna
