#pragma once
// What the shell asks of a main window: the few things only a window can do.
// Each toolkit's window implements it; the shell decides when and in which
// order. Texts are UTF-8.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace velquior::shell {

class Window {
 public:
  virtual ~Window() = default;

  // The file dialog. `last` is the name chosen before (possibly empty).
  // Returns the chosen name, or nullopt when the user cancels.
  virtual std::optional<std::filesystem::path> ChooseXmlFile(const std::filesystem::path& last) = 0;
  // A plain, modal message ("Proceso finalizado", "No existe archivo").
  virtual void ShowMessage(std::string_view utf8_text) = 0;
  // The standard error box; `utf8_text` already ends in its full stop.
  virtual void ShowError(std::string_view utf8_text) = 0;
  // A modal question captioned with the application's title, with three
  // buttons reading `first` (the default), `second` and `cancel`. Closing
  // the box without a choice (Esc, the close box) answers kCancel.
  enum class Answer { kFirst, kSecond, kCancel };
  virtual Answer Ask(std::string_view utf8_question, std::string_view first, std::string_view second,
                     std::string_view cancel) = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  // Disables both conversion buttons; a focus on either moves first to
  // kFocusAfterConversion.
  virtual void DisableConversionButtons() = 0;
  // Closes the main window, which ends the program.
  virtual void Close() = 0;
  // Makes the window a borderless child of the host's window `handle`. A
  // handle the window cannot be placed in leaves it framed in its own place.
  virtual void EmbedInHost(std::uint32_t handle) = 0;
};

}  // namespace velquior::shell
