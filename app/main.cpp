// velquior: the desktop window. Started by the timetabling program with
// "exportar"/"importar" and its window handle, it runs that conversion inside
// the host's window and leaves the outcome in Zeltimor.ini.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QFile>
#include <QIcon>

#include "app/MainForm.h"
#include "app/host_window.h"
#include "app/open_dialog.h"
#include "app/qt_dialogs.h"
#include "common/messages.h"
#include "common/work_dir.h"
#include "help/help_location.h"
#include "help/help_request.h"
#include "help/help_service.h"
#include "history/store.h"
#include "shell/result_file.h"
#include "shell/undo.h"
#include "text/numbers.h"

namespace {

// The icon's sizes built into the program, for a desktop whose theme lacks it.
QIcon BuiltInIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString file = QStringLiteral(":/velquior/hicolor/%1x%1/apps/velquior.png").arg(size);
    if (QFile::exists(file)) icon.addFile(file, QSize(size, size));
  }
  return icon;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace velquior;
  // Counted as given, before Qt takes its own options out of argv.
  std::vector<std::string> params(argv + 1, argv + argc);

  // Every later help request goes through it; the help lies beside the
  // program or, installed, in its data folder.
  help::HelpService help(help::DefaultEngineLoader(),
                         [] { return help::HelpDirectory(help::ExecutableDirectory(), help::kHelpFile); });
  QApplication application(argc, argv);
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("velquior"), BuiltInIcon()));
  help.SetHelpFile(help::kHelpFile);
  QApplication::setApplicationName(
      QString::fromUtf8(msg::kTituloAplicacion.data(), static_cast<qsizetype>(msg::kTituloAplicacion.size())));
  // Closing the main window ends the program, also when it is embedded (a
  // child window never counts as the last window closed).
  application.setQuitOnLastWindowClosed(false);
  text::SetDecimalSeparator(text::DecimalSeparatorFromEnvironment());
  // The program speaks Spanish whatever the desktop's language: Qt's own
  // words (the file dialog's) too, where the translation is installed.
  app::UseSpanishQtWords();

  if (shell::IsUndoCommandLine(params)) {
    app::QtUndoBoxes boxes;
    return shell::UndoLastConversion(history::Store::DefaultFolder(), boxes);
  }

  app::QtDialogs dialogs;
  app::NativeHostEmbedder embedder;  // outlives the form it embeds
  app::FormSetup setup;
  setup.params = std::move(params);
  setup.work_dir = ResolveWorkDir(std::nullopt);
  setup.history_folder = history::Store::DefaultFolder();
  setup.result_file = shell::ResultFilePath(app::ToPath(QCoreApplication::applicationDirPath()));
  setup.dialogs = &dialogs;
  setup.help = &help;
  setup.embedder = &embedder;
  setup.on_closed = [] { QCoreApplication::quit(); };
  // The host may be gone while a box of ours waits in its own event loop,
  // and our window went with it: no loop can be trusted to end, and no file
  // is being written between boxes, so the process ends here.
  setup.on_host_lost = [] {
    std::fflush(nullptr);
    std::_Exit(0);
  };

  app::TMForm form(std::move(setup));
  form.ShowForm();
  if (form.Closed()) return 0;
  return application.exec();
}
