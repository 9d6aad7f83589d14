// The host's window system on Win32: real window classes and windows, the
// thread's message queue, SetTimer, and the services the Windows 95 family
// leaves to a screen saver (the password verifier in PASSWORD.CPL, the
// password change in MPR.DLL, the "screen saver running" notice), all looked
// up at run time so their absence only switches a feature off.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "platform/windowing.h"

namespace grazefall::platform::win32 {

class Win32WindowSystem : public WindowSystem {
 public:
  explicit Win32WindowSystem(HINSTANCE module);
  ~Win32WindowSystem() override;

  bool registerClass(std::string_view className, WindowProc procedure) override;
  WindowHandle createWindow(const WindowSpec& spec) override;
  WindowHandle findWindow(std::string_view className, std::string_view title) override;
  bool isWindow(WindowHandle window) override;
  WindowHandle foregroundWindow() override;
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
  uint32_t registerWindowMessage(std::string_view name) override;

  uint32_t setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) override;
  void killTimer(WindowHandle window, uint32_t timerId) override;

  Rect virtualScreen() override;
  bool clientSize(WindowHandle window, int32_t* width, int32_t* height) override;
  bool paintPicture(WindowHandle window, const Picture& picture, int32_t x, int32_t y) override;

  bool saverHandlesPasswords() override;
  bool readPasswordSwitch(uint32_t* value) override;
  std::unique_ptr<PasswordVerifier> loadPasswordVerifier() override;
  void setScreenSaverRunning(bool running) override;
  bool changePassword(std::string_view provider, WindowHandle owner) override;

  bool detachInputMethod(WindowHandle window, uintptr_t* saved) override;
  void restoreInputMethod(WindowHandle window, uintptr_t saved) override;

  int32_t runTemplateDialog(int32_t templateId, WindowHandle owner) override;

 private:
  static LRESULT CALLBACK RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE module_;
  // The portable procedure of each class registered here; a window holds a
  // pointer to its class's entry, so entries stay for the system's life.
  std::map<std::string, WindowProc, std::less<>> procedures_;
  // The last message taken from the queue, so dispatching it hands the
  // system the very record (time and cursor point included).
  MSG lastMessage_{};
};

// The HWND behind a handle, and back.
inline HWND ToHwnd(WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
inline WindowHandle FromHwnd(HWND window) {
  return reinterpret_cast<WindowHandle>(window);
}

}  // namespace grazefall::platform::win32
