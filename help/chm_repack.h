#pragma once
// The build step that makes the compiled help file fit to ship: the help
// compiler's output is read through chmlib, its context map is given page
// names inside the file (see context_strings.h), the bytes it varies from
// run to run are fixed (see compiler_variance.h) and everything is written
// anew as a deterministic container (see itsf_writer.h).

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velquior::help {

struct ChmEntry {
  std::string name;  // as stored
  int section = 0;
  std::uint64_t offset = 0;  // within its section
  std::string bytes;
};

// Every entry of a .chm, folders included, in directory order. Throws
// std::runtime_error when the file does not open or an object cannot be read.
std::vector<ChmEntry> ReadChmEntries(const std::filesystem::path& path);

// The repacked bytes of `input`; `stage` is the folder its pages were
// compiled in (may be empty). Throws std::runtime_error, saying why, when the
// input is not as expected.
std::string RepackChm(const std::filesystem::path& input, std::string_view stage);

// Reads `output` back through chmlib and throws, naming the first
// difference, unless it holds the objects of `input` (the context strings
// fixed, the compiler's varying bytes set (see compiler_variance.h), the
// compressed section's own tables made anew) and no trace of
// `stage` in any object or in its raw bytes.
void CheckRepacked(const std::filesystem::path& input, const std::filesystem::path& output, std::string_view stage);

}  // namespace velquior::help
