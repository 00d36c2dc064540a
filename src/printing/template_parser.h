#pragma once
// The receipt template language: blocks of the form
//   <!--table "tag words">content</table-->
// and the grouping of consecutive "td" blocks into table rows.
#include <string>
#include <vector>

#include "printing/receipt_element.h"

namespace vorna {

// Appends the template's blocks to `elements`. False after the first error,
// which has been logged; the elements are then unusable.
bool ParseTemplate(const std::u16string& templateText, std::vector<ReceiptElement>& elements,
                   const ReceiptLog& log);

// Turns runs of two or more "td" into "tdfirst", "td"..., "tdend"; a lone
// "td" becomes "text".
void GroupRows(std::vector<ReceiptElement>& elements);

}  // namespace vorna
