// What a person does to the settings sheet of another process, as input that
// reaches its windows: mouse buttons pressed and released over a control,
// keys pressed in the control that has the keyboard focus, characters typed.
// Nothing here calls into the program; what a control reports back is read
// with the ordinary window messages (and, for the messages that carry a
// pointer, through a block of the sheet process's own memory).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace wine_test {

// Waits up to the patience for `done`, pumping nothing; false on timeout.
template <typename Condition>
bool WaitUntil(Condition done, DWORD milliseconds = 10000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > milliseconds) return false;
    Sleep(20);
  }
  return true;
}

// A scratch block in the process that owns a window, for the control
// messages whose lParam points at a RECT the control fills.
class RemoteBlock {
 public:
  explicit RemoteBlock(HWND window);
  ~RemoteBlock();
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool ready() const { return memory_ != nullptr; }
  // The RECT `message` writes for `control`, or nothing when it failed.
  std::optional<RECT> askRect(HWND control, UINT message, WPARAM wParam = 0);

 private:
  HANDLE process_ = nullptr;
  void* memory_ = nullptr;
};

// The sheet window of another process, and the hands that use it.
class SheetHands {
 public:
  explicit SheetHands(HWND sheet);

  HWND sheet() const { return sheet_; }
  bool ready() const { return remote_.ready(); }
  RemoteBlock& remote() { return remote_; }

  HWND currentPage() const;
  int currentPageIndex() const;
  HWND control(int id) const;
  // The window that has the keyboard focus in the sheet's thread.
  HWND focus() const;

  // A left click at `point` of `window`'s client area, and the centre of it.
  void clickAt(HWND window, POINT point);
  void click(HWND window);
  // Presses and releases a key in the focused window.
  void pressKey(UINT virtualKey);
  // Types each character into the focused window.
  void type(const std::string& text);

  // Clicks the page's tab and waits until the sheet shows it.
  bool showPage(int index);
  // Clicks `id` on the current page.
  bool clickControl(int id);

  // Lets the sheet's thread work through what was posted to it.
  void settle();

 private:
  HWND sheet_;
  DWORD thread_;
  RemoteBlock remote_;
};

// A window's text read with WM_GETTEXT, which crosses processes.
std::string TextOf(HWND window);

}  // namespace wine_test
