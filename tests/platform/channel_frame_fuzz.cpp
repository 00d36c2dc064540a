// Fuzz entry for the channel's frame parser: any bytes end as incomplete,
// invalid or a frame that encodes back to the same bytes.
#include <cstdint>
#include <cstdlib>

#include "platform/channel_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vorna::ChannelFrame frame;
  if (vorna::ParseChannelFrame(data, size, &frame) == vorna::FrameStatus::kComplete) {
    std::vector<uint8_t> again = vorna::EncodeChannelFrame(frame.wantsReply, frame.message);
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) abort();
  }
  return 0;
}
