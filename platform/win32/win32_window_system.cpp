#include "platform/win32/win32_window_system.h"

#include <cstring>
#include <utility>
#include <vector>

namespace grazefall::platform::win32 {
namespace {

constexpr UINT kSaverClassStyle = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
constexpr DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kPreviewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr int kClassIconId = 100;
constexpr UINT kSpiSetScreenSaverRunning = 97;

std::string Text(std::string_view text) {
  return std::string(text);
}

// "PASSWORD.CPL"'s check, held loaded for as long as the verifier lives.
class ControlPanelVerifier : public PasswordVerifier {
 public:
  using VerifyFunction = BOOL(WINAPI*)(HWND);
  ControlPanelVerifier(HMODULE library, VerifyFunction verify)
      : library_(library), verify_(verify) {}
  ~ControlPanelVerifier() override { FreeLibrary(library_); }
  ControlPanelVerifier(const ControlPanelVerifier&) = delete;
  ControlPanelVerifier& operator=(const ControlPanelVerifier&) = delete;

  int32_t verify(WindowHandle window) override { return verify_(ToHwnd(window)) ? 1 : 0; }

 private:
  HMODULE library_;
  VerifyFunction verify_;
};

using AssociateContextFunction = HANDLE(WINAPI*)(HWND, HANDLE);

// ImmAssociateContext of an IMM32.DLL that is already loaded; never loads it.
AssociateContextFunction FindAssociateContext() {
  HMODULE imm = GetModuleHandleA("IMM32.DLL");
  if (imm == nullptr) return nullptr;
  return reinterpret_cast<AssociateContextFunction>(
      reinterpret_cast<void*>(GetProcAddress(imm, "ImmAssociateContext")));
}

// The host's own configuration dialog procedure: ends at the first message.
INT_PTR CALLBACK EndAtOnce(HWND dialog, UINT, WPARAM, LPARAM) {
  EndDialog(dialog, 0);
  return TRUE;
}

}  // namespace

Win32WindowSystem::Win32WindowSystem(HINSTANCE module) : module_(module) {}

Win32WindowSystem::~Win32WindowSystem() = default;

LRESULT CALLBACK Win32WindowSystem::RouteMessage(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
  // createWindow hands the class's portable procedure over with the window's
  // creation data; the window keeps it in its user data from then on. The
  // few messages before WM_NCCREATE get the system's handling.
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  const auto* procedure =
      reinterpret_cast<const WindowProc*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (procedure == nullptr || !*procedure) return DefWindowProcA(window, message, wParam, lParam);
  return (*procedure)(FromHwnd(window), message, wParam, lParam);
}

bool Win32WindowSystem::registerClass(std::string_view className, WindowProc procedure) {
  const std::string name = Text(className);
  WNDCLASSA windowClass{};
  windowClass.style = kSaverClassStyle;
  windowClass.lpfnWndProc = RouteMessage;
  windowClass.hInstance = module_;
  windowClass.hIcon = LoadIconA(module_, MAKEINTRESOURCEA(kClassIconId));
  windowClass.hCursor = nullptr;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = name.c_str();
  if (RegisterClassA(&windowClass) == 0) return false;
  procedures_[name] = std::move(procedure);
  return true;
}

WindowHandle Win32WindowSystem::createWindow(const WindowSpec& spec) {
  const std::string className = Text(spec.className);
  const std::string title = Text(spec.title);
  const bool preview = spec.kind == WindowKind::Preview;
  const auto registered = procedures_.find(className);
  if (registered == procedures_.end()) return 0;
  HWND window = CreateWindowExA(preview ? 0 : WS_EX_TOPMOST, className.c_str(), title.c_str(),
                                preview ? kPreviewStyle : kFullScreenStyle, spec.bounds.left,
                                spec.bounds.top, spec.bounds.width(), spec.bounds.height(),
                                preview ? ToHwnd(spec.parent) : nullptr, nullptr, module_,
                                &registered->second);
  return FromHwnd(window);
}

WindowHandle Win32WindowSystem::findWindow(std::string_view className, std::string_view title) {
  return FromHwnd(FindWindowA(Text(className).c_str(), Text(title).c_str()));
}

bool Win32WindowSystem::isWindow(WindowHandle window) {
  return window != 0 && IsWindow(ToHwnd(window));
}

WindowHandle Win32WindowSystem::foregroundWindow() {
  return FromHwnd(GetForegroundWindow());
}

void Win32WindowSystem::setForegroundWindow(WindowHandle window) {
  SetForegroundWindow(ToHwnd(window));
}

WindowHandle Win32WindowSystem::parentOf(WindowHandle window) {
  return FromHwnd(GetParent(ToHwnd(window)));
}

bool Win32WindowSystem::postMessage(WindowHandle window, uint32_t message, uintptr_t wParam,
                                    intptr_t lParam) {
  return PostMessageA(ToHwnd(window), message, wParam, lParam) != 0;
}

MessageResult Win32WindowSystem::sendMessage(WindowHandle window, uint32_t message,
                                             uintptr_t wParam, intptr_t lParam) {
  return SendMessageA(ToHwnd(window), message, wParam, lParam);
}

void Win32WindowSystem::postQuitMessage(int32_t exitCode) {
  PostQuitMessage(exitCode);
}

bool Win32WindowSystem::getMessage(Message* message) {
  const BOOL result = GetMessageA(&lastMessage_, nullptr, 0, 0);
  message->window = FromHwnd(lastMessage_.hwnd);
  message->message = lastMessage_.message;
  message->wParam = lastMessage_.wParam;
  message->lParam = lastMessage_.lParam;
  if (result <= 0) return false;  // WM_QUIT, or an invalid call
  TranslateMessage(&lastMessage_);
  return true;
}

MessageResult Win32WindowSystem::dispatchMessage(const Message& message) {
  MSG record = lastMessage_;
  if (FromHwnd(record.hwnd) != message.window || record.message != message.message ||
      record.wParam != message.wParam || record.lParam != message.lParam) {
    record = MSG{};
    record.hwnd = ToHwnd(message.window);
    record.message = message.message;
    record.wParam = message.wParam;
    record.lParam = message.lParam;
    record.time = GetTickCount();
  }
  return DispatchMessageA(&record);
}

int32_t Win32WindowSystem::removeTimerMessages(WindowHandle window, int32_t limit) {
  int32_t removed = 0;
  MSG pending;
  while (removed < limit &&
         PeekMessageA(&pending, ToHwnd(window), WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD)) {
    ++removed;
  }
  return removed;
}

MessageResult Win32WindowSystem::defaultWindowProc(WindowHandle window, uint32_t message,
                                                   uintptr_t wParam, intptr_t lParam) {
  return DefWindowProcA(ToHwnd(window), message, wParam, lParam);
}

uint32_t Win32WindowSystem::registerWindowMessage(std::string_view name) {
  return RegisterWindowMessageA(Text(name).c_str());
}

uint32_t Win32WindowSystem::setTimer(WindowHandle window, uint32_t timerId, uint32_t periodMs) {
  return static_cast<uint32_t>(SetTimer(ToHwnd(window), timerId, periodMs, nullptr));
}

void Win32WindowSystem::killTimer(WindowHandle window, uint32_t timerId) {
  KillTimer(ToHwnd(window), timerId);
}

Rect Win32WindowSystem::virtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (width != 0 && height != 0) return Rect{left, top, left + width, top + height};
  // Systems without the virtual-screen metrics: the screen DC's clip box.
  RECT box{};
  HDC screen = GetDC(nullptr);
  if (screen != nullptr) {
    GetClipBox(screen, &box);
    ReleaseDC(nullptr, screen);
  }
  return Rect{box.left, box.top, box.right, box.bottom};
}

