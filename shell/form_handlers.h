#pragma once
// The main window's handlers, written once for every window: the host
// launch (FormCreate, FormShow, FormClose) and the two conversions. Each
// window forwards its events here and implements Window for what only it
// can do. Every handler shows its own errors in the window's error box.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "conversion/reporter.h"
#include "shell/session.h"
#include "shell/window.h"

namespace velquior::shell {

struct FormParams {
  std::vector<std::string> params;  // the command line, program not counted
  std::filesystem::path work_dir;
  std::filesystem::path result_file;  // written on close in host mode
  // Where the conversions keep what they replace; none when unset.
  std::optional<std::filesystem::path> history_folder;
};

class FormHandlers {
 public:
  // `window` and `notices` (which hears the conversions' reports) outlive this.
  FormHandlers(FormParams params, Window& window, Reporter& notices);

  const RunState& State() const { return session_.state; }

  // ResultCode 0; with a host command line, embeds the window into the host's,
  // sets HostLaunched and writes 0 to the result file. An unreadable handle
  // is shown as an error.
  void FormCreate();
  // With a host command line, runs the conversion its first parameter names.
  void FormShow();
  // In host mode, writes ResultCode to the result file.
  void FormClose();
  void BExportarClick();
  void BImportarClick();

 private:
  // The one place where errors of the handlers are caught and shown.
  void Guarded(const std::function<void()>& handler);

  FormParams params_;
  Window& window_;
  Reporter& notices_;
  Session session_;
};

}  // namespace velquior::shell
