#include "bridge/js_value.h"

#include <cmath>

namespace vorna {

ArgValue ArgValue::Boolean(bool v) {
  ArgValue a;
  a.kind = Kind::kBoolean;
  a.boolean = v;
  return a;
}

ArgValue ArgValue::Number(double v) {
  ArgValue a;
  a.kind = Kind::kNumber;
  a.number = v;
  return a;
}

ArgValue ArgValue::String(std::u16string v) {
  ArgValue a;
  a.kind = Kind::kString;
  a.text = std::move(v);
  return a;
}

ArgValue ArgValue::Object(std::vector<ArgProperty> properties) {
  ArgValue a;
  a.kind = Kind::kObject;
  a.properties = std::move(properties);
  return a;
}

bool ArgValue::IsInteger() const {
  return kind == Kind::kNumber && std::isfinite(number) && std::trunc(number) == number &&
         number >= -2147483648.0 && number <= 2147483647.0;
}

const ArgValue& ArgValue::Property(const std::u16string& name) const {
  static const ArgValue kUndefined;
  for (const ArgProperty& p : properties)
    if (p.name == name) return p.value;
  return kUndefined;
}

ResultValue ResultValue::Boolean(bool v) {
  ResultValue r;
  r.kind = Kind::kBoolean;
  r.boolean = v;
  return r;
}

ResultValue ResultValue::Integer(int32_t v) {
  ResultValue r;
  r.kind = Kind::kInteger;
  r.integer = v;
  return r;
}

ResultValue ResultValue::Double(double v) {
  ResultValue r;
  r.kind = Kind::kDouble;
  r.number = v;
  return r;
}

ResultValue ResultValue::String(std::u16string v) {
  ResultValue r;
  r.kind = Kind::kString;
  r.text = std::move(v);
  return r;
}

ResultValue ResultValue::Object(std::vector<ResultProperty> properties) {
  ResultValue r;
  r.kind = Kind::kObject;
  r.properties = std::move(properties);
  return r;
}

ResultValue ResultValue::Array(std::vector<ResultValue> elements) {
  ResultValue r;
  r.kind = Kind::kArray;
  r.elements = std::move(elements);
  return r;
}

const ResultValue* ResultValue::Property(const std::u16string& name) const {
  for (const ResultProperty& p : properties)
    if (p.name == name) return &p.value;
  return nullptr;
}

}  // namespace vorna
