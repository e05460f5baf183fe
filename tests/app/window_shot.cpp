// Saves a picture of the main window as it opens, or after a completed
// conversion with "disabled": velquior_window_shot OUT.png [disabled]
#include <cstdio>

#include <QApplication>
#include <QTimer>

#include "app/MainForm.h"
#include "app/qt_dialogs.h"
#include "help/help_request.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: velquior_window_shot OUT.png [disabled]\n");
    return 2;
  }
  velquior::app::QtDialogs dialogs;
  velquior::help::NoHelp help;
  velquior::app::FormSetup setup;
  setup.dialogs = &dialogs;
  setup.help = &help;
  velquior::app::TMForm form(std::move(setup));
  form.ShowForm();
  if (argc == 3) static_cast<velquior::shell::Window&>(form).DisableConversionButtons();
  const QString out = QString::fromLocal8Bit(argv[1]);
  QTimer::singleShot(500, &app, [&] { app.exit(form.grab().save(out) ? 0 : 1); });
  return app.exec();
}
