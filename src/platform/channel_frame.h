#pragma once
// The channel's frame: a 40-byte little-endian header (magic "VWMC", kind,
// three zero bytes, message, wParam, lParam, dwData, payload size) and the payload.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/window_channel.h"

namespace vorna {

inline constexpr size_t kChannelHeaderSize = 40;

enum class FrameStatus { kIncomplete, kInvalid, kComplete };

struct ChannelFrame {
  bool wantsReply = false;  // sent (waits for the result) rather than posted
  WindowMessage message;
};

std::vector<uint8_t> EncodeChannelFrame(bool wantsReply, const WindowMessage& message);
// Parses the bytes received so far on one connection. A connection carries
// exactly one frame: bytes beyond it make the frame invalid.
FrameStatus ParseChannelFrame(const uint8_t* data, size_t size, ChannelFrame* frame);

}  // namespace vorna
