#pragma once
// The directory of a compiled help container: the ITSP header, the listing
// chunks (PMGL) that name every object, and, when more than one listing
// chunk is needed, the index chunks (PMGI) above them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velquior::help {

struct DirectoryEntry {
  std::string name;
  std::uint64_t section = 0;
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

inline constexpr std::uint32_t kDirectoryChunkSize = 0x1000;

// The order readers search in: bytes compared with ASCII letters folded to
// lower case, as their case-insensitive lookups compare.
bool DirectoryNameLess(std::string_view a, std::string_view b);

// The whole directory, entries sorted here. Throws std::runtime_error when
// an entry cannot fit in a chunk.
std::string WriteDirectory(std::vector<DirectoryEntry> entries, std::uint32_t lcid);

// 7 bits a byte, most significant first, high bit on all but the last.
void PutEncInt(std::string& out, std::uint64_t value);

}  // namespace velquior::help
