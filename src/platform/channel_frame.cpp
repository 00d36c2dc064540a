#include "platform/channel_frame.h"

#include <cstring>

namespace vorna {
namespace {

constexpr uint32_t kFrameMagic = 0x434D5756;  // "VWMC"
constexpr uint8_t kKindPost = 1;
constexpr uint8_t kKindSend = 2;

void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void PutU64(uint8_t* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint32_t GetU32(const uint8_t* p) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}
uint64_t GetU64(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

}  // namespace

std::vector<uint8_t> EncodeChannelFrame(bool wantsReply, const WindowMessage& message) {
  std::vector<uint8_t> frame(kChannelHeaderSize + message.payload.size());
  uint8_t* h = frame.data();
  PutU32(h, kFrameMagic);
  h[4] = wantsReply ? kKindSend : kKindPost;
  PutU32(h + 8, message.message);
  PutU64(h + 12, message.wParam);
  PutU64(h + 20, static_cast<uint64_t>(message.lParam));
  PutU64(h + 28, message.copyDataKind);
  PutU32(h + 36, static_cast<uint32_t>(message.payload.size()));
  if (!message.payload.empty())
    std::memcpy(h + kChannelHeaderSize, message.payload.data(), message.payload.size());
  return frame;
}

FrameStatus ParseChannelFrame(const uint8_t* data, size_t size, ChannelFrame* frame) {
  if (size < kChannelHeaderSize) return FrameStatus::kIncomplete;
  uint8_t kind = data[4];
  uint64_t payloadSize = GetU32(data + 36);
  if (GetU32(data) != kFrameMagic || (kind != kKindPost && kind != kKindSend) || data[5] ||
      data[6] || data[7] || payloadSize > kMaxChannelPayload ||
      size > kChannelHeaderSize + payloadSize)
    return FrameStatus::kInvalid;
  if (size < kChannelHeaderSize + payloadSize) return FrameStatus::kIncomplete;
  frame->wantsReply = kind == kKindSend;
  frame->message.message = GetU32(data + 8);
  frame->message.wParam = GetU64(data + 12);
  frame->message.lParam = static_cast<int64_t>(GetU64(data + 20));
  frame->message.copyDataKind = GetU64(data + 28);
  frame->message.payload.assign(data + kChannelHeaderSize, data + size);
  return FrameStatus::kComplete;
}

}  // namespace vorna
