#include "app/win32/open_dialog.h"

#include <utility>

#include "app/win32/win32_basics.h"
#include "common/messages.h"
#include "shell/xml_dialog.h"

namespace velquior::win32 {
namespace {

// Long names too: the dialog's buffer, in characters.
constexpr std::size_t kNameCapacity = 32768;

}  // namespace

OPENFILENAMEW ToOpenFileName(const XmlOpenSettings& settings, std::vector<wchar_t>& buffer, HWND owner) {
  buffer.assign(kNameCapacity, L'\0');
  settings.file.copy(buffer.data(), std::min(settings.file.size(), kNameCapacity - 1));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = settings.filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = settings.initial_dir.empty() ? nullptr : settings.initial_dir.c_str();
  ofn.lpstrTitle = settings.title.c_str();
  ofn.Flags = settings.flags;
  ofn.lpstrDefExt = settings.default_extension.c_str();
  return ofn;
}

XmlOpenDialog::XmlOpenDialog(std::filesystem::path work_dir, Runner runner)
    : work_dir_(std::move(work_dir)), runner_(std::move(runner)) {}

XmlOpenSettings XmlOpenDialog::Settings() const {
  XmlOpenSettings s;
  s.title = Wide(msg::kTituloDialogoXml);
  s.filter = std::wstring(L"*.xml\0*.xml\0", 12);
  s.default_extension = L"xml";
  // A remembered name opens the dialog in its own folder.
  s.initial_dir = (file_name_.empty() ? shell::XmlDialogStartDir(work_dir_) : file_name_.parent_path()).wstring();
  s.file = file_name_.wstring();
  // No OFN_FILEMUSTEXIST: a missing file is the conversion's to report.
  s.flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
  return s;
}

std::optional<std::filesystem::path> XmlOpenDialog::Execute(HWND owner) {
  const XmlOpenSettings settings = Settings();
  std::vector<wchar_t> buffer;
  OPENFILENAMEW ofn = ToOpenFileName(settings, buffer, owner);
  const bool chosen = runner_ ? runner_(ofn) : GetOpenFileNameW(&ofn) != 0;
  if (!chosen || buffer[0] == L'\0') return std::nullopt;
  file_name_ = std::filesystem::path(std::wstring(buffer.data()));
  return file_name_;
}

}  // namespace velquior::win32
