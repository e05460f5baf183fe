#pragma once
// An LZX stream, as the compressed section of a .chm holds it, made only of
// uncompressed blocks: every reader's decoder takes it, and the bytes depend
// on nothing but the input.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velquior::help {

inline constexpr std::uint32_t kLzxFrameSize = 0x8000;

struct LzxStored {
  std::string stream;
  // Where each 32 KiB frame starts in `stream`: the reset table's entries.
  std::vector<std::uint64_t> frame_offsets;
};

// One block per frame; the decoder state is reset every `reset_frames`
// frames, and a frame after a reset starts with the (off) E8 translation
// bit. The last frame is filled with zeros to a whole frame, since readers
// decode whole frames. reset_frames must be at least 1.
LzxStored WriteLzxStored(std::string_view data, std::uint32_t reset_frames);

}  // namespace velquior::help
