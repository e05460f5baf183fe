#include "common/files.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include "common/error.h"
#include "common/format.h"
#include "common/messages.h"
#include "platform/open_file.h"

namespace velquior {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void ThrowRead(const fs::path& path, const std::error_code& error) {
  throw Error(Format(msg::kNoSePuedeLeer, {PathForMessage(path), error.message()}));
}

}  // namespace

std::string PathForMessage(const fs::path& path) { return PathToUtf8(path); }

fs::path PathFromUtf8(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string PathToUtf8(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

bool EqualsNoCaseAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::string ReadFileBytes(const fs::path& path) {
  std::error_code error;
  platform::OpenFile file = platform::OpenFile::Open(path, platform::OpenFile::Access::kRead, error);
  if (error) ThrowRead(path, error);
  if (file.Kind(error) == platform::FileKind::kDirectory) {
    throw Error(Format(msg::kEsUnDirectorio, {PathForMessage(path)}));
  }
  std::string out;
  if (const std::uint64_t size = file.Size(error); size > 0) out.reserve(static_cast<std::size_t>(size));
  char buf[1 << 16];
  while (const std::size_t n = file.Read(buf, sizeof buf, error)) out.append(buf, n);
  if (error) ThrowRead(path, error);
  return out;
}

void AtomicReplaceFile(const fs::path& path, std::string_view bytes) {
  AtomicReplaceFile(path, [bytes](const ByteSink& sink) { sink(bytes); });
}

void AtomicReplaceFile(const fs::path& path, const std::function<void(const ByteSink&)>& produce) {
  try {
    platform::ReplaceFileAtomically(path, produce);
  } catch (const platform::WriteFailed& e) {
    throw Error(Format(msg::kNoSePuedeEscribir, {PathForMessage(path), e.code().message()}));
  }
}

std::vector<fs::path> AllCaseVariants(const fs::path& dir, std::string_view name) {
  std::vector<fs::path> out;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsNoCaseAscii(PathToUtf8(it->path().filename()), name)) out.push_back(it->path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::optional<fs::path> FindFileNoCase(const fs::path& dir, std::string_view name) {
  // From the listing, not by asking for the name: a file system that folds
  // case itself (Windows', and for more letters than ASCII) would answer
  // for names that the program's own comparison tells apart.
  auto all = AllCaseVariants(dir, name);
  for (const auto& p : all) {
    if (PathToUtf8(p.filename()) == name) return p;
  }
  if (all.empty()) return std::nullopt;
  return all.front();
}

void RemoveCaseVariants(const fs::path& dir, std::string_view name) {
  for (const auto& p : AllCaseVariants(dir, name)) {
    std::error_code ec;
    fs::remove(p, ec);
  }
}

}  // namespace velquior
