#include "history/store.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>

#include "common/error.h"
#include "common/file_lock.h"
#include "common/files.h"
#include "common/format.h"
#include "history/messages.h"
#include "history/sha256.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/file_system.h"

namespace velquior::history {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kManifest = "MANIFIESTO";
// An entry being written; renamed to its number once complete.
constexpr std::string_view kNewPrefix = ".nuevo-";
// Held locked by the run writing the entry, so that a clean-up never takes
// a live run's entry for a dead one's.
constexpr std::string_view kLive = "EN_CURSO";
constexpr std::size_t kNumberDigits = 6;
constexpr std::size_t kChunk = 1 << 20;

// An entry's number from its folder's name; nullopt for anything else.
std::optional<unsigned long> EntryNumber(const fs::path& folder) {
  const std::string name = PathToUtf8(folder.filename());
  if (name.size() != kNumberDigits || name.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  return std::stoul(name);
}

std::string FolderName(unsigned long number) {
  std::string name = std::to_string(number);
  return std::string(kNumberDigits - std::min(kNumberDigits, name.size()), '0') + name;
}

// Numbers of the complete entries, in ascending order.
std::vector<unsigned long> Numbers(const fs::path& folder) {
  std::vector<unsigned long> numbers;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (auto number = EntryNumber(it->path())) numbers.push_back(*number);
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

// Entries that killed runs left half-written.
void RemoveDeadNewEntries(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (PathToUtf8(it->path().filename()).rfind(kNewPrefix, 0) != 0) continue;
    if (!FileLock::OwnerIsGone(it->path() / kLive)) continue;
    std::error_code ignore;
    fs::remove_all(it->path(), ignore);
  }
}

// The history's own failures, all said the same way: where, and why.
[[noreturn]] void Fail(const fs::path& folder, const std::string& reason) {
  throw Error(Format(msg::kHistorialNoEscrito, {PathForMessage(folder), reason}));
}

// Copies `source` to `copy`, on disk when it returns; fills the record's
// size and hash. False when the source does not exist.
bool CopyFile(const Source& source, const fs::path& copy, FileRecord& record, const fs::path& folder) {
  std::error_code error;
  platform::OpenFile opened;
  const platform::OpenFile* in = source.open;
  if (in == nullptr) {
    if (platform::KindOf(source.path, false) == platform::FileKind::kMissing) return false;
    opened = platform::OpenFile::Open(source.path, platform::OpenFile::Access::kRead, error);
    if (error) Fail(folder, Format(msg::kNoSePuedeLeerArchivo, {PathForMessage(source.path), error.message()}));
    in = &opened;
  }
  std::ofstream out(copy, std::ios::binary | std::ios::trunc);
  Sha256 hash;
  std::string chunk(kChunk, '\0');
  std::uint64_t offset = 0;
  for (;;) {
    const std::size_t got = in->ReadAt(offset, chunk.data(), chunk.size(), error);
    if (error) Fail(folder, Format(msg::kNoSePuedeLeerArchivo, {PathForMessage(source.path), error.message()}));
    if (got == 0) break;
    hash.Add(std::string_view(chunk.data(), got));
    out.write(chunk.data(), static_cast<std::streamsize>(got));
    offset += got;
  }
  out.close();
  if (!out) Fail(folder, std::make_error_code(std::errc::io_error).message());
  if (auto flush = platform::FlushFile(copy)) Fail(folder, flush.message());
  record.size = offset;
  record.sha256 = hash.HexDigest();
  return true;
}

}  // namespace

fs::path Store::DefaultFolder() {
  const fs::path data = platform::ProgramDataFolder();
  return data.empty() ? data : data / "historial";
}

std::vector<Entry> Store::List() const {
  std::vector<Entry> entries;
  const std::vector<unsigned long> numbers = Numbers(folder_);
  for (auto it = numbers.rbegin(); it != numbers.rend(); ++it) {
    const fs::path entry_folder = folder_ / FolderName(*it);
    try {
      if (auto entry = ReadManifest(ReadFileBytes(entry_folder / kManifest))) {
        entry->folder = entry_folder;
        entries.push_back(std::move(*entry));
      }
    } catch (const Error&) {
      // An entry without a readable manifest cannot be restored: not listed.
    }
  }
  return entries;
}

Entry Store::Record(Kind kind, const fs::path& document, const fs::path& work_dir, std::span<const Source> files) {
  if (folder_.empty()) Fail(folder_, std::string(msg::kSinCarpetaDeDatos));
  if (auto error = platform::MakePrivateDirectories(folder_)) Fail(folder_, error.message());
  RemoveDeadNewEntries(folder_);

  fs::path writing;
  if (auto error = platform::MakeUniqueDirectory(folder_, kNewPrefix, writing)) Fail(folder_, error.message());
  // Whatever stops the entry takes its folder with it.
  struct Drop {
    fs::path folder;
    std::optional<FileLock> live;
    ~Drop() {
      live.reset();
      std::error_code ignore;
      if (!folder.empty()) fs::remove_all(folder, ignore);
    }
  } drop{writing, std::nullopt};
  std::ofstream(writing / kLive, std::ios::binary).flush();
  drop.live = FileLock::TryLock(writing / kLive, FileLock::Mode::kExclusive);

  const platform::LocalTime now = platform::LocalNow();
  std::error_code ec;
  Entry entry;
  entry.kind = kind;
  entry.when = {now.date.year, now.date.month, now.date.day, now.hour, now.minute, now.second};
  entry.document = fs::absolute(document, ec).lexically_normal();
  entry.work_dir = fs::absolute(work_dir, ec).lexically_normal();
  for (const Source& source : files) {
    fs::path original = fs::absolute(source.path, ec);
    FileRecord record;
    record.original = ec ? source.path : original.lexically_normal();
    record.stored = std::to_string(entry.files.size() + 1);
    record.existed = CopyFile(source, writing / record.stored, record, folder_);
    if (!record.existed) record.stored.clear();
    entry.files.push_back(std::move(record));
  }
  {
    std::ofstream out(writing / kManifest, std::ios::binary | std::ios::trunc);
    out << WriteManifest(entry);
    out.close();
    if (!out) Fail(folder_, std::make_error_code(std::errc::io_error).message());
  }
  if (auto error = platform::FlushFile(writing / kManifest)) Fail(folder_, error.message());
  drop.live.reset();
  fs::remove(writing / kLive, ec);
  platform::FlushDirectory(writing);

  // The next number; one another run took meanwhile is skipped.
  const std::vector<unsigned long> numbers = Numbers(folder_);
  unsigned long number = numbers.empty() ? 1 : numbers.back() + 1;
  for (int attempt = 0;; ++attempt, ++number) {
    const fs::path target = folder_ / FolderName(number);
    if (fs::exists(target, ec)) continue;
    const std::error_code moved = platform::MoveFile(writing, target);
    if (!moved) {
      entry.folder = target;
      break;
    }
    if (attempt == 10) Fail(folder_, moved.message());
  }
  drop.folder.clear();
  platform::FlushDirectory(folder_);
  return entry;
}

void Store::Remove(const Entry& entry) const {
  std::error_code ignore;
  if (!entry.folder.empty()) fs::remove_all(entry.folder, ignore);
}

void Store::Prune(std::size_t keep) const {
  const std::vector<unsigned long> numbers = Numbers(folder_);
  if (numbers.size() <= keep) return;
  for (std::size_t i = 0; i < numbers.size() - keep; ++i) {
    std::error_code ignore;
    fs::remove_all(folder_ / FolderName(numbers[i]), ignore);
  }
}

}  // namespace velquior::history
