#pragma once
// Placing the main window inside the host's window, given its native handle.

#include <cstdint>
#include <functional>
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
  // Calls `lost` once, from the event loop, when the window embedded into
  // goes away (the host closed or died). Only after a successful Embed.
  virtual void OnHostLost(std::function<void()> lost) { (void)lost; }
};

// X11 through Qt's foreign windows; Windows through the native parent.
// Outlives the form it embeds: it owns the host's window wrapper.
class NativeHostEmbedder : public HostEmbedder {
 public:
  NativeHostEmbedder();
  ~NativeHostEmbedder() override;
  bool Embed(QWidget& form, std::uint32_t handle) override;
  void OnHostLost(std::function<void()> lost) override;

 private:
  class Watch;
  std::unique_ptr<QWindow> host_;
  std::uint32_t handle_ = 0;
  std::unique_ptr<Watch> watch_;
};

}  // namespace velquior::app
