#include "app/host_window.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>
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

// Sees the X server destroy the host's window. A destroyed parent takes our
// window with it, so this is the last moment to answer the host.
class NativeHostEmbedder::Watch : public QAbstractNativeEventFilter {
 public:
  Watch(std::uint32_t handle, std::function<void()> lost) : handle_(handle), lost_(std::move(lost)) {
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  ~Watch() override {
    if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeNativeEventFilter(this);
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override {
    (void)result;
#if defined(VELQUIOR_HAVE_XCB)
    if (fired_ || type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY) return false;
    if (reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window != handle_) return false;
    fired_ = true;
    // Not from inside the filter: the handler may show boxes or end the process.
    QMetaObject::invokeMethod(QCoreApplication::instance(), lost_, Qt::QueuedConnection);
#else
    (void)type;
    (void)message;
#endif
    return false;
  }

 private:
  std::uint32_t handle_;
  std::function<void()> lost_;
  bool fired_ = false;
};

NativeHostEmbedder::NativeHostEmbedder() = default;
NativeHostEmbedder::~NativeHostEmbedder() = default;

void NativeHostEmbedder::OnHostLost(std::function<void()> lost) {
  if (handle_ == 0 || !lost) return;
#if defined(VELQUIOR_HAVE_XCB)
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return;
  // Our own interest in the host's window: each client has its own event mask.
  xcb_connection_t* c = x11->connection();
  const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, handle_, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(c);
  watch_ = std::make_unique<Watch>(handle_, std::move(lost));
#else
  (void)lost;
#endif
}

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
  handle_ = handle;
  return true;
#endif
}

}  // namespace velquior::app
