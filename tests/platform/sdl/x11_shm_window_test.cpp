// Frames shown through the pixels shared with a real X server (an Xvfb of
// our own): after each present the window, read back from the server, holds
// the frame; the changed rectangles go in one clipped put of their bounding
// box, and a change left out of them stays off the window even inside it; a
// window twice the frame's size gets it doubled by the server; a new
// window size gets new pixels and the whole frame. The clip list is in the
// bands the server takes as they are. The running saver draws each frame in
// the one memory it shares with the server, and the window holds each frame
// as the headless display draws it.
#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/sdl/clip_bands.h"
#include "platform/sdl/frame_presenter.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_window_system.h"
#include "platform/sdl/viewport_map.h"
#include "platform/sdl/x11_shared_image.h"
#include "platform/sdl/x11_shm_window.h"
#include "platform/software/software_surface.h"
#include "saver/animation.h"
#include "saver/animation_state.h"
#include "tests/support/preset_frames.h"
#include "tests/support/rect_cover.h"
#include "tests/support/scoped_env.h"

// Last: Xlib's macros (None, Bool) would break the headers above.
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef None

extern char** environ;

namespace grazefall::platform::sdl {
namespace {

// An Xvfb on a display it picks itself, ended with the fixture.
class OwnXvfb {
 public:
  explicit OwnXvfb(const std::string& screen = "640x480x24") {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string fd = std::to_string(fds[1]);
    const char* argv[] = {"Xvfb",         "-displayfd", fd.c_str(), "-screen", "0",
                          screen.c_str(), "-nolisten",  "tcp",      nullptr};
    if (posix_spawnp(&pid_, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
      pid_ = 0;
    }
    close(fds[1]);
    std::string number;
    char c;
    while (pid_ != 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  ~OwnXvfb() {
    if (pid_ != 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = 0;
  std::string display_;
};

class SharedX11Pixels : public ::testing::Test {
 protected:
  void SetUp() override {
    if (xvfb_.display().empty()) GTEST_SKIP() << "no Xvfb to start";
    setenv("DISPLAY", xvfb_.display().c_str(), 1);
    // The other cases run on SDL's dummy driver (the tests' main sets it).
    driver_.emplace("SDL_VIDEODRIVER", "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << SDL_GetError();
    videoStarted_ = true;
    window_ = SDL_CreateWindow("shm", 0, 0, 200, 150, SDL_WINDOW_BORDERLESS);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(window_, &info)) << SDL_GetError();
    display_ = info.info.x11.display;
    xwindow_ = info.info.x11.window;
    XMapRaised(display_, xwindow_);
    XSync(display_, False);
    frame_ = SDL_CreateRGBSurfaceWithFormat(0, 200, 150, 32, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(frame_, nullptr);
    for (int y = 0; y < 150; ++y) {
      for (int x = 0; x < 200; ++x) set(x, y, static_cast<uint32_t>(x * 977 + y * 131 + 7));
    }
  }
  void TearDown() override {
    if (frame_ != nullptr) SDL_FreeSurface(frame_);
    presenter_.reset();
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    driver_.reset();
  }

  void set(int x, int y, uint32_t value) {
    static_cast<uint32_t*>(frame_->pixels)[y * frame_->pitch / 4 + x] = value & 0xFFFFFF;
  }
  void paint(const Rect& r, uint32_t value) {
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) set(x, y, value);
    }
  }
  // The window's pixel at (x, y), as the server holds it.
  std::vector<uint32_t> windowPixels(int width, int height) {
    std::vector<uint32_t> pixels;
    XImage* image = XGetImage(display_, xwindow_, 0, 0, width, height, AllPlanes, ZPixmap);
    if (image == nullptr) return pixels;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
    }
    XDestroyImage(image);
    return pixels;
  }
  // How many of the window's pixels differ from the frame's.
  int differences() { return differencesIn(frame_, Rect{0, 0, 200, 150}, 1); }
  // The same for the frame shown in `viewport` with each pixel as a `scale`
  // x `scale` block, and black around it.
  int differencesIn(SDL_Surface* frame, const Rect& viewport, int scale) {
    const std::vector<uint32_t> shown = windowPixels(200, 150);
    if (shown.size() != 200u * 150u) return -1;
    int count = 0;
    for (int y = 0; y < 150; ++y) {
      for (int x = 0; x < 200; ++x) {
        const bool inside = grazefall::testing::Covering({viewport}, x, y) > 0;
        const int row = (y - viewport.top) / scale;
        const int column = (x - viewport.left) / scale;
        const uint32_t drawn =
            inside ? static_cast<uint32_t*>(frame->pixels)[row * frame->pitch / 4 + column] : 0;
        count += shown[static_cast<size_t>(y) * 200 + x] != drawn;
      }
    }
    return count;
  }

  OwnXvfb xvfb_;
  std::optional<grazefall::testing::ScopedEnv> driver_;
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  ::Display* display_ = nullptr;
  ::Window xwindow_ = 0;
  SDL_Surface* frame_ = nullptr;
  std::unique_ptr<FramePresenter> presenter_ = std::make_unique<FramePresenter>();
};

TEST_F(SharedX11Pixels, TheWindowHoldsEachFrameAndOnlyTheListedChanges) {
  ASSERT_NE(X11ShmWindow::Open(window_), nullptr) << "Xvfb's 24-bit screen shares pixels";
  ASSERT_EQ(presenter_->present(window_, frame_, std::nullopt), kOk);
  EXPECT_EQ(differences(), 0);

  // Two listed changes far apart, and one between them that is not listed.
  const std::vector<Rect> listed{{4, 4, 20, 12}, {150, 120, 196, 148}};
  paint(listed[0], 0xFF0000);
  paint(listed[1], 0x00FF00);
  ASSERT_EQ(presenter_->present(window_, frame_, listed), kOk);
  EXPECT_EQ(differences(), 0);
  const Rect unlisted{80, 60, 90, 70};
  paint(unlisted, 0x0000FF);
  paint(listed[0], 0x123456);
  ASSERT_EQ(presenter_->present(window_, frame_, std::vector<Rect>{listed[0]}), kOk);
  EXPECT_EQ(differences(), unlisted.width() * unlisted.height());
  // Invalidated, the window gets the whole frame again.
  presenter_->invalidate();
  ASSERT_EQ(presenter_->present(window_, frame_, std::vector<Rect>{}), kOk);
  EXPECT_EQ(differences(), 0);
}

// A frame drawn in shared pixels is put from there: as large as the 200x150
// window, and half its width and height, doubled by the server, filling it
// or between black bars above and below.
TEST_F(SharedX11Pixels, AFrameDrawnInSharedPixelsIsPutFromThereAndTheWindowStaysExact) {
  struct Fitting {
    Rect viewport;
    int scale;
  };
  for (const Fitting fitting : {Fitting{{0, 0, 200, 150}, 1}, Fitting{{0, 0, 200, 150}, 2},
                                Fitting{{0, 15, 200, 135}, 2}}) {
    const Rect& viewport = fitting.viewport;
    const int scale = fitting.scale;
    const int width = viewport.width() / scale;
    const int height = viewport.height() / scale;
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    const auto image = X11SharedImage::Create(window_, width, height);
    ASSERT_NE(image, nullptr);
    if (scale == 2) {
      ASSERT_TRUE(image->doublesOn(window_)) << "Xvfb has RENDER";
    }
    SDL_Surface* drawn = SDL_CreateRGBSurfaceWithFormatFrom(image->pixels(), width, height, 32,
                                                            image->pitch(), SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(drawn, nullptr);
    ASSERT_EQ(SDL_BlitSurface(frame_, nullptr, drawn, nullptr), 0);
    // First a frame of our own, through the presenter's copy of the window;
    // the bars are blackened over it.
    ASSERT_EQ(presenter_->present(window_, frame_, std::nullopt), kOk);
    ASSERT_EQ(presenter_->present(window_, drawn, std::nullopt, image.get()), kOk);
    EXPECT_EQ(differencesIn(drawn, viewport, scale), 0);
    // Changes of every size and place, odd ones too, over many frames: each
    // goes to its place, and nothing else changes.
    std::mt19937 random(11);
    std::uniform_int_distribution<int32_t> at(0, 99);
    for (int round = 0; round < 40; ++round) {
      std::vector<Rect> listed;
      for (int i = 0; i < 1 + round % 5; ++i) {
        const int32_t x = at(random) % (width - 4);
        const int32_t y = at(random) % (height - 3);
        listed.push_back(Rect{x, y, std::min(x + 1 + at(random) % 30, width),
                              std::min(y + 1 + at(random) % 20, height)});
      }
      for (const Rect& r : InBands(listed)) {
        const SDL_Rect area{r.left, r.top, r.width(), r.height()};
        ASSERT_EQ(SDL_FillRect(drawn, &area, static_cast<uint32_t>(random()) & 0xFFFFFF), 0);
      }
      ASSERT_EQ(presenter_->present(window_, drawn, InBands(listed), image.get()), kOk);
      ASSERT_EQ(differencesIn(drawn, viewport, scale), 0) << "round " << round;
    }
    // A change left out of the list stays off the window.
    const SDL_Rect unlisted{40, 30, 5, 3};
    ASSERT_EQ(SDL_FillRect(drawn, &unlisted, 0x0000FF), 0);
    ASSERT_EQ(presenter_->present(window_, drawn, std::vector<Rect>{{0, 0, 4, 4}}, image.get()),
              kOk);
    EXPECT_EQ(differencesIn(drawn, viewport, scale), scale * scale * 5 * 3);
    // A frame of our own after it goes whole: the presenter's own copy of
    // the window was left behind while frames came from shared pixels.
    ASSERT_EQ(presenter_->present(window_, frame_, std::vector<Rect>{}), kOk);
    EXPECT_EQ(differences(), 0);
    // And a shared frame after that goes whole too.
    ASSERT_EQ(presenter_->present(window_, drawn, std::vector<Rect>{}, image.get()), kOk);
    EXPECT_EQ(differencesIn(drawn, viewport, scale), 0);
    SDL_FreeSurface(drawn);
  }
}

TEST_F(SharedX11Pixels, ANewWindowSizeGetsNewPixelsAndTheWholeFrame) {
  ASSERT_EQ(presenter_->present(window_, frame_, std::nullopt), kOk);
  SDL_SetWindowSize(window_, 400, 300);
  // The server's resize, then SDL's note of it.
  for (int attempt = 0; attempt < 100; ++attempt) {
    SDL_PumpEvents();
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    if (width == 400) break;
    SDL_Delay(10);
  }
  paint({0, 0, 200, 150}, 0x00FFFF);
  // Even told that nothing changed, the new pixels get the whole frame, scaled.
  ASSERT_EQ(presenter_->present(window_, frame_, std::vector<Rect>{}), kOk);
  const std::vector<uint32_t> shown = windowPixels(400, 300);
  ASSERT_EQ(shown.size(), 400u * 300u);
  EXPECT_EQ(shown[0], 0x00FFFFu);
  EXPECT_EQ(shown[299 * 400 + 399], 0x00FFFFu);
}

// The saver's own frames on its own full-screen window, drawn by the SDL
// display straight into the memory the server reads: after every frame the
// window, read back from the server, holds what the headless display draws
// for the same clock, pixel for pixel, on a screen of the frame's size and on
// screens it fits twice as wide and high (one with black bars), where the
// server doubles it. Both draw each
// frame over the one before it from a fill that clears only what that one
// drew, and the window gets only the changes.
TEST(SaverOnX11, EveryFrameDrawnInTheOneSharedMemoryReachesTheWindowExactly) {
  for (const Rect screen : {Rect{0, 0, 640, 480}, Rect{0, 0, 1280, 960}, Rect{0, 0, 1280, 1024}}) {
    const std::string size = std::to_string(screen.width()) + "x" + std::to_string(screen.height());
    SCOPED_TRACE("screen " + size);
    const Rect viewport = LetterboxOf(640, 480, screen.width(), screen.height());
    const int scale = viewport.width() / 640;
    OwnXvfb xvfb(size + "x24");
    if (xvfb.display().empty()) GTEST_SKIP() << "no Xvfb to start";
    grazefall::testing::ScopedEnv display("DISPLAY", xvfb.display().c_str());
    grazefall::testing::ScopedEnv driver("SDL_VIDEODRIVER", "x11");
    SdlWindowSystem windows;
    std::string error;
    if (!windows.open(&error)) GTEST_SKIP() << error;
    ASSERT_TRUE(windows.registerClass(
        "WindowsScreenSaverClass",
        [](WindowHandle, uint32_t, uintptr_t, intptr_t) { return MessageResult{0}; }));
    WindowSpec spec;
    spec.className = "WindowsScreenSaverClass";
    spec.title = "Screen Saver";
    spec.bounds = windows.virtualScreen();
    const WindowHandle window = windows.createWindow(spec);
    ASSERT_NE(window, 0u);
    ASSERT_EQ(spec.bounds, screen);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(windows.sdlWindowOf(window), &info)) << SDL_GetError();

    for (const char* scenario : {"Halloween", "Invasion"}) {
      SCOPED_TRACE(scenario);
      SdlPlatformOptions held;
      held.heldTime = 7;
      held.quietInput = true;
      SdlPlatform onX(windows, held);
      HeadlessPlatform headless;
      const ScenarioOptions options =
          grazefall::testing::PresetOnHeadless(headless, {scenario, 32, 640, 480, 0}, 7);
      std::unique_ptr<Animation> shown = NewAnimation(onX, options);
      std::unique_ptr<Animation> drawn = NewAnimation(headless, options);
      ASSERT_TRUE(StartAnimation(*shown, window));
      ASSERT_TRUE(StartAnimation(*drawn, 1));
      const auto* primary =
          dynamic_cast<const software::SoftwareSurface*>(shown->display.primary.get());
      const auto* expected =
          dynamic_cast<const software::SoftwareSurface*>(drawn->display.primary.get());
      ASSERT_TRUE(primary && expected);
      ASSERT_EQ(primary->attachedBackBuffer(), primary->pixels()) << "one memory for both";
      int64_t wrongFrames = 0;
      std::string first;
      for (int frame = 0; frame < 150; ++frame) {
        RunFrame(*shown);
        RunFrame(*drawn);
        XImage* image = XGetImage(info.info.x11.display, info.info.x11.window, 0, 0, screen.width(),
                                  screen.height(), AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        int64_t wrong = 0;
        for (int y = 0; y < screen.height(); ++y) {
          for (int x = 0; x < screen.width(); ++x) {
            const bool inside = grazefall::testing::Covering({viewport}, x, y) > 0;
            const uint32_t drawn = inside ? expected->pixelValueAt((x - viewport.left) / scale,
                                                                   (y - viewport.top) / scale)
                                          : 0;
            wrong += (XGetPixel(image, x, y) & 0xFFFFFF) != (drawn & 0xFFFFFF);
          }
        }
        XDestroyImage(image);
        if (wrong != 0 && wrongFrames++ == 0) {
          first = "frame " + std::to_string(frame) + ": " + std::to_string(wrong) + " pixels";
        }
      }
      EndAnimation(*shown);
      EndAnimation(*drawn);
      EXPECT_EQ(wrongFrames, 0) << "first at " << first;
    }
  }
}

// The bands hold every pixel of the rectangles once and no other, and keep the
// order the server checks a banded list for: every scanline's rectangles
// share their top and height, bands in order of y, a band's rectangles in
// order of x and apart.
TEST(ClipBands, TheSamePixelsInBandsTheServerTakesAsTheyAre) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> at(-4, 44);
  for (int round = 0; round < 200; ++round) {
    std::vector<Rect> rects(1 + round % 12);
    for (Rect& r : rects) {
      const int32_t x = at(random);
      const int32_t y = at(random);
      r = Rect{x, y, x + at(random) % 16, y + at(random) % 16};  // some empty, some touching
    }
    const std::vector<Rect> bands = InBands(rects);
    for (int32_t y = -4; y < 60; ++y) {
      for (int32_t x = -4; x < 60; ++x) {
        ASSERT_EQ(grazefall::testing::Covering(bands, x, y),
                  grazefall::testing::Covering(rects, x, y) > 0 ? 1 : 0)
            << "round " << round << " at " << x << "," << y;
      }
    }
    for (size_t i = 1; i < bands.size(); ++i) {
      const Rect& before = bands[i - 1];
      const Rect& r = bands[i];
      if (r.top == before.top) {
        EXPECT_EQ(r.bottom, before.bottom) << "round " << round;
        EXPECT_GT(r.left, before.right) << "round " << round;
      } else {
        EXPECT_GE(r.top, before.bottom) << "round " << round;
      }
    }
  }
  // A column of changes stays one rectangle.
  EXPECT_EQ(InBands({{0, 8, 8, 16}, {0, 0, 8, 8}}), (std::vector<Rect>{{0, 0, 8, 16}}));
}

}  // namespace
}  // namespace grazefall::platform::sdl
