#include "shell/form_handlers.h"

#include <cstdint>
#include <exception>
#include <utility>

#include "common/error.h"
#include "shell/conversion_runs.h"
#include "shell/host_launch.h"
#include "shell/result_file.h"

namespace velquior::shell {

FormHandlers::FormHandlers(FormParams params, Window& window, Reporter& notices)
    : params_(std::move(params)), window_(window), notices_(notices) {
  session_.workspace.work_dir = params_.work_dir;
  if (params_.history_folder) session_.history.emplace(*params_.history_folder);
}

void FormHandlers::FormCreate() {
  Guarded([this] {
    RunState& state = session_.state;
    state.ResultCode = 0;
    if (!IsHostCommandLine(params_.params)) return;
    const std::uint32_t handle = ReadHostHandle(params_.params[1]);
    window_.EmbedInHost(handle);
    state.HostLaunched = true;
    // Nothing completed until this run says otherwise: a final value that
    // cannot be written then leaves no earlier run's success for the host.
    try {
      WriteResultCode(params_.result_file, 0);
    } catch (const Error&) {  // NOLINT(bugprone-empty-catch)
      // Reported once, by FormClose's write.
    }
  });
}

void FormHandlers::FormShow() {
  if (!IsHostCommandLine(params_.params)) return;
  switch (ConversionNamed(params_.params[0])) {
    case Conversion::kImport:
      BImportarClick();
      break;
    case Conversion::kExport:
      BExportarClick();
      break;
    case Conversion::kNone:
      break;
  }
}

void FormHandlers::FormClose() {
  Guarded([this] {
    if (!session_.state.HostLaunched) return;
    WriteResultCode(params_.result_file, session_.state.ResultCode);
  });
}

void FormHandlers::BExportarClick() {
  Guarded([this] { ExportFromWindow(session_, window_, notices_); });
}

void FormHandlers::BImportarClick() {
  Guarded([this] { ImportFromWindow(session_, window_, notices_); });
}

void FormHandlers::Guarded(const std::function<void()>& handler) {
  std::string message;
  try {
    handler();
    return;
  } catch (const Error& e) {
    message = WithFullStop(e.message());
  } catch (const std::exception& e) {
    message = WithFullStop(e.what());
  }
  window_.ShowError(message);
}

}  // namespace velquior::shell
