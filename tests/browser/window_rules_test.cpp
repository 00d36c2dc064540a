#include <gtest/gtest.h>

#include "browser/loading_dialog.h"
#include "browser/popup_geometry.h"

namespace vorna {
namespace {

TEST(PopupGeometry, NamesAndTheDefaultArea) {
  struct Case {
    const char* name;
    bool captionless;
    Rect bounds;
  } cases[] = {
      {"no_100_50_800_600", true, {100, 50, 800, 600}},
      {"NO_10_10_300_200", true, {10, 10, 300, 200}},
      {"yes_1_2_3_4", false, {1, 2, 3, 4}},
      {"no_1_2_3_4_extra", true, {1, 2, 3, 4}},  // a sixth field is ignored
      {"no_ 7x_-3_12abc_", true, {7, -3, 12, 0}},  // read like strtol
      {"no_1_2_3", false, {384, 216, 1152, 648}},  // three "_": not recognised
      {"no_1_2_3_4_5_6", false, {384, 216, 1152, 648}},
      {"", false, {384, 216, 1152, 648}},
      {"no_99999999999_0_1_1", true, {2147483647, 0, 1, 1}},
  };
  for (const auto& c : cases) {
    PopupGeometry g = PopupGeometryFor(c.name, 1920, 1080);
    EXPECT_EQ(g.captionless, c.captionless) << c.name;
    EXPECT_EQ(g.bounds.x, c.bounds.x) << c.name;
    EXPECT_EQ(g.bounds.y, c.bounds.y) << c.name;
    EXPECT_EQ(g.bounds.width, c.bounds.width) << c.name;
    EXPECT_EQ(g.bounds.height, c.bounds.height) << c.name;
  }
  PopupGeometry odd = PopupGeometryFor("", 1366, 727);  // truncating arithmetic
  EXPECT_EQ(odd.bounds.x, 273);
  EXPECT_EQ(odd.bounds.y, 145);
  EXPECT_EQ(odd.bounds.width, 819);
  EXPECT_EQ(odd.bounds.height, 436);
}

TEST(LoadingDialog, SweepsAndWrapsAndSitsAboveTheMiddle) {
  int position = 0, ticks = 0;
  do {
    position = NextLoadingProgress(position);
    ++ticks;
  } while (position != 0 && ticks < 1000);
  EXPECT_EQ(ticks, 50);  // five seconds at 100 ms per tick
  int x = 0, y = 0;
  LoadingDialogPosition(1420, 0, 480, 972, x, y);
  EXPECT_EQ(x, 1420 + (480 - kLoadingDialogWidth) / 2);
  EXPECT_EQ(y, (972 - kLoadingDialogHeight) / 3);
}

}  // namespace
}  // namespace vorna
