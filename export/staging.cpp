#include "export/staging.h"

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
// While the old tables are being replaced, the staging folder holds the list
// of tables being moved and, set aside, the old files they replace. A
// folder that still has the list belongs to a run killed half-way: its old
// files go back.
constexpr std::string_view kJournal = "REEMPLAZO";
constexpr std::string_view kPrevious = "ANTERIORES";
// Held locked by the run that owns the folder while it lives, so that a
// clean-up never takes a live run's folder for a dead one's.
constexpr std::string_view kLive = "EN_CURSO";

std::string FileNameOf(const catalog::TableSpec& t, std::string_view ext) {
  return std::string(t.name) + std::string(ext);
}

using platform::FlushDirectory;

// On disk before it replaces anything, so a power cut after the rename
// cannot leave an empty table in place of the old one.
void FlushFile(const fs::path& file, std::string_view name) {
  if (auto error = platform::FlushFile(file)) {
    throw Error(Format(msg::kTablaNoSePuedeCrear, {std::string(name), error.message()}));
  }
}

// Every file a commit takes away: the table in every letter case, its index.
std::vector<fs::path> OldFilesOf(const fs::path& work_dir, const catalog::TableSpec& t) {
  std::vector<fs::path> old = AllCaseVariants(work_dir, FileNameOf(t, catalog::kDataExtension));
  for (auto& index : AllCaseVariants(work_dir, FileNameOf(t, catalog::kIndexExtension))) {
    old.push_back(std::move(index));
  }
  return old;
}

// The write bits count even for root, as for the SAGA document: a table
// someone marked read-only is not replaced by this program.
void CheckReplaceable(const fs::path& work_dir, std::span<const catalog::TableSpec* const> tables) {
  for (const auto* t : tables) {
    for (const auto& old : OldFilesOf(work_dir, *t)) {
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
      throw Error(Format(msg::kTablaNoSePuedeReemplazar, {old.filename().string(), reason}));
    }
  }
}

void WriteJournal(const fs::path& file, std::span<const catalog::TableSpec* const> tables) {
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const auto* t : tables) out << FileNameOf(*t, catalog::kDataExtension) << '\n';
    if (!out.flush()) {
      throw Error(Format(msg::kTablaNoSePuedeCrear, {file.filename().string(), std::strerror(errno)}));
    }
  }
  FlushFile(file, file.filename().string());
  FlushDirectory(file.parent_path());
}

