#pragma once
// JavaScriptCore values to and from the bridge's plain values.
#include <jsc/jsc.h>

#include "bridge/js_value.h"

namespace vorna {

// Objects are read one level deep: nested objects keep their kind but not
// their properties, which no app function looks at.
ArgValue ToArgValue(JSCValue* value);
// A new reference; undefined for an unset result.
JSCValue* ToJscValue(JSCContext* context, const ResultValue& result);

}  // namespace vorna
