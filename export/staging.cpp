#include "export/staging.h"

#include "common/files.h"
#include "common/messages.h"

namespace velquior {
namespace fs = std::filesystem;
namespace {

constexpr SetReplacement::Words kTableWords = {
    .in_use = msg::kTablaEnUso,
    .cannot_write = msg::kTablaNoSePuedeCrear,
    .cannot_replace = msg::kTablaNoSePuedeReemplazar,
    .not_put_back = msg::kTablasNoRestauradas,
    .missing_dir = msg::kSinDirectorioTrabajo,
    .dir_in_use = msg::kDirectorioTrabajoEnUso,
    .dir_not_writable = msg::kDirectorioTrabajoNoEscribible,
};

std::string FileNameOf(const catalog::TableSpec& t, std::string_view ext) {
  return std::string(t.name) + std::string(ext);
}

}  // namespace

Staging::Staging(fs::path work_dir, std::span<const catalog::TableSpec* const> tables)
    : work_dir_(std::move(work_dir)), tables_(tables.begin(), tables.end()), set_(work_dir_, kTableWords) {
  std::vector<fs::path> old;
  for (const auto* t : tables_) {
    for (auto& file : AllCaseVariants(work_dir_, FileNameOf(*t, catalog::kDataExtension))) old.push_back(file);
  }
  set_.Hold(old);
  // Before the builders run, so that an old table that cannot go stops the
  // run before any work is done.
  for (const auto* t : tables_) set_.CheckReplaceable(OldFilesOf(*t));
}

// Every file a commit takes away: the table in every letter case, its index.
std::vector<fs::path> Staging::OldFilesOf(const catalog::TableSpec& t) const {
  std::vector<fs::path> old = AllCaseVariants(work_dir_, FileNameOf(t, catalog::kDataExtension));
  for (auto& index : AllCaseVariants(work_dir_, FileNameOf(t, catalog::kIndexExtension))) {
    old.push_back(std::move(index));
  }
  return old;
}

std::vector<history::Source> Staging::FilesToReplace() const {
  std::vector<history::Source> files;
  for (const auto* t : tables_) {
    const std::string name = FileNameOf(*t, catalog::kDataExtension);
    bool target_exists = false;
    for (auto& old : OldFilesOf(*t)) {
      if (old.filename() == fs::path(name)) target_exists = true;
      const FileLock* lock = set_.HeldLock(old);
      files.push_back({old, lock != nullptr ? &lock->file() : nullptr});
    }
    // Where letter case does not count, the old file's name stands for it.
    std::error_code ec;
    if (!target_exists && !fs::exists(work_dir_ / name, ec)) files.push_back({work_dir_ / name, nullptr});
  }
  return files;
}

std::vector<fs::path> Staging::Commit(const MoveFile& move) {
  std::vector<SetReplacement::Change> changes;
  for (const auto* t : tables_) changes.push_back({FileNameOf(*t, catalog::kDataExtension), true, OldFilesOf(*t)});
  return set_.Commit(changes, move);
}

}  // namespace velquior
