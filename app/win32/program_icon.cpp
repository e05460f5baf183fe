#include "app/win32/program_icon.h"

#include "app/win32/win32_basics.h"

namespace velquior::win32 {
namespace {

struct IconKind {
  WPARAM which;
  int size_at_96;
};
constexpr IconKind kKinds[] = {{ICON_SMALL, 16}, {ICON_BIG, 32}};

HICON LoadSized(int size, UINT flags) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON, size,
                                       size, flags));
}

}  // namespace

HICON SharedProgramIcon(bool small) {
  return LoadSized(GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON), LR_SHARED);
}

void SetProgramIcons(HWND window, int dpi) {
  for (const IconKind& kind : kKinds) {
    HICON icon = LoadSized(Scale(kind.size_at_96, dpi), 0);
    if (icon == nullptr) continue;
    auto old = reinterpret_cast<HICON>(SendMessageW(window, WM_SETICON, kind.which, reinterpret_cast<LPARAM>(icon)));
    if (old != nullptr) DestroyIcon(old);
  }
}

void ReleaseProgramIcons(HWND window) {
  for (const IconKind& kind : kKinds) {
    auto old = reinterpret_cast<HICON>(SendMessageW(window, WM_SETICON, kind.which, 0));
    if (old != nullptr) DestroyIcon(old);
  }
}

}  // namespace velquior::win32
