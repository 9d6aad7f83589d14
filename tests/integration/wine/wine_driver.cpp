// Drives the screen saver from inside the Wine prefix, where the window
// handles live: presses the settings sheet's buttons, and hosts a preview.
//   wine_driver sheet-ok <control id> <selected indicator id>
//   wine_driver sheet-thumbs | sheet-edits ok|cancel|fail | sheet-press ok|cancel
//       (see sheet_runs.h)
//   wine_driver preview <path of the .scr>
//   wine_driver crash <path of the .scr>
// Exit 0 when everything checked out; a line on stderr says what did not.
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "sheet_hands.h"
#include "sheet_runs.h"

namespace {

constexpr DWORD kPatienceMs = 30000;
constexpr int kPreviewBitmapId = 134;

int Fail(const char* what) {
  std::fprintf(stderr, "wine_driver: %s\n", what);
  return 1;
}

void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(20);
  }
}

HWND WaitForWindow(const char* className, const char* title) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kPatienceMs) {
    if (HWND window = FindWindowA(className, title); window != nullptr) return window;
    Sleep(100);
  }
  return nullptr;
}

// Clicks a notifying control of the sheet's current page, checks that the
// page answered by showing `indicatorId`, then presses OK.
int SheetOk(int controlId, int indicatorId) {
  HWND sheet = WaitForWindow(nullptr, "Grazefall");
  if (sheet == nullptr) return Fail("the settings sheet never appeared");
  Sleep(500);
  HWND page = PropSheet_GetCurrentPageHwnd(sheet);
  if (page == nullptr) return Fail("the sheet has no current page");
  HWND control = GetDlgItem(page, controlId);
  if (control == nullptr) return Fail("the page has no such control");
  HWND indicator = GetDlgItem(page, indicatorId);
  if (indicator == nullptr) return Fail("the page has no such indicator");
  if (IsWindowVisible(indicator)) return Fail("the indicator shows before the click");
  wine_test::SheetHands hands(sheet);
  hands.click(control);
  if (!wine_test::WaitUntil([&] { return IsWindowVisible(indicator) != FALSE; })) {
    return Fail("the click did not show the indicator");
  }
  PropSheet_PressButton(sheet, PSBTN_OK);
  const DWORD start = GetTickCount();
  while (IsWindow(sheet)) {
    if (GetTickCount() - start > kPatienceMs) return Fail("the sheet did not close after OK");
    Sleep(100);
  }
  return 0;
}

// Starts the saver at `scrPath` with `arguments`, as the system would.
bool StartSaver(const char* scrPath, const std::string& arguments, PROCESS_INFORMATION* process) {
  std::string commandLine = std::string("\"") + scrPath + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, process) != FALSE;
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// Hosts a preview like the display settings do: a parent window whose
// handle goes on the command line; checks that the saver puts its preview
// child over the parent's client area, keeps running, and ends (exit code 0)
// when the parent goes.
int Preview(const char* scrPath) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ParentProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = "PreviewHost";
  RegisterClassA(&windowClass);
  HWND parent =
      CreateWindowExA(0, "PreviewHost", "Preview host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                      100, 100, 152, 112, nullptr, nullptr, instance, nullptr);
  if (parent == nullptr) return Fail("no parent window");
  PumpFor(300);

  PROCESS_INFORMATION process{};
  if (!StartSaver(scrPath, "/p " + std::to_string(reinterpret_cast<uintptr_t>(parent)), &process)) {
    return Fail("could not start the saver");
  }
  PumpFor(4000);

  HWND child = FindWindowExA(parent, nullptr, "WindowsScreenSaverClass", "Preview");
  if (child == nullptr) return Fail("no preview child window inside the parent");
  if ((GetWindowLongA(child, GWL_STYLE) & (WS_CHILD | WS_VISIBLE)) != (WS_CHILD | WS_VISIBLE)) {
    return Fail("the preview window is not a visible child");
  }
  RECT childBox{}, parentBox{};
  GetClientRect(child, &childBox);
  GetClientRect(parent, &parentBox);
  if (childBox.right != parentBox.right || childBox.bottom != parentBox.bottom) {
    return Fail("the preview does not fill the parent's client area");
  }
  // Wine does not show what another process draws into a child window, so
  // the painting itself cannot be read back here; the saver must at least
  // carry the picture it paints and keep running on its ticks.
  HMODULE saver = LoadLibraryExA(scrPath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HBITMAP picture = saver == nullptr
                        ? nullptr
                        : static_cast<HBITMAP>(LoadImageA(saver, MAKEINTRESOURCEA(kPreviewBitmapId),
                                                          IMAGE_BITMAP, 0, 0, 0));
  if (picture == nullptr) return Fail("the saver carries no preview picture");
  DeleteObject(picture);
  if (WaitForSingleObject(process.hProcess, 0) != WAIT_TIMEOUT) {
    return Fail("the preview ended while its parent was still there");
  }

  DestroyWindow(parent);
  PumpFor(200);
  if (WaitForSingleObject(process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 9);
    return Fail("the saver did not end with its parent window");
  }
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  std::printf("preview exit code %lu\n", static_cast<unsigned long>(exitCode));
  if (exitCode != 0) return Fail("the preview ended with a nonzero exit code");
  return 0;
}

// Starts the full-screen saver, then makes one of its threads jump to an
// address nothing is mapped at: the access violation must end the saver
// through its own guard, with exit code -1, rather than through the
// system's crash handling.
int Crash(const char* scrPath) {
  PROCESS_INFORMATION process{};
  if (!StartSaver(scrPath, "/s", &process)) return Fail("could not start the saver");
  if (WaitForWindow("WindowsScreenSaverClass", "Screen Saver") == nullptr) {
    TerminateProcess(process.hProcess, 9);
    return Fail("the saver window never appeared");
  }
  Sleep(1000);
  const auto nowhere = reinterpret_cast<LPTHREAD_START_ROUTINE>(static_cast<uintptr_t>(0x10));
  HANDLE thread = CreateRemoteThread(process.hProcess, nullptr, 0, nowhere, nullptr, 0, nullptr);
  if (thread == nullptr) {
    TerminateProcess(process.hProcess, 9);
    return Fail("could not start a thread in the saver");
  }
  CloseHandle(thread);
  if (WaitForSingleObject(process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 9);
    return Fail("the saver did not end after the access violation");
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  std::printf("crash exit code 0x%08lX\n", static_cast<unsigned long>(exitCode));
  if (exitCode != 0xFFFFFFFFu) return Fail("the crash did not end the saver with exit code -1");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "sheet-ok") {
    return SheetOk(std::atoi(argv[2]), std::atoi(argv[3]));
  }
  if (argc == 2 && std::string(argv[1]) == "sheet-thumbs") return wine_test::SheetThumbs();
  if (argc == 3 && std::string(argv[1]) == "sheet-edits") return wine_test::SheetEdits(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "sheet-press") return wine_test::SheetPress(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "preview") return Preview(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "crash") return Crash(argv[2]);
  std::fputs(
      "usage: wine_driver sheet-ok <id> <indicator> | sheet-thumbs | sheet-edits <ending> |\n"
      "       sheet-press <button> | preview <scr> | crash <scr>\n",
      stderr);
  return 2;
}
