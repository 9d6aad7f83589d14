#include "sheet_hands.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

namespace wine_test {
namespace {

constexpr SIZE_T kRemoteBlockSize = 4096;

LPARAM PointParam(POINT point) {
  return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

// The lParam of a key message: repeat count 1 and the key's scan code; a
// release also has the previous-state and transition bits.
LPARAM KeyParam(UINT virtualKey, bool release) {
  const UINT scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  LPARAM param = 1 | static_cast<LPARAM>(scanCode << 16);
  if (release) param |= static_cast<LPARAM>(0xC0000000u);
  return param;
}

}  // namespace

RemoteBlock::RemoteBlock(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  process_ =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process_ == nullptr) return;
  memory_ =
      VirtualAllocEx(process_, nullptr, kRemoteBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBlock::~RemoteBlock() {
  if (memory_ != nullptr) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
  if (process_ != nullptr) CloseHandle(process_);
}

std::optional<RECT> RemoteBlock::askRect(HWND control, UINT message, WPARAM wParam) {
  if (!ready()) return std::nullopt;
  // A mark no control writes, so a message that fills nothing is seen.
  RECT rect{-12345, -12345, -12345, -12345};
  SIZE_T moved = 0;
  if (!WriteProcessMemory(process_, memory_, &rect, sizeof(rect), &moved)) return std::nullopt;
  SendMessageA(control, message, wParam, reinterpret_cast<LPARAM>(memory_));
  if (!ReadProcessMemory(process_, memory_, &rect, sizeof(rect), &moved)) return std::nullopt;
  if (rect.left == -12345 && rect.right == -12345) return std::nullopt;
  return rect;
}

SheetHands::SheetHands(HWND sheet)
    : sheet_(sheet), thread_(GetWindowThreadProcessId(sheet, nullptr)), remote_(sheet) {}

HWND SheetHands::currentPage() const {
  return PropSheet_GetCurrentPageHwnd(sheet_);
}

int SheetHands::currentPageIndex() const {
  return static_cast<int>(PropSheet_HwndToIndex(sheet_, currentPage()));
}

HWND SheetHands::control(int id) const {
  HWND page = currentPage();
  return page == nullptr ? nullptr : GetDlgItem(page, id);
}

HWND SheetHands::focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(thread_, &info)) return nullptr;
  return info.hwndFocus;
}

void SheetHands::clickAt(HWND window, POINT point) {
  const LPARAM where = PointParam(point);
  PostMessageA(window, WM_MOUSEMOVE, 0, where);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
  settle();
  PostMessageA(window, WM_LBUTTONUP, 0, where);
  settle();
}

void SheetHands::click(HWND window) {
  RECT box{};
  GetClientRect(window, &box);
  clickAt(window, POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2});
}

void SheetHands::pressKey(UINT virtualKey) {
  HWND target = focus();
  if (target == nullptr) return;
  PostMessageA(target, WM_KEYDOWN, virtualKey, KeyParam(virtualKey, false));
  PostMessageA(target, WM_KEYUP, virtualKey, KeyParam(virtualKey, true));
  settle();
}

void SheetHands::type(const std::string& text) {
  HWND target = focus();
  if (target == nullptr) return;
  for (char c : text) {
    PostMessageA(target, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
  }
  settle();
}

bool SheetHands::showPage(int index) {
  HWND tabs = PropSheet_GetTabControl(sheet_);
  if (tabs == nullptr) return false;
  const std::optional<RECT> tab = remote_.askRect(tabs, TCM_GETITEMRECT, index);
  if (!tab) return false;
  clickAt(tabs, POINT{(tab->left + tab->right) / 2, (tab->top + tab->bottom) / 2});
  return WaitUntil([&] { return currentPageIndex() == index && IsWindowVisible(currentPage()); });
}

bool SheetHands::clickControl(int id) {
  HWND window = control(id);
  if (window == nullptr || !IsWindowVisible(window) || !IsWindowEnabled(window)) return false;
  click(window);
  return true;
}

void SheetHands::settle() {
  // Each message sent to the thread is handled the next time it looks for a
  // message, after it has handled the one posted before: a few rounds see
  // everything posted so far through.
  for (int round = 0; round < 6; ++round) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(sheet_, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
    Sleep(10);
  }
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
  return text;
}

}  // namespace wine_test
