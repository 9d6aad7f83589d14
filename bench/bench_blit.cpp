// Colour-keyed blits of the three cow sizes into full-screen back buffers,
// timed next to a plain memory copy of the same bytes. Prints, after the
// usual table, how many pixels per second each keyed blit moves and its
// share of the memory copy's speed. A full-screen stretched picture is
// timed too.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/software/software_surface.h"

namespace {

using grazefall::platform::ColorRef;
using grazefall::platform::Picture;
using grazefall::platform::Rect;
using grazefall::platform::Rgb;
using grazefall::platform::software::SoftwareSurface;

struct Size {
  int32_t width, height;
};
constexpr Size kCows[] = {{18, 13}, {29, 21}, {53, 38}};
constexpr Size kScreens[] = {{800, 600}, {1920, 1080}};
constexpr int32_t kScreenDepth[] = {16, 32};

// A cow seen from the side on a magenta key: white body with black patches,
// a head with a pink muzzle at the front, four legs, a tail.
Picture DrawCow(Size size) {
  const ColorRef key = Rgb(255, 0, 255), white = Rgb(250, 250, 250), black = Rgb(20, 20, 20),
                 pink = Rgb(240, 150, 160);
  Picture p;
  p.width = size.width;
  p.height = size.height;
  p.pixels.assign(static_cast<size_t>(size.width) * size.height, key);
  const auto set = [&](int x, int y, ColorRef c) {
    if (x >= 0 && y >= 0 && x < p.width && y < p.height) p.pixels[y * p.width + x] = c;
  };
  const double w = size.width, h = size.height;
  const double cx = w * 0.45, cy = h * 0.45, rx = w * 0.33, ry = h * 0.25;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const double dx = (x - cx) / rx, dy = (y - cy) / ry;
      if (dx * dx + dy * dy <= 1.0) {
        const bool patch = ((x * 7 / p.width) + (y * 5 / p.height)) % 3 == 0;
        set(x, y, patch ? black : white);
      }
      const double hx = (x - w * 0.82) / (w * 0.12), hy = (y - h * 0.35) / (h * 0.16);
      if (hx * hx + hy * hy <= 1.0) set(x, y, x > w * 0.88 ? pink : white);
    }
  }
  for (const double legX : {0.22, 0.32, 0.58, 0.68}) {
    for (int y = static_cast<int>(cy + ry * 0.7); y < p.height - 1; ++y) {
      set(static_cast<int>(w * legX), y, black);
    }
  }
  for (int y = static_cast<int>(cy); y < static_cast<int>(cy + ry * 1.2); ++y) {
    set(static_cast<int>(w * 0.1), y, black);
  }
  return p;
}

// `picture` as a sheet keyed on its top-left pixel, as the saver's sheets are.
std::unique_ptr<SoftwareSurface> KeyedSheet(const Picture& picture, int32_t depth) {
  auto sheet = SoftwareSurface::Create(picture.width, picture.height, depth);
  sheet->drawPicture(picture, Rect{0, 0, picture.width, picture.height});
  sheet->setColorKey(sheet->pixelValueOf(grazefall::platform::kClrInvalid));
  return sheet;
}

std::unique_ptr<SoftwareSurface> CowSheet(Size size, int32_t depth) {
  return KeyedSheet(DrawCow(size), depth);
}

// Positions spread over the screen, all fully visible, as a herd would be.
std::vector<std::pair<int32_t, int32_t>> Positions(Size screen, Size cow) {
  std::vector<std::pair<int32_t, int32_t>> at;
  for (int i = 0; i < 97; ++i) {
    at.emplace_back((i * 131) % (screen.width - cow.width),
                    (i * 71) % (screen.height - cow.height));
  }
  return at;
}

void KeyedBlit(benchmark::State& state) {
  const Size cow = kCows[state.range(0)];
  const Size screen = kScreens[state.range(1)];
  const int32_t depth = kScreenDepth[state.range(1)];
  auto back = SoftwareSurface::Create(screen.width, screen.height, depth);
  const Rect clip{0, 0, screen.width, screen.height};
  back->setClipList({&clip, 1});
  auto sheet = CowSheet(cow, depth);
  const auto positions = Positions(screen, cow);
  size_t next = 0;
  for (auto _ : state) {
    const auto [x, y] = positions[next++ % positions.size()];
    back->blit(Rect{x, y, x + cow.width, y + cow.height}, *sheet, Rect{0, 0, cow.width, cow.height},
               true);
  }
  benchmark::DoNotOptimize(back->getPixel(0, 0));
  state.counters["pixels/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * cow.width * cow.height,
                         benchmark::Counter::kIsRate);
}

