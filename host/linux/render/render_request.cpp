// The --render command line read into a RenderRequest: the run's own options
// (frames, seed, mode, trace, GIF) and the saver's option flags among them.
#include "host/linux/render/render_request.h"

#include <charconv>

namespace grazefall::app {
namespace {

const std::string kSide = std::to_string(kMaxRenderModeSide);

template <typename Number>
bool ParseNumber(std::string_view text, Number* value) {
  const std::optional<Number> number = flags::ParseWholeNumber<Number>(text);
  if (number) *value = *number;
  return number.has_value();
}

bool ParseMode(std::string_view text, platform::DisplayMode* mode) {
  const size_t first = text.find('x');
  const size_t second = first == std::string_view::npos ? first : text.find('x', first + 1);
  if (second == std::string_view::npos) return false;
  if (!ParseNumber(text.substr(0, first), &mode->width) ||
      !ParseNumber(text.substr(first + 1, second - first - 1), &mode->height) ||
      !ParseNumber(text.substr(second + 1), &mode->bitDepth)) {
    return false;
  }
  const bool depthOk =
      mode->bitDepth == 8 || mode->bitDepth == 16 || mode->bitDepth == 24 || mode->bitDepth == 32;
  return depthOk && mode->width >= 1 && mode->height >= 1;
}

}  // namespace

std::string ParseRenderRequest(const std::vector<std::string_view>& args, RenderRequest* request) {
  if (args.empty() || args[0] != "--render") return "usage: grazefall --render DIR --frames N";
  if (args.size() < 2 || args[1].empty() || args[1].starts_with("--"))
    return "--render needs an output directory";
  request->directory = std::string(args[1]);
  for (size_t i = 2; i < args.size();) {
    const std::string_view option = args[i];
    // The one option without a value.
    if (option == "--no-frames") {
      request->writeFrames = false;
      ++i;
      continue;
    }
    std::string complaint;
    switch (flags::TakeOptionFlag(args, &i, &request->optionFlags, &complaint)) {
      case flags::FlagMatch::Taken:
        continue;
      case flags::FlagMatch::Bad:
        return complaint;
      case flags::FlagMatch::NotAFlag:
        break;
    }
    if (i + 1 >= args.size()) return std::string(option) + " needs a value";
    const std::string_view value = args[i + 1];
    i += 2;
    if (option == "--frames") {
      if (!ParseNumber(value, &request->frames) || request->frames < 1 ||
          request->frames > kMaxRenderFrames) {
        return "--frames must be a whole number from 1 to " + std::to_string(kMaxRenderFrames) +
               ", not '" + std::string(value) + "'";
      }
    } else if (option == "--seed") {
      uint32_t seed = 0;
      if (!ParseNumber(value, &seed))
        return "--seed must be a whole number from 0 to 4294967295, not '" + std::string(value) +
               "'";
      request->seed = seed;
    } else if (option == "--mode") {
      platform::DisplayMode mode;
      if (!ParseMode(value, &mode))
        return "--mode must be WIDTHxHEIGHTxDEPTH with a depth of 8, 16, 24 or 32, not '" +
               std::string(value) + "'";
      if (mode.width > kMaxRenderModeSide || mode.height > kMaxRenderModeSide)
        return "--mode " + std::string(value) + " is larger than the largest display, " + kSide +
               "x" + kSide;
      request->mode = mode;
    } else if (option == "--trace") {
      if (value.empty()) return "--trace needs a file path";
      request->trace = std::string(value);
    } else if (option == "--gif") {
      if (value.empty()) return "--gif needs a file path";
      request->gif = std::string(value);
    } else if (option == "--gif-step" || option == "--gif-from") {
      int64_t* number = option == "--gif-step" ? &request->gifStep : &request->gifFrom;
      if (!ParseNumber(value, number) || *number < 1 || *number > kMaxRenderFrames)
        return std::string(option) + " must be a whole number from 1 to " +
               std::to_string(kMaxRenderFrames) + ", not '" + std::string(value) + "'";
    } else {
      return "unknown option '" + std::string(option) + "'";
    }
  }
  if (request->frames < 0) return "--frames N is required";
  return {};
}

}  // namespace grazefall::app
