#include "history/restore.h"

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/file_lock.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "history/messages.h"
#include "history/sha256.h"

namespace velquior::history {
namespace fs = std::filesystem;
namespace {

constexpr SetReplacement::Words kFileWords = {
    .in_use = msg::kArchivoEnUso,
    .cannot_write = msg::kArchivoNoSePuedeCrear,
    .cannot_replace = msg::kArchivoNoSePuedeReemplazar,
    .not_put_back = msg::kArchivosNoRestaurados,
    .missing_dir = msg::kSinCarpeta,
    .dir_in_use = msg::kCarpetaEnUso,
    .dir_not_writable = msg::kCarpetaNoEscribible,
};

// Copies the kept copy of `file` into the staging folder, checking it
// against the manifest on the way.
void StageCopy(const Entry& entry, const FileRecord& file, const fs::path& staged) {
  const fs::path copy = entry.folder / file.stored;
  const std::string bytes = ReadFileBytes(copy);
  Sha256 hash;
  hash.Add(bytes);
  if (bytes.size() != file.size || hash.HexDigest() != file.sha256) {
    throw Error(Format(msg::kCopiaDanada, {PathForMessage(file.original), PathForMessage(copy)}));
  }
  std::ofstream out(staged, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    throw Error(Format(msg::kArchivoNoSePuedeCrear,
                       {PathToUtf8(file.original.filename()), std::make_error_code(std::errc::io_error).message()}));
  }
}

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return a == b || fs::equivalent(a, b, ec);
}

}  // namespace

Entry Restore(Store& store, const Entry& entry, const SetReplacement::MoveFile& move) {
  const fs::path dir = entry.files.front().original.parent_path();
  for (const auto& file : entry.files) {
    if (file.original.parent_path() != dir || !file.original.has_filename()) {
      throw Error(Format(msg::kCopiaDanada, {PathForMessage(file.original), PathForMessage(entry.folder)}));
    }
  }
  // The tables' folder is locked by the replacement itself.
  std::optional<FileLock> work_lock;
  std::error_code ec;
  if (!entry.work_dir.empty() && fs::is_directory(entry.work_dir, ec) && !SameFile(entry.work_dir, dir)) {
    work_lock = FileLock::TryLock(entry.work_dir, FileLock::Mode::kExclusive);
    if (!work_lock) throw Error(Format(velquior::msg::kDirectorioTrabajoEnUso, {PathForMessage(entry.work_dir)}));
  }
  SetReplacement set(dir, kFileWords);

  // What is there now under each name: a table in any letter case counts
  // as that table; a document only as itself.
  std::vector<SetReplacement::Change> changes;
  std::vector<fs::path> present;
  for (const auto& file : entry.files) {
    SetReplacement::Change change{PathToUtf8(file.original.filename()), file.existed, {}};
    std::vector<fs::path> now = entry.HoldsDocument() ? std::vector<fs::path>{}
                                                      : AllCaseVariants(dir, change.name);
    if (entry.HoldsDocument() && fs::exists(file.original, ec)) now.push_back(file.original);
    for (auto& path : now) {
      bool seen = false;
      for (const auto& other : present) seen = seen || SameFile(other, path);
      if (seen) continue;
      present.push_back(path);
      change.replaced.push_back(path);
    }
    changes.push_back(std::move(change));
  }
  set.Hold(present);
  set.CheckReplaceable(present);
  for (const auto& file : entry.files) {
    if (file.existed) StageCopy(entry, file, set.dir() / file.original.filename());
  }

  // The present state, under the entry's names and any other it has now.
  std::vector<Source> sources;
  for (const auto& file : entry.files) {
    bool seen = false;
    for (const auto& path : present) seen = seen || SameFile(path, file.original);
    if (!seen) sources.push_back({file.original, nullptr});
  }
  for (const auto& path : present) {
    const FileLock* lock = set.HeldLock(path);
    sources.push_back({path, lock != nullptr ? &lock->file() : nullptr});
  }
  Entry made = store.Record(Kind::kRestore, entry.document, entry.work_dir, sources);
  PendingEntry kept(store, made);
  try {
    set.Commit(changes, move);
  } catch (const Error&) {
    if (set.HoldsOldFiles()) kept.Keep();  // the state is not what either entry holds
    throw;
  }
  kept.Keep();
  return made;
}

}  // namespace velquior::history
