#pragma once
// Helpers shared by the tests: scratch directories, running the converter.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/error.h"

namespace velquior::testing {

// A fresh directory under the system's temporary folder, removed (with its
// contents, after giving back write permission) when the object dies.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The message of the Error that `f` raises, or "(no error)".
template <typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return std::string(e.message());
  }
  return "(no error)";
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

struct RunResult {
  int status = -1;  // exit status, or -1 when killed
  std::string out;
  std::string err;
};

// Runs `program` with `args` (no shell), with `env` entries ("NAME=value")
// added to the environment, and collects its output as text (on Windows,
// CRLF line ends read back as LF).
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::vector<std::string>& env = {});

// Sets or clears a variable of this process's environment, as the
// platform's own functions and child processes see it.
void SetEnv(const std::string& name, const std::string& value);
void UnsetEnv(const std::string& name);

// The path's text in UTF-8, whatever the platform's narrow code page.
std::string Utf8(const std::filesystem::path& path);

// Every file name (not path) in `dir`, sorted; the Windows build's lock
// file of a work directory left out.
std::vector<std::string> ListDir(const std::filesystem::path& dir);

// Every file of `dir` (as ListDir names them) with its bytes.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& dir);

}  // namespace velquior::testing
