#include <gtest/gtest.h>

#include "bridge/identification_headers.h"
#include "bridge/xrandr_outputs.h"

namespace vorna::test {
namespace {

TEST(XrandrOutputs, SecondConnectedOutputGoesRightOfThePrimary) {
  const std::string query =
      "Screen 0: minimum 8 x 8, current 2944 x 1080, maximum 32767 x 32767\n"
      "HDMI-1 connected 1024x768+1920+0 (normal left inverted) 300mm x 200mm\n"
      "   1024x768      60.00*+\n"
      "eDP-1 connected primary 1920x1080+0+0 (normal) 340mm x 190mm\n"
      "   1920x1080     60.00*+\n"
      "DP-1 disconnected (normal left inverted right x axis y axis)\n";
  std::vector<XrandrOutput> outputs = ParseXrandrOutputs(query);
  ASSERT_EQ(outputs.size(), 2u);
  EXPECT_EQ(outputs[0].name, "HDMI-1");
  EXPECT_TRUE(outputs[1].primary);
  EXPECT_EQ(ExtendDesktopCommand(outputs),
            (std::vector<std::string>{"xrandr", "--output", "HDMI-1", "--auto", "--right-of",
                                      "eDP-1"}));
  // No output marked primary: the first one is.
  EXPECT_EQ(ExtendDesktopCommand({{"A", false}, {"B", false}})[2], "B");
  EXPECT_TRUE(ExtendDesktopCommand({{"A", true}}).empty());
  EXPECT_TRUE(ParseXrandrOutputs("").empty());
}

TEST(IdentificationHeader, PageValueStaysBesideOurs) {
  EXPECT_EQ(CombinedHeaderValue(nullptr, "vornaer_master_pc"), "vornaer_master_pc");
  EXPECT_EQ(CombinedHeaderValue("", "2.0.1"), "2.0.1");
  EXPECT_EQ(CombinedHeaderValue("page", "vornaer_master_pc"), "page, vornaer_master_pc");
  // A redirected request already carries ours.
  EXPECT_EQ(CombinedHeaderValue("page, vornaer_master_pc", "vornaer_master_pc"),
            "page, vornaer_master_pc");
  EXPECT_EQ(CombinedHeaderValue("2.0.1", "2.0.1"), "2.0.1");
}

}  // namespace
}  // namespace vorna::test
