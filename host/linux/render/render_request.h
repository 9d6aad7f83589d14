// What `grazefall --render` is asked to do, read from its command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/linux/flags/option_flags.h"
#include "host/linux/render/gif_recorder.h"
#include "platform/software/bmp_decoder.h"
#include "platform/types.h"

namespace grazefall::app {

constexpr int64_t kMaxRenderFrames = 10'000'000;
// The largest display mode, and so the largest frame: one 32-bit frame of
// 8192x8192 is already 256 MiB.
constexpr int32_t kMaxRenderModeSide = platform::software::kMaxPictureFileSide;

struct RenderRequest {
  std::string directory;
  int64_t frames = -1;
  std::optional<uint32_t> seed;
  flags::OptionFlags optionFlags;
  std::optional<platform::DisplayMode> mode;
  std::optional<std::string> trace;
  bool writeFrames = true;
  std::optional<std::string> gif;
  int64_t gifStep = kDefaultGifStep;
  int64_t gifFrom = 1;
};

// `args` are the program's arguments after its name, "--render" first. Fills
// `request` and returns an empty text when the command line is sound, else
// the one-line complaint.
std::string ParseRenderRequest(const std::vector<std::string_view>& args, RenderRequest* request);

}  // namespace grazefall::app
