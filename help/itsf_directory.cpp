#include "help/itsf_directory.h"
#include "common/bytes.h"
#include "help/ascii_case.h"

#include <algorithm>
#include <stdexcept>

namespace velquior::help {
namespace {

constexpr std::uint32_t kDensity = 2;  // a quick-reference entry every 1 + 2^2 entries
constexpr std::size_t kQuickRefEvery = 1 + (1u << kDensity);
constexpr std::size_t kListingHeader = 0x14;
constexpr std::size_t kIndexHeader = 0x08;
constexpr std::uint32_t kItspHeader = 0x54;
constexpr unsigned char kDirectoryGuid[16] = {0x6A, 0x92, 0x02, 0x5D, 0x2E, 0x21, 0xD0, 0x11,
                                              0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};

// The bytes of one chunk's entries and the quick-reference area at its end,
// which holds the entry count and the offset of every fifth entry.
std::size_t QuickRefSize(std::size_t entries) { return 2 + 2 * (entries == 0 ? 0 : (entries - 1) / kQuickRefEvery); }

struct Chunk {
  std::vector<std::string> entries;  // encoded
  std::size_t used = 0;
  std::string first_name;
};

// Packs encoded entries into as few chunks as they fit in, in order.
std::vector<Chunk> Pack(const std::vector<std::pair<std::string, std::string>>& named, std::size_t header) {
  std::vector<Chunk> chunks;
  for (const auto& [name, encoded] : named) {
    if (header + encoded.size() + QuickRefSize(1) > kDirectoryChunkSize) {
      throw std::runtime_error("directory entry too long for a chunk: " + name);
    }
    if (chunks.empty() ||
        header + chunks.back().used + encoded.size() + QuickRefSize(chunks.back().entries.size() + 1) >
            kDirectoryChunkSize) {
      chunks.emplace_back();
      chunks.back().first_name = name;
    }
    chunks.back().entries.push_back(encoded);
    chunks.back().used += encoded.size();
  }
  return chunks;
}

std::string Body(const Chunk& chunk, std::size_t header) {
  std::string out(kDirectoryChunkSize, '\0');
  std::size_t at = header;
  std::vector<std::size_t> offsets;
  for (const std::string& e : chunk.entries) {
    offsets.push_back(at - header);
    out.replace(at, e.size(), e);
    at += e.size();
  }
  SetLe(out, kDirectoryChunkSize - 2, chunk.entries.size(), 2);
  for (std::size_t k = 1; k * kQuickRefEvery < chunk.entries.size(); ++k) {
    SetLe(out, kDirectoryChunkSize - 2 - 2 * k, offsets[k * kQuickRefEvery], 2);
  }
  return out;
}

}  // namespace

void PutEncInt(std::string& out, std::uint64_t value) {
  char groups[10];
  int n = 0;
  do {
    groups[n++] = static_cast<char>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (n > 1) out += static_cast<char>(groups[--n] | 0x80);
  out += groups[0];
}

bool DirectoryNameLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(LowerAsciiChar(x)) < static_cast<unsigned char>(LowerAsciiChar(y));
  });
}

std::string WriteDirectory(std::vector<DirectoryEntry> entries, std::uint32_t lcid) {
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return DirectoryNameLess(a.name, b.name); });
  std::vector<std::pair<std::string, std::string>> listed;
  for (const DirectoryEntry& e : entries) {
    std::string encoded;
    PutEncInt(encoded, e.name.size());
    encoded += e.name;
    PutEncInt(encoded, e.section);
    PutEncInt(encoded, e.offset);
    PutEncInt(encoded, e.length);
    listed.emplace_back(e.name, std::move(encoded));
  }
  std::vector<Chunk> listing = Pack(listed, kListingHeader);
  if (listing.empty()) listing.emplace_back();

  std::string chunks;
  const auto count = static_cast<std::int32_t>(listing.size());
  for (std::int32_t i = 0; i < count; ++i) {
    std::string body = Body(listing[static_cast<std::size_t>(i)], kListingHeader);
    body.replace(0, 4, "PMGL");
    SetLe(body, 4,
          static_cast<std::uint32_t>(kDirectoryChunkSize - kListingHeader - listing[static_cast<std::size_t>(i)].used),
          4);
    SetLe(body, 12, static_cast<std::uint32_t>(i == 0 ? -1 : i - 1), 4);
    SetLe(body, 16, static_cast<std::uint32_t>(i + 1 == count ? -1 : i + 1), 4);
    chunks += body;
  }

  // Index levels, each naming the first entry of every chunk below, until one
  // chunk is the root.
  std::int32_t depth = 1;
  std::int32_t root = -1;
  std::vector<Chunk> level = listing;
  std::int32_t level_first = 0;
  while (level.size() > 1) {
    std::vector<std::pair<std::string, std::string>> named;
    for (std::size_t i = 0; i < level.size(); ++i) {
      std::string encoded;
      PutEncInt(encoded, level[i].first_name.size());
      encoded += level[i].first_name;
      PutEncInt(encoded, static_cast<std::uint64_t>(level_first) + i);
      named.emplace_back(level[i].first_name, std::move(encoded));
    }
    level_first = static_cast<std::int32_t>(chunks.size() / kDirectoryChunkSize);
    level = Pack(named, kIndexHeader);
    for (const Chunk& c : level) {
      std::string body = Body(c, kIndexHeader);
      body.replace(0, 4, "PMGI");
      SetLe(body, 4, static_cast<std::uint32_t>(kDirectoryChunkSize - kIndexHeader - c.used), 4);
      chunks += body;
    }
    ++depth;
    root = level_first;
  }

  std::string out;
  out += "ITSP";
  PutLe(out, 1, 4);  // version
  PutLe(out, kItspHeader, 4);
  PutLe(out, 0x0A, 4);  // as every writer puts it
  PutLe(out, kDirectoryChunkSize, 4);
  PutLe(out, kDensity, 4);
  PutLe(out, static_cast<std::uint32_t>(depth), 4);
  PutLe(out, static_cast<std::uint32_t>(root), 4);
  PutLe(out, 0, 4);                                      // first listing chunk
  PutLe(out, static_cast<std::uint32_t>(count - 1), 4);  // last listing chunk
  PutLe(out, 0xFFFFFFFFu, 4);
  PutLe(out, chunks.size() / kDirectoryChunkSize, 4);
  PutLe(out, lcid, 4);
  out.append(reinterpret_cast<const char*>(kDirectoryGuid), sizeof kDirectoryGuid);
  PutLe(out, kItspHeader, 4);
  for (int i = 0; i < 3; ++i) PutLe(out, 0xFFFFFFFFu, 4);
  return out + chunks;
}

}  // namespace velquior::help
