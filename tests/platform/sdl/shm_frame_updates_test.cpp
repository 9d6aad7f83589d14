// Our own Wayland buffers, without a compositor: frames of the real
// animation are taken by FrameUpdates into three XRGB buffers that a
// make-believe compositor holds and releases in its own time, asking for a
// picture only now and then. After every picture the buffer shown must be
// exactly the window FramePresenter draws of the same frame, and so must
// the compositor's picture, made only of the damaged rectangles of each
// buffer shown.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <random>
#include <string>

#include "options/options.h"
#include "platform/headless/headless_platform.h"
#include "platform/sdl/frame_presenter.h"
#include "platform/sdl/frame_updates.h"
#include "platform/sdl/shm_frame_writer.h"
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
using testing::SurfacePtr;
using testing::WindowPtr;

SurfacePtr NewBuffer(int width, int height) {
  return SurfacePtr(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888));
}

TEST(FrameUpdates, DamagesWholeFirstThenOnlyWhatChangedSinceThePictureShown) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  auto frame = software::SoftwareSurface::Create(100, 50, 32);
  ASSERT_TRUE(frame);
  frame->fill(0x123456);
  SurfacePtr one = NewBuffer(200, 200);
  SurfacePtr two = NewBuffer(200, 200);
  ShmFrameWriter writer;
  ASSERT_TRUE(writer.fit(frame->sdlSurface(), 200, 200));
  EXPECT_EQ(writer.viewport(), (Rect{0, 50, 200, 150}));
  FrameUpdates updates(2);
  std::vector<Rect> damage;
  EXPECT_TRUE(updates.pending());
  ASSERT_TRUE(updates.show(writer, frame->sdlSurface(), 0, one.get(), &damage));
  EXPECT_EQ(damage, (std::vector<Rect>{{0, 0, 200, 200}}));
  EXPECT_FALSE(updates.pending());

  // Two frames' changes before the next picture: both are damaged, doubled
  // as the frame is, and the other buffer, never drawn, is drawn whole.
  updates.changed(std::vector<Rect>{{0, 0, 10, 10}});
  updates.changed(std::vector<Rect>{{50, 20, 60, 30}});
  ASSERT_TRUE(updates.pending());
  ASSERT_TRUE(updates.show(writer, frame->sdlSurface(), 1, two.get(), &damage));
  EXPECT_EQ(damage, (std::vector<Rect>{{0, 50, 20, 70}, {100, 90, 120, 110}}));
  EXPECT_TRUE(testing::SamePixels(one.get(), two.get()));

  // A frame that changed anywhere is damaged whole.
  updates.changed(std::nullopt);
  ASSERT_TRUE(updates.show(writer, frame->sdlSurface(), 0, one.get(), &damage));
  EXPECT_EQ(damage, (std::vector<Rect>{{0, 0, 200, 200}}));

  // A frame shown in the buffer it was drawn in: what changed is the damage,
  // in the frame's own pixels, and the buffers here still lack it.
  SDL_Rect patch{5, 5, 10, 10};
  SDL_FillRect(frame->sdlSurface(), &patch, 0xABCDEF);
  updates.changed(std::vector<Rect>{{5, 5, 15, 15}});
  updates.showAsDrawn(100, 50, &damage);
  EXPECT_EQ(damage, (std::vector<Rect>{{5, 5, 15, 15}}));
  EXPECT_FALSE(updates.pending());
  updates.changed(std::vector<Rect>{});
  ASSERT_TRUE(updates.show(writer, frame->sdlSurface(), 0, one.get(), &damage));
  EXPECT_TRUE(damage.empty());
  ASSERT_TRUE(writer.drawWhole(frame->sdlSurface(), two.get()));
  EXPECT_TRUE(testing::SamePixels(one.get(), two.get()));
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

class ShmBuffersShow : public ::testing::TestWithParam<FrameCase> {};

