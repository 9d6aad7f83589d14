// Whole frames of the running saver on the headless platform, once the herd
// and the drops are in full flow, each paired with its anchor: right after
// each measured frame, a bare SDL loop clears a back buffer of the same format
// and blits the same sprites at the same positions with run-length encoded
// colour-keyed blits and nothing else. Both are timed on the very same
// frames, so the ratio is the engine's own work (random draws, list walks,
// text, the flip) against the drawing it cannot avoid. Also the herd build of
// 10000 cows with pyramid and drops, without the loading cow's frames. Prints
// the medians and each frame's ratio to its anchor.
//
// Each preset also runs at 3840x2160x32 (and Classic in its saucer's intro),
// where what a frame costs should follow what changes on the screen: beside
// the frame's time come the changed area worked out for the presenter (in
// thousands of pixels, and as rectangles), how often the frame went whole,
// and the presenter's own time to convert and copy those areas into a window
// surface (SDL's dummy video driver, so no X server is involved).
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/sdl/frame_presenter.h"
#include "platform/software/frame_changes.h"
#include "platform/software/software_surface.h"
#include "saver/animation.h"
#include "saver/animation_state.h"
#include "scene/scene.h"

namespace grazefall {
namespace {

using platform::software::SoftwareSurface;

struct FrameScenario {
  std::string name;
  ScenarioOptions options;
  // Frames run before measuring; -1 for kWarmUpFrames.
  int warmUpFrames = -1;
};

// Frames run before any measurement: by then the drops have fallen from
// their start up to 1500 pixels above the screen and keep coming back, and
// the herd has fallen into view.
constexpr int kWarmUpFrames = 1500;

std::vector<FrameScenario> FrameScenarios() {
  std::vector<FrameScenario> scenarios;
  for (const auto& [name, preset] :
       {std::pair{"Classic", &classicPreset}, std::pair{"Invasion", &invasionPreset},
        std::pair{"Halloween", &halloweenPreset}, std::pair{"Custom", &customPreset}}) {
    ScenarioOptions options = *preset;
    options.introPhase = 2;  // the herd from the first frame: the intro is a one-off
    options.screenWidth = 800;
    options.screenHeight = 600;
    options.screenBitDepth = 16;
    scenarios.push_back({std::string(name) + " 800x600x16", options});
  }
  for (const auto& [name, preset] :
       {std::pair{"Classic", &classicPreset}, std::pair{"Invasion", &invasionPreset},
        std::pair{"Halloween", &halloweenPreset}, std::pair{"Custom", &customPreset}}) {
    ScenarioOptions options = *preset;
    options.introPhase = 2;
    options.screenWidth = 3840;
    options.screenHeight = 2160;
    options.screenBitDepth = 32;
    scenarios.push_back({std::string(name) + " 3840x2160x32", options});
  }
  // The saucer's intro, which every start of Classic shows: 300 frames in,
  // the saucer is on its way across.
  ScenarioOptions intro = classicPreset;
  intro.screenWidth = 3840;
  intro.screenHeight = 2160;
  intro.screenBitDepth = 32;
  scenarios.push_back({"Classic intro 3840x2160x32", intro, 300});
  ScenarioOptions large = customPreset;
  large.herdSize = 10000;
  large.cowSize = kCowLarge;
  large.invertedPyramid = 0;
  large.windPower = 0;
  large.explodeCows = 1;
  large.tearsOfBlood = 1;
  large.conspiracyMessages = 0;
  large.introPhase = 2;
  large.screenWidth = 1920;
  large.screenHeight = 1080;
  large.screenBitDepth = 32;
  scenarios.push_back({"10000 large cows 1920x1080x32", large});
  return scenarios;
}

// A running animation on its own headless platform.
struct RunningAnimation {
  explicit RunningAnimation(const ScenarioOptions& scenarioOptions) : options(scenarioOptions) {
    headless.setCurrentMode({options.screenWidth, options.screenHeight, options.screenBitDepth});
    headless.setTimeSeconds(20260101);
    animation = NewAnimation(headless, options);
    started = StartAnimation(*animation, 1);
  }
  ~RunningAnimation() {
    if (started) EndAnimation(*animation);
    animation.reset();
  }

