#pragma once
// `velquior deshacer`: the newest history entry put back from a window,
// after a question, with boxes only (no main window).

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace velquior::shell {

// Exactly one parameter, "deshacer" in any ASCII letter case. A host launch
// always passes two.
bool IsUndoCommandLine(std::span<const std::string> params);

// What the undo needs of a toolkit: its boxes, captioned with the
// application's title. Texts are UTF-8.
class UndoBoxes {
 public:
  virtual ~UndoBoxes() = default;
  virtual void ShowMessage(std::string_view utf8_text) = 0;
  virtual void ShowError(std::string_view utf8_text) = 0;  // ends in its full stop
  // Two buttons, `yes` the default; closing the box answers no.
  virtual bool Confirm(std::string_view utf8_question, std::string_view yes, std::string_view no) = 0;
};

// Asks whether to put back what the newest entry of the history in
// `history_folder` replaced, and does it; says "No hay nada que deshacer"
// when there is none. Returns the exit status: 1 when the restore failed
// (the error box has said why), else 0.
int UndoLastConversion(const std::filesystem::path& history_folder, UndoBoxes& boxes);

}  // namespace velquior::shell
