#include "bridge/device_arguments.h"

namespace vorna {
namespace {

// A string field within `maxUnits` (and at least `minUnits`); a non-string
// field is ignored. False rejects the whole request.
bool TakeTextField(const ArgValue& object, const char16_t* key, size_t minUnits, size_t maxUnits,
                   std::optional<std::u16string>& field) {
  const ArgValue& value = object.Property(key);
  if (!value.IsString()) return true;
  if (value.text.size() < minUnits || value.text.size() > maxUnits) return false;
  field = value.text;
  return true;
}

bool IsCardKey(const ArgValue& value) { return value.IsString() && value.text.size() == 6; }

}  // namespace

std::optional<CardWriteRequest> CardWriteRequestFrom(const ArgValue& object) {
  if (!object.IsObject()) return std::nullopt;
  CardWriteRequest request;
  const ArgValue& uid = object.Property(u"uid");
  if (!uid.IsString()) return std::nullopt;
  request.uid = uid.text;
  const ArgValue& key = object.Property(u"key");
  if (key.IsString()) {
    if (!IsCardKey(key)) return std::nullopt;
    request.key = key.text;
  }
  constexpr size_t kFieldUnits = 16;
  if (!TakeTextField(object, u"number", 0, kFieldUnits, request.number) ||
      !TakeTextField(object, u"name", 0, kFieldUnits, request.name) ||
      !TakeTextField(object, u"phone", 0, kFieldUnits, request.phone) ||
      !TakeTextField(object, u"points", 0, kFieldUnits, request.points) ||
      !TakeTextField(object, u"discount", 0, kFieldUnits, request.discount) ||
      !TakeTextField(object, u"total", 0, kFieldUnits, request.total) ||
      !TakeTextField(object, u"consume", 1, kFieldUnits, request.consume))
    return std::nullopt;
  return request;
}

std::optional<CardReadRequest> CardReadRequestFrom(const ArgValue& object) {
  if (!object.IsObject()) return std::nullopt;
  const ArgValue& key = object.Property(u"key");
  if (!IsCardKey(key)) return std::nullopt;
  CardReadRequest request;
  const ArgValue& uid = object.Property(u"uid");
  if (uid.IsString()) request.uid = uid.text;
  request.key = key.text;
  return request;
}

std::optional<TagWriteRequest> TagWriteRequestFrom(const ArgValue& object) {
  if (!object.IsObject()) return std::nullopt;
  const ArgValue& number = object.Property(u"number");
  const ArgValue& price = object.Property(u"price");
  const ArgValue& name = object.Property(u"name");
  if (!number.IsInteger() || !price.IsNumber() || !name.IsString()) return std::nullopt;
  return TagWriteRequest{number.AsInt32(), price.number, name.text};
}

std::u16string ScalePortNameFrom(const ArgList& args) {
  if (args.size() != 1 || !args[0].IsString()) return {};
  const std::u16string& text = args[0].text;
  if (text.size() <= 3) return {};
  for (size_t i = 0; i < 3; ++i) {
    char16_t unit = text[i];
    if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
    if (unit != u"COM"[i]) return {};
  }
  return text;
}

}  // namespace vorna
