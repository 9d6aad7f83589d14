// grazefall --render DIR --frames N [--seed S] [--mode WxHxD] [--trace FILE]
//           [--no-frames] [--gif FILE [--gif-step N] [--gif-from N]]
//           [option flags: --scenario NAME, --herd-size N, --background FILE ...]
//
// Runs the saver's real start and N frames on the headless platform and
// writes every presented frame, the loading cow's included, as
// DIR/frame-00001.png and on; with --trace, one JSON line per frame. With
// --no-frames it runs (and traces) the same frames without writing any PNG,
// which is what long soak runs want. With --gif, the frame steps from
// --gif-from on, every --gif-step-th of them, also go into one looping GIF,
// each shown for as long as the saver would show its steps. The options are
// the stored ones with the option flags on top, as the saver runs them. The same seed, options and
// mode always give the same bytes. Nothing sleeps: the fall-speed pause is only reported in the
// trace. Unlike the saver, which quietly goes without a background it cannot read, the command
// names the file and the reason and fails.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/linux/flags/option_flags.h"
#include "host/linux/render/frame_trace.h"
#include "host/linux/render/gif_recorder.h"
#include "host/linux/render/png_encoder.h"
#include "host/linux/render/render_command.h"
#include "host/linux/render/render_request.h"
#include "options/options.h"
#include "options/options_store.h"
#include "platform/headless/headless_platform.h"
#include "platform/linux/directory_settings_store.h"
#include "platform/platform.h"
#include "platform/software/bmp_decoder.h"
#include "saver/animation.h"
#include "saver/animation_state.h"

namespace grazefall::app {
namespace {

constexpr int kBadCommandLine = 2;
constexpr int kRenderFailed = 1;
constexpr int64_t kMaxFrames = kMaxRenderFrames;
constexpr int32_t kMaxModeSide = kMaxRenderModeSide;
// Renders longer than this report their progress on stderr.
constexpr int64_t kProgressEvery = 100;

// The stored values the saver may read: its record and the scenarios'.
constexpr std::string_view kStoredValues[] = {"Options", "Classic", "Invasion", "Halloween",
                                              "Custom"};

const std::string kSide = std::to_string(kMaxModeSide);

std::string UsageText() {
  return "Usage: grazefall --render DIR --frames N [OPTION VALUE]...\n"
         "Runs the animation without a display and writes every frame as\n"
         "DIR/frame-00001.png and on.\n"
         "\n"
         "  --frames N             animation steps to run, 1 to " +
         std::to_string(kMaxFrames) +
         "\n"
         "  --seed S               random seed (default: the time)\n"
         "  --mode WxHxD           display mode; depth 8, 16, 24 or 32, at most " +
         kSide + "x" + kSide +
         "\n"
         "  --trace FILE           one JSON line per frame\n"
         "  --no-frames            run (and trace) without writing any PNG file\n"
         "  --gif FILE             the frame steps also as one looping animated GIF\n"
         "  --gif-step N           every Nth step into the GIF (default " +
         std::to_string(kDefaultGifStep) +
         ": browsers slow\n"
         "                         down frames shorter than 2/100 s)\n"
         "  --gif-from N           the first step in the GIF (default 1)\n"
         "\n"
         "The stored options are used, with the saver's option flags on top (see\n"
         "grazefall --help); --scenario Classic|Invasion|Halloween|Custom, and\n"
         "--background FILE (a .bmp picture of at most " +
         kSide + "x" + kSide +
         " pixels) with\n"
         "--background-mode none|center|stretch (or 0|1|2) among them.\n";
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "grazefall: %s\n", message.c_str());
  return code;
}

// The options the saver would run with: the stored "Options" record, else
// the compiled-in one with the display's mode; then the option flags, whose
// scenario may come from the store too. Every run starts from the record a
// fresh process has.
void LoadRunOptions(platform::HeadlessPlatform& headless, const flags::OptionFlags& optionFlags) {
  platform::DirectorySettingsStore stored(platform::DirectorySettingsStore::DefaultDirectory());
  for (const std::string_view name : kStoredValues) {
    std::vector<std::byte> bytes(kOptionsRecordSize);
    size_t length = 0;
    if (stored.read(name, bytes, &length) == platform::kOk) {
      bytes.resize(length);
      headless.memoryStore().plant(std::string(name), bytes);
    }
  }
  activeOptions = classicPreset;
  LoadSaverOptions(headless);
  flags::ApplyOptionFlags(optionFlags, headless.settingsStore(), activeOptions);
}

std::string FramePath(const std::string& directory, int64_t frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%05lld.png", static_cast<long long>(frame));
  return (std::filesystem::path(directory) / name).string();
}

}  // namespace

int RunRenderCommand(int argc, char** argv) {
  platform::HeadlessPlatform headless;
  return RunRenderCommand(argc, argv, headless);
}

