#include "cli/command_line.h"

#include <cctype>

#include "common/files.h"
#include "common/format.h"
#include "common/messages.h"

namespace velquior::cli {
namespace {

constexpr std::string_view kWorkDirFlag = "--workdir";
constexpr std::string_view kSeparatorFlag = "--decimal-separator";
constexpr std::string_view kJsonFlag = "--json";
constexpr std::string_view kKeepCodesFlag = "--keep-codes";
constexpr std::string_view kNoHistoryFlag = "--no-history";

[[noreturn]] void Usage(std::string_view pattern, std::string_view arg) { throw UsageError{Format(pattern, {arg})}; }

}  // namespace

std::optional<char> ParseSeparator(const std::string& text) {
  if (text.size() != 1) return std::nullopt;
  auto c = static_cast<unsigned char>(text[0]);
  if (c < 0x21 || c > 0x7E || std::isalnum(c) || c == '+' || c == '-') return std::nullopt;
  return static_cast<char>(c);
}

Options ParseCommandLine(const std::vector<std::string>& args) {
  Options o;
  if (args.empty()) Usage(msg::kOrdenDesconocida, "");
  const std::string& cmd = args[0];
  if (cmd == "--help" || cmd == "-h") {
    o.command = Command::kHelp;
    return o;
  }
  if (cmd == "--version") {
    o.command = Command::kVersion;
    return o;
  }
  if (cmd == "export") {
    o.command = Command::kExport;
  } else if (cmd == "import") {
    o.command = Command::kImport;
  } else if (cmd == "check") {
    o.command = Command::kCheck;
  } else if (cmd == "dump") {
    o.command = Command::kDump;
  } else if (cmd == "history") {
    o.command = Command::kHistory;
  } else if (cmd == "restore") {
    o.command = Command::kRestore;
  } else {
    Usage(msg::kOrdenDesconocida, cmd);
  }
  const bool takes_file = o.command != Command::kHistory && o.command != Command::kRestore;
  const bool converts = o.command == Command::kExport || o.command == Command::kImport;
  bool have_file = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string_view flag) -> const std::string& {
      if (i + 1 >= args.size()) Usage(msg::kFaltaValor, flag);
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      o.command = Command::kHelp;
      return o;
    }
    if (takes_file && o.command != Command::kDump && a == kWorkDirFlag) {
      o.work_dir = PathFromUtf8(value(kWorkDirFlag));
    } else if (takes_file && o.command != Command::kDump && a == kSeparatorFlag) {
      const std::string& v = value(kSeparatorFlag);
      o.decimal_separator = ParseSeparator(v);
      if (!o.decimal_separator) Usage(msg::kSeparadorNoValido, v);
    } else if ((o.command == Command::kDump || o.command == Command::kCheck || o.command == Command::kHistory) &&
               a == kJsonFlag) {
      o.json = true;
    } else if ((o.command == Command::kExport || o.command == Command::kCheck) && a == kKeepCodesFlag) {
      o.keep_codes = true;
    } else if (converts && a == kNoHistoryFlag) {
      o.no_history = true;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      Usage(msg::kOpcionDesconocida, a);
    } else if (o.command == Command::kRestore && !have_file) {
      // A number as the listing shows it, from 1.
      if (a.empty() || a.size() > 6 || a.find_first_not_of("0123456789") != std::string::npos || std::stoul(a) == 0) {
        Usage(msg::kEntradaNoValida, a);
      }
      o.entry = std::stoul(a);
      have_file = true;
    } else if (!have_file && takes_file) {
      o.file = PathFromUtf8(a);
      have_file = true;
    } else {
      Usage(msg::kSobraArgumento, a);
    }
  }
  if (!have_file && takes_file) Usage(msg::kFaltaArchivo, cmd);
  return o;
}

}  // namespace velquior::cli
