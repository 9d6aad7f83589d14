// The running saver's animation: started once on a timer tick (and retried on
// the next tick when the start fails), one frame per later tick, torn down
// when the window goes.
#pragma once

#include <cstdint>
#include <memory>

#include "options/options.h"
#include "platform/platform.h"
#include "platform/types.h"

namespace grazefall {

// Everything one animation owns: display, input devices, the random
// generator, the scene with its gust, intro and message states. Defined in
// saver/animation_state.h.
struct Animation;

// A new, not yet started animation that will run on `system` with `options`
// (both must outlive it; the saver passes activeOptions).
std::unique_ptr<Animation> NewAnimation(platform::Platform& system, const ScenarioOptions& options);

// True when the animation runs; false when it failed to start (try again
// next tick).
bool StartAnimation(Animation& animation, platform::WindowHandle window);
// One frame: clear, background, intro, messages, drops, herd, explosions,
// present. Returns the pause in milliseconds the fall speed asks for before
// the next frame (0 for none); the caller sleeps it, or not.
uint32_t RunFrame(Animation& animation);
// Releases what the start and the herd build made.
void EndAnimation(Animation& animation);

}  // namespace grazefall
