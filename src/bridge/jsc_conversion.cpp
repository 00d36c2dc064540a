#include "bridge/jsc_conversion.h"

#include "app/text_encoding.h"

namespace vorna {
namespace {

std::u16string ToText(JSCValue* value) {
  GBytes* bytes = jsc_value_to_string_as_bytes(value);
  if (!bytes) return {};
  gsize size = 0;
  const char* data = static_cast<const char*>(g_bytes_get_data(bytes, &size));
  std::u16string text = Utf8ToUtf16(std::string(data ? data : "", size));
  g_bytes_unref(bytes);
  return text;
}

ArgValue Convert(JSCValue* value, int depth) {
  if (jsc_value_is_undefined(value)) return ArgValue::Undefined();
  if (jsc_value_is_null(value)) {
    ArgValue a;
    a.kind = ArgValue::Kind::kNull;
    return a;
  }
  if (jsc_value_is_boolean(value)) return ArgValue::Boolean(jsc_value_to_boolean(value));
  if (jsc_value_is_number(value)) return ArgValue::Number(jsc_value_to_double(value));
  if (jsc_value_is_string(value)) return ArgValue::String(ToText(value));
  if (jsc_value_is_object(value)) {
    ArgValue object = ArgValue::Object();
    if (depth > 0) return object;
    gchar** names = jsc_value_object_enumerate_properties(value);
    for (gchar** name = names; name && *name; ++name) {
      JSCValue* property = jsc_value_object_get_property(value, *name);
      object.properties.push_back({Utf8ToUtf16(*name), Convert(property, depth + 1)});
      g_object_unref(property);
    }
    g_strfreev(names);
    return object;
  }
  ArgValue other;
  other.kind = ArgValue::Kind::kOther;
  return other;
}

JSCValue* NewString(JSCContext* context, const std::u16string& text) {
  std::string utf8 = Utf16ToUtf8(text);
  GBytes* bytes = g_bytes_new(utf8.data(), utf8.size());
  JSCValue* value = jsc_value_new_string_from_bytes(context, bytes);
  g_bytes_unref(bytes);
  return value;
}

}  // namespace

ArgValue ToArgValue(JSCValue* value) { return Convert(value, 0); }

JSCValue* ToJscValue(JSCContext* context, const ResultValue& result) {
  switch (result.kind) {
    case ResultValue::Kind::kUnset:
      return jsc_value_new_undefined(context);
    case ResultValue::Kind::kBoolean:
      return jsc_value_new_boolean(context, result.boolean);
    case ResultValue::Kind::kInteger:
      return jsc_value_new_number(context, result.integer);
    case ResultValue::Kind::kDouble:
      return jsc_value_new_number(context, result.number);
    case ResultValue::Kind::kString:
      return NewString(context, result.text);
    case ResultValue::Kind::kObject: {
      JSCValue* object = jsc_value_new_object(context, nullptr, nullptr);
      for (const ResultProperty& p : result.properties) {
        JSCValue* value = ToJscValue(context, p.value);
        jsc_value_object_set_property(object, Utf16ToUtf8(p.name).c_str(), value);
        g_object_unref(value);
      }
      return object;
    }
    case ResultValue::Kind::kArray: {
      GPtrArray* elements = g_ptr_array_new_with_free_func(g_object_unref);
      for (const ResultValue& e : result.elements)
        g_ptr_array_add(elements, ToJscValue(context, e));
      JSCValue* array = jsc_value_new_array_from_garray(context, elements);
      g_ptr_array_unref(elements);
      return array;
    }
  }
  return jsc_value_new_undefined(context);
}

}  // namespace vorna
