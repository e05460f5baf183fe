#include "tests/test_util.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/file_system.h"

namespace velquior::testing {
namespace fs = std::filesystem;

TempDir::TempDir() {
  if (auto error = platform::MakeUniqueDirectory(fs::temp_directory_path(), "velquior-test-", path_)) {
    throw std::runtime_error("cannot make a temporary directory: " + error.message());
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

std::vector<std::string> ListDir(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) {
    const std::u8string name = e.path().filename().u8string();
    // The lock file a conversion leaves in a work directory on Windows.
    if (name == u8".velquior.lock") continue;
    names.emplace_back(name.begin(), name.end());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::map<std::string, std::string> Snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& name : ListDir(dir)) files[name] = ReadFile(dir / name);
  return files;
}

}  // namespace velquior::testing
