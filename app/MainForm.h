#pragma once
// MForm, the main window: the two conversions side by side, the exit and
// help buttons, and the host launch (FormCreate, FormShow, FormClose). A
// thin window over the shell's handlers: it only chooses the file, shows
// the boxes, sets the cursor and the buttons, embeds and closes itself.

#include <filesystem>
#include <optional>
#include <functional>
#include <string>
#include <vector>

#include <QWidget>

#include "app/open_dialog.h"
#include "conversion/reporter.h"
#include "help/help_request.h"
#include "shell/form_handlers.h"
#include "shell/window.h"

class QPushButton;

namespace velquior::app {

class Dialogs;
class HostEmbedder;

struct FormSetup {
  std::vector<std::string> params;  // the command line, program not counted
  std::filesystem::path work_dir;
  std::filesystem::path result_file;  // written on close in host mode
  // Where the conversions keep what they replace; unset: nowhere.
  std::optional<std::filesystem::path> history_folder;
  Dialogs* dialogs = nullptr;         // these three outlive the form
  help::HelpRequests* help = nullptr;
  HostEmbedder* embedder = nullptr;
  std::function<void()> on_closed;  // the window has closed: end the program
  // The host's window went away with ours inside it; the result is written.
  // Ends the program there and then, even from inside a box. Empty: on_closed.
  std::function<void()> on_host_lost;
};

class TMForm : public QWidget, public shell::Window {
 public:
  // Builds the window and runs FormCreate; errors go to the error box.
  explicit TMForm(FormSetup setup);
  ~TMForm() override;

  // Start-up's show: FormShow runs first, so a host launch's conversion
  // comes before the window is drawn; the window then appears unless that
  // conversion closed it.
  void ShowForm();

  bool Closed() const { return closed_; }
  bool Embedded() const { return embedded_; }
  const shell::RunState& State() const { return handlers_.State(); }

  // Handlers, named after their control and event; the shell's handlers do
  // the work. Each shows its own errors in the error box.
  void FormCreate();
  void FormShow();
  void FormClose();
  // The host's window was destroyed while ours was in it: closing as by
  // any other means, so the host (or whoever waits for it) gets ResultCode.
  void HostLost();
  void BExportarClick();
  void BImportarClick();
  void Button1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::optional<std::filesystem::path> ChooseXmlFile(const std::filesystem::path& last) override;
  void ShowMessage(std::string_view utf8_text) override;
  void ShowError(std::string_view utf8_text) override;
  Answer Ask(std::string_view utf8_question, std::string_view first, std::string_view second,
             std::string_view cancel) override;
  void SetBusyCursor(bool busy) override;
  void DisableConversionButtons() override;
  void Close() override;
  void EmbedInHost(std::uint32_t handle) override;

  void BuildControls();
  void CentreOnScreen();

  FormSetup setup_;
  Reporter notices_;  // the window shows none of the conversions' reports
  shell::FormHandlers handlers_;
  // OpenDialogXML, BExportar and BImportar keep their components' names.
  XmlFileDialog OpenDialogXML;
  bool closed_ = false;
  bool embedded_ = false;
  bool busy_ = false;
  QPushButton* BExportar = nullptr;
  QPushButton* BImportar = nullptr;
};

}  // namespace velquior::app
