#include "shell/conversion_runs.h"

#include <cstdint>
#include <span>
#include <string>

#include "common/messages.h"
#include "export/export_driver.h"
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

 private:
  Window& window_;
  Reporter& notices_;
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

using Conversion = Outcome (*)(const std::filesystem::path&, Workspace&, Reporter&);

Outcome RunFromWindow(Conversion convert, std::int32_t missing_file_code, Session& session, Window& window,
                      Reporter& notices) {
  ChooseFile(session.state, window);
  WindowReporter reporter(window, notices);
  const Outcome outcome = convert(session.state.XmlFileName, session.workspace, reporter);
  if (outcome == Outcome::kMissingFile) {
    MissingFileEnding(session.state, window, missing_file_code);
  } else {
    CompletedEnding(session.state, window);
  }
  return outcome;
}

}  // namespace

Outcome ExportFromWindow(Session& session, Window& window, Reporter& notices) {
  // A missing file in host mode tells the host -1, unlike the import.
  constexpr Conversion kExport = [](const std::filesystem::path& file, Workspace& workspace, Reporter& reporter) {
    return RunExport(file, workspace, reporter);
  };
  return RunFromWindow(kExport, -1, session, window, notices);
}

Outcome ImportFromWindow(Session& session, Window& window, Reporter& notices) {
  // A missing file in host mode tells the host 0, unlike the export's -1.
  return RunFromWindow(RunImport, 0, session, window, notices);
}

}  // namespace velquior::shell
