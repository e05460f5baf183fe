#pragma once
// Operations on files by name that differ between platforms. Failures come
// back as the system's error codes; the callers give them the program's
// messages.

#include <filesystem>
#include <system_error>

#include "platform/open_file.h"

namespace velquior::platform {

// What `path` is: with `follow_links` false a link is kLink, not its target.
// kMissing when it cannot be examined.
FileKind KindOf(const std::filesystem::path& path, bool follow_links = true);

// Marked read-only by its owner, as the platform shows it (on POSIX: no
// write bit for anyone; root counts it too). False when missing.
bool IsReadOnly(const std::filesystem::path& path);

// Whether this process may write the file or directory; the system's reason
// when not.
std::error_code CheckWriteAccess(const std::filesystem::path& path);

// The file's bytes on disk; the system's reason when not.
std::error_code FlushFile(const std::filesystem::path& path);

// The directory's entries (names made, renamed, removed) on disk; best
// effort, as not every file system can.
void FlushDirectory(const std::filesystem::path& dir);

// Moves `from` over `to`, replacing it, within one file system.
std::error_code MoveFile(const std::filesystem::path& from, const std::filesystem::path& to);

// `dir` and every missing folder above it, those made readable by the user
// alone; an existing `dir` is no error.
std::error_code MakePrivateDirectories(const std::filesystem::path& dir);

// A new directory in `dir`, named `prefix` and six random letters or digits,
// that nobody else made; `made` receives its path.
std::error_code MakeUniqueDirectory(const std::filesystem::path& dir, std::string_view prefix,
                                    std::filesystem::path& made);

}  // namespace velquior::platform
