#include "app/host_window.h"

#include <cstdint>
#include <cstdlib>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#ifdef _WIN32
#include <windows.h>
#elif defined(VELQUIOR_HAVE_XCB)
#include <xcb/xcb.h>
#endif

namespace velquior::app {
namespace {

// The foreign handle must name a live window: adopting a dead one would
// leave our window parentless and invisible.
bool WindowExists(std::uint32_t handle) {
#ifdef _WIN32
  return IsWindow(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle))) != 0;
#elif defined(VELQUIOR_HAVE_XCB)
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr || handle == 0) return false;
  xcb_connection_t* c = x11->connection();
  xcb_generic_error_t* error = nullptr;
  auto* reply = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, handle), &error);
  std::free(error);
  std::free(reply);
  return reply != nullptr;
#else
  (void)handle;
  return false;
#endif
}

}  // namespace

NativeHostEmbedder::NativeHostEmbedder() = default;
NativeHostEmbedder::~NativeHostEmbedder() = default;

bool NativeHostEmbedder::Embed(QWidget& form, std::uint32_t handle) {
  if (!WindowExists(handle)) return false;
  form.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
#ifdef _WIN32
  HWND self = reinterpret_cast<HWND>(form.winId());
  SetWindowLongPtrW(self, GWL_STYLE, (GetWindowLongPtrW(self, GWL_STYLE) & ~WS_POPUP) | WS_CHILD);
  SetParent(self, reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle)));
  return true;
#else
  host_.reset(QWindow::fromWinId(static_cast<WId>(handle)));
  if (!host_) return false;
  form.winId();  // the native window now exists, unmapped
  form.windowHandle()->setParent(host_.get());
  return true;
#endif
}

}  // namespace velquior::app
