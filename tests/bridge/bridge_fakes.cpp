#include "bridge_fakes.h"

#include "app/text_encoding.h"

namespace vorna::test {

std::string Show(const ResultValue& value) {
  switch (value.kind) {
    case ResultValue::Kind::kUnset: return "undefined";
    case ResultValue::Kind::kBoolean: return value.boolean ? "true" : "false";
    case ResultValue::Kind::kInteger: return std::to_string(value.integer);
    case ResultValue::Kind::kDouble: return std::to_string(value.number);
    case ResultValue::Kind::kString: return "\"" + Utf16ToUtf8(value.text) + "\"";
    case ResultValue::Kind::kObject: {
      std::string out = "{";
      for (const ResultProperty& p : value.properties) {
        if (out.size() > 1) out += ",";
        out += Utf16ToUtf8(p.name) + ":" + Show(p.value);
      }
      return out + "}";
    }
    case ResultValue::Kind::kArray: {
      std::string out = "[";
      for (const ResultValue& e : value.elements) {
        if (out.size() > 1) out += ",";
        out += Show(e);
      }
      return out + "]";
    }
  }
  return "?";
}

}  // namespace vorna::test