  platform::HeadlessPlatform headless;
  ScenarioOptions options;
  std::unique_ptr<Animation> animation;
  bool started = false;
};

// The anchor's copy of one sprite's draw: its sheet and frame rectangle.
struct AnchorBlit {
  SDL_Surface* source;
  SDL_Rect frame;
  SDL_Rect destination;
};

// SDL copies of the scene's sheets, keyed and run-length encoded, and a back
// buffer of the animation's format: draws what the animation's last frame
// drew, with SDL alone.
class Anchor {
 public:
  explicit Anchor(Animation& animation) {
    auto* back = dynamic_cast<SoftwareSurface*>(animation.display.backBuffer.get());
    SDL_Surface* format = back->sdlSurface();
    backBuffer_ = SDL_CreateRGBSurfaceWithFormat(
        0, format->w, format->h, format->format->BitsPerPixel, format->format->format);
  }
  ~Anchor() {
    for (auto& [sheet, copy] : copies_) SDL_FreeSurface(copy);
    SDL_FreeSurface(backBuffer_);
  }

  // The blits of the animation's last frame, in drawing order.
  void record(const Animation& animation) {
    blits_.clear();
    for (const SpriteList* list : {animation.scene.tears.get(), animation.scene.herd.get(),
                                   animation.scene.explosions.get()}) {
      for (const SpriteList::Node* node = list->head(); node; node = node->next) {
        const Sprite* sprite = node->sprite;
        if (sprite == nullptr || sprite->sheet() == nullptr) continue;
        SDL_Surface* source = copyOf(sprite->sheet());
        if (source == nullptr) continue;
        const int32_t fw = sprite->frameWidth();
        const int32_t fh = sprite->frameHeight();
        blits_.push_back(
            {source,
             {(fw + 1) * (sprite->column() - 1) + 1, (fh + 1) * sprite->row() + 1, fw, fh},
             {sprite->x(), sprite->y(), fw, fh}});
      }
    }
  }

  void frame() {
    SDL_FillRect(backBuffer_, nullptr, 0);
    for (AnchorBlit& blit : blits_) {
      SDL_Rect destination = blit.destination;
      SDL_BlitSurface(blit.source, &blit.frame, backBuffer_, &destination);
    }
  }

 private:
  SDL_Surface* copyOf(const SpriteSheet* sheet) {
    auto found = copies_.find(sheet);
    if (found != copies_.end()) return found->second;
    auto* surface = dynamic_cast<SoftwareSurface*>(sheet->surface());
    if (surface == nullptr) return nullptr;
    SDL_Surface* copy = SDL_ConvertSurface(surface->sdlSurface(), surface->sdlSurface()->format, 0);
    SDL_SetColorKey(copy, SDL_TRUE, surface->colorKey());
    SDL_SetSurfaceRLE(copy, 1);
    copies_[sheet] = copy;
    return copy;
  }

