// velquior-convert: the conversions from the command line.
// Exit status: 0 completed, 1 error, 2 wrong usage, 3 the file does not exist;
// check: 4 when it found an error or a warning, 1 when it could not check.

#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "check/check.h"
#include "check/export_side.h"
#include "cli/check_report.h"
#include "cli/cli_reporter.h"
#include "cli/command_line.h"
#include "cli/dump.h"
#include "cli/history_listing.h"
#include "cli/import_warnings.h"
#include "common/error.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/work_dir.h"
#include "export/export_driver.h"
#include "history/messages.h"
#include "history/restore.h"
#include "history/store.h"
#include "import/import_driver.h"
#include "platform/console.h"
#include "platform/environment.h"
#include "platform/heap.h"
#include "platform/process.h"
#include "text/numbers.h"

namespace {

using namespace velquior;

enum ExitStatus { kOk = 0, kFailed = 1, kUsage = 2, kMissing = 3 };

char ChooseSeparator(const cli::Options& o) {
  if (o.decimal_separator) return *o.decimal_separator;
  if (const auto env = platform::EnvironmentVariable("VELQUIOR_DECIMAL_SEPARATOR")) {
    if (auto sep = cli::ParseSeparator(*env)) return *sep;
    throw cli::UsageError{Format(msg::kSeparadorNoValido, {*env})};
  }
  return text::DecimalSeparatorFromEnvironment();
}

// The file named on the command line, by its full name where it has one.
std::filesystem::path FileNamed(const std::filesystem::path& file) {
  if (file.empty()) return file;
  std::error_code ec;
  auto absolute = std::filesystem::absolute(file, ec);
  return ec ? file : absolute;
}

// A listing is the command's product: one that could not be written is an
// error, but not one whose reader stopped reading (`| head`).
void FinishListing() {
  std::cout.flush();
  if (!std::cout && !platform::StandardOutputReaderGone()) throw Error(std::string(msg::kSalidaNoEscrita));
}

// The messages the window shows in a box ("Proceso finalizado").
void Say(std::string_view utf8_text) { std::cout << utf8_text << '\n' << std::flush; }

int Run(const cli::Options& o) {
  switch (o.command) {
    case cli::Command::kHelp:
      std::cout << msg::kUso;
      return kOk;
    case cli::Command::kVersion:
      std::cout << "velquior-convert " << VELQUIOR_VERSION << '\n';
      return kOk;
    case cli::Command::kDump:
      if (o.json) {
        cli::DumpJson(o.file, std::cout, std::cerr);
      } else {
        cli::DumpPlain(o.file, std::cout, std::cerr);
      }
      FinishListing();
      return kOk;
    case cli::Command::kHistory: {
      const std::vector<history::Entry> entries = history::Store(history::Store::DefaultFolder()).List();
      if (o.json) {
        cli::WriteHistoryJson(entries, std::cout);
      } else {
        cli::WriteHistoryText(entries, std::cout);
      }
      FinishListing();
      return kOk;
    }
    case cli::Command::kRestore: {
      history::Store store(history::Store::DefaultFolder());
      const std::vector<history::Entry> entries = store.List();
      if (entries.empty()) throw Error(std::string(history::msg::kNadaQueDeshacer));
      if (o.entry > entries.size()) {
        throw Error(Format(history::msg::kNoHayEntrada, {std::to_string(o.entry), std::to_string(entries.size())}));
      }
      const history::Entry& entry = entries[o.entry - 1];
      history::Restore(store, entry);
      Say(history::UndoneText(entry));
      return kOk;
    }
    case cli::Command::kCheck: {
      text::SetDecimalSeparator(ChooseSeparator(o));
      const std::filesystem::path file = FileNamed(o.file);
      const std::filesystem::path work_dir = ResolveWorkDir(o.work_dir);
      const check::Report report = check::CheckAll(file, work_dir, o.keep_codes);
      if (o.json) {
        cli::WriteCheckJson(report, file, work_dir, std::cout);
      } else {
        cli::WriteCheckText(report, file, work_dir, std::cout);
      }
      FinishListing();
      return check::ExitStatusFor(report);
    }
    case cli::Command::kExport:
    case cli::Command::kImport: {
      text::SetDecimalSeparator(ChooseSeparator(o));
      // Static, and the process ends with _Exit: the system takes a large
      // document's memory back at once instead of node by node.
      static Workspace workspace;
      workspace.work_dir = ResolveWorkDir(o.work_dir);
      cli::CliReporter reporter(std::cout, std::cerr);
      const std::filesystem::path file = FileNamed(o.file);
      // Without keeping, the codes the timetable uses that change are found
      // before the old tables go, and told once the export has completed.
      std::vector<check::Concerned> at_stake;
      const bool exporting = o.command == cli::Command::kExport;
      if (exporting && !o.keep_codes) at_stake = check::CodesAtStake(file, workspace.work_dir);
      history::Store store(history::Store::DefaultFolder());
      history::Store* kept = o.no_history ? nullptr : &store;
      const Outcome outcome = exporting
                                  ? RunExport(file, workspace, reporter, {.keep_codes = o.keep_codes, .history = kept})
                                  : RunImport(file, workspace, reporter, {.history = kept});
      if (outcome == Outcome::kMissingFile) {
        Say(msg::kNoExisteArchivo);
        return kMissing;
      }
      if (o.command == cli::Command::kImport) cli::WarnAfterImport(*workspace.document, workspace.work_dir, std::cerr);
      for (const auto& record : at_stake) std::cerr << Format(msg::kAviso, {check::CodeAtStakeLine(record)}) << '\n';
      Say(msg::kProcesoFinalizado);
      return kOk;
    }
  }
  return kUsage;
}

}  // namespace

int Main(int argc, char** argv) {
  // A run builds one large document tree and drops it at the end.
  platform::TuneHeapForOneLargeTree();
  std::ios::sync_with_stdio(false);
  platform::UseUtf8Console();  // after the line above, which replaces the streams' buffers
  platform::SurviveClosedOutput();
  const std::vector<std::string> args = platform::CommandLineArguments(argc, argv);
  // The one place where errors end the program.
  try {
    return Run(cli::ParseCommandLine(args));
  } catch (const cli::UsageError& e) {
    std::cerr << Format(msg::kUsoIncorrecto, {e.reason}) << '\n';
    return kUsage;
  } catch (const Error& e) {
    std::cout.flush();
    std::cerr << WithFullStop(e.message()) << '\n';
    return kFailed;
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << WithFullStop(e.what()) << '\n';
    return kFailed;
  }
}

int main(int argc, char** argv) {
  int status = Main(argc, argv);
  std::cout.flush();
  std::cerr.flush();
  std::_Exit(status);
}
