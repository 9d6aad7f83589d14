// Window message codes the host and the saver's window procedure speak, with
// the numeric values Win32 gives them, so the Win32 backend passes its own
// messages through unchanged and other backends translate their events into
// these.
#pragma once

#include <cstdint>

namespace grazefall::platform {

constexpr uint32_t kWmCreate = 0x0001;
constexpr uint32_t kWmDestroy = 0x0002;
constexpr uint32_t kWmSize = 0x0005;
constexpr uint32_t kWmSetText = 0x000C;
constexpr uint32_t kWmPaint = 0x000F;
constexpr uint32_t kWmClose = 0x0010;
constexpr uint32_t kWmQuit = 0x0012;
constexpr uint32_t kWmShowWindow = 0x0018;
constexpr uint32_t kWmActivateApp = 0x001C;
constexpr uint32_t kWmSetCursor = 0x0020;
constexpr uint32_t kWmPower = 0x0048;
constexpr uint32_t kWmHelp = 0x0053;
constexpr uint32_t kWmContextMenu = 0x007B;
constexpr uint32_t kWmKeyDown = 0x0100;
constexpr uint32_t kWmSysKeyDown = 0x0104;
constexpr uint32_t kWmSysCommand = 0x0112;
constexpr uint32_t kWmTimer = 0x0113;
constexpr uint32_t kWmMouseMove = 0x0200;
constexpr uint32_t kWmLButtonDown = 0x0201;
constexpr uint32_t kWmRButtonDown = 0x0204;
constexpr uint32_t kWmMButtonDown = 0x0207;
constexpr uint32_t kWmPowerBroadcast = 0x0218;
// WM_APP: the host's private "ask for the password" message.
constexpr uint32_t kWmApp = 0x8000;

// WM_SYSCOMMAND wParam values.
constexpr uintptr_t kScNextWindow = 0xF040;
constexpr uintptr_t kScPrevWindow = 0xF050;
constexpr uintptr_t kScScreenSave = 0xF140;

// WM_POWER wParam values.
constexpr uintptr_t kPwrSuspendRequest = 1;
constexpr uintptr_t kPwrSuspendResume = 2;
constexpr uintptr_t kPwrCriticalResume = 3;

// WM_POWERBROADCAST wParam: the system is about to sleep.
constexpr uintptr_t kPbtApmSuspend = 0x0004;

}  // namespace grazefall::platform
