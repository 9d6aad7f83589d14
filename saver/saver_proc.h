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

namespace grazefall {

// What the saver procedure drives: one animation at a time. The program uses
// the real one (MakeAnimationDriver); tests script their own.
class AnimationDriver {
 public:
  virtual ~AnimationDriver() = default;
  // Drops any previous, never-started animation and makes a fresh one.
  virtual void newAnimation(const ScenarioOptions& options) = 0;
  // 0 = runs, 1 = failed to start.
  virtual int32_t start(platform::WindowHandle window) = 0;
  // One frame; returns the pause in milliseconds to sleep after it.
  virtual uint32_t runFrame() = 0;
  virtual int32_t end() = 0;
};

// The driver over NewAnimation, StartAnimation, RunFrame and EndAnimation.
std::unique_ptr<AnimationDriver> MakeAnimationDriver(platform::Platform& system);

constexpr uint32_t kFrameTimerId = 1;
constexpr uint32_t kFrameTimerPeriodMs = 10;
constexpr int32_t kPreviewBitmapId = 134;
constexpr int32_t kMouseMovesIgnoredAtStart = 5;

// The saver procedure's state for the one saver window of a run, and the
// services and animation it works with. The links are set once by whoever
// owns the run; the state starts fresh with every saver window.
struct SaverLifecycle {
  bool animationStarted = false;
  uint32_t frameTimer = 0;
  int32_t mouseMovesToIgnore = kMouseMovesIgnoredAtStart;
  bool previewBitmapPending = true;
  std::optional<platform::Picture> previewBitmap;
  platform::WindowHandle saverWindow = 0;
  bool isPreview = false;

  platform::Platform* platform = nullptr;
  platform::WindowSystem* windows = nullptr;
  AnimationDriver* animation = nullptr;
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