int RunRenderCommand(int argc, char** argv, platform::HeadlessPlatform& headless) {
  if (argc == 2 || (argc == 3 && std::strcmp(argv[2], "--help") == 0)) {
    // Asked for, the usage goes to standard output; for a bare --render, it
    // explains the refusal on standard error.
    std::fputs(UsageText().c_str(), argc == 2 ? stderr : stdout);
    return argc == 2 ? kBadCommandLine : 0;
  }
  RenderRequest request;
  if (const std::string complaint =
          ParseRenderRequest(std::vector<std::string_view>(argv + 1, argv + argc), &request);
      !complaint.empty())
    return Fail(kBadCommandLine, complaint);

  // The saver would go on without the picture; a person asking for it hears
  // why it cannot be used, before anything is written.
  if (const auto& background = request.optionFlags.backgroundPath) {
    const platform::software::BmpFile picture = platform::software::ReadBmpFile(*background);
    if (!picture.picture)
      return Fail(kRenderFailed,
                  "cannot use the background '" + *background + "': " + picture.problem);
  }

  std::error_code error;
  std::filesystem::create_directories(request.directory, error);
  if (error || !std::filesystem::is_directory(request.directory))
    return Fail(kRenderFailed, "cannot make the directory '" + request.directory + "'");
  std::FILE* trace = nullptr;
  if (request.trace) {
    trace = std::fopen(request.trace->c_str(), "wb");
    if (trace == nullptr) return Fail(kRenderFailed, "cannot write '" + *request.trace + "'");
  }

  const uint32_t seed =
      request.seed.value_or(static_cast<uint32_t>(static_cast<int64_t>(std::time(nullptr))));
  headless.setTimeSeconds(seed);

  LoadRunOptions(headless, request.optionFlags);
  if (request.mode) {
    activeOptions.screenWidth = request.mode->width;
    activeOptions.screenHeight = request.mode->height;
    activeOptions.screenBitDepth = request.mode->bitDepth;
  }
  headless.setCurrentMode(
      {activeOptions.screenWidth, activeOptions.screenHeight, activeOptions.screenBitDepth});

  std::unique_ptr<GifRecorder> gif;
  if (request.gif) {
    std::string problem;
    std::unique_ptr<GifWriter> writer = GifWriter::Create(*request.gif, activeOptions.screenWidth,
                                                          activeOptions.screenHeight, &problem);
    if (!writer) {
      if (trace != nullptr) std::fclose(trace);
      return Fail(kRenderFailed, "cannot write '" + *request.gif + "': " + problem);
    }
    gif = std::make_unique<GifRecorder>(std::move(writer), request.gifStep, request.gifFrom);
  }

  std::unique_ptr<Animation> animation = NewAnimation(headless, activeOptions);
  bool loading = true;
  bool writeFailed = false;
  int64_t lastFrame = 0;
  int64_t step = 0;
  std::optional<platform::Picture> gifFrame;
  headless.setFrameObserver([&](const platform::Surface& frame, int64_t number) {
    lastFrame = number;
    const bool forGif = !loading && gif && gif->wants(step);
    if (request.writeFrames || forGif) {
      platform::Picture picture = CapturePicture(frame);
      if (request.writeFrames && !WritePngFile(FramePath(request.directory, number), picture))
        writeFailed = true;
      if (forGif) gifFrame = std::move(picture);
    }
    // The loading cow's frames are traced as they come; a frame step's line
    // waits until the step is done.
    if (loading && trace != nullptr) {
      const std::string line = FrameTraceLine(*animation, number, true, 0) + "\n";
      std::fwrite(line.data(), 1, line.size(), trace);
    }
  });

  int status = 0;
  if (!StartAnimation(*animation, 1)) {
    status = Fail(kRenderFailed, "the animation could not start in mode " +
                                     std::to_string(activeOptions.screenWidth) + "x" +
                                     std::to_string(activeOptions.screenHeight) + "x" +
                                     std::to_string(activeOptions.screenBitDepth));
  } else {
    loading = false;
    for (step = 1; step <= request.frames && !writeFailed; ++step) {
      // The pause is written down, never slept: the render runs flat out.
      const uint32_t pause = RunFrame(*animation);
      if (trace != nullptr) {
        const std::string line = FrameTraceLine(*animation, lastFrame, false, pause) + "\n";
        std::fwrite(line.data(), 1, line.size(), trace);
      }
      if (gif && !gif->record(step, gifFrame ? &*gifFrame : nullptr, pause)) writeFailed = true;
      gifFrame.reset();
      if (request.frames > kProgressEvery && (step % kProgressEvery == 0 || step == request.frames))
        std::fprintf(stderr, "grazefall: rendered %lld of %lld frames\n",
                     static_cast<long long>(step), static_cast<long long>(request.frames));
    }
    EndAnimation(*animation);
    if (gif && !gif->finish() && !writeFailed)
      status = Fail(kRenderFailed, "cannot write '" + *request.gif + "'");
    if (writeFailed)
      status = Fail(kRenderFailed, "cannot write frames into '" + request.directory + "'" +
                                       (gif ? " or '" + *request.gif + "'" : std::string()));
  }
  headless.setFrameObserver(nullptr);
  animation.reset();
  if (trace != nullptr && std::fclose(trace) != 0 && status == 0)
    status = Fail(kRenderFailed, "cannot write '" + *request.trace + "'");
  return status;
}

}  // namespace grazefall::app
