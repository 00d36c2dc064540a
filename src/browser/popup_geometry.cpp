#include "browser/popup_geometry.h"

#include <strings.h>

#include <climits>
#include <cstdlib>
#include <vector>

namespace vorna {
namespace {

// Reads like strtol: leading blanks and a sign, stops at the first other
// character, no digits give 0; clamped to int.
int LeadingInteger(const std::string& field) {
  long value = std::strtol(field.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace

PopupGeometry PopupGeometryFor(const std::string& windowName, int workAreaWidth,
                               int workAreaHeight) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    size_t cut = windowName.find('_', start);
    fields.push_back(windowName.substr(start, cut - start));
    if (cut == std::string::npos) break;
    start = cut + 1;
  }
  PopupGeometry geometry;
  if (!windowName.empty() && (fields.size() == 5 || fields.size() == 6)) {
    geometry.captionless = strcasecmp(fields[0].c_str(), "no") == 0;
    geometry.bounds = {LeadingInteger(fields[1]), LeadingInteger(fields[2]),
                       LeadingInteger(fields[3]), LeadingInteger(fields[4])};
    return geometry;
  }
  long long w = workAreaWidth, h = workAreaHeight;
  geometry.bounds = {static_cast<int>(w * 20 / 100), static_cast<int>(h * 20 / 100),
                     static_cast<int>(w * 60 / 100), static_cast<int>(h * 60 / 100)};
  return geometry;
}

}  // namespace vorna
