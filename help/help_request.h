#pragma once
// Where a window sends its help requests (F1 and the help button).
// HelpService answers them; NoHelp ignores them.

#include <string>
#include <string_view>

namespace velquior::help {

inline constexpr std::string_view kHelpFile = "SAGA.chm";
// What F1 asks for anywhere in the main window.
inline constexpr int kMainWindowContext = 1;

class HelpRequests {
 public:
  virtual ~HelpRequests() = default;
  // A bare name; the viewer resolves it against the program's directory.
  void SetHelpFile(std::string_view name) { help_file_ = name; }
  const std::string& HelpFile() const { return help_file_; }
  virtual void ShowContext(int context) = 0;  // F1, from whichever control
  virtual void ShowContents() = 0;            // the "F1 AYUDA" button

 private:
  std::string help_file_;
};

class NoHelp : public HelpRequests {
 public:
  void ShowContext(int) override {}
  void ShowContents() override {}
};

}  // namespace velquior::help
