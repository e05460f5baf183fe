#include "help/lzx_stored.h"
#include "common/bytes.h"

#include <algorithm>
#include <stdexcept>

namespace velquior::help {
namespace {

constexpr std::uint32_t kUncompressedBlock = 3;

// LZX bits go most significant first into 16-bit words stored little-endian.
class BitWriter {
 public:
  explicit BitWriter(std::string& out) : out_(out) {}
  void Put(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      word_ = static_cast<std::uint16_t>(word_ << 1 | ((value >> i) & 1u));
      if (++used_ == 16) Flush();
    }
  }
  // Pads with zero bits to the next word. The headers written here never end
  // on a word boundary, so the decoders' "1 to 16 pad bits" holds.
  void Align() {
    if (used_ == 0) throw std::logic_error("LZX block header ended on a word boundary");
    word_ = static_cast<std::uint16_t>(word_ << (16 - used_));
    Flush();
  }

 private:
  void Flush() {
    PutLe(out_, word_, 2);
    word_ = 0;
    used_ = 0;
  }
  std::string& out_;
  std::uint16_t word_ = 0;
  int used_ = 0;
};

}  // namespace

LzxStored WriteLzxStored(std::string_view data, std::uint32_t reset_frames) {
  if (reset_frames == 0) throw std::invalid_argument("LZX reset interval of zero frames");
  LzxStored out;
  const std::size_t frames = (data.size() + kLzxFrameSize - 1) / kLzxFrameSize;
  out.stream.reserve(frames * (kLzxFrameSize + 16));
  for (std::size_t f = 0; f < frames; ++f) {
    out.frame_offsets.push_back(out.stream.size());
    BitWriter bits(out.stream);
    if (f % reset_frames == 0) bits.Put(0, 1);  // no E8 call translation
    bits.Put(kUncompressedBlock, 3);
    bits.Put(kLzxFrameSize, 24);  // even: no pad byte after the block
    bits.Align();
    for (int r = 0; r < 3; ++r) PutLe(out.stream, 1, 4);  // R0..R2 as after a reset; nothing uses them
    const std::string_view frame = data.substr(f * kLzxFrameSize, kLzxFrameSize);
    out.stream += frame;
    out.stream.append(kLzxFrameSize - frame.size(), '\0');
  }
  return out;
}

}  // namespace velquior::help
