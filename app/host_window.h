#pragma once
// Placing the main window inside the host's window, given its native handle.

#include <cstdint>
#include <memory>

class QWidget;
class QWindow;

namespace velquior::app {

class HostEmbedder {
 public:
  virtual ~HostEmbedder() = default;
  // Makes `form` a borderless child of the native window `handle`. False,
  // with `form` untouched, when no such window exists or the platform cannot
  // adopt a foreign window as parent (Wayland, offscreen).
  virtual bool Embed(QWidget& form, std::uint32_t handle) = 0;
};

// X11 through Qt's foreign windows; Windows through the native parent.
// Outlives the form it embeds: it owns the host's window wrapper.
class NativeHostEmbedder : public HostEmbedder {
 public:
  NativeHostEmbedder();
  ~NativeHostEmbedder() override;
  bool Embed(QWidget& form, std::uint32_t handle) override;

 private:
  std::unique_ptr<QWindow> host_;
};

}  // namespace velquior::app