  SDL_Surface* backBuffer_ = nullptr;
  std::map<const SpriteSheet*, SDL_Surface*> copies_;
  std::vector<AnchorBlit> blits_;
};

// One animation per scenario, warmed up once; each repetition goes on from
// where the last one left it.
std::map<std::string, std::unique_ptr<RunningAnimation>> warmAnimations;

RunningAnimation* WarmAnimation(const FrameScenario& scenario) {
  std::unique_ptr<RunningAnimation>& running = warmAnimations[scenario.name];
  if (!running) {
    running = std::make_unique<RunningAnimation>(scenario.options);
    if (running->started) {
      const int warmUp = scenario.warmUpFrames < 0 ? kWarmUpFrames : scenario.warmUpFrames;
      for (int i = 0; i < warmUp; ++i) RunFrame(*running->animation);
    }
  }
  return running->started ? running.get() : nullptr;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A window of SDL's dummy video driver as large as the frame, and the
// presenter that shows frames in it: the conversion and copying a real
// window costs in the program, without the X server's part.
class DummyWindow {
 public:
  DummyWindow(int32_t width, int32_t height) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
    videoStarted_ = true;
    window_ = SDL_CreateWindow("bench", 0, 0, width, height, SDL_WINDOW_HIDDEN);
  }
  ~DummyWindow() {
    presenter_.reset();
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  bool open() const { return window_ != nullptr; }
  int32_t present(SDL_Surface* frame, const std::optional<std::vector<platform::Rect>>& changes) {
    return presenter_->present(window_, frame, changes);
  }

 private:
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<platform::sdl::FramePresenter> presenter_ =
      std::make_unique<platform::sdl::FramePresenter>();
};

// Iteration time is RunFrame's (the pause it returns is not slept); the
// anchor's time for the same frames is the counter "anchor_us". At screens
// of 1920x1080 and more, each frame is also shown in a dummy window as the
// program shows it: "present_us" is that time, "changed_kpx" and "rects" the
// area and rectangles sent, "whole%" the share of frames sent whole.
void FrameBenchmark(benchmark::State& state, const FrameScenario& scenario) {
  RunningAnimation* running = WarmAnimation(scenario);
  if (running == nullptr) {
    state.SkipWithError("the animation did not start");
    return;
  }
  Animation& animation = *running->animation;
  Anchor anchor(animation);
  auto* primary = dynamic_cast<SoftwareSurface*>(animation.display.primary.get());
  std::unique_ptr<DummyWindow> window;
  if (primary != nullptr && scenario.options.screenWidth >= 1920) {
    window = std::make_unique<DummyWindow>(primary->width(), primary->height());
    if (!window->open()) window.reset();
  }
  platform::software::FrameChanges changes;
  double anchorSeconds = 0;
  double presentSeconds = 0;
  double changedPixels = 0;
  double rects = 0;
  double wholeFrames = 0;
  for (auto _ : state) {
    const auto frameStart = std::chrono::steady_clock::now();
    RunFrame(animation);
    state.SetIterationTime(SecondsSince(frameStart));
    if (window) {
      const auto presentStart = std::chrono::steady_clock::now();
      const std::optional<std::vector<platform::Rect>> changed = changes.next(*primary->pixels());
      window->present(primary->sdlSurface(), changed);
      presentSeconds += SecondsSince(presentStart);
      if (changed) {
        for (const platform::Rect& r : *changed)
          changedPixels += static_cast<double>(r.width()) * r.height();
        rects += static_cast<double>(changed->size());
      } else {
        changedPixels += static_cast<double>(primary->width()) * primary->height();
        wholeFrames += 1;
      }
    }
    anchor.record(animation);
    const auto anchorStart = std::chrono::steady_clock::now();
    anchor.frame();
    anchorSeconds += SecondsSince(anchorStart);
  }
  state.counters["anchor_us"] =
      benchmark::Counter(anchorSeconds * 1e6, benchmark::Counter::kAvgIterations);
  state.counters["cows"] = animation.scene.herd->size();
  if (window) {
    state.counters["present_us"] =
        benchmark::Counter(presentSeconds * 1e6, benchmark::Counter::kAvgIterations);
    state.counters["changed_kpx"] =
        benchmark::Counter(changedPixels / 1000, benchmark::Counter::kAvgIterations);
    state.counters["rects"] = benchmark::Counter(rects, benchmark::Counter::kAvgIterations);
    state.counters["whole%"] =
        benchmark::Counter(wholeFrames * 100, benchmark::Counter::kAvgIterations);
  }
}

// The herd build alone: the display has no surfaces to show the loading cow
// on, so its frames cost nothing.
void BuildHerdBenchmark(benchmark::State& state) {
  ScenarioOptions options = customPreset;
  options.herdSize = 10000;
  options.invertedPyramid = 1;
  options.tearsOfBlood = 1;
  RunningAnimation running(options);
  if (!running.started) {
    state.SkipWithError("the animation did not start");
    return;
  }
  Animation& animation = *running.animation;
  animation.display.backBuffer.reset();
  animation.display.primary.reset();
  for (auto _ : state) {
    state.PauseTiming();
    ReleaseScene(animation.scene);
    state.ResumeTiming();
    SceneContext context = animation.sceneContext();
    benchmark::DoNotOptimize(BuildHerd(context, animation.input));
  }
}

// Keeps the medians to print the ratios after the table.
class MedianCollector : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name != "median") continue;
      medians[run.run_name.function_name] = run.GetAdjustedRealTime();
      const auto anchor = run.counters.find("anchor_us");
      if (anchor != run.counters.end()) anchorMedians[run.run_name.function_name] = anchor->second;
      for (const char* name : {"present_us", "changed_kpx", "rects"}) {
        const auto counter = run.counters.find(name);
        if (counter != run.counters.end()) {
          presentMedians[run.run_name.function_name][name] = counter->second;
        }
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> medians;        // in each run's own time unit
  std::map<std::string, double> anchorMedians;  // microseconds
  // The presenter's counters, by run.
  std::map<std::string, std::map<std::string, double>> presentMedians;
};

}  // namespace
}  // namespace grazefall

