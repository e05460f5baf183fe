#pragma once
// A fresh directory for one Windows test, named with characters outside
// every ANSI code page, removed with everything in it.

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/file_system.h"

namespace velquior::testing {

class WindowsTestDir {
 public:
  WindowsTestDir() {
    const std::filesystem::path parent = std::filesystem::temp_directory_path() / L"velquior-\u015d-\u65e5\u672c";
    std::filesystem::create_directories(parent);
    platform::MakeUniqueDirectory(parent, "t-", path_);
  }
  ~WindowsTestDir() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec)) {
      ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);  // read-only ones go too
    }
    std::filesystem::remove_all(path_, ec);
  }
  WindowsTestDir(const WindowsTestDir&) = delete;
  WindowsTestDir& operator=(const WindowsTestDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void PutBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string GetBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace velquior::testing
