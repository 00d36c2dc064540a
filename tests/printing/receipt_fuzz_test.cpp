// Runs the fuzz entry over seeds and thousands of mutations of them, so
// every build covers it even without a fuzzing compiler.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "receipt_bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace vorna {
namespace {

using receipt_test::Block;

std::string Input(uint8_t selector, const std::string& templateText,
                  const std::string& bmp = std::string()) {
  std::string input(1, static_cast<char>(selector));
  input += templateText;
  if (!bmp.empty()) input += std::string(1, '\0') + bmp;
  return input;
}

// A 2 x 30 24-bit BMP, all black.
std::string SmallBmp() {
  std::string s(54 + 8 * 30, '\0');
  const uint8_t header[] = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                            2,   0,   0, 0, 30, 0, 0, 0, 1, 0, 24, 0};
  std::copy(std::begin(header), std::end(header), s.begin());
  return s;
}

std::vector<std::string> Seeds() {
  const std::string row = Block("td w40 bold middle", "一二三四五六七八九十一二") +
                          Block("td w20 right", "2") + Block("td dw", "12.50");
  return {
      Input(0, ""),
      Input(1, "plain text, no blocks"),
      Input(2, Block("bold middle", "AB") + Block("dividing dw", "=") + Block("joint", "*合计")),
      Input(0, row + Block("tr", "") + row),
      Input(1, row + Block("br", "") + Block("td", "") + Block("td", "x")),
      Input(2, Block("img middle w50", "logo.png") + Block("img width200 height80", "x"),
            SmallBmp()),
      Input(3, Block("img w50", "a") + Block("joint", "*"), SmallBmp().substr(0, 40)),
      Input(4, "<!--table td>1</table-->"),
      Input(5, "<!--table \"td\">1"),
      Input(6, Block("", "第_LIAN_NUM_联 _lian_num_") + Block("td w2", "AB") + Block("td", "C")),
  };
}

const char* const kTokens[] = {"<!--table", "</table-->", "\"", "'", ">", " ", "td", "tr",
                               "img", "joint", "dividing", "br", "dw", "dh", "dwh", "bold",
                               "middle", "right", "underline", "w", "w99", "w2147483647",
                               "width", "height", "中", "\n", "_LIAN_NUM_", "_lian_num_"};

std::string Mutate(std::string input, std::mt19937& random) {
  std::uniform_int_distribution<int> kind(0, 4);
  const int steps = 1 + static_cast<int>(random() % 6);
  for (int i = 0; i < steps; ++i) {
    const size_t at = input.empty() ? 0 : random() % (input.size() + 1);
    switch (kind(random)) {
      case 0:  // insert a token of the language
        input.insert(at, kTokens[random() % std::size(kTokens)]);
        break;
      case 1:  // flip a byte
        if (!input.empty()) input[at % input.size()] ^= static_cast<char>(1 + random() % 255);
        break;
      case 2:  // delete a stretch
        input.erase(at, random() % 16);
        break;
      case 3:  // repeat a stretch
        if (at < input.size()) input.insert(at, input.substr(at, 1 + random() % 64));
        break;
      default:  // random byte
        input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), static_cast<char>(random()));
        break;
    }
  }
  if (input.size() > 1 << 16) input.resize(1 << 16);
  return input;
}

TEST(ReceiptFuzz, EveryInputEndsInBytesOrResult3) {
  std::vector<std::string> corpus = Seeds();
  for (const auto& seed : corpus)
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(seed.data()), seed.size());

  std::mt19937 random(20261211);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  int runs = 0;
  for (; runs < 20000 && std::chrono::steady_clock::now() < deadline; ++runs) {
    std::string input = Mutate(corpus[random() % corpus.size()], random);
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    if (runs % 8 == 0 && corpus.size() < 200) corpus.push_back(std::move(input));
  }
  EXPECT_GT(runs, 0);
}

}  // namespace
}  // namespace vorna