TEST_P(ShmBuffersShow, EveryPictureAsFramePresenterDrawsTheFrame) {
  const FrameCase& c = GetParam();
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  WindowPtr window(SDL_CreateWindow("reference", 0, 0, c.width, c.height, 0));
  ASSERT_TRUE(window) << SDL_GetError();
  SurfacePtr buffers[3] = {NewBuffer(c.width, c.height), NewBuffer(c.width, c.height),
                           NewBuffer(c.width, c.height)};
  SurfacePtr screen = NewBuffer(c.width, c.height);
  ASSERT_TRUE(buffers[0] && buffers[1] && buffers[2] && screen);

  platform::HeadlessPlatform headless;
  const ScenarioOptions options = PresetOnHeadless(headless, c, 11);

  software::FrameChanges changes;
  FramePresenter reference;
  ShmFrameWriter writer;
  FrameUpdates updates(3);
  std::mt19937 compositor(static_cast<uint32_t>(c.frames));
  // How many more frames the compositor holds each buffer; -1: released.
  int held[3] = {-1, -1, -1};
  int64_t pictures = 0;
  int64_t partial = 0;
  int64_t wrongBuffers = 0;
  int64_t wrongScreens = 0;
  std::string first;
  std::vector<Rect> damage;
  headless.setFrameObserver([&](const Surface& drawn, int64_t number) {
    const auto& software = dynamic_cast<const software::SoftwareSurface&>(drawn);
    SDL_Surface* frame = software.sdlSurface();
    if (writer.fit(frame, c.width, c.height)) updates.reset();
    updates.changed(changes.next(*software.pixels()));
    for (int& frames : held) {
      if (frames > 0) --frames;
      if (frames == 0) frames = -1;
    }
    // The compositor asks for a picture at about two frames in three.
    if (compositor() % 3 == 0 || !updates.pending()) return;
    int free = -1;
    for (int i = 0; i < 3; ++i) {
      if (held[i] < 0) free = i;
    }
    if (free < 0) return;
    ASSERT_TRUE(updates.show(writer, frame, free, buffers[free].get(), &damage));
    held[free] = 1 + static_cast<int>(compositor() % 4);
    ++pictures;
    if (!(damage.size() == 1 && damage[0] == Rect{0, 0, c.width, c.height})) ++partial;
    for (const Rect& area : damage) {
      SDL_Rect rect{area.left, area.top, area.width(), area.height()};
      SDL_Rect to = rect;
      ASSERT_EQ(SDL_BlitSurface(buffers[free].get(), &rect, screen.get(), &to), 0);
    }
    ASSERT_EQ(reference.present(window.get(), frame, std::nullopt), kOk);
    SurfacePtr expected(
        SDL_ConvertSurfaceFormat(SDL_GetWindowSurface(window.get()), SDL_PIXELFORMAT_RGB888, 0));
    ASSERT_TRUE(expected);
    const bool bufferRight = testing::SamePixels(buffers[free].get(), expected.get());
    const bool screenRight = testing::SamePixels(screen.get(), expected.get());
    if ((!bufferRight || !screenRight) && first.empty()) {
      first = "frame " + std::to_string(number) + (bufferRight ? ": screen" : ": buffer");
    }
    wrongBuffers += !bufferRight;
    wrongScreens += !screenRight;
  });

  std::unique_ptr<Animation> animation = NewAnimation(headless, options);
  ASSERT_TRUE(StartAnimation(*animation, 1));
  for (int32_t frame = 0; frame < c.frames; ++frame) RunFrame(*animation);
  EndAnimation(*animation);
  headless.setFrameObserver(nullptr);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);

  EXPECT_EQ(wrongBuffers, 0) << "first at " << first;
  EXPECT_EQ(wrongScreens, 0) << "first at " << first;
  // Worth something only when most pictures went in pieces.
  EXPECT_GT(partial * 2, pictures) << partial << " of " << pictures;
}

INSTANTIATE_TEST_SUITE_P(ScenariosDepthsAndSizes, ShmBuffersShow,
                         ::testing::Values(FrameCase{"Classic", 32, 640, 480, 400},
                                           FrameCase{"Classic", 8, 1280, 960, 300},
                                           FrameCase{"Invasion", 16, 700, 600, 300},
                                           FrameCase{"Halloween", 24, 1000, 700, 300},
                                           FrameCase{"Custom", 32, 640, 400, 200}),
                         [](const ::testing::TestParamInfo<FrameCase>& info) {
                           return info.param.scenario + std::to_string(info.param.bitDepth) + "In" +
                                  std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace grazefall::platform::sdl
