#include "help/itsf_writer.h"
#include "common/bytes.h"
#include "help/ascii_case.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include "help/itsf_directory.h"
#include "help/lzx_stored.h"

namespace velquior::help {
namespace {

constexpr std::uint32_t kItsfHeader = 0x60;
constexpr std::uint32_t kSection0Header = 0x18;
constexpr unsigned char kItsfGuids[32] = {0x10, 0xFD, 0x01, 0x7C, 0xAA, 0x7B, 0xD0, 0x11, 0x9E, 0x0C, 0x00,
                                          0xA0, 0xC9, 0x22, 0xE6, 0xEC, 0x11, 0xFD, 0x01, 0x7C, 0xAA, 0x7B,
                                          0xD0, 0x11, 0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};

// Frames between decoder resets. The control data is read two ways by
// readers (with and without its windows-per-reset factor); only a form on
// which both agree is taken.
std::uint32_t ResetFrames(const std::string& control) {
  if (control.size() < 24 || control.compare(4, 4, "LZXC") != 0 || Le32(control, 8) != 2) {
    throw std::runtime_error("LZX control data is not version 2 LZXC");
  }
  const std::uint32_t reset = Le32(control, 12);
  const std::uint32_t window = Le32(control, 16);
  const std::uint32_t per_reset = Le32(control, 20);
  if (reset == 0 || reset > 0x10000 || window == 0 || window > 64 || (window & (window - 1)) != 0 || per_reset == 0 ||
      window != 2 * per_reset || (2 * reset) % window != 0) {
    throw std::runtime_error("LZX control data with a reset interval readers disagree on");
  }
  return reset;
}

std::string ResetTable(const LzxStored& lzx, std::uint64_t uncompressed) {
  std::string out;
  PutLe(out, 2, 4);  // version
  PutLe(out, lzx.frame_offsets.size(), 4);
  PutLe(out, 8, 4);     // entry size
  PutLe(out, 0x28, 4);  // where the entries start
  PutLe(out, uncompressed, 8);
  PutLe(out, lzx.stream.size(), 8);
  PutLe(out, kLzxFrameSize, 8);
  for (std::uint64_t offset : lzx.frame_offsets) PutLe(out, offset, 8);
  return out;
}

}  // namespace

std::string WriteItsf(const ItsfContents& contents) {
  std::set<std::string> seen;
  const ItsfObject* control = nullptr;
  std::vector<const ItsfObject*> in_lzx;
  for (const ItsfObject& o : contents.objects) {
    if (o.name.empty() || !seen.insert(LowerAscii(o.name)).second)
      throw std::runtime_error("object name repeated or empty: " + o.name);
    if (o.name == kLzxContent || o.name == kLzxResetTable) throw std::runtime_error("made here, not given: " + o.name);
    if (o.section != 0 && o.section != 1) throw std::runtime_error("no such section for " + o.name);
    if (o.name == kLzxControlData && o.section == 0) control = &o;
    if (o.section == 1) in_lzx.push_back(&o);
  }
  if (control == nullptr) throw std::runtime_error(std::string("missing ") + kLzxControlData);

  // Section 1: every object where it was, gaps zero.
  std::sort(in_lzx.begin(), in_lzx.end(),
            [](const ItsfObject* a, const ItsfObject* b) { return a->offset < b->offset; });
  std::string image;
  for (const ItsfObject* o : in_lzx) {
    if (o->bytes.empty()) continue;
    if (o->offset < image.size()) throw std::runtime_error("overlapping objects in the compressed section: " + o->name);
    image.resize(o->offset, '\0');
    image += o->bytes;
  }
  const LzxStored lzx = WriteLzxStored(image, ResetFrames(control->bytes));
  for (const ItsfObject& o : contents.objects) {
    if (o.name == kLzxSpanInfo && (o.bytes.size() != 8 || Le32(o.bytes, 0) != image.size() || Le32(o.bytes, 4) != 0)) {
      throw std::runtime_error("the span info does not give the compressed section's length");
    }
  }

  // Section 0: in the order given, then the reset table and the stream.
  std::vector<DirectoryEntry> entries;
  std::string section0;
  auto place = [&](const std::string& name, std::string_view bytes) {
    entries.push_back({name, 0, bytes.empty() ? 0 : section0.size(), bytes.size()});
    section0 += bytes;
  };
  for (const ItsfObject& o : contents.objects) {
    if (o.section == 0)
      place(o.name, o.bytes);
    else
      entries.push_back({o.name, 1, o.bytes.empty() ? 0 : o.offset, o.bytes.size()});
  }
  place(kLzxResetTable, ResetTable(lzx, image.size()));
  place(kLzxContent, lzx.stream);

  const std::string directory = WriteDirectory(std::move(entries), contents.lcid);
  const std::uint64_t directory_at = kItsfHeader + kSection0Header;
  const std::uint64_t content_at = directory_at + directory.size();
  const std::uint64_t total = content_at + section0.size();

  std::string out;
  out += "ITSF";
  PutLe(out, 3, 4);  // version
  PutLe(out, kItsfHeader, 4);
  PutLe(out, 1, 4);
  PutLe(out, 0, 4);  // timestamp: none, so that builds compare equal
  PutLe(out, contents.lcid, 4);
  out.append(reinterpret_cast<const char*>(kItsfGuids), sizeof kItsfGuids);
  PutLe(out, kItsfHeader, 8);
  PutLe(out, kSection0Header, 8);
  PutLe(out, directory_at, 8);
  PutLe(out, directory.size(), 8);
  PutLe(out, content_at, 8);
  // Header section 0: the file's length.
  PutLe(out, 0x01FE, 4);
  PutLe(out, 0, 4);
  PutLe(out, total, 8);
  PutLe(out, 0, 8);
  out += directory;
  out += section0;
  return out;
}

}  // namespace velquior::help
