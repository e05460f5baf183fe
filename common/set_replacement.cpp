#include "common/set_replacement.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"
#include "platform/file_system.h"

namespace velquior {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kStagingPrefix = ".velquior-";
// While the old files are being replaced, the staging folder holds the list
// of files being moved in and, set aside, the old files they replace. A
// folder that still has the list belongs to a run killed half-way: its old
// files go back.
constexpr std::string_view kJournal = "REEMPLAZO";
constexpr std::string_view kPrevious = "ANTERIORES";
// Held locked by the run that owns the folder while it lives, so that a
// clean-up never takes a live run's folder for a dead one's.
constexpr std::string_view kLive = "EN_CURSO";

using platform::FlushDirectory;

// On disk before it replaces anything, so a power cut after the rename
// cannot leave an empty file in place of the old one.
void FlushFile(const fs::path& file, std::string_view name, std::string_view cannot_write) {
  if (auto error = platform::FlushFile(file)) {
    throw Error(Format(cannot_write, {std::string(name), error.message()}));
  }
}

void WriteJournal(const fs::path& file, std::span<const SetReplacement::Change> changes,
                  std::string_view cannot_write) {
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const auto& change : changes) {
      if (change.write) out << change.name << '\n';
    }
    if (!out.flush()) throw Error(Format(cannot_write, {file.filename().string(), std::strerror(errno)}));
  }
  FlushFile(file, file.filename().string(), cannot_write);
  FlushDirectory(file.parent_path());
}

// Undoes a commit that a killed run left half-way: the new files it had
// moved in go, the old files it had set aside come back. Raises Error, with
// the folder kept, when a file cannot be put back.
void PutBackInterrupted(const fs::path& folder, const fs::path& dir, std::string_view not_put_back) {
  std::ifstream journal(folder / kJournal);
  for (std::string name; std::getline(journal, name);) {
    if (name.empty() || name.find('/') != std::string::npos || name.find('\\') != std::string::npos) continue;
    const fs::path file = PathFromUtf8(name);
    std::error_code ec;
    if (!fs::exists(folder / file, ec) && fs::is_regular_file(dir / file, ec)) fs::remove(dir / file, ec);
  }
  std::error_code ec;
  for (fs::directory_iterator it(folder / kPrevious, ec), end; !ec && it != end; it.increment(ec)) {
    if (auto error = platform::MoveFile(it->path(), dir / it->path().filename())) {
      throw Error(Format(not_put_back, {PathForMessage(folder), error.message()}));
    }
  }
  FlushDirectory(dir);
}

// Staging folders of runs that were killed; only called under the
// directory lock, and each folder only once its run is seen to be dead.
void CleanUpDeadRuns(const fs::path& dir, std::string_view not_put_back) {
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = PathToUtf8(it->path().filename());
    if (name.rfind(kStagingPrefix, 0) != 0 || !it->is_directory()) continue;
    if (!FileLock::OwnerIsGone(it->path() / kLive)) continue;
    std::error_code ignore;
    if (fs::exists(it->path() / kJournal, ignore)) PutBackInterrupted(it->path(), dir, not_put_back);
    fs::remove_all(it->path(), ignore);
  }
}

}  // namespace

std::error_code SetReplacement::RenameFile(const fs::path& from, const fs::path& to) {
  return platform::MoveFile(from, to);
}

SetReplacement::SetReplacement(fs::path dir, const Words& words) : dir_(std::move(dir)), words_(words) {
  std::error_code ec;
  if (!fs::is_directory(dir_, ec)) throw Error(Format(words_.missing_dir, {PathForMessage(dir_)}));
  dir_lock_ = FileLock::TryLock(dir_, FileLock::Mode::kExclusive);
  if (!dir_lock_) throw Error(Format(words_.dir_in_use, {PathForMessage(dir_)}));
  CleanUpDeadRuns(dir_, words_.not_put_back);
  if (auto error = platform::MakeUniqueDirectory(dir_, kStagingPrefix, staging_)) {
    throw Error(Format(words_.dir_not_writable, {PathForMessage(dir_), error.message()}));
  }
  const fs::path live = staging_ / kLive;
  std::ofstream(live, std::ios::binary).flush();
  live_lock_ = FileLock::TryLock(live, FileLock::Mode::kExclusive);
  if (!live_lock_) {
    throw Error(Format(words_.dir_not_writable, {PathForMessage(dir_), std::strerror(EACCES)}));
  }
}

SetReplacement::~SetReplacement() {
  // The old files set aside in the staging folder go with it, and Windows
  // keeps a deleted file, and so its folder, until the last handle closes.
  held_.clear();
  live_lock_.reset();
  if (!staging_.empty() && !keep_) {
    std::error_code ec;
    fs::remove_all(staging_, ec);
  }
}

