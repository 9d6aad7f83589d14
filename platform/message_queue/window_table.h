// The windows of a window system that keeps its own queue (SDL, headless):
// the registered classes, each window's class, title, procedure and parent,
// delivery to the procedure, posting into the shared MessageQueue, and the
// one way a window is destroyed (WM_DESTROY first, then what the backend
// holds for it, then its queued messages and timer). `Extra` is what the
// backend keeps beside each window. A window stays in the table once gone,
// so the backend can tell one of its own that has ended from a window of
// another program.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/message_queue/message_queue.h"
#include "platform/messages.h"
#include "platform/windowing.h"

namespace grazefall::platform {

template <typename Extra>
class WindowTable {
 public:
  struct Window {
    std::string className;
    std::string title;
    WindowProc procedure = nullptr;
    WindowHandle parent = 0;
    bool alive = true;
    Extra extra{};
  };

  explicit WindowTable(WindowHandle firstHandle) : nextHandle_(firstHandle) {}

  bool registerClass(std::string_view className, WindowProc procedure) {
    if (procedure == nullptr) return false;
    classes_[std::string(className)] = procedure;
    return true;
  }
  // The procedure registered for the class, or null.
  WindowProc procedureOf(std::string_view className) const {
    auto it = classes_.find(className);
    return it != classes_.end() ? it->second : nullptr;
  }

  // Keeps `window` under a new handle.
  WindowHandle add(Window window) {
    const WindowHandle handle = nextHandle_++;
    windows_[handle] = std::move(window);
    return handle;
  }
  // The window while it is alive, else null.
  Window* find(WindowHandle handle) {
    auto it = windows_.find(handle);
    return it != windows_.end() && it->second.alive ? &it->second : nullptr;
  }
  const Window* find(WindowHandle handle) const {
    auto it = windows_.find(handle);
    return it != windows_.end() && it->second.alive ? &it->second : nullptr;
  }
  // Whether the handle was given out here, alive or gone.
  bool madeHere(WindowHandle handle) const { return windows_.count(handle) != 0; }
  // The first live window with this class and title, or 0.
  WindowHandle findByName(std::string_view className, std::string_view title) const {
    for (const auto& [handle, window] : windows_) {
      if (window.alive && window.className == className && window.title == title) return handle;
    }
    return 0;
  }
  // Every window, gone ones too, in handle order.
  std::map<WindowHandle, Window>& all() { return windows_; }
  const std::map<WindowHandle, Window>& all() const { return windows_; }

  // From now on, every message a procedure gets is also kept, in order (for
  // tests to read back).
  void keepDeliveryLog() { logging_ = true; }
  const std::vector<Message>& deliveryLog() const { return log_; }
  // Hands the message to the window's procedure; 0 when it has none or is gone.
  MessageResult deliver(WindowHandle handle, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    Window* window = find(handle);
    if (window == nullptr || window->procedure == nullptr) return 0;
    if (logging_) log_.push_back(Message{handle, message, wParam, lParam});
    return window->procedure(handle, message, wParam, lParam);
  }
  // Queues the message for a live window; false for any other.
  bool post(WindowHandle handle, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (find(handle) == nullptr) return false;
    queue_.post(Message{handle, message, wParam, lParam});
    return true;
  }
  // Sends WM_DESTROY, then, if the procedure has not already destroyed it,
  // calls `release(window)` for what the backend holds and forgets the
  // window's queued messages and timer. Nothing for a window that is gone.
  template <typename Release>
  void destroy(WindowHandle handle, Release&& release) {
    if (find(handle) == nullptr) return;
    deliver(handle, kWmDestroy, 0, 0);
    Window* window = find(handle);
    if (window == nullptr) return;
    release(*window);
    window->alive = false;
    queue_.dropWindow(handle);
  }
  void destroy(WindowHandle handle) {
    destroy(handle, [](Window&) {});
  }

  MessageQueue& queue() { return queue_; }
  const MessageQueue& queue() const { return queue_; }

 private:
  std::map<std::string, WindowProc, std::less<>> classes_;
  std::map<WindowHandle, Window> windows_;
  WindowHandle nextHandle_;
  bool logging_ = false;
  std::vector<Message> log_;
  MessageQueue queue_;
};

}  // namespace grazefall::platform
