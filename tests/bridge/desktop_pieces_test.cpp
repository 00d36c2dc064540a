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

TEST(SecondMonitor, FirstMonitorThatIsNotThePrimary) {
  auto show = [](const MonitorArea& m) {
    return std::to_string(m.x) + "," + std::to_string(m.y) + "," + std::to_string(m.width) +
           "x" + std::to_string(m.height);
  };
  MonitorArea a{0, 0, 1920, 1080, false}, b{1920, 0, 1024, 768, false},
      c{-800, 100, 800, 600, false};
  MonitorArea primaryB = b;
  primaryB.primary = true;
  EXPECT_EQ(show(SecondMonitor({a, b})), "1920,0,1024x768");    // none marked: first is primary
  EXPECT_EQ(show(SecondMonitor({a, primaryB, c})), "0,0,1920x1080");
  EXPECT_EQ(show(SecondMonitor({c, primaryB})), "-800,100,800x600");
  EXPECT_EQ(show(SecondMonitor({a})), "0,0,0x0");
  EXPECT_EQ(show(SecondMonitor({})), "0,0,0x0");
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
