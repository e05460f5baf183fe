// velquior.exe: the desktop window on Windows. Started by the timetabling
// program with "exportar"/"importar" and its window handle, it runs that
// conversion inside the host's window and leaves the outcome in
// Zeltimor.ini beside the executable.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/host_embedding.h"
#include "app/win32/main_form.h"
#include "app/win32/message_boxes.h"
#include "common/work_dir.h"
#include "help/program_help.h"
#include "history/store.h"
#include "platform/process.h"
#include "shell/host_launch.h"
#include "shell/result_file.h"
#include "shell/undo.h"
#include "text/numbers.h"

namespace {

std::filesystem::path ExecutableDir() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length < name.size()) {
      name.resize(length);
      break;
    }
    name.resize(name.size() * 2);
  }
  return std::filesystem::path(name).parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace velquior;
  // The manifest makes the process aware of each monitor's scale; the window
  // scales its coordinates and fonts itself.
  text::SetDecimalSeparator(text::DecimalSeparatorFromEnvironment());

  const std::vector<std::string> params = platform::CommandLineArguments(argc, argv);
  if (shell::IsUndoCommandLine(params)) {
    win32::UndoBoxes boxes;
    return shell::UndoLastConversion(history::Store::DefaultFolder(), boxes);
  }

  // Set up before the window exists; every help request goes through it.
  const std::unique_ptr<help::HelpService> help = help::CreateProgramHelp();

  win32::FormSetup setup;
  setup.params = params;
  setup.help = help.get();
  if (shell::IsHostCommandLine(setup.params)) {
    // Sized in the host's terms from the start; a handle that cannot be
    // read is the host launch's to report.
    try {
      setup.dpi = win32::AdoptHostDpi(shell::ReadHostHandle(setup.params[1]));
    } catch (const std::exception&) {
    }
  }
  try {
    setup.work_dir = ResolveWorkDir(std::nullopt);
    setup.history_folder = history::Store::DefaultFolder();
    setup.result_file = shell::ResultFilePath(ExecutableDir());
    // The host may be gone while a box of ours waits in its own loop, and
    // our window went with it: the result is written, the process ends here.
    setup.on_host_lost = [] {
      std::fflush(nullptr);
      std::_Exit(0);
    };
    win32::MainForm form(std::move(setup));
    help->SetOwner(form.Hwnd());
    form.ShowForm();
    const int status = form.Closed() ? 0 : form.RunMessageLoop();
    help->ShutDown();  // closes the help windows before HHCtrl.ocx goes
    return status;
  } catch (const std::exception& e) {
    win32::ShowBox(nullptr, e.what(), win32::BoxKind::kError);
    return 1;
  }
}
