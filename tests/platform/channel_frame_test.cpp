#include <gtest/gtest.h>

#include <random>

#include "platform/channel_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace vorna {
namespace {

TEST(ChannelFrame, RoundTripAndEveryPrefixIsIncomplete) {
  WindowMessage m;
  m.message = kWmCopyData;
  m.wParam = 3256;
  m.lParam = -7;
  m.copyDataKind = 3243;
  m.payload = {'h', 0, 'i', 0, 0, 0};
  std::vector<uint8_t> bytes = EncodeChannelFrame(true, m);
  ASSERT_EQ(bytes.size(), kChannelHeaderSize + 6);
  ChannelFrame frame;
  for (size_t n = 0; n < bytes.size(); ++n)
    ASSERT_EQ(ParseChannelFrame(bytes.data(), n, &frame), FrameStatus::kIncomplete) << n;
  ASSERT_EQ(ParseChannelFrame(bytes.data(), bytes.size(), &frame), FrameStatus::kComplete);
  EXPECT_TRUE(frame.wantsReply);
  EXPECT_EQ(frame.message.lParam, -7);
  EXPECT_EQ(frame.message.copyDataKind, 3243u);
  EXPECT_EQ(frame.message.payload, m.payload);
  bytes.push_back(0);
  EXPECT_EQ(ParseChannelFrame(bytes.data(), bytes.size(), &frame), FrameStatus::kInvalid);
}

// The fuzz entry over mutated valid frames and noise, so every run covers it.
TEST(ChannelFrame, FuzzEntrySurvivesMutations) {
  std::mt19937 random(2026);
  WindowMessage m;
  m.message = 32606;
  m.payload.assign(20, 'x');
  const std::vector<uint8_t> seed = EncodeChannelFrame(false, m);
  for (int round = 0; round < 20000; ++round) {
    std::vector<uint8_t> input = seed;
    if (round % 4 == 0) {
      input.resize(random() % 96);
      for (auto& b : input) b = static_cast<uint8_t>(random());
    } else {
      for (int k = random() % 4; k >= 0; --k) input[random() % input.size()] ^= 1u << (random() % 8);
      input.resize(random() % (input.size() + 8));
    }
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
}

}  // namespace
}  // namespace vorna
