// The running saver's frames as test cases for the presenters: a preset at a
// depth, drawn by the headless platform at 640x480 and shown in a window or
// buffer of some size for a number of frames.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "options/options.h"
#include "platform/headless/headless_platform.h"

namespace grazefall::testing {

struct FrameCase {
  std::string scenario;
  int32_t bitDepth;
  // The window's or buffer's size.
  int32_t width;
  int32_t height;
  int32_t frames;
};

inline void PrintTo(const FrameCase& c, std::ostream* out) {
  *out << c.scenario << " at " << c.bitDepth << " bits in " << c.width << "x" << c.height;
}

inline const ScenarioOptions& PresetNamed(const std::string& name) {
  if (name == "Invasion") return invasionPreset;
  if (name == "Halloween") return halloweenPreset;
  if (name == "Custom") return customPreset;
  return classicPreset;
}

// The case's preset at 640x480 in its depth, `headless` set to draw it with
// its clock at `seconds`.
inline ScenarioOptions PresetOnHeadless(platform::HeadlessPlatform& headless, const FrameCase& c,
                                        int64_t seconds) {
  headless.setTimeSeconds(seconds);
  ScenarioOptions options = PresetNamed(c.scenario);
  options.screenWidth = 640;
  options.screenHeight = 480;
  options.screenBitDepth = c.bitDepth;
  headless.setCurrentMode({640, 480, c.bitDepth});
  return options;
}

struct WindowDeleter {
  void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;

}  // namespace grazefall::testing
