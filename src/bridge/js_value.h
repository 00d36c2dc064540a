#pragma once
// Plain values crossing between the page's script engine and the bridge. The
// module converts JavaScriptCore values to and from these, so everything that
// decides on them can be tested without an engine.
#include <cstdint>
#include <string>
#include <vector>

namespace vorna {

struct ArgProperty;

// An argument the page passed to an app function.
struct ArgValue {
  enum class Kind { kUndefined, kNull, kBoolean, kNumber, kString, kObject, kOther };
  Kind kind = Kind::kUndefined;
  bool boolean = false;
  double number = 0;
  std::u16string text;
  // Own enumerable properties of an object (arrays and functions are objects too).
  std::vector<ArgProperty> properties;

  static ArgValue Undefined() { return {}; }
  static ArgValue Boolean(bool v);
  static ArgValue Number(double v);
  static ArgValue String(std::u16string v);
  static ArgValue Object(std::vector<ArgProperty> properties = {});

  bool IsUndefined() const { return kind == Kind::kUndefined; }
  bool IsBoolean() const { return kind == Kind::kBoolean; }
  bool IsNumber() const { return kind == Kind::kNumber; }
  bool IsString() const { return kind == Kind::kString; }
  bool IsObject() const { return kind == Kind::kObject; }
  // A whole number in the signed 32-bit range.
  bool IsInteger() const;
  int32_t AsInt32() const { return static_cast<int32_t>(number); }

  // The property's value; undefined when the object has no such property.
  const ArgValue& Property(const std::u16string& name) const;
};

struct ArgProperty {
  std::u16string name;
  ArgValue value;
};

using ArgList = std::vector<ArgValue>;

struct ResultProperty;

// A result handed back to the page. kUnset leaves the call's result undefined.
struct ResultValue {
  enum class Kind { kUnset, kBoolean, kInteger, kDouble, kString, kObject, kArray };
  Kind kind = Kind::kUnset;
  bool boolean = false;
  int32_t integer = 0;
  double number = 0;
  std::u16string text;
  std::vector<ResultProperty> properties;  // objects, in insertion order
  std::vector<ResultValue> elements;       // arrays

  static ResultValue Unset() { return {}; }
  static ResultValue Boolean(bool v);
  static ResultValue Integer(int32_t v);
  static ResultValue Double(double v);
  static ResultValue String(std::u16string v);
  static ResultValue Object(std::vector<ResultProperty> properties);
  static ResultValue Array(std::vector<ResultValue> elements);

  bool IsUnset() const { return kind == Kind::kUnset; }
  // A property of an object result; null when absent.
  const ResultValue* Property(const std::u16string& name) const;
};

struct ResultProperty {
  std::u16string name;
  ResultValue value;
};

}  // namespace vorna