bool Win32WindowSystem::clientSize(WindowHandle window, int32_t* width, int32_t* height) {
  RECT client{};
  if (!isWindow(window) || !GetClientRect(ToHwnd(window), &client)) return false;
  *width = client.right - client.left;
  *height = client.bottom - client.top;
  return true;
}

bool Win32WindowSystem::paintPicture(WindowHandle window, const Picture& picture, int32_t x,
                                     int32_t y) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() < static_cast<size_t>(picture.width) * picture.height) {
    return false;
  }
  HDC windowDc = GetDC(ToHwnd(window));
  if (windowDc == nullptr) return false;
  // A 32-bit DIB pixel is 0x00RRGGBB; a ColorRef is 0x00BBGGRR.
  std::vector<uint32_t> bits(picture.pixels.size());
  for (size_t i = 0; i < bits.size(); ++i) {
    const ColorRef c = picture.pixels[i];
    bits[i] = (uint32_t{RedOf(c)} << 16) | (uint32_t{GreenOf(c)} << 8) | BlueOf(c);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const int rows = SetDIBitsToDevice(
      windowDc, x, y, static_cast<DWORD>(picture.width), static_cast<DWORD>(picture.height), 0, 0,
      0, static_cast<UINT>(picture.height), bits.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(ToHwnd(window), windowDc);
  return rows > 0;
}

bool Win32WindowSystem::saverHandlesPasswords() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof(version);
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

bool Win32WindowSystem::readPasswordSwitch(uint32_t* value) {
  HKEY desktop = nullptr;
  if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop) != ERROR_SUCCESS) {
    return false;
  }
  BYTE bytes[4] = {};
  DWORD size = sizeof(bytes);
  const LONG status =
      RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr, bytes, &size);
  RegCloseKey(desktop);
  if (status != ERROR_SUCCESS) return false;
  uint32_t word = 0;
  std::memcpy(&word, bytes, sizeof(word));
  *value = word;
  return true;
}

