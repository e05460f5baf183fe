#include "app/win32/host_embedding.h"

namespace velquior::win32 {

POINT CentredPosition(SIZE own) {
  return {(GetSystemMetrics(SM_CXSCREEN) - own.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - own.cy) / 2};
}

HWND HostWindow(std::uint32_t handle) {
  HWND host = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle));
  return handle != 0 && IsWindow(host) ? host : nullptr;
}

namespace {

// user32's entries of Windows 10 and later, looked up so the program still
// starts on older systems.
template <typename Function>
Function User32Entry(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  // GetProcAddress's generic pointer to the entry's real type, through the
  // one function type a cast may pass without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

}  // namespace

int AdoptHostDpi(std::uint32_t handle) {
  HWND host = HostWindow(handle);
  if (host == nullptr) return 0;
  using GetAwareness = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
  using SetAwareness = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
  using GetDpi = UINT(WINAPI*)(HWND);
  const auto get_awareness = User32Entry<GetAwareness>("GetWindowDpiAwarenessContext");
  const auto set_awareness = User32Entry<SetAwareness>("SetThreadDpiAwarenessContext");
  const auto get_dpi = User32Entry<GetDpi>("GetDpiForWindow");
  if (get_awareness == nullptr || set_awareness == nullptr || get_dpi == nullptr) return 0;
  const DPI_AWARENESS_CONTEXT host_awareness = get_awareness(host);
  if (host_awareness == nullptr || set_awareness(host_awareness) == nullptr) return 0;
  return static_cast<int>(get_dpi(host));
}

bool EmbedInto(HWND self, std::uint32_t handle) {
  HWND host = HostWindow(handle);
  if (host == nullptr || host == self || IsChild(self, host)) return false;
  RECT client{};
  GetClientRect(self, &client);
  const SIZE size{client.right - client.left, client.bottom - client.top};

  const LONG_PTR style = GetWindowLongPtrW(self, GWL_STYLE), ex_style = GetWindowLongPtrW(self, GWL_EXSTYLE);
  constexpr LONG_PTR kFrame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  SetWindowLongPtrW(self, GWL_STYLE, (style & ~kFrame) | WS_CHILD);
  constexpr LONG_PTR kFrameEx = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_APPWINDOW;
  SetWindowLongPtrW(self, GWL_EXSTYLE, ex_style & ~kFrameEx);
  // Refused (another process's window under rules of its own, a host of
  // another DPI awareness): the window stays as it was, framed, in its place.
  SetParent(self, host);
  if (GetParent(self) != host) {
    SetWindowLongPtrW(self, GWL_STYLE, style);
    SetWindowLongPtrW(self, GWL_EXSTYLE, ex_style);
    SetWindowPos(self, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return false;
  }
  const POINT at = CentredPosition(size);
  SetWindowPos(self, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return true;
}

}  // namespace velquior::win32
