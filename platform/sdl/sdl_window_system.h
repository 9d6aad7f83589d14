// The window system of the Linux saver, over SDL2: on X11 the saver's own
// borderless window over the screen, or an existing X window (a preview
// parent, or the window XScreenSaver gives a hack) drawn into; on Wayland a
// full-screen window on every output, each showing the frame. SDL's events
// turned into the host's messages; the 10 ms timer paced on the one GUI
// thread; the single-instance lookup across processes through X, or through
// a lock file where there is no X.
#pragma once

#include <csignal>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/instance_lock.h"
#include "platform/message_queue/message_queue.h"
#include "platform/sdl/frame_presenter.h"
#include "platform/sdl/relative_pointer.h"
#include "platform/sdl/sleep_watch.h"
#include "platform/sdl/wayland_presentation.h"
#include "platform/windowing.h"

struct SDL_Window;
struct SDL_Surface;

namespace grazefall::platform::sdl {

// How the saver window treats input.
enum class InputPolicy {
  // Keys, buttons, motion and focus become the host's closing messages.
  Closing,
  // Input is left alone (XScreenSaver owns it, or an ordinary window); only
  // a close request from the window manager or SIGTERM ends the saver.
  Ignored,
};

class SdlWindowSystem : public WindowSystem {
 public:
  SdlWindowSystem();
  ~SdlWindowSystem() override;

  // SDL's video subsystem with `driver` ("x11", "wayland"), or the one
  // SDL_VIDEODRIVER names when set; false (with SDL's reason in `error`)
  // when no display can be opened.
  bool open(std::string* error, std::string_view driver = "x11");
  bool isOpen() const { return open_; }
  // Whether windows are X windows (foreign windows can be drawn into).
  bool onX11() const { return xDisplay_ != nullptr; }
  // Whether windows are a Wayland compositor's (no global pointer position,
  // full screen only as the compositor gives it).
  bool onWayland() const { return wayland_; }

  // Full-screen windows draw into this existing X window instead of making
  // their own (XScreenSaver's window, -root, -window-id), input ignored.
  void setTargetWindow(uint64_t xWindow) { targetWindow_ = xWindow; }
  // Full-screen windows become ordinary resizable windows (-window).
  void setOrdinaryWindow(bool ordinary) { ordinaryWindow_ = ordinary; }
  // The root window of the default screen, or 0.
  uint64_t rootWindow();

  // Ends the loop as a close request would (SIGTERM).
  static void RequestStop();
  static bool StopRequested();

  // --- What the display device draws with ---
  // Shows a frame of any of the software formats in the window, scaled to fit
  // with its aspect kept (black bars), nearest-neighbour. `changes`, when
  // given, are the only rectangles of the frame that differ from the frame
  // presented before (see FramePresenter). kOk once shown.
  int32_t presentFrame(WindowHandle window, SDL_Surface* frame,
                       const std::optional<std::vector<Rect>>& changes = std::nullopt);
  // The SDL window behind a window of ours, or null.
  SDL_Window* sdlWindowOf(WindowHandle window);

  // Where the pointer is on the screen, asked of X (the cursor's position);
  // on Wayland the motion summed inside the saver's windows.
  Point pointerPosition();

  // --- WindowSystem ---
  bool registerClass(std::string_view className, WindowProc procedure) override;
  WindowHandle createWindow(const WindowSpec& spec) override;
  WindowHandle findWindow(std::string_view className, std::string_view title) override;
  bool isWindow(WindowHandle window) override;
  WindowHandle foregroundWindow() override { return 0; }
  void setForegroundWindow(WindowHandle window) override;
  WindowHandle parentOf(WindowHandle window) override;
  bool postMessage(WindowHandle window, uint32_t message, uintptr_t wParam,
                   intptr_t lParam) override;
  MessageResult sendMessage(WindowHandle window, uint32_t message, uintptr_t wParam,
                            intptr_t lParam) override;
  void postQuitMessage(int32_t exitCode) override;
  bool getMessage(Message* message) override;
  MessageResult dispatchMessage(const Message& message) override;
  int32_t removeTimerMessages(WindowHandle window, int32_t limit) override;
  MessageResult defaultWindowProc(WindowHandle window, uint32_t message, uintptr_t wParam,
                                  intptr_t lParam) override;
  uint32_t setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) override;
  void killTimer(WindowHandle window, uint32_t timerId) override;
  Rect virtualScreen() override;
  bool clientSize(WindowHandle window, int32_t* width, int32_t* height) override;
  bool paintPicture(WindowHandle window, const Picture& picture, int32_t x, int32_t y) override;

 private:
  // The same frame shown full screen on another output (Wayland).
  struct Mirror {
    SDL_Window* sdl = nullptr;
    uint32_t sdlId = 0;
    std::unique_ptr<FramePresenter> presenter = std::make_unique<FramePresenter>();
  };

  struct Window {
    std::string className;
    std::string title;
    WindowProc procedure = nullptr;
    SDL_Window* sdl = nullptr;
    uint32_t sdlId = 0;
    // The X window drawn into when SDL did not create it, else 0.
    uint64_t foreign = 0;
    // A preview's own child of the parent window (also `foreign`), made here
    // and destroyed with the window.
    uint64_t previewChild = 0;
    WindowHandle parent = 0;
    InputPolicy input = InputPolicy::Closing;
    bool focused = false;
    Point lastPointer{};
    std::unique_ptr<FramePresenter> presenter = std::make_unique<FramePresenter>();
    std::vector<Mirror> mirrors;
  };

  Window* find(WindowHandle window);
  Window* findBySdlId(uint32_t id, WindowHandle* handle);
  MessageResult deliver(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
  void destroy(WindowHandle window);
  void translateEvents();
  void checkForeignWindows();
  // The socket of SDL's X connection, or -1.
  int eventSocket();
  // Sleeps until X events arrive or `untilTick` milliseconds have passed
  // (nullopt: no timer runs), but no longer than a few milliseconds.
  void waitForEvents(std::optional<uint32_t> untilTick);
  void selectStructureEvents(Window& window);
  // One full-screen window per output into `window` (the first output's is
  // `window.sdl`, the others its mirrors); false when none could be made.
  bool createOutputWindows(Window& window);
  void invalidateAll(Window& window);
  // Shows `frame` in `sdl` through our own Wayland buffers when it has them,
  // else through `presenter`.
  int32_t presentIn(SDL_Window* sdl, FramePresenter& presenter, SDL_Surface* frame,
                    const std::optional<std::vector<Rect>>& changes);
  // Whether the keyboard focus is in one of the windows of `window`.
  bool hasKeyboardFocus(const Window& window) const;

  bool open_ = false;
  bool wayland_ = false;
  void* xDisplay_ = nullptr;  // our own X connection for lookups
  uint64_t targetWindow_ = 0;
  bool ordinaryWindow_ = false;
  std::map<std::string, WindowProc, std::less<>> classes_;
  std::map<WindowHandle, Window> windows_;
  WindowHandle nextHandle_ = WindowHandle{1} << 40;
  MessageQueue queue_;
  bool stopHandled_ = false;
  uint32_t lastForeignCheck_ = 0;
  SleepWatch sleepWatch_;
  RelativePointer relativePointer_;
  // Held while this process shows the saver where X cannot tell (Wayland).
  std::optional<InstanceLock> instanceLock_;
  // Wayland windows shown through buffers of our own, when they can be.
  std::unique_ptr<WaylandPresentation> waylandPresentation_;
  bool waylandRefusalSaid_ = false;
};

}  // namespace grazefall::platform::sdl
