// The in-memory platform: display modes and flips, scripted input, the
// clock and cursor, resources and failure injection.
#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_windowing.h"
#include "resources/bitmap_resources.h"

namespace grazefall::platform {
namespace {

constexpr ColorRef kRed = Rgb(255, 0, 0);

TEST(HeadlessDisplay, OffersTheCurrentResolutionInEveryDepthByDefault) {
  HeadlessPlatform platform;
  platform.setCurrentMode({640, 480, 32});
  auto display = platform.createDisplayDevice();
  ASSERT_TRUE(display);
  std::vector<DisplayMode> modes;
  ASSERT_TRUE(display->listModes(&modes));
  EXPECT_EQ(modes, (std::vector<DisplayMode>{
                       {640, 480, 8}, {640, 480, 16}, {640, 480, 24}, {640, 480, 32}}));
  DisplayMode current;
  ASSERT_TRUE(display->currentMode(&current));
  EXPECT_EQ(current, (DisplayMode{640, 480, 32}));
}

TEST(HeadlessDisplay, SetModeRefusesModesNotOfferedAndShapesSurfaces) {
  HeadlessPlatform platform;
  platform.setOfferedModes({{320, 200, 8}, {1024, 768, 24}});
  auto display = platform.createDisplayDevice();
  EXPECT_NE(display->setMode({800, 600, 16}), kOk);
  EXPECT_NE(display->setMode({1024, 768, 16}), kOk);
  ASSERT_EQ(display->setMode({1024, 768, 24}), kOk);
  DisplayMode current;
  ASSERT_TRUE(display->currentMode(&current));
  EXPECT_EQ(current, (DisplayMode{1024, 768, 24}));
  auto primary = display->createPrimary();
  ASSERT_TRUE(primary);
  EXPECT_EQ(primary->width(), 1024);
  EXPECT_EQ(primary->height(), 768);
  EXPECT_EQ(primary->bitDepth(), 24);
  auto offscreen = display->createOffscreen(18, 13);
  ASSERT_TRUE(offscreen);
  EXPECT_EQ(offscreen->bitDepth(), 24);
  EXPECT_EQ(offscreen->width(), 18);
  EXPECT_FALSE(display->createOffscreen(0, 13));
}

TEST(HeadlessDisplay, FlipPresentsTheBackBufferToTheObserver) {
  HeadlessPlatform platform;
  platform.setCurrentMode({8, 6, 16});
  std::vector<int64_t> seen;
  ColorRef seenPixel = 0;
  platform.setFrameObserver([&](const Surface& frame, int64_t number) {
    seen.push_back(number);
    seenPixel = frame.getPixel(3, 2);
  });
  auto display = platform.createDisplayDevice();
  ASSERT_EQ(display->setMode({8, 6, 16}), kOk);
  auto primary = display->createPrimary();
  auto back = display->backBufferOf(*primary);
  ASSERT_TRUE(back);
  EXPECT_TRUE(platform.lastPresentedFrame().pixels.empty());

  back->setPixel(3, 2, kRed);
  // Nothing shows before the flip.
  EXPECT_EQ(primary->getPixel(3, 2), Rgb(0, 0, 0));
  ASSERT_EQ(display->flip(*primary), kOk);
  EXPECT_EQ(primary->getPixel(3, 2), kRed);
  back->setPixel(3, 2, Rgb(0, 0, 255));
  ASSERT_EQ(display->flip(*primary), kOk);

  EXPECT_EQ(seen, (std::vector<int64_t>{1, 2}));
  EXPECT_EQ(seenPixel, Rgb(0, 0, 255));
  EXPECT_EQ(platform.presentedFrames(), 2);
  // The last frame stays readable after the surfaces are gone.
  back.reset();
  primary.reset();
  display.reset();
  const Picture frame = platform.lastPresentedFrame();
  ASSERT_EQ(frame.width, 8);
  ASSERT_EQ(frame.height, 6);
  EXPECT_EQ(frame.at(3, 2), Rgb(0, 0, 255));
  EXPECT_EQ(frame.at(0, 0), Rgb(0, 0, 0));
}

TEST(HeadlessDisplay, OnlyAPrimaryHasABackBufferAndFlips) {
  HeadlessPlatform platform;
  auto display = platform.createDisplayDevice();
  auto offscreen = display->createOffscreen(4, 4);
  EXPECT_FALSE(display->backBufferOf(*offscreen));
  EXPECT_NE(display->flip(*offscreen), kOk);
  EXPECT_EQ(platform.presentedFrames(), 0);
}

TEST(HeadlessFailures, CreationsFailTheAskedNumberOfTimes) {
  HeadlessPlatform platform;
  platform.failDisplayCreations(2);
  platform.failInputCreations(1);
  EXPECT_FALSE(platform.createDisplayDevice());
  EXPECT_FALSE(platform.createDisplayDevice());
  EXPECT_TRUE(platform.createDisplayDevice());
  EXPECT_FALSE(platform.createInputSystem());
  EXPECT_TRUE(platform.createInputSystem());
}

TEST(HeadlessInput, KeyboardAndMouseReturnWhatTheTestScripted) {
  HeadlessPlatform platform;
  auto input = platform.createInputSystem();
  auto keyboard = input->createDevice(InputKind::Keyboard);
  auto mouse = input->createDevice(InputKind::Mouse);
  KeyboardState keys{};
  MouseState moved;
  // Not acquired yet: reads fail.
  EXPECT_NE(keyboard->readKeyboard(&keys), kOk);
  ASSERT_EQ(keyboard->acquire(), kOk);
  ASSERT_EQ(mouse->acquire(), kOk);

  platform.setKeyDown(kScanEscape, true);
  platform.setKeyDown(300, true);  // no such key: ignored
  ASSERT_EQ(keyboard->readKeyboard(&keys), kOk);
  EXPECT_EQ(keys[kScanEscape], 0x80);
  EXPECT_EQ(keys[2], 0);
  platform.setKeyDown(kScanEscape, false);
  keyboard->readKeyboard(&keys);
  EXPECT_EQ(keys[kScanEscape], 0);

  MouseState first;
  first.lX = 6;
  first.buttons[2] = 0x80;
  MouseState second;
  second.lY = -3;
  platform.queueMouseState(first);
  platform.queueMouseState(second);
  ASSERT_EQ(mouse->readMouse(&moved), kOk);
  EXPECT_EQ(moved.lX, 6);
  EXPECT_EQ(moved.buttons[2], 0x80);
  ASSERT_EQ(mouse->readMouse(&moved), kOk);
  EXPECT_EQ(moved.lY, -3);
  EXPECT_EQ(moved.buttons[2], 0);
  ASSERT_EQ(mouse->readMouse(&moved), kOk);
  EXPECT_EQ(moved.lX, 0);
  EXPECT_EQ(moved.lY, 0);
  // A keyboard is not a mouse.
  EXPECT_NE(keyboard->readMouse(&moved), kOk);
  mouse->unacquire();
  EXPECT_NE(mouse->readMouse(&moved), kOk);
}

TEST(HeadlessServices, ClockSleepCursorAndDebugLines) {
  HeadlessPlatform platform;
  EXPECT_EQ(platform.clock().tickCount(), 0u);
  platform.advanceTicks(0xFFFFFFF0u);
  platform.advanceTicks(0x20u);
  EXPECT_EQ(platform.clock().tickCount(), 0x10u);  // wraps at 2^32
  platform.clock().sleepMs(100);
  platform.clock().sleepMs(5);
  EXPECT_EQ(platform.totalSleptMs(), 105u);
  EXPECT_EQ(platform.clock().tickCount(), 0x10u);
  platform.setTimeSeconds(1234567);
  EXPECT_EQ(platform.clock().timeSeconds(), 1234567);
  EXPECT_EQ(platform.cursor().show(false), -1);
  EXPECT_EQ(platform.cursor().show(false), -2);
  EXPECT_EQ(platform.cursor().show(true), -1);
  EXPECT_EQ(platform.cursorCount(), -1);
  platform.debugOutput("createcompatible dc failed\n");
  ASSERT_EQ(platform.debugLines().size(), 1u);
  EXPECT_EQ(platform.debugLines()[0], "createcompatible dc failed\n");
}

TEST(HeadlessServices, PlatformHandsOutTheWindowSystemsScriptedClockAndCursor) {
  HeadlessPlatform platform;
  HeadlessWindowSystem windows;
  platform.useClockAndCursor(windows.clock(), windows.cursor());
  EXPECT_EQ(platform.clock().tickCount(), 1000u);
  windows.advance(250);
  EXPECT_EQ(platform.clock().tickCount(), 1250u);
  windows.setCursor(12, -7);
  EXPECT_EQ(platform.cursor().position(), (Point{12, -7}));
  platform.cursor().hideImage();
  platform.cursor().hideImage();
  EXPECT_EQ(windows.cursorHides(), 2);
  platform.advanceTicks(50);
  EXPECT_EQ(windows.clock().tickCount(), 1300u);

  // A fresh window system in the same place is what the platform reads.
  windows = HeadlessWindowSystem();
  EXPECT_EQ(platform.clock().tickCount(), 1000u);
  EXPECT_EQ(platform.cursor().position(), (Point{0, 0}));

  platform.useOwnClockAndCursor();
  EXPECT_EQ(platform.clock().tickCount(), 0u);
  windows.setCursor(3, 4);
  EXPECT_EQ(platform.cursor().position(), (Point{0, 0}));
}

TEST(HeadlessResources, PlantedPicturesComeFirstThenTheProgramsOwn) {
  HeadlessPlatform platform;
  Picture planted;
  planted.width = 1;
  planted.height = 1;
  planted.pixels = {kRed};
  platform.addResourcePicture(99999, planted);
  auto loaded = platform.loadResourcePicture(99999);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->pixels, planted.pixels);
  EXPECT_FALSE(platform.loadResourcePicture(-12345));
  // Every bitmap compiled into the program decodes.
  for (const int32_t id : resources::BitmapIds()) {
    const auto picture = platform.loadResourcePicture(id);
    ASSERT_TRUE(picture) << "resource " << id;
    EXPECT_GT(picture->width, 0);
  }
  EXPECT_FALSE(platform.loadPictureFile("/nonexistent/picture.bmp"));
}

}  // namespace
}  // namespace grazefall::platform
