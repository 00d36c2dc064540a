#pragma once
// Where a window opened by the page goes. A name of the form
// "flag_x_y_width_height" (a sixth field is ignored) gives the client area;
// a first field "no" makes the window caption-less. Any other name puts the
// window in the middle 60 % of the work area.
#include <string>

#include "app/startup.h"

namespace vorna {

struct PopupGeometry {
  bool captionless = false;
  Rect bounds;  // client area
};

PopupGeometry PopupGeometryFor(const std::string& windowName, int workAreaWidth,
                               int workAreaHeight);

}  // namespace vorna
