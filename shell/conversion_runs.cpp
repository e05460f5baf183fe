#include "shell/conversion_runs.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "check/export_side.h"
#include "common/format.h"
#include "common/messages.h"
#include "export/export_driver.h"
#include "export/kept_codes.h"
#include "import/import_driver.h"

namespace velquior::shell {
namespace {

// The busy cursor while the conversion works; its reports go on to `notices`.
class WindowReporter : public Reporter {
 public:
  WindowReporter(Window& window, Reporter& notices) : window_(window), notices_(notices) {}
  void BeginWork() override { window_.SetBusyCursor(true); }
  void EndWork() override { window_.SetBusyCursor(false); }
  void ReportMissingItem(const MissingItem& item) override { notices_.ReportMissingItem(item); }
  void ReportTablesWritten(std::span<const std::string> names) override { notices_.ReportTablesWritten(names); }
  void ReportCodeNotKept(const CodeNotKept& not_kept) override {
    not_kept_ += NotKeptLine(not_kept) + "\n";
    notices_.ReportCodeNotKept(not_kept);
  }
  // What keeping could not keep, one a line; shown once the export completes.
  const std::string& not_kept() const { return not_kept_; }

 private:
  Window& window_;
  Reporter& notices_;
  std::string not_kept_;
};

// A confirmed name becomes XmlFileName; a cancel keeps the name chosen before.
void ChooseFile(RunState& state, Window& window) {
  if (auto chosen = window.ChooseXmlFile(state.XmlFileName)) state.XmlFileName = *chosen;
}

void MissingFileEnding(RunState& state, Window& window, std::int32_t host_result_code) {
  window.ShowMessage(msg::kNoExisteArchivo);
  if (state.HostLaunched) {
    state.ResultCode = host_result_code;
    window.Close();
  }
}

void CompletedEnding(RunState& state, Window& window) {
  state.ResultCode = 1;
  window.ShowMessage(msg::kProcesoFinalizado);
  window.DisableConversionButtons();
  if (state.HostLaunched) window.Close();
}

// The user declined: nothing is written, and the host hears what a
// cancelled file dialog tells it.
void CancelledEnding(RunState& state, Window& window, std::int32_t host_result_code) {
  if (state.HostLaunched) {
    state.ResultCode = host_result_code;
    window.Close();
  }
}

using Conversion = std::function<Outcome(const std::filesystem::path&, Workspace&, Reporter&)>;

Outcome RunFromWindow(const Conversion& convert, std::int32_t missing_file_code, Session& session, Window& window,
                      Reporter& notices) {
  WindowReporter reporter(window, notices);
  const Outcome outcome = convert(session.state.XmlFileName, session.workspace, reporter);
  if (outcome == Outcome::kMissingFile) {
    MissingFileEnding(session.state, window, missing_file_code);
  } else {
    if (!reporter.not_kept().empty()) window.ShowMessage(reporter.not_kept());
    CompletedEnding(session.state, window);
  }
  return outcome;
}

std::string CodesQuestion(const std::vector<check::Concerned>& at_stake) {
  constexpr std::size_t kShown = 10;
  std::string lines;
  for (std::size_t i = 0; i < at_stake.size() && i < kShown; ++i) lines += check::CodeAtStakeLine(at_stake[i]) + "\n";
  if (at_stake.size() > kShown)
    lines += Format(msg::kPreguntaCodigosMas, {std::to_string(at_stake.size() - kShown)}) + "\n";
  return Format(msg::kPreguntaCodigos, {lines});
}

// Asks only when the export would change codes the current timetable
// uses; nullopt when the user cancels.
std::optional<ExportOptions> ChooseCodes(Session& session, Window& window) {
  const Workspace& workspace = session.workspace;
  history::Store* kept = session.history ? &*session.history : nullptr;
  if (!check::CodesMayBeAtStake(session.state.XmlFileName, workspace.work_dir)) return ExportOptions{false, kept};
  std::vector<check::Concerned> at_stake;
  {
    window.SetBusyCursor(true);
    struct Normal {
      Window& w;
      ~Normal() { w.SetBusyCursor(false); }
    } normal{window};
    at_stake = check::CodesAtStake(session.state.XmlFileName, workspace.work_dir);
  }
  if (at_stake.empty()) return ExportOptions{false, kept};
  switch (window.Ask(CodesQuestion(at_stake), msg::kBotonConservar, msg::kBotonUsarNuevos, msg::kBotonCancelar)) {
    case Window::Answer::kFirst:
      return ExportOptions{true, kept};
    case Window::Answer::kSecond:
      return ExportOptions{false, kept};
    case Window::Answer::kCancel:
      break;
  }
  return std::nullopt;
}

}  // namespace

Outcome ExportFromWindow(Session& session, Window& window, Reporter& notices) {
  // A missing file or a cancel in host mode tells the host -1, unlike the import.
  constexpr std::int32_t kHostCode = -1;
  ChooseFile(session.state, window);
  const std::optional<ExportOptions> options = ChooseCodes(session, window);
  if (!options) {
    CancelledEnding(session.state, window, kHostCode);
    return Outcome::kCancelled;
  }
  auto convert = [&](const std::filesystem::path& file, Workspace& workspace, Reporter& reporter) {
    return RunExport(file, workspace, reporter, *options);
  };
  return RunFromWindow(convert, kHostCode, session, window, notices);
}

Outcome ImportFromWindow(Session& session, Window& window, Reporter& notices) {
  // A missing file in host mode tells the host 0, unlike the export's -1.
  ChooseFile(session.state, window);
  auto convert = [&](const std::filesystem::path& file, Workspace& workspace, Reporter& reporter) {
    return RunImport(file, workspace, reporter, {.history = session.history ? &*session.history : nullptr});
  };
  return RunFromWindow(convert, 0, session, window, notices);
}

}  // namespace velquior::shell
