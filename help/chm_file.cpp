#include "help/chm_file.h"
#include "common/bytes.h"
#include "help/ascii_case.h"
#include "text/encoding.h"

#include <chm_lib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace velquior::help {
namespace {

constexpr std::uint32_t kEndMark = 0xFFFFFFFFu;
constexpr auto kReadTimeout = std::chrono::seconds(5);  // a decompressor caught in a loop

// Only files that start like a compiled help file reach chmlib.
bool LooksLikeChm(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  char magic[4] = {};
  return in.read(magic, 4) && std::string_view(magic, 4) == "ITSF";
}

// Reads every page and internal file of the help file into records; the
// sink gets them one by one. Answers whether the file opened.
template <class Sink>
bool ReadArchive(const std::string& path, Sink&& sink) {
  ::chmFile* h = chm_open(path.c_str());
  if (h == nullptr) return false;
  struct Context {
    Sink* sink;
    std::uint64_t total;
  } context{&sink, 0};
  auto each = [](::chmFile* file, chmUnitInfo* ui, void* data) -> int {
    auto* c = static_cast<Context*>(data);
    if (ui->length > ChmFile::kMaxObjectSize || c->total + ui->length > ChmFile::kMaxTotalSize) {
      return CHM_ENUMERATOR_CONTINUE;
    }
    const std::string_view name(ui->path, strnlen(ui->path, sizeof ui->path));
    std::string bytes(static_cast<std::size_t>(ui->length), '\0');
    if (!bytes.empty()) {
      const LONGINT64 got = chm_retrieve_object(file, ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                                static_cast<LONGINT64>(ui->length));
      if (got <= 0) return CHM_ENUMERATOR_CONTINUE;
      bytes.resize(std::min(bytes.size(), static_cast<std::size_t>(got)));
    }
    c->total += bytes.size();
    (*c->sink)(ChmFile::EncodeObject(name, bytes));
    return CHM_ENUMERATOR_CONTINUE;
  };
  chm_enumerate(h, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_SPECIAL | CHM_ENUMERATE_FILES, each, &context);
  chm_close(h);
  return true;
}

#ifndef _WIN32
bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The stream of records from a child that reads the file; none when the
// child failed, crashed or took too long.
std::optional<std::string> ReadInChild(const std::string& path) {
  int fds[2];
  if (pipe(fds) != 0) return std::nullopt;
  const pid_t pid = fork();
  if (pid < 0) {
    close(fds[0]);
    close(fds[1]);
    return std::nullopt;
  }
  if (pid == 0) {
    close(fds[0]);
    if (const int null = open("/dev/null", O_WRONLY); null >= 0) dup2(null, STDERR_FILENO);
    bool ok = true;
    const bool opened = ReadArchive(path, [&](const std::string& record) { ok = ok && WriteAll(fds[1], record); });
    ok = ok && opened && WriteAll(fds[1], ChmFile::EndOfObjects());
    _exit(ok ? 0 : 1);
  }
  close(fds[1]);
  std::string stream;
  bool complete = false;
  const auto deadline = std::chrono::steady_clock::now() + kReadTimeout;
  char buffer[65536];
  while (true) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fds[0], POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      complete = n == 0;
      break;
    }
    stream.append(buffer, static_cast<std::size_t>(n));
    if (stream.size() > ChmFile::kMaxTotalSize * 2) break;
  }
  close(fds[0]);
  if (!complete) kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return stream;
}
#else
std::optional<std::string> ReadInChild(const std::string& path) {
  // No fork here: the file is read in this process.
  std::string stream;
  if (!ReadArchive(path, [&](const std::string& record) { stream += record; })) return std::nullopt;
  return stream + ChmFile::EndOfObjects();
}
#endif

}  // namespace

std::string ChmFile::EncodeObject(std::string_view path, std::string_view bytes) {
  std::string out;
  PutLe(out, path.size(), 4);
  out += path;
  PutLe(out, bytes.size(), 8);
  out += bytes;
  return out;
}

std::string ChmFile::EndOfObjects() {
  std::string out;
  PutLe(out, kEndMark, 4);
  return out;
}

