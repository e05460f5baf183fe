#include "export/staging.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kStagingPrefix = ".velquior-";

std::string FileNameOf(const catalog::TableSpec& t, std::string_view ext) {
  return std::string(t.name) + std::string(ext);
}

void FlushDirectory(const fs::path& dir) {
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// On disk before it replaces anything, so a power cut after the rename
// cannot leave an empty table in place of the old one.
void FlushFile(const fs::path& file, std::string_view name) {
  int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) {
    int err = errno;
    if (fd >= 0) ::close(fd);
    throw Error(Format(msg::kTablaNoSePuedeCrear, {std::string(name), std::strerror(err)}));
  }
  ::close(fd);
}

// Staging folders of runs that were killed; only called under the
// directory lock, so none of them belongs to a live run.
void RemoveStaleStaging(const fs::path& work_dir) {
  std::error_code ec;
  for (fs::directory_iterator it(work_dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.rfind(kStagingPrefix, 0) == 0 && it->is_directory()) {
      std::error_code ignore;
      fs::remove_all(it->path(), ignore);
    }
  }
}

}  // namespace

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
  for (const auto* t : tables_) {
    for (const auto& old : AllCaseVariants(work_dir_, FileNameOf(*t, catalog::kDataExtension))) {
      auto lock = FileLock::TryLock(old, FileLock::Mode::kExclusive);
      if (!lock) {
        throw Error(Format(msg::kTablaEnUso, {old.filename().string()}));
      }
      table_locks_.push_back(std::move(*lock));
    }
  }
  RemoveStaleStaging(work_dir_);
  std::string tmpl = (work_dir_ / (std::string(kStagingPrefix) + "XXXXXX")).string();
  if (::mkdtemp(tmpl.data()) == nullptr) {
    throw Error(Format(msg::kDirectorioTrabajoNoEscribible,
                       {PathForMessage(work_dir_), std::strerror(errno)}));
  }
  staging_ = tmpl;
}

Staging::~Staging() {
  if (!staging_.empty()) {
    std::error_code ec;
    fs::remove_all(staging_, ec);
  }
}

std::vector<fs::path> Staging::Commit() {
  std::vector<fs::path> written;
  // Every staged table must be there before the first old one goes.
  for (const auto* t : tables_) {
    fs::path staged = staging_ / FileNameOf(*t, catalog::kDataExtension);
    std::error_code ec;
    if (!fs::is_regular_file(staged, ec)) {
      throw Error(Format(msg::kTablaNoSePuedeCrear,
                         {FileNameOf(*t, catalog::kDataExtension), msg::kFaltaEnProvisional}));
    }
    FlushFile(staged, FileNameOf(*t, catalog::kDataExtension));
  }
  for (const auto* t : tables_) {
    const std::string data_name = FileNameOf(*t, catalog::kDataExtension);
    const fs::path target = work_dir_ / data_name;
    for (const auto& old : AllCaseVariants(work_dir_, data_name)) {
      if (old != target) {
        std::error_code ignore;
        fs::remove(old, ignore);
      }
    }
    RemoveCaseVariants(work_dir_, FileNameOf(*t, catalog::kIndexExtension));
    if (::rename((staging_ / data_name).c_str(), target.c_str()) != 0) {
      throw Error(Format(msg::kTablaNoSePuedeCrear, {data_name, std::strerror(errno)}));
    }
    written.push_back(target);
  }
  FlushDirectory(work_dir_);
  committed_ = true;
  return written;
}

}  // namespace velquior