void SetReplacement::Hold(std::span<const fs::path> files) {
  for (const auto& file : files) {
    if (HeldLock(file) != nullptr) continue;
    std::error_code ec;
    if (!fs::exists(file, ec)) continue;
    auto lock = FileLock::TryLockToReplace(file);
    if (!lock) throw Error(Format(words_.in_use, {PathToUtf8(file.filename())}));
    held_.emplace_back(file, std::move(*lock));
  }
}

const FileLock* SetReplacement::HeldLock(const fs::path& file) const {
  for (const auto& [path, lock] : held_) {
    if (path == file) return &lock;
  }
  return nullptr;
}

// The write bits count even for root, as for the SAGA document: a file
// someone marked read-only is not replaced by this program.
void SetReplacement::CheckReplaceable(std::span<const fs::path> files) const {
  for (const auto& old : files) {
    const platform::FileKind kind = platform::KindOf(old, false);
    if (kind == platform::FileKind::kMissing) continue;  // gone meanwhile: nothing to replace
    std::string_view reason;
    if (kind == platform::FileKind::kDirectory) {
      reason = msg::kReemplazoCarpeta;
    } else if (kind == platform::FileKind::kOther) {
      reason = msg::kXmlNoEsArchivoNormal;
    } else if (kind == platform::FileKind::kRegular && platform::IsReadOnly(old)) {
      reason = msg::kArchivoSoloLectura;
    } else {
      continue;
    }
    throw Error(Format(words_.cannot_replace, {PathToUtf8(old.filename()), reason}));
  }
}

std::vector<fs::path> SetReplacement::Commit(std::span<const Change> changes, const MoveFile& move) {
  // Every new file must be there before the first old one goes.
  std::vector<fs::path> replaced;
  for (const auto& change : changes) {
    replaced.insert(replaced.end(), change.replaced.begin(), change.replaced.end());
    if (!change.write) continue;
    const fs::path staged = staging_ / PathFromUtf8(change.name);
    std::error_code ec;
    if (!fs::is_regular_file(staged, ec)) {
      throw Error(Format(words_.cannot_write, {change.name, msg::kFaltaEnProvisional}));
    }
    FlushFile(staged, change.name, words_.cannot_write);
  }
  CheckReplaceable(replaced);

  // One file over itself (a document): a rename replaces it at once, and no
  // moment exists without it.
  if (changes.size() == 1 && changes[0].write &&
      (replaced.empty() || (replaced.size() == 1 && replaced[0] == dir_ / PathFromUtf8(changes[0].name)))) {
    const fs::path name = PathFromUtf8(changes[0].name);
    held_.clear();  // Windows renames nothing over a file held open, even by us
    if (const std::error_code failed = move(staging_ / name, dir_ / name)) {
      throw Error(Format(words_.cannot_replace, {changes[0].name, failed.message()}));
    }
    FlushDirectory(dir_);
    return {dir_ / name};
  }

  const fs::path previous = staging_ / kPrevious;
  WriteJournal(staging_ / kJournal, changes, words_.cannot_write);
  std::error_code ec;
  if (!fs::create_directory(previous, ec)) {
    throw Error(Format(words_.dir_not_writable, {PathForMessage(dir_), ec.message()}));
  }

  struct Moved {
    fs::path from, to;
  };
  std::vector<Moved> done;  // in order, to be undone backwards
  std::vector<fs::path> written;
  for (const auto& change : changes) {
    const fs::path name = PathFromUtf8(change.name);
    std::vector<Moved> steps;
    for (const auto& old : change.replaced) {
      // Two names of one file where letter case does not count: it went with the first.
      if (!fs::exists(old, ec) && !fs::is_symlink(old, ec)) continue;
      steps.push_back({old, previous / old.filename()});
    }
    if (change.write) steps.push_back({staging_ / name, dir_ / name});
    for (const auto& step : steps) {
      if (const std::error_code failed = move(step.from, step.to)) {
        const std::string reason = failed.message();
        // Backwards, so that each file returns to where it was.
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
          if (auto error = platform::MoveFile(it->to, it->from)) {
            keep_ = true;
            throw Error(Format(words_.not_put_back, {PathForMessage(staging_), error.message()}));
          }
        }
        FlushDirectory(dir_);
        throw Error(Format(words_.cannot_replace, {change.name, reason}));
      }
      done.push_back(step);
    }
    if (change.write) written.push_back(dir_ / name);
  }
  FlushDirectory(dir_);
  // From here the new set stands: a run killed now must not undo it.
  fs::remove(staging_ / kJournal, ec);
  FlushDirectory(staging_);
  return written;
}

}  // namespace velquior
