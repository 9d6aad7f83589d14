#include "platform/win32/direct_input.h"

#include <cstring>

namespace grazefall::platform::win32 {
namespace {

constexpr DWORD kBackgroundSharing = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
constexpr DWORD kInputVersion = 0x0700;

int32_t Status(HRESULT result) {
  return static_cast<int32_t>(result);
}

}  // namespace

DirectInputDevice::DirectInputDevice(InputKind kind, ComPtr<IDirectInputDeviceA> device)
    : kind_(kind), device_(std::move(device)) {}

DirectInputDevice::~DirectInputDevice() {
  if (acquired_) device_->Unacquire();
}

int32_t DirectInputDevice::setCooperativeLevel(WindowHandle window) {
  return Status(device_->SetCooperativeLevel(reinterpret_cast<HWND>(window), kBackgroundSharing));
}

int32_t DirectInputDevice::setStandardFormat() {
  return Status(
      device_->SetDataFormat(kind_ == InputKind::Keyboard ? &c_dfDIKeyboard : &c_dfDIMouse));
}

int32_t DirectInputDevice::acquire() {
  const HRESULT result = device_->Acquire();
  if (SUCCEEDED(result)) {
    acquired_ = true;
    discardNextMouseRead_ = kind_ == InputKind::Mouse;
  }
  return SUCCEEDED(result) ? kOk : Status(result);
}

int32_t DirectInputDevice::unacquire() {
  acquired_ = false;
  return Status(device_->Unacquire());
}

int32_t DirectInputDevice::readKeyboard(KeyboardState* state) {
  if (kind_ != InputKind::Keyboard) return Status(DIERR_INVALIDPARAM);
  KeyboardState keys{};
  const HRESULT result = device_->GetDeviceState(static_cast<DWORD>(keys.size()), keys.data());
  if (FAILED(result)) return Status(result);
  *state = keys;
  return kOk;
}

int32_t DirectInputDevice::readMouse(MouseState* state) {
  if (kind_ != InputKind::Mouse) return Status(DIERR_INVALIDPARAM);
  DIMOUSESTATE raw{};
  if (discardNextMouseRead_) {
    discardNextMouseRead_ = false;
    device_->GetDeviceState(sizeof(raw), &raw);
    raw = DIMOUSESTATE{};
  }
  const HRESULT result = device_->GetDeviceState(sizeof(raw), &raw);
  if (FAILED(result)) return Status(result);
  state->lX = raw.lX;
  state->lY = raw.lY;
  state->lZ = raw.lZ;
  std::memcpy(state->buttons.data(), raw.rgbButtons, state->buttons.size());
  return kOk;
}

std::unique_ptr<DirectInputSystem> DirectInputSystem::Create(HINSTANCE instance) {
  ComPtr<IDirectInputA> directInput;
  if (FAILED(DirectInputCreateA(instance, kInputVersion, directInput.put(), nullptr)) ||
      !directInput) {
    return nullptr;
  }
  return std::unique_ptr<DirectInputSystem>(new DirectInputSystem(std::move(directInput)));
}

DirectInputSystem::DirectInputSystem(ComPtr<IDirectInputA> directInput)
    : directInput_(std::move(directInput)) {}

std::unique_ptr<InputDevice> DirectInputSystem::createDevice(InputKind kind) {
  ComPtr<IDirectInputDeviceA> device;
  const GUID& guid = kind == InputKind::Keyboard ? GUID_SysKeyboard : GUID_SysMouse;
  if (FAILED(directInput_->CreateDevice(guid, device.put(), nullptr)) || !device) return nullptr;
  return std::make_unique<DirectInputDevice>(kind, std::move(device));
}

}  // namespace grazefall::platform::win32
