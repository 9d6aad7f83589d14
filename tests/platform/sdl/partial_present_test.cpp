// Presenting only what changed leaves the window exactly as presenting the
// whole frame does, frame after frame of the real animation: each scenario's
// frames (drawn by the software surfaces of the headless display) go to two
// windows on SDL's dummy driver, one through the changed rectangles, one
// whole, and the two windows' pixels are compared after every frame.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>

#include "options/options.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/frame_presenter.h"
#include "platform/software/frame_changes.h"
#include "platform/software/software_surface.h"
#include "saver/animation.h"
#include "saver/animation_state.h"
#include "tests/support/preset_frames.h"
#include "tests/support/sdl_surfaces.h"

namespace grazefall::platform::sdl {
namespace {

using testing::FrameCase;
using testing::PresetOnHeadless;
using testing::WindowPtr;

class SdlVideo {
 public:
  SdlVideo() { ready_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0; }
  ~SdlVideo() {
    if (ready_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  bool ready() const { return ready_; }

 private:
  bool ready_ = false;
};

// The first row where the two windows' pixels differ, or -1.
int FirstDifferentRow(SDL_Window* a, SDL_Window* b) {
  const SDL_Surface* one = SDL_GetWindowSurface(a);
  const SDL_Surface* two = SDL_GetWindowSurface(b);
  if (one == nullptr || two == nullptr) return 0;
  return testing::FirstDifferentRow(one, two);
}

TEST(FramePresenter, SendsOnlyTheChangesUntilTheWindowIsInvalidated) {
  SdlVideo video;
  ASSERT_TRUE(video.ready()) << SDL_GetError();
  WindowPtr window(SDL_CreateWindow("window", 0, 0, 200, 100, 0));
  ASSERT_TRUE(window) << SDL_GetError();
  auto frame = software::SoftwareSurface::Create(100, 100, 16);
  ASSERT_TRUE(frame);
  frame->fill(0xF800);  // red
  FramePresenter presenter;
  ASSERT_EQ(presenter.present(window.get(), frame->sdlSurface(), std::vector<Rect>{}), kOk);
  SDL_Surface* shown = SDL_GetWindowSurface(window.get());
  auto pixel = [&](int x, int y) {
    return *reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(shown->pixels) +
                                              y * shown->pitch + x * 4) &
           0xFFFFFFu;
  };
  // The window shows the frame, all `colour`, from (50, 0) to (149, 99),
  // between black bars.
  const auto expectFramedInBlack = [&](uint32_t colour) {
    const struct {
      int x, y;
      uint32_t value;
    } probes[] = {{10, 50, 0},  {49, 99, 0},     {150, 0, 0},       {190, 50, 0},
                  {199, 99, 0}, {50, 0, colour}, {100, 50, colour}, {149, 99, colour}};
    for (const auto& p : probes) EXPECT_EQ(pixel(p.x, p.y), p.value) << p.x << ", " << p.y;
  };
  // The first present is whole whatever it is told: bars and frame.
  expectFramedInBlack(0xFF0000u);

  // Only the changed rectangle is sent: what is outside it stays as it was.
  frame->fill(0x001F);  // blue
  ASSERT_EQ(presenter.present(window.get(), frame->sdlSurface(), std::vector<Rect>{{0, 0, 10, 10}}),
            kOk);
  EXPECT_EQ(pixel(52, 2), 0x0000FFu);
  EXPECT_EQ(pixel(100, 50), 0xFF0000u);
  // Scaled by one here: frame pixel (9, 9) is window pixel (59, 9).
  EXPECT_EQ(pixel(59, 9), 0x0000FFu);
  EXPECT_EQ(pixel(60, 10), 0xFF0000u);

  // A whole frame while the bars show leaves them be; once the window may
  // have been drawn on, they are blackened again.
  SDL_Rect bar{10, 50, 1, 1};
  SDL_FillRect(shown, &bar, 0x00FF00u);
  ASSERT_EQ(presenter.present(window.get(), frame->sdlSurface(), std::nullopt), kOk);
  EXPECT_EQ(pixel(100, 50), 0x0000FFu);
  EXPECT_EQ(pixel(10, 50), 0x00FF00u);
  presenter.invalidate();
  ASSERT_EQ(presenter.present(window.get(), frame->sdlSurface(), std::vector<Rect>{}), kOk);
  expectFramedInBlack(0x0000FFu);

  // A frame as wide as the window fills it; a narrower one after it has its
  // bars blackened again, not left showing the wider frame.
  auto wide = software::SoftwareSurface::Create(200, 100, 16);
  ASSERT_TRUE(wide);
  wide->fill(0xFFFF);  // white
  ASSERT_EQ(presenter.present(window.get(), wide->sdlSurface(), std::nullopt), kOk);
  ASSERT_NE(pixel(10, 50), 0u);
  ASSERT_EQ(presenter.present(window.get(), frame->sdlSurface(), std::nullopt), kOk);
  expectFramedInBlack(0x0000FFu);
}

// Frames of 8 and 16 bits a pixel show every pixel value as SDL's own
// conversion to the window's format does, unscaled and scaled by two: the
// software surfaces' packed formats, and a frame with a palette of its own,
// shown again in its new colours after its palette changes.
TEST(FramePresenter, ShowsEveryPixelValueAsSdlConvertsIt) {
  SdlVideo video;
  ASSERT_TRUE(video.ready()) << SDL_GetError();
  auto eight = software::SoftwareSurface::Create(256, 256, 8);
  auto sixteen = software::SoftwareSurface::Create(256, 256, 16);
  ASSERT_TRUE(eight && sixteen);
  SDL_Surface* indexed = SDL_CreateRGBSurfaceWithFormat(0, 256, 256, 8, SDL_PIXELFORMAT_INDEX8);
  ASSERT_TRUE(indexed) << SDL_GetError();
  SDL_Color colours[2][256];
  for (int i = 0; i < 256; ++i) {
    colours[0][i] = SDL_Color{static_cast<Uint8>(i), static_cast<Uint8>(255 - i),
                              static_cast<Uint8>(i / 2), 255};
    colours[1][255 - i] = colours[0][i];
  }
  for (SDL_Surface* pixels : {eight->sdlSurface(), sixteen->sdlSurface(), indexed}) {
    SCOPED_TRACE(SDL_GetPixelFormatName(pixels->format->format));
    for (int y = 0; y < 256; ++y) {
      auto* row = static_cast<uint8_t*>(pixels->pixels) + y * pixels->pitch;
      for (int x = 0; x < 256; ++x) {
        if (pixels->format->BytesPerPixel == 1) {
          row[x] = static_cast<uint8_t>(x ^ y);
        } else {
          reinterpret_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(y * 256 + x);
        }
      }
    }
    for (const int scale : {1, 2}) {
      SCOPED_TRACE(scale);
      WindowPtr window(SDL_CreateWindow("window", 0, 0, 256 * scale, 256 * scale, 0));
      ASSERT_TRUE(window) << SDL_GetError();
      SDL_Surface* shown = SDL_GetWindowSurface(window.get());
      ASSERT_TRUE(shown) << SDL_GetError();
      const auto at = [](const SDL_Surface* s, int x, int y) {
        return *reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) +
                                                  y * s->pitch + x * 4);
      };
      FramePresenter presenter;
      // The frame with a palette is shown twice, in each of its palettes.
      const int palettes = pixels == indexed ? 2 : 1;
      for (int palette = 0; palette < palettes; ++palette) {
        if (pixels == indexed) {
          ASSERT_EQ(SDL_SetPaletteColors(indexed->format->palette, colours[palette], 0, 256), 0);
        }
        SDL_Surface* expected = SDL_ConvertSurface(pixels, shown->format, 0);
        ASSERT_TRUE(expected) << SDL_GetError();
        ASSERT_EQ(presenter.present(window.get(), pixels, std::nullopt), kOk);
        int wrong = 0;
        for (int y = 0; y < 256 * scale; ++y) {
          for (int x = 0; x < 256 * scale; ++x) {
            wrong += at(shown, x, y) != at(expected, x / scale, y / scale);
          }
        }
        SDL_FreeSurface(expected);
        EXPECT_EQ(wrong, 0) << "palette " << palette;
      }
    }
  }
  SDL_FreeSurface(indexed);
}

// A 32-bit frame in a window twice its size, less a column of bar on either
// side, shows frame pixel (x / 2, y / 2) at viewport pixel (x, y), whole and
// in changed parts alike.
TEST(FramePresenter, DoublesAFrameHalfAsLargeAsTheWindowPixelForPixel) {
  SdlVideo video;
  ASSERT_TRUE(video.ready()) << SDL_GetError();
  auto frame = software::SoftwareSurface::Create(64, 48, 32);
  ASSERT_TRUE(frame);
  const auto paint = [&](const Rect& area, uint32_t seed) {
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        frame->putPixelValue(x, y,
                             (static_cast<uint32_t>(x * 7919 + y * 104729) ^ seed) & 0xFFFFFF);
      }
    }
  };
  paint(Rect{0, 0, 64, 48}, 0);
  WindowPtr window(SDL_CreateWindow("window", 0, 0, 130, 96, 0));
  ASSERT_TRUE(window) << SDL_GetError();
  SDL_Surface* shown = SDL_GetWindowSurface(window.get());
  ASSERT_TRUE(shown && shown->format->BytesPerPixel == 4) << SDL_GetError();
  const auto wrongPixels = [&] {
    int wrong = 0;
    for (int y = 0; y < 96; ++y) {
      for (int x = 0; x < 130; ++x) {
        const uint32_t at =
            *reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(shown->pixels) +
                                               y * shown->pitch + x * 4) &
            0xFFFFFF;
        const bool bar = x == 0 || x == 129;
        wrong += at != (bar ? 0u : frame->pixelValueAt((x - 1) / 2, y / 2));
      }
    }
    return wrong;
  };
  FramePresenter presenter;
  ASSERT_EQ(presenter.present(window.get(), frame->sdlSurface(), std::nullopt), kOk);
  EXPECT_EQ(wrongPixels(), 0);
  const std::vector<Rect> changed{{0, 0, 5, 3}, {17, 20, 40, 21}, {63, 40, 64, 48}};
  for (const Rect& area : changed) paint(area, 0xABCDEF);
  ASSERT_EQ(presenter.present(window.get(), frame->sdlSurface(), changed), kOk);
  EXPECT_EQ(wrongPixels(), 0);
}

