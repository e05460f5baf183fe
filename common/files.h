#pragma once
// File operations the converter relies on, with the program's error texts.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"

namespace velquior {

// Whole file into memory. Raises Error naming the file when it is missing,
// a directory or unreadable.
std::string ReadFileBytes(const std::filesystem::path& path);

// Replaces `path` with `bytes` so that a failure or a crash at any moment
// leaves either the old file whole or the new one whole: the bytes go to a
// temporary file in the same directory, are flushed to disk, renamed over the
// original, and the directory is flushed (platform::ReplaceFileAtomically).
// The original's permission bits are kept (a new file gets 0644 less the
// umask). Raises Error naming the file;
// the temporary file is removed on every failure. Temporary files that
// killed runs left beside `path` (".NAME.XXXXXX", held by no live run) are
// removed first.
void AtomicReplaceFile(const std::filesystem::path& path, std::string_view bytes);

using platform::ByteSink;

// The same replacement, with the bytes given to the sink by `produce` in as
// many pieces as it likes, so that a large file is never held whole in
// memory. When `produce` raises, the temporary file is removed and the
// exception passes on: the old file stays whole.
void AtomicReplaceFile(const std::filesystem::path& path, const std::function<void(const ByteSink&)>& produce);

// The entry of `dir` named `name` without regard to ASCII letter case: the
// exact name when it exists, else the first case variant in sorted order.
std::optional<std::filesystem::path> FindFileNoCase(const std::filesystem::path& dir, std::string_view name);

// Every entry of `dir` whose name equals `name` without regard to ASCII case.
std::vector<std::filesystem::path> AllCaseVariants(const std::filesystem::path& dir, std::string_view name);

// Deletes every case variant of `name` in `dir`; failures are ignored, as
// the creation that follows decides.
void RemoveCaseVariants(const std::filesystem::path& dir, std::string_view name);

bool EqualsNoCaseAscii(std::string_view a, std::string_view b);

// UTF-8 form of a path for messages.
std::string PathForMessage(const std::filesystem::path& path);

// A path from its UTF-8 text (a command line's, a setting's) and back. The
// narrow string forms of std::filesystem use the system's code page on
// Windows, which lacks most characters; on POSIX these keep the bytes as they
// are.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace velquior
