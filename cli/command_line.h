#pragma once
// The command line of velquior-convert.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velquior::cli {

enum class Command { kExport, kImport, kCheck, kDump, kHistory, kRestore, kHelp, kVersion };

struct Options {
  Command command = Command::kHelp;
  std::filesystem::path file;
  std::optional<std::filesystem::path> work_dir;
  std::optional<char> decimal_separator;
  bool json = false;
  bool keep_codes = false;  // export and check
  bool no_history = false;  // export and import
  std::size_t entry = 1;    // restore: the history's numbering, newest first
};

// Raises UsageError with the Spanish reason on wrong usage.
struct UsageError {
  std::string reason;  // UTF-8
};
Options ParseCommandLine(const std::vector<std::string>& args);

// One character that cannot be part of a number's digits, sign or exponent.
std::optional<char> ParseSeparator(const std::string& text);

}  // namespace velquior::cli
