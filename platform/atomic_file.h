#pragma once
// Replacing a whole file so that a crash at any moment leaves either the old
// file or the new one, never a mix.

#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

namespace velquior::platform {

// A write, flush or rename of the replacement failed; code() says why.
class WriteFailed : public std::system_error {
 public:
  explicit WriteFailed(int err) : std::system_error(err, std::generic_category()) {}
  explicit WriteFailed(std::error_code code) : std::system_error(code) {}
};

// Takes a file's bytes piece by piece, in order.
using ByteSink = std::function<void(std::string_view)>;

// The bytes `produce` gives the sink go to a temporary file beside `path`,
// held locked while it lives, are flushed to disk and moved over `path`;
// then the directory is flushed. On Windows the replacement takes over the
// original's identity where the volume allows (its streams, access list
// and creation time), and a file another program holds is waited for. The original's permissions are kept (a new
// file gets the default ones). Temporary files that killed runs left beside
// `path`, locked by nobody, are removed first.
//
// Raises WriteFailed, also from the sink; when anything raises, the
// temporary file goes and `path` stays as it was.
void ReplaceFileAtomically(const std::filesystem::path& path, const std::function<void(const ByteSink&)>& produce);

}  // namespace velquior::platform