// The viewport is the largest fit, centred; it is doubled only where it is
// exactly twice the frame both ways.
TEST(LetterboxOf, LargestFitCentredAndDoubledOnlyWhenExactlyTwice) {
  const struct {
    int32_t frameWidth, frameHeight, windowWidth, windowHeight;
    Rect viewport;
    bool doubled;
  } cases[] = {
      {800, 600, 1024, 768, {0, 0, 1024, 768}, false},
      {1280, 1024, 1024, 768, {32, 0, 992, 768}, false},
      {640, 400, 640, 480, {0, 40, 640, 440}, false},
      {0, 400, 640, 480, {}, false},
      {1920, 1080, 3840, 2160, {0, 0, 3840, 2160}, true},
      {1920, 1080, 3840, 2400, {0, 120, 3840, 2280}, true},
      {1920, 1080, 3839, 2160, {0, 0, 3839, 2159}, false},
      // As wide as twice the frame, but one row taller.
      {1, 2, 3, 5, {0, 0, 2, 5}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.frameWidth) + "x" + std::to_string(c.frameHeight) + " in " +
                 std::to_string(c.windowWidth) + "x" + std::to_string(c.windowHeight));
    EXPECT_EQ(LetterboxOf(c.frameWidth, c.frameHeight, c.windowWidth, c.windowHeight), c.viewport);
    const std::optional<Rect> doubled =
        DoubledViewportOf(c.frameWidth, c.frameHeight, c.windowWidth, c.windowHeight);
    EXPECT_EQ(doubled.has_value(), c.doubled);
    if (doubled) {
      EXPECT_EQ(*doubled, c.viewport);
    }
  }
}