// Undoes a commit that a killed run left half-way: the new tables it had
// moved in go, the old files it had set aside come back. Raises Error, with
// the folder kept, when a file cannot be put back.
void PutBackInterrupted(const fs::path& folder, const fs::path& work_dir) {
  std::ifstream journal(folder / kJournal);
  for (std::string name; std::getline(journal, name);) {
    if (name.empty() || name.find('/') != std::string::npos) continue;
    std::error_code ec;
    if (!fs::exists(folder / name, ec) && fs::is_regular_file(work_dir / name, ec)) {
      fs::remove(work_dir / name, ec);
    }
  }
  std::error_code ec;
  for (fs::directory_iterator it(folder / kPrevious, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path back = work_dir / it->path().filename();
    if (auto error = platform::MoveFile(it->path(), back)) {
      throw Error(Format(msg::kTablasNoRestauradas, {PathForMessage(folder), error.message()}));
    }
  }
  FlushDirectory(work_dir);
}

// Whether the run that made `folder` is gone: its mark can be locked, or
// it never made one (killed at once, or an older version's folder).
bool RunIsDead(const fs::path& folder) {
  std::error_code ec;
  if (!fs::exists(folder / kLive, ec)) return !ec;
  try {
    return FileLock::TryLock(folder / kLive, FileLock::Mode::kExclusive).has_value();
  } catch (const Error&) {
    return false;  // not known to be dead: left alone
  }
}

// Staging folders of runs that were killed; only called under the
// directory lock, and each folder only once its run is seen to be dead.
void CleanUpDeadRuns(const fs::path& work_dir) {
  std::error_code ec;
  for (fs::directory_iterator it(work_dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = PathToUtf8(it->path().filename());
    if (name.rfind(kStagingPrefix, 0) != 0 || !it->is_directory()) continue;
    if (!RunIsDead(it->path())) continue;
    std::error_code ignore;
    if (fs::exists(it->path() / kJournal, ignore)) PutBackInterrupted(it->path(), work_dir);
    fs::remove_all(it->path(), ignore);
  }
}

}  // namespace

std::error_code Staging::RenameFile(const fs::path& from, const fs::path& to) { return platform::MoveFile(from, to); }

Staging::Staging(fs::path work_dir, std::span<const catalog::TableSpec* const> tables)
    : work_dir_(std::move(work_dir)), tables_(tables.begin(), tables.end()) {
  std::error_code ec;
  if (!fs::is_directory(work_dir_, ec)) {
    throw Error(Format(msg::kSinDirectorioTrabajo, {PathForMessage(work_dir_)}));
  }
  dir_lock_ = FileLock::TryLock(work_dir_, FileLock::Mode::kExclusive);
  if (!dir_lock_) {
    throw Error(Format(msg::kDirectorioTrabajoEnUso, {PathForMessage(work_dir_)}));
  }
  CleanUpDeadRuns(work_dir_);
  for (const auto* t : tables_) {
    for (const auto& old : AllCaseVariants(work_dir_, FileNameOf(*t, catalog::kDataExtension))) {
      auto lock = FileLock::TryLockToReplace(old);
      if (!lock) {
        throw Error(Format(msg::kTablaEnUso, {old.filename().string()}));
      }
      table_locks_.push_back(std::move(*lock));
    }
  }
  // Before the builders run, so that an old table that cannot go stops the
  // run before any work is done.
  CheckReplaceable(work_dir_, tables_);
  if (auto error = platform::MakeUniqueDirectory(work_dir_, kStagingPrefix, staging_)) {
    throw Error(Format(msg::kDirectorioTrabajoNoEscribible, {PathForMessage(work_dir_), error.message()}));
  }
  const fs::path live = staging_ / kLive;
  std::ofstream(live, std::ios::binary).flush();
  live_lock_ = FileLock::TryLock(live, FileLock::Mode::kExclusive);
  if (!live_lock_) {
    throw Error(Format(msg::kDirectorioTrabajoNoEscribible, {PathForMessage(work_dir_), std::strerror(EACCES)}));
  }
}

Staging::~Staging() {
  // The old tables set aside in the staging folder go with it, and Windows
  // keeps a deleted file, and so its folder, until the last handle closes.
  table_locks_.clear();
  live_lock_.reset();
  if (!staging_.empty() && !keep_) {
    std::error_code ec;
    fs::remove_all(staging_, ec);
  }
}

std::vector<fs::path> Staging::Commit(const MoveFile& move) {
  // Every staged table must be there before the first old one goes.
  for (const auto* t : tables_) {
    fs::path staged = staging_ / FileNameOf(*t, catalog::kDataExtension);
    std::error_code ec;
    if (!fs::is_regular_file(staged, ec)) {
      throw Error(
          Format(msg::kTablaNoSePuedeCrear, {FileNameOf(*t, catalog::kDataExtension), msg::kFaltaEnProvisional}));
    }
    FlushFile(staged, FileNameOf(*t, catalog::kDataExtension));
  }
  CheckReplaceable(work_dir_, tables_);

  const fs::path previous = staging_ / kPrevious;
  WriteJournal(staging_ / kJournal, tables_);
  std::error_code ec;
  if (!fs::create_directory(previous, ec)) {
    throw Error(Format(msg::kDirectorioTrabajoNoEscribible, {PathForMessage(work_dir_), ec.message()}));
  }

  struct Moved {
    fs::path from, to;
  };
  std::vector<Moved> done;  // in order, to be undone backwards
  std::vector<fs::path> written;
  for (const auto* t : tables_) {
    const std::string data_name = FileNameOf(*t, catalog::kDataExtension);
    const fs::path target = work_dir_ / data_name;
    std::vector<Moved> steps;
    for (const auto& old : OldFilesOf(work_dir_, *t)) steps.push_back({old, previous / old.filename()});
    steps.push_back({staging_ / data_name, target});
    for (const auto& step : steps) {
      if (const std::error_code failed = move(step.from, step.to)) {
        const std::string reason = failed.message();
        // Backwards, so that each file returns to where it was.
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
          if (auto error = platform::MoveFile(it->to, it->from)) {
            keep_ = true;
            throw Error(Format(msg::kTablasNoRestauradas, {PathForMessage(staging_), error.message()}));
          }
        }
        FlushDirectory(work_dir_);
        throw Error(Format(msg::kTablaNoSePuedeReemplazar, {data_name, reason}));
      }
      done.push_back(step);
    }
    written.push_back(target);
  }
  FlushDirectory(work_dir_);
  // From here the new set stands: a run killed now must not undo it.
  fs::remove(staging_ / kJournal, ec);
  FlushDirectory(staging_);
  return written;
}

}  // namespace velquior
