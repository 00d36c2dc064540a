#pragma once
// The page's argument objects for the card and tag functions, checked and
// turned into the records the readers work with. nullopt means the call's
// arguments are rejected (code 4).
#include <cstdint>
#include <optional>
#include <string>

#include "bridge/js_value.h"

namespace vorna {

// createNewCard / writeDataToCard. Fields the page left out (or gave as
// something other than a string) stay nullopt.
struct CardWriteRequest {
  std::u16string uid;
  std::optional<std::u16string> key;  // six characters; absent: six zero bytes
  std::optional<std::u16string> number, name, phone, consume, points, discount, total;
};
std::optional<CardWriteRequest> CardWriteRequestFrom(const ArgValue& object);

// readDataFromCard.
struct CardReadRequest {
  std::u16string uid;  // empty when not given as a string
  std::u16string key;
};
std::optional<CardReadRequest> CardReadRequestFrom(const ArgValue& object);

// writeDataToTag.
struct TagWriteRequest {
  int32_t number = 0;
  double price = 0;
  std::u16string name;
};
std::optional<TagWriteRequest> TagWriteRequestFrom(const ArgValue& object);

// getElectronicWeigherInfo: a string longer than three characters starting
// with "COM" in any case names the port; anything else names none.
std::u16string ScalePortNameFrom(const ArgList& args);

}  // namespace vorna