class PartialPresent : public ::testing::TestWithParam<FrameCase> {};

TEST_P(PartialPresent, LeavesTheWindowAsAWholePresentDoes) {
  const FrameCase& c = GetParam();
  SdlVideo video;
  ASSERT_TRUE(video.ready()) << SDL_GetError();
  WindowPtr partial(SDL_CreateWindow("partial", 0, 0, c.width, c.height, 0));
  WindowPtr whole(SDL_CreateWindow("whole", 0, 0, c.width, c.height, 0));
  ASSERT_TRUE(partial && whole) << SDL_GetError();

  HeadlessPlatform headless;
  const ScenarioOptions options = PresetOnHeadless(headless, c, 7);

  software::FrameChanges changes;
  FramePresenter partialPresenter;
  FramePresenter wholePresenter;
  int64_t partialFrames = 0;
  int64_t differing = 0;
  std::string firstDifference;
  headless.setFrameObserver([&](const Surface& frame, int64_t number) {
    const auto& software = dynamic_cast<const software::SoftwareSurface&>(frame);
    const auto changed = changes.next(*software.pixels());
    if (changed) ++partialFrames;
    ASSERT_EQ(partialPresenter.present(partial.get(), software.sdlSurface(), changed), kOk);
    ASSERT_EQ(wholePresenter.present(whole.get(), software.sdlSurface(), std::nullopt), kOk);
    const int row = FirstDifferentRow(partial.get(), whole.get());
    if (row >= 0 && differing++ == 0) {
      firstDifference = "frame " + std::to_string(number) + ", row " + std::to_string(row);
    }
  });

  std::unique_ptr<Animation> animation = NewAnimation(headless, options);
  ASSERT_TRUE(StartAnimation(*animation, 1));
  for (int32_t frame = 0; frame < c.frames; ++frame) RunFrame(*animation);
  EndAnimation(*animation);
  headless.setFrameObserver(nullptr);

  EXPECT_EQ(differing, 0) << "first at " << firstDifference;
  // The comparison is only worth something when most frames went in pieces.
  EXPECT_GT(partialFrames * 2, int64_t{c.frames}) << partialFrames << " of " << c.frames;
}

INSTANTIATE_TEST_SUITE_P(
    ScenariosDepthsAndWindows, PartialPresent,
    ::testing::Values(
        // Unscaled, then scaled with the aspect kept, then letterboxed.
        FrameCase{"Classic", 8, 640, 480, 400}, FrameCase{"Classic", 32, 800, 600, 400},
        FrameCase{"Invasion", 16, 700, 600, 300}, FrameCase{"Halloween", 24, 640, 480, 300},
        FrameCase{"Halloween", 16, 1000, 700, 300}, FrameCase{"Custom", 32, 640, 400, 200}),
    [](const ::testing::TestParamInfo<FrameCase>& info) {
      return info.param.scenario + std::to_string(info.param.bitDepth) + "In" +
             std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
    });

}  // namespace
}  // namespace grazefall::platform::sdl
