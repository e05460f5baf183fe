#pragma once
// OpenDialogXML: the common "open" dialog both conversions show. Titled
// "Archivo XML", one filter "*.xml", ".xml" added to a typed name without
// one, opening in "saga" inside the work directory; a typed name of a file
// that does not exist counts as chosen. The last confirmed name is offered
// again next time.

#include <windows.h>

#include <commdlg.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velquior::win32 {

// What the dialog is given, in a form a test can read.
struct XmlOpenSettings {
  std::wstring title;
  std::wstring filter;  // "description\0mask\0" pairs, with the final "\0"
  std::wstring default_extension;
  std::wstring initial_dir;
  std::wstring file;  // the name offered as the selection (may be empty)
  DWORD flags = 0;
};

// OPENFILENAMEW over `settings`; `buffer` receives the chosen name and must
// outlive the call that uses it.
OPENFILENAMEW ToOpenFileName(const XmlOpenSettings& settings, std::vector<wchar_t>& buffer, HWND owner);

class XmlOpenDialog {
 public:
  // Shows the dialog; GetOpenFileNameW unless a test answers instead.
  using Runner = std::function<bool(OPENFILENAMEW&)>;

  explicit XmlOpenDialog(std::filesystem::path work_dir, Runner runner = {});

  XmlOpenSettings Settings() const;
  // The chosen name, kept for next time; nullopt when cancelled.
  std::optional<std::filesystem::path> Execute(HWND owner);
  const std::filesystem::path& FileName() const { return file_name_; }

 private:
  std::filesystem::path work_dir_;
  Runner runner_;
  std::filesystem::path file_name_;
};

}  // namespace velquior::win32
