// The saver window's own procedure: loads the options and starts the 10 ms
// frame timer when the window is created, starts the animation on a tick (and
// tries again on every later tick while that fails), draws one frame per tick
// once it runs and sleeps the pause the frame asks for, paints the preview
// picture instead in a preview window, and tears the animation down when the
// window is destroyed. Every message it does not consume it answers "not
// mine", and the host's default handling takes it from there.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "options/options.h"
#include "platform/picture.h"
#include "platform/platform.h"
#include "platform/types.h"
#include "platform/windowing.h"
#include "saver/animation.h"

namespace grazefall {

constexpr uint32_t kFrameTimerId = 1;
constexpr uint32_t kFrameTimerPeriodMs = 10;
constexpr int32_t kPreviewBitmapId = 134;
constexpr int32_t kMouseMovesIgnoredAtStart = 5;

// The saver procedure's state for the one saver window of a run, and the
// services it works with. The links are set once by whoever owns the run; the
// state starts fresh with every saver window.
struct SaverLifecycle {
  SaverLifecycle();
  ~SaverLifecycle();
  SaverLifecycle(SaverLifecycle&&) noexcept;
  SaverLifecycle& operator=(SaverLifecycle&&) noexcept;

  bool animationStarted = false;
  uint32_t frameTimer = 0;
  int32_t mouseMovesToIgnore = kMouseMovesIgnoredAtStart;
  bool previewBitmapPending = true;
  std::optional<platform::Picture> previewBitmap;
  platform::WindowHandle saverWindow = 0;
  bool isPreview = false;

  platform::Platform* platform = nullptr;
  platform::WindowSystem* windows = nullptr;
  // The window's animation: made afresh for every start attempt, so a failed
  // one takes its half-built objects with it; ended and dropped with the
  // window.
  std::unique_ptr<Animation> animation;
  // This run's own changes to the options, made on activeOptions right after
  // the stored record is loaded and never stored. Unset: the record as stored.
  std::function<void(ScenarioOptions&)> adjustOptions;
};

// The saver's answer to a message, or nullopt when the message is not the
// saver's to consume (the caller then applies its default handling).
std::optional<platform::MessageResult> SaverProc(SaverLifecycle& saver,
                                                 platform::WindowHandle window, uint32_t message,
                                                 uintptr_t wParam, intptr_t lParam);

}  // namespace grazefall
