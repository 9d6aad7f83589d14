// What one running animation owns and remembers between frames. The saver
// keeps one; tests and the renderer make and throw away as many as they like.
#pragma once

#include <cstdint>

#include "options/options.h"
#include "platform/platform.h"
#include "runtime/display.h"
#include "runtime/random.h"
#include "saver/animation.h"
#include "scene/scene.h"

namespace grazefall {

struct Animation {
  Animation(platform::Platform& system, const ScenarioOptions& scenarioOptions)
      : platform(system), options(scenarioOptions) {}

  // The display, input devices, clock, cursor and fonts come from here.
  platform::Platform& platform;
  const ScenarioOptions& options;
  Display display;
  InputDevices input;
  RandomGenerator random;
  Scene scene;
  Gust gust;
  IntroState intro;
  MessageState messages;

  // The intro phase as the frame step sees it, taken from the options on the
  // first frame.
  IntroPhase currentIntroPhase = IntroPhase::HoldsTheScreen;
  bool firstFrameDone = false;

  SceneContext sceneContext() { return SceneContext{platform, options, display, random, scene}; }
};

// The pause after a frame for a fall speed: slower speeds are slower frames.
uint32_t FallSpeedSleepMs(int32_t fallSpeed);

}  // namespace grazefall
