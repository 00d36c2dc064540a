// The vorna-receipt tool end to end: a receipt with Chinese text, a table, a
// joint line and a divider on every paper width, and the exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "receipt_bytes.h"

namespace vorna {
namespace {

using namespace receipt_test;

const std::string kTemplate =
    "<html><body>\n" + Block("bold middle", "欢迎光临") + "\n" + Block("dividing", "") + "\n" +
    Block("td w50", "商品") + Block("td w20 middle", "数量") + Block("td right", "金额") +
    Block("tr", "") + "\n" + Block("td w50", "香蕉苹果橙子西瓜葡萄") +
    Block("td w20 middle", "2") + Block("td right", "12.50") + "\n" + Block("joint", "=合计") +
    Block("", "第_lian_num_联") + "\n</body></html>\n";

std::string Framed(const std::string& body) { return kJobStart + body + kJobEnd; }

std::string Common(int dividers) {
  return Align('1') + Style(0, 0x08) + Gbk("欢迎光临") + "\n" + Align('0') + Style(0, 0) +
         std::string(dividers, '-') + "\n";
}

std::string Ending(int fill, const char* copy) {
  return Align('0') + Style(0, 0) + std::string(fill, '=') + Gbk("合计") + std::string(fill, '=') +
         "\n" + Align('0') + Style(0, 0) + Gbk("第") + copy + Gbk("联") + "\n";
}

struct ToolRun {
  int status = -1;
  std::string out, err;
};

class VornaReceiptTool : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPrinterCodePage(kCodePageGbk);  // for the expected bytes
    char pattern[] = "/tmp/vorna-receipt-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    for (const char* name : {"/template.html", "/out", "/err"}) unlink((folder_ + name).c_str());
    rmdir(folder_.c_str());
  }

  ToolRun Run(const std::string& templateText, const std::string& options) {
    std::ofstream(folder_ + "/template.html", std::ios::binary) << templateText;
    // A UTF-8 locale makes the tool choose GBK for the printer, as the client does.
    std::string command = "LC_ALL=C.UTF-8 '" VORNA_PROGRAM_DIR "/vorna-receipt' render " + options +
                          " '" + folder_ + "/template.html' >'" + folder_ + "/out' 2>'" + folder_ +
                          "/err'";
    ToolRun run;
    int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = Slurp(folder_ + "/out");
    run.err = Slurp(folder_ + "/err");
    return run;
  }

  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string folder_;
};

TEST_F(VornaReceiptTool, RendersTheReceiptForEachPaperWidth) {
  const struct {
    const char* options;
    std::string expected;
  } cases[] = {
      {"", Framed(Common(32) +
                  Align('0') + Style(0, 0) + Gbk("商品") + Spaces(12) + Style(0, 0) + Spaces(1) +
                  Gbk("数量") + Spaces(1) + Style(0, 0) + Spaces(5) + Gbk("金额") + "\n" +
                  Align('0') + Style(0, 0) + Gbk("香蕉苹果橙子西瓜") + Style(0, 0) + Spaces(2) +
                  "2" + Spaces(3) + Style(0, 0) + Spaces(4) + "12.50" + "\n" + Style(0, 0) +
                  Gbk("葡萄") + "\n" + Ending(14, "1"))},
      {"--paper 76 --copy 2",
       Framed(Common(32) +
              Align('0') + Style(0, 0) + Gbk("商品") + Style(0, 0) + Tab(17) + Gbk("数量") +
              Style(0, 0) + Tab(28) + Gbk("金额") + "\n" +
              Align('0') + Style(0, 0) + Gbk("香蕉苹果橙子西瓜") + Style(0, 0) + Tab(18) + "2" +
              Style(0, 0) + Tab(27) + "12.50" + "\n" + Style(0, 0) + Gbk("葡萄") + "\n" +
              Ending(14, "2"))},
      {"--paper=80 --copy=12",
       Framed(Common(48) +
              Align('0') + Style(0, 0) + Gbk("商品") + Spaces(20) + Style(0, 0) + Spaces(2) +
              Gbk("数量") + Spaces(3) + Style(0, 0) + Spaces(10) + Gbk("金额") + "\n" +
              Align('0') + Style(0, 0) + Gbk("香蕉苹果橙子西瓜葡萄") + Spaces(4) + Style(0, 0) +
              Spaces(4) + "2" + Spaces(4) + Style(0, 0) + Spaces(9) + "12.50" + "\n" +
              Ending(22, "12"))},
  };
  // The printer code page really is GBK: 合计 is BA CF BC C6.
  ASSERT_EQ(Gbk("合计"), Bytes({0xBA, 0xCF, 0xBC, 0xC6}));
  for (const auto& c : cases) {
    ToolRun run = Run(kTemplate, c.options);
    EXPECT_EQ(run.status, 0) << c.options << "\n" << run.err;
    EXPECT_EQ(Hex(run.out), Hex(c.expected)) << c.options;
    EXPECT_EQ(run.err, "") << c.options;
  }
}

TEST_F(VornaReceiptTool, ReportsTemplateErrorsWithStatus3AndTheLogText) {
  ToolRun broken = Run(Block("td", "1") + "<!--table td>2</table-->", "");
  EXPECT_EQ(broken.status, 3);
  EXPECT_EQ(broken.out, "");
  EXPECT_EQ(broken.err, "  模板书写出错（标签属性集没用引号包含）\n");

  ToolRun elementProblem = Run(Block("joint", "*"), "--paper 80");
  EXPECT_EQ(elementProblem.status, 0);
  EXPECT_EQ(Hex(elementProblem.out), Hex(Framed("")));
  EXPECT_EQ(elementProblem.err, "  joint标签没有写明占位符\n");

  ToolRun empty = Run("", "");
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.out, "");
}

TEST_F(VornaReceiptTool, RejectsBadArguments) {
  EXPECT_EQ(Run("x", "--paper").status, 64);
  EXPECT_EQ(Run("x", "--paper wide").status, 64);
  EXPECT_EQ(Run("x", "--colour 2").status, 64);
}

}  // namespace
}  // namespace vorna
