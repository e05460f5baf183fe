#pragma once
// A .chm read through chmlib: its pages and what the compiler stored about
// them (context map, contents, index). chmlib trusts the file's internal
// tables and can crash on a damaged file, so the file is read whole, once,
// in a child process; a file whose reading fails opens as nothing. What is
// then parsed here is checked at every offset.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "help/chm_parse.h"

namespace velquior::help {

class ChmFile {
 public:
  // None when the file is missing, is no compiled help file or is damaged
  // beyond reading.
  static std::unique_ptr<ChmFile> Open(const std::filesystem::path& path);

  // An object by its path inside the file ("/index.htm"), letter case
  // ignored as the format does; none when absent.
  std::optional<std::string> Read(std::string_view object_path) const;
  bool Contains(std::string_view object_path) const;
  // The path inside the file of a page named in the file's own tables, or ""
  // when it is not there.
  std::string FindPage(std::string_view stored_name) const;

  const ChmSystem& System() const { return system_; }
  const ContextMap& Contexts() const { return contexts_; }
  std::string DefaultTopic() const;                          // a path inside the file, or ""
  std::string TopicForContext(std::uint32_t context) const;  // "" when unknown
  std::vector<SitemapEntry> Contents() const;
  std::vector<SitemapEntry> Index() const;

  static constexpr std::uint64_t kMaxObjectSize = 16u << 20;  // larger objects are left out
  static constexpr std::uint64_t kMaxTotalSize = 64u << 20;

  // Object path, as stored -> bytes; what the child process sends back.
  using Objects = std::map<std::string, std::string>;
  // The record stream between the reading process and this one, exposed so
  // that damaged streams can be tested: none unless complete and well formed.
  static std::optional<Objects> DecodeObjects(std::string_view stream);
  static std::string EncodeObject(std::string_view path, std::string_view bytes);
  static std::string EndOfObjects();
  // A help file made of objects already read.
  static std::unique_ptr<ChmFile> FromObjects(Objects objects);

 private:
  explicit ChmFile(Objects objects);
  std::string FindSitemap(const std::string& named, std::string_view extension) const;

  std::map<std::string, std::string> objects_;  // keys in lower case
  std::map<std::string, std::string> names_;    // lower case -> as stored
  ChmSystem system_;
  ContextMap contexts_;
};

}  // namespace velquior::help