// The same rows of the same bytes, copied with memcpy between two buffers
// laid out like the sheet and the back buffer.
void MemoryCopy(benchmark::State& state) {
  const Size cow = kCows[state.range(0)];
  const Size screen = kScreens[state.range(1)];
  const size_t bytesPerPixel = static_cast<size_t>(kScreenDepth[state.range(1)]) / 8;
  const size_t screenPitch = screen.width * bytesPerPixel, rowBytes = cow.width * bytesPerPixel;
  std::vector<uint8_t> back(screenPitch * screen.height, 0);
  std::vector<uint8_t> sheet(rowBytes * cow.height, 0x5A);
  const auto positions = Positions(screen, cow);
  size_t next = 0;
  for (auto _ : state) {
    const auto [x, y] = positions[next++ % positions.size()];
    for (int32_t row = 0; row < cow.height; ++row) {
      std::memcpy(back.data() + (y + row) * screenPitch + x * bytesPerPixel,
                  sheet.data() + row * rowBytes, rowBytes);
    }
    benchmark::ClobberMemory();
  }
  benchmark::DoNotOptimize(back.data());
  state.counters["pixels/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * cow.width * cow.height,
                         benchmark::Counter::kIsRate);
}

// A small picture on its key stretched over the whole back buffer, as a
// full-screen flash is: a third of its pixels are key and leave the herd
// beneath in view.
void FullScreenStretch(benchmark::State& state) {
  const Size screen{static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1))};
  auto back = SoftwareSurface::Create(screen.width, screen.height, 32);
  const Rect whole{0, 0, screen.width, screen.height};
  back->setClipList({&whole, 1});
  Picture face;
  face.width = 21;
  face.height = 24;
  for (int32_t i = 0; i < face.width * face.height; ++i) {
    face.pixels.push_back(i % 3 == 0 ? Rgb(255, 0, 255) : Rgb(110, 220, 90));
  }
  auto sheet = KeyedSheet(face, 32);
  for (auto _ : state) back->blit(whole, *sheet, Rect{0, 0, face.width, face.height}, true);
  benchmark::DoNotOptimize(back->getPixel(0, 0));
  state.counters["pixels/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * screen.width * screen.height,
                         benchmark::Counter::kIsRate);
}
BENCHMARK(FullScreenStretch)->ArgNames({"width", "height"})->Args({1920, 1080})->Args({3840, 2160});

void Arguments(benchmark::internal::Benchmark* b) {
  b->ArgNames({"cow", "screen"});
  for (int screen = 0; screen < 2; ++screen)
    for (int cow = 0; cow < 3; ++cow) b->Args({cow, screen});
}
BENCHMARK(KeyedBlit)->Apply(Arguments);
BENCHMARK(MemoryCopy)->Apply(Arguments);

// Keeps each run's pixel rate so the summary can set them side by side.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions, the mean stands for the run.
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "mean") continue;
      const auto found = run.counters.find("pixels/s");
      if (found != run.counters.end()) rates_[run.run_name.str()] = found->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Summarize() const {
    std::printf("\n%-9s %-16s %16s %16s %8s\n", "cow", "back buffer", "keyed px/s", "memcpy px/s",
                "ratio");
    for (int screen = 0; screen < 2; ++screen) {
      for (int cow = 0; cow < 3; ++cow) {
        const std::string args =
            "/cow:" + std::to_string(cow) + "/screen:" + std::to_string(screen);
        const auto keyed = rates_.find("KeyedBlit" + args);
        const auto copy = rates_.find("MemoryCopy" + args);
        if (keyed == rates_.end() || copy == rates_.end()) continue;
        const std::string cowName =
            std::to_string(kCows[cow].width) + "x" + std::to_string(kCows[cow].height);
        const std::string screenName = std::to_string(kScreens[screen].width) + "x" +
                                       std::to_string(kScreens[screen].height) + "x" +
                                       std::to_string(kScreenDepth[screen]);
        std::printf("%-9s %-16s %16.3e %16.3e %8.3f\n", cowName.c_str(), screenName.c_str(),
                    keyed->second, copy->second, keyed->second / copy->second);
      }
    }
  }

 private:
  std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.Summarize();
  benchmark::Shutdown();
  return 0;
}
