#include "saver/animation.h"

#include <memory>

#include "runtime/display.h"
#include "saver/animation_state.h"
#include "scene/drawing.h"
#include "scene/scene.h"

namespace grazefall {

namespace {

// A start that failed part-way left surfaces, devices and perhaps half a
// scene behind; each attempt begins from nothing.
void DiscardEarlierAttempt(Animation& animation) {
  ReleaseScene(animation.scene);
  animation.input = InputDevices{};
  animation.display.backBuffer.reset();
  animation.display.primary.reset();
  animation.display.directDraw.reset();
}

}  // namespace

uint32_t FallSpeedSleepMs(int32_t fallSpeed) {
  switch (fallSpeed) {
    case -5:
      return 100;
    case -4:
      return 50;
    case -3:
      return 25;
    case -2:
      return 10;
    case -1:
      return 5;
    default:
      return 0;
  }
}

std::unique_ptr<Animation> NewAnimation(platform::Platform& system,
                                        const ScenarioOptions& options) {
  return std::make_unique<Animation>(system, options);
}

bool StartAnimation(Animation& animation, platform::WindowHandle window) {
  platform::Platform& system = animation.platform;
  DiscardEarlierAttempt(animation);
  Display& display = animation.display;
  display.width = animation.options.screenWidth;
  display.height = animation.options.screenHeight;
  display.bitDepth = animation.options.screenBitDepth;
  system.cursor().show(false);
  if (!OpenDisplay(display, system, window)) return false;
  if (!OpenInputDevices(animation.input, system, window)) return false;
  animation.random.seed(static_cast<uint32_t>(system.clock().timeSeconds()));
  system.cursor().show(false);
  SceneContext context = animation.sceneContext();
  if (!BuildHerd(context, animation.input)) return false;
  system.cursor().show(false);
  return true;
}

uint32_t RunFrame(Animation& animation) {
  const ScenarioOptions& options = animation.options;
  Display& display = animation.display;
  Scene& scene = animation.scene;
  SceneContext context = animation.sceneContext();
  if (!animation.firstFrameDone) {
    // The stored record keeps the phase as a plain number.
    animation.currentIntroPhase = static_cast<IntroPhase>(options.introPhase);
    animation.firstFrameDone = true;
  }
  IntroPhase& phase = animation.currentIntroPhase;

  FillSurface(display.backBuffer.get(), display.fillColor);
  DrawBackground(context);
  if (phase == IntroPhase::HoldsTheScreen || phase == IntroPhase::HerdRunsToo)
    phase = PlayIntroStep(context, animation.intro);
  if (phase != IntroPhase::HoldsTheScreen) {
    if (options.conspiracyMessages != 0) UpdateConspiracyMessages(context, animation.messages);
    if (options.tearsOfBlood != 0) UpdateTears(context, scene.tears.get());
    UpdateHerd(context, animation.gust, scene.herd.get());
    UpdateExplosions(context, scene.explosions.get());
  }
  PresentFrame(display);
  return FallSpeedSleepMs(options.fallSpeed);
}

void EndAnimation(Animation& animation) {
  ReleaseDisplaySurfaces(animation.display);
  ReleaseInputDevices(animation.input);
  ReleaseScene(animation.scene);
  animation.platform.cursor().show(true);
}

}  // namespace grazefall