int main(int argc, char** argv) {
  using namespace grazefall;
  const std::vector<FrameScenario> scenarios = FrameScenarios();
  for (const FrameScenario& scenario : scenarios) {
    benchmark::RegisterBenchmark(("RunFrame/" + scenario.name).c_str(), FrameBenchmark, scenario)
        ->Unit(benchmark::kMicrosecond)
        ->UseManualTime()
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
  }
  benchmark::RegisterBenchmark("BuildHerd/10000 cows, pyramid, tears 800x600x16",
                               BuildHerdBenchmark)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(3)
      ->Repetitions(3)
      ->ReportAggregatesOnly(true);

  benchmark::Initialize(&argc, argv);
  MedianCollector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nMedian frame time against its anchor (target: within 1.3x)\n");
  for (const FrameScenario& scenario : scenarios) {
    const auto frame = reporter.medians.find("RunFrame/" + scenario.name);
    const auto anchor = reporter.anchorMedians.find("RunFrame/" + scenario.name);
    if (frame == reporter.medians.end() || anchor == reporter.anchorMedians.end() ||
        anchor->second <= 0) {
      continue;
    }
    std::printf("  %-32s RunFrame %9.1f us  anchor %9.1f us  ratio %.2f\n", scenario.name.c_str(),
                frame->second, anchor->second, frame->second / anchor->second);
  }
  std::printf("\nMedian frame cost with its presentation (program side, no X server)\n");
  for (const FrameScenario& scenario : scenarios) {
    const std::string run = "RunFrame/" + scenario.name;
    const auto frame = reporter.medians.find(run);
    const auto present = reporter.presentMedians.find(run);
    if (frame == reporter.medians.end() || present == reporter.presentMedians.end()) continue;
    std::map<std::string, double>& counters = present->second;
    std::printf("  %-32s RunFrame %9.1f us  present %9.1f us  changed %8.0f kpx in %6.0f rects\n",
                scenario.name.c_str(), frame->second, counters["present_us"],
                counters["changed_kpx"], counters["rects"]);
  }
  const auto build = reporter.medians.find("BuildHerd/10000 cows, pyramid, tears 800x600x16");
  if (build != reporter.medians.end())
    std::printf("  BuildHerd(10000) with pyramid and tears: %.1f ms (target: under 100 ms)\n",
                build->second);
  warmAnimations.clear();
  benchmark::Shutdown();
  return 0;
}
