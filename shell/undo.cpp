#include "shell/undo.h"

#include <exception>

#include "common/error.h"
#include "common/files.h"
#include "common/format.h"
#include "history/messages.h"
#include "history/restore.h"
#include "history/store.h"

namespace velquior::shell {

bool IsUndoCommandLine(std::span<const std::string> params) {
  return params.size() == 1 && EqualsNoCaseAscii(params[0], "deshacer");
}

int UndoLastConversion(const std::filesystem::path& history_folder, UndoBoxes& boxes) {
  try {
    history::Store store(history_folder);
    const std::vector<history::Entry> entries = history_folder.empty() ? std::vector<history::Entry>{} : store.List();
    if (entries.empty()) {
      boxes.ShowMessage(history::msg::kNadaQueDeshacer);
      return 0;
    }
    const history::Entry& newest = entries.front();
    if (!boxes.Confirm(Format(history::msg::kPreguntaDeshacer, {history::Describe(newest)}),
                       history::msg::kBotonDeshacer, history::msg::kBotonCancelar)) {
      return 0;
    }
    history::Restore(store, newest);
    boxes.ShowMessage(history::UndoneText(newest));
    return 0;
  } catch (const Error& e) {
    boxes.ShowError(WithFullStop(e.message()));
  } catch (const std::exception& e) {
    boxes.ShowError(WithFullStop(e.what()));
  }
  return 1;
}

}  // namespace velquior::shell