std::optional<ChmFile::Objects> ChmFile::DecodeObjects(std::string_view stream) {
  Objects objects;
  std::size_t at = 0;
  while (true) {
    if (stream.size() - at < 4) return std::nullopt;
    const std::uint64_t path_size = GetLe(stream, at, 4);
    at += 4;
    if (path_size == kEndMark) break;
    if (path_size > CHM_MAX_PATHLEN || stream.size() - at < path_size + 8) return std::nullopt;
    std::string path(stream.substr(at, path_size));
    at += path_size;
    const std::uint64_t size = GetLe(stream, at, 8);
    at += 8;
    if (size > kMaxObjectSize || stream.size() - at < size) return std::nullopt;
    objects.emplace(std::move(path), std::string(stream.substr(at, size)));
    at += size;
  }
  if (at != stream.size()) return std::nullopt;
  return objects;
}

std::unique_ptr<ChmFile> ChmFile::Open(const std::filesystem::path& path) {
  if (!LooksLikeChm(path)) return nullptr;
  const std::optional<std::string> stream = ReadInChild(path.string());
  if (!stream) return nullptr;
  std::optional<Objects> objects = DecodeObjects(*stream);
  if (!objects) return nullptr;
  return FromObjects(std::move(*objects));
}

std::unique_ptr<ChmFile> ChmFile::FromObjects(Objects objects) {
  return std::unique_ptr<ChmFile>(new ChmFile(std::move(objects)));
}

ChmFile::ChmFile(Objects objects) {
  for (auto& [path, bytes] : objects) {
    std::string key = LowerAscii(path);
    names_.emplace(key, path);
    objects_.emplace(std::move(key), std::move(bytes));
  }
  if (auto system = Read("/#SYSTEM")) system_ = ParseSystem(*system);
  const auto ivb = Read("/#IVB");
  const auto strings = Read("/#STRINGS");
  if (ivb && strings) contexts_ = ParseContextMap(*ivb, *strings);
}

std::optional<std::string> ChmFile::Read(std::string_view object_path) const {
  const auto it = objects_.find(LowerAscii(object_path));
  if (it == objects_.end()) return std::nullopt;
  return it->second;
}

bool ChmFile::Contains(std::string_view object_path) const { return objects_.contains(LowerAscii(object_path)); }

std::string ChmFile::FindPage(std::string_view stored_name) const {
  const auto it = names_.find(LowerAscii(PagePath(stored_name)));
  return it == names_.end() ? std::string() : it->second;
}

std::string ChmFile::DefaultTopic() const {
  if (!system_.default_topic.empty()) {
    if (std::string page = FindPage(system_.default_topic); !page.empty()) return page;
  }
  for (const char* fallback : {"/index.htm", "/index.html", "/default.htm"}) {
    if (std::string page = FindPage(fallback); !page.empty()) return page;
  }
  return {};
}

// The map names a page relative to the file's root ("index.htm"); nothing
// else is tried, so a wrongly built map shows as a missing topic.
std::string ChmFile::TopicForContext(std::uint32_t context) const {
  const auto it = contexts_.find(context);
  if (it == contexts_.end()) return {};
  const std::string_view entry = std::string_view(it->second).substr(0, it->second.find('#'));
  const auto page = names_.find(LowerAscii("/" + std::string(entry)));
  return page == names_.end() ? std::string() : page->second;
}

std::string ChmFile::FindSitemap(const std::string& named, std::string_view extension) const {
  if (!named.empty()) {
    if (std::string page = FindPage(named); !page.empty()) return page;
  }
  for (const auto& [key, stored] : names_) {
    if (key.size() > extension.size() && key.ends_with(extension)) return stored;
  }
  return {};
}

namespace {

bool IsUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const std::size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

// HTML Help reads a sitemap in the file's Western code page, so that is how
// a help file for it is written; one in UTF-8 is taken as it is. Names come
// out in UTF-8 either way.
std::vector<SitemapEntry> ParseSitemapText(const std::optional<std::string>& bytes) {
  if (!bytes) return {};
  return ParseSitemap(IsUtf8(*bytes) ? *bytes : text::AnsiToUtf8(*bytes));
}

}  // namespace

std::vector<SitemapEntry> ChmFile::Contents() const {
  const std::string path = FindSitemap(system_.contents_file, ".hhc");
  return ParseSitemapText(path.empty() ? std::nullopt : Read(path));
}

std::vector<SitemapEntry> ChmFile::Index() const {
  const std::string path = FindSitemap(system_.index_file, ".hhk");
  return ParseSitemapText(path.empty() ? std::nullopt : Read(path));
}

}  // namespace velquior::help
