// The window system of the Linux saver, over SDL2: on X11 the saver's own
// borderless window over the screen (one over each monitor where there are
// several, each showing the whole frame), or an existing X window (a preview
// parent, or the window XScreenSaver gives a hack) drawn into; on Wayland a
// full-screen window on every output, each showing the frame. SDL's events
// turned into the host's messages; the 10 ms timer paced on the one GUI
// thread; the single-instance lookup across processes through X, or through
// a lock file where there is no X. Its parts: video_driver (which driver),
// x11_connection (other programs' windows), foreign_windows (drawing into
// them), output_windows (the windows of every output), event_translation
// (SDL events to messages); sdl_message_loop.cpp holds the loop and its
// sleep. The window table and queue are message_queue/'s.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/instance_lock.h"
#include "platform/message_queue/window_table.h"
#include "platform/sdl/event_translation.h"
#include "platform/sdl/output_windows.h"
#include "platform/sdl/relative_pointer.h"
#include "platform/sdl/sleep_watch.h"
#include "platform/sdl/video_driver.h"
#include "platform/sdl/wayland_presentation.h"
#include "platform/sdl/x11_connection.h"
#include "platform/windowing.h"

struct SDL_Window;
struct SDL_Surface;

namespace grazefall::platform::sdl {

class SdlWindowSystem : public WindowSystem {
 public:
  SdlWindowSystem();
  ~SdlWindowSystem() override;

  // SDL's video subsystem with `driver` ("x11", "wayland"), or the one
  // SDL_VIDEODRIVER names when set; false (with SDL's reason in `error`)
  // when no display can be opened.
  bool open(std::string* error, std::string_view driver = "x11");
  bool isOpen() const { return driver_.has_value(); }
  // Whether windows are X windows (foreign windows can be drawn into).
  bool onX11() const { return x_.isOpen(); }
  // Whether windows are a Wayland compositor's (no global pointer position,
  // full screen only as the compositor gives it).
  bool onWayland() const { return driver_ == VideoDriver::Wayland; }

  // Full-screen windows draw into this existing X window instead of making
  // their own (XScreenSaver's window, -root, -window-id), input ignored.
  void setTargetWindow(uint64_t xWindow) { targetWindow_ = xWindow; }
  // Full-screen windows become ordinary resizable windows (-window).
  void setOrdinaryWindow(bool ordinary) { ordinaryWindow_ = ordinary; }
  // The root window of the default screen, or 0.
  uint64_t rootWindow() { return x_.rootWindow(); }

  // Ends the loop as a close request would (SIGTERM).
  static void RequestStop();
  static bool StopRequested();

  // --- What the display device draws with ---
  // Shows a frame of any of the software formats in the window, scaled to fit
  // with its aspect kept (black bars), nearest-neighbour. `changes`, when
  // given, are the only rectangles of the frame that differ from the frame
  // presented before (see FramePresenter). `shared`, when given, holds the
  // frame's pixels in memory the X server reads itself; `lent`, a Wayland
  // buffer of lendWaylandBuffer's. kOk once shown.
  int32_t presentFrame(WindowHandle window, SDL_Surface* frame,
                       const std::optional<std::vector<Rect>>& changes = std::nullopt,
                       const X11SharedImage* shared = nullptr, ShmBuffers* lent = nullptr);
  // A buffer the Wayland compositor reads `window`'s frames of `width` x
  // `height` XRGB8888 pixels from as they are drawn, or null where there is
  // none (not Wayland, another size, an output scale above 1).
  std::unique_ptr<ShmBuffers> lendWaylandBuffer(WindowHandle window, int32_t width, int32_t height);
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
  // What this system keeps beside each window of the table.
  struct Window {
    OutputWindows outputs;
    // The X window drawn into when SDL did not create it, else 0.
    uint64_t foreign = 0;
    // A preview's own child of the parent window (also `foreign`), made here
    // and destroyed with the window.
    uint64_t previewChild = 0;
    InputPolicy input = InputPolicy::Closing;
    bool focused = false;
    Point lastPointer{};
  };
  using Windows = WindowTable<Window>;

  Window* find(WindowHandle window);
  // The window of ours that SDL window `id` belongs to; else the first live
  // one (keyboard events without a focus window go to the saver); 0 when
  // there is none.
  WindowHandle findBySdlId(uint32_t id);
  // Makes the window's SDL windows as `spec` and the settings ask (its title
  // may change); false when none could be made.
  bool openWindows(const WindowSpec& spec, Window* window, std::string* title);
  void destroy(WindowHandle window);
  std::vector<EventWindow> liveWindows();
  EventContext contextOf(const SDL_Event& event);
  void postAll(const std::vector<Message>& messages);
  void translateEvents();
  void checkForeignWindows();
  // Sleeps until SDL's connection has events or `msUntilTick` milliseconds
  // have passed (nullopt: no timer runs), but no longer than a few ms.
  void waitForEvents(std::optional<uint32_t> msUntilTick);
  // Whether the keyboard focus is in one of the windows of `window`.
  bool hasKeyboardFocus(const Window& window) const;

  std::optional<VideoDriver> driver_;
  XConnection x_;  // our own X connection for lookups
  uint64_t targetWindow_ = 0;
  bool ordinaryWindow_ = false;
  Windows windows_{WindowHandle{1} << 40};
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