std::unique_ptr<PasswordVerifier> Win32WindowSystem::loadPasswordVerifier() {
  HMODULE library = LoadLibraryA("PASSWORD.CPL");
  if (library == nullptr) return nullptr;
  auto verify = reinterpret_cast<ControlPanelVerifier::VerifyFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "VerifyScreenSavePwd")));
  if (verify == nullptr) {
    FreeLibrary(library);
    return nullptr;
  }
  return std::make_unique<ControlPanelVerifier>(library, verify);
}

void Win32WindowSystem::setScreenSaverRunning(bool running) {
  UINT previous = 0;
  SystemParametersInfoA(kSpiSetScreenSaverRunning, running ? TRUE : FALSE, &previous, 0);
}

bool Win32WindowSystem::changePassword(std::string_view provider, WindowHandle owner) {
  using ChangeFunction = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);
  HMODULE library = LoadLibraryA("MPR.DLL");
  if (library == nullptr) return false;
  auto change = reinterpret_cast<ChangeFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
  if (change != nullptr) change(Text(provider).c_str(), ToHwnd(owner), 0, 0);
  FreeLibrary(library);
  return change != nullptr;
}

bool Win32WindowSystem::detachInputMethod(WindowHandle window, uintptr_t* saved) {
  AssociateContextFunction associate = FindAssociateContext();
  if (associate == nullptr) return false;
  *saved = reinterpret_cast<uintptr_t>(associate(ToHwnd(window), nullptr));
  return true;
}

void Win32WindowSystem::restoreInputMethod(WindowHandle window, uintptr_t saved) {
  if (AssociateContextFunction associate = FindAssociateContext(); associate != nullptr) {
    associate(ToHwnd(window), reinterpret_cast<HANDLE>(saved));
  }
}

int32_t Win32WindowSystem::runTemplateDialog(int32_t templateId, WindowHandle owner) {
  if (templateId <= 0 || templateId > 0xFFFF) return -1;
  return static_cast<int32_t>(
      DialogBoxParamA(module_, MAKEINTRESOURCEA(templateId), ToHwnd(owner), EndAtOnce, 0));
}

}  // namespace grazefall::platform::win32
