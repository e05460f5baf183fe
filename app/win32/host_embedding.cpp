#include "app/win32/host_embedding.h"

namespace velquior::win32 {

POINT CentredPosition(SIZE own) {
  return {(GetSystemMetrics(SM_CXSCREEN) - own.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - own.cy) / 2};
}

HWND HostWindow(std::uint32_t handle) {
  HWND host = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle));
  return handle != 0 && IsWindow(host) ? host : nullptr;
}

bool EmbedInto(HWND self, std::uint32_t handle) {
  HWND host = HostWindow(handle);
  if (host == nullptr || host == self || IsChild(self, host)) return false;
  RECT client{};
  GetClientRect(self, &client);
  const SIZE size{client.right - client.left, client.bottom - client.top};

  constexpr LONG_PTR kFrame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  SetWindowLongPtrW(self, GWL_STYLE, (GetWindowLongPtrW(self, GWL_STYLE) & ~kFrame) | WS_CHILD);
  constexpr LONG_PTR kFrameEx = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_APPWINDOW;
  SetWindowLongPtrW(self, GWL_EXSTYLE, GetWindowLongPtrW(self, GWL_EXSTYLE) & ~kFrameEx);
  SetParent(self, host);
  const POINT at = CentredPosition(size);
  SetWindowPos(self, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return true;
}

}  // namespace velquior::win32
