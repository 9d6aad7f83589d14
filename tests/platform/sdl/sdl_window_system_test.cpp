// The SDL window system on SDL's dummy video driver: messages from SDL's
// events, the timer's single pending tick, closing, and presentation.
#include <SDL.h>
#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "platform/messages.h"
#include "platform/sdl/sdl_display_device.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_window_system.h"
#include "platform/software/software_surface.h"

namespace grazefall::platform::sdl {
namespace {

std::vector<Message> received;

MessageResult Record(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  received.push_back(Message{window, message, wParam, lParam});
  return 0;
}

class SdlWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    received.clear();
    std::string error;
    ASSERT_TRUE(windows.open(&error)) << error;
    ASSERT_TRUE(windows.registerClass("WindowsScreenSaverClass", Record));
    WindowSpec spec;
    spec.className = "WindowsScreenSaverClass";
    spec.title = "Screen Saver";
    spec.bounds = windows.virtualScreen();
    window = windows.createWindow(spec);
    ASSERT_NE(window, 0u);
    // Whatever SDL reported while the window appeared.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }

  // The next message that is not a paint or a size change.
  Message Next() {
    Message message;
    for (;;) {
      EXPECT_TRUE(windows.getMessage(&message));
      if (message.message != kWmPaint && message.message != kWmSize) return message;
    }
  }

  void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }
  uint32_t SdlId() { return SDL_GetWindowID(windows.sdlWindowOf(window)); }

  SdlWindowSystem windows;
  WindowHandle window = 0;
};

TEST_F(SdlWindows, CreationIsAnnouncedAndTheWindowIsFound) {
  ASSERT_FALSE(received.empty());
  EXPECT_EQ(received.front().message, kWmCreate);
  EXPECT_EQ(windows.findWindow("WindowsScreenSaverClass", "Screen Saver"), window);
  EXPECT_EQ(windows.findWindow("WindowsScreenSaverClass", "Preview"), 0u);
  EXPECT_TRUE(windows.isWindow(window));
  int32_t width = 0;
  int32_t height = 0;
  ASSERT_TRUE(windows.clientSize(window, &width, &height));
  EXPECT_EQ(width, windows.virtualScreen().width());
  EXPECT_EQ(height, windows.virtualScreen().height());
}

TEST_F(SdlWindows, InputBecomesTheHostsMessages) {
  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.windowID = SdlId();
  key.key.keysym.sym = SDLK_LSHIFT;
  Push(key);
  SDL_Event button{};
  button.type = SDL_MOUSEBUTTONDOWN;
  button.button.windowID = SdlId();
  button.button.button = SDL_BUTTON_MIDDLE;
  Push(button);
  SDL_Event altKey = key;
  altKey.key.keysym.mod = KMOD_LALT;
  Push(altKey);
  EXPECT_EQ(Next().message, kWmKeyDown);
  EXPECT_EQ(Next().message, kWmMButtonDown);
  EXPECT_EQ(Next().message, kWmSysKeyDown);
}

TEST_F(SdlWindows, FocusLostIsAnotherApplicationOnlyAfterFocusWasHad) {
  SDL_Event focus{};
  focus.type = SDL_WINDOWEVENT;
  focus.window.windowID = SdlId();
  focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  Push(focus);
  focus.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  Push(focus);
  focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  Push(focus);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  Push(quit);
  const Message first = Next();
  EXPECT_EQ(first.message, kWmActivateApp);
  EXPECT_EQ(first.wParam, 0u);
  EXPECT_EQ(Next().message, kWmClose);
}

TEST_F(SdlWindows, PostedMessagesComeBeforeTicksAndOnlyOneTickWaits) {
  ASSERT_EQ(windows.setTimer(window, 1, 10), 1u);
  SDL_Delay(60);
  windows.postMessage(window, kWmKeyDown, 1, 0);
  windows.postMessage(window, kWmLButtonDown, 2, 0);
  EXPECT_EQ(Next().message, kWmKeyDown);
  EXPECT_EQ(Next().message, kWmLButtonDown);
  const uint32_t before = SDL_GetTicks();
  EXPECT_EQ(Next().message, kWmTimer);
  // The 60 ms of missed ticks were not queued: the next one waits its turn.
  const Message tick = Next();
  EXPECT_EQ(tick.message, kWmTimer);
  EXPECT_EQ(tick.wParam, 1u);
  EXPECT_GE(SDL_GetTicks() - before, 9u);
  windows.killTimer(window, 1);
  windows.postMessage(window, kWmClose, 0, 0);
  EXPECT_EQ(Next().message, kWmClose);
}

TEST_F(SdlWindows, CloseDestroysAndTheLoopEndsWithTheQuitCode) {
  received.clear();
  windows.defaultWindowProc(window, kWmClose, 0, 0);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, kWmDestroy);
  EXPECT_FALSE(windows.isWindow(window));
  EXPECT_FALSE(windows.postMessage(window, kWmKeyDown, 0, 0));
  windows.postQuitMessage(7);
  Message message;
  EXPECT_FALSE(windows.getMessage(&message));
  EXPECT_EQ(message.message, kWmQuit);
  EXPECT_EQ(message.wParam, 7u);
}

TEST_F(SdlWindows, FrameIsScaledIntoTheWindowWithBlackBars) {
  const Rect screen = windows.virtualScreen();
  // Twice as wide for its height as the screen: bars above and below.
  const int32_t frameWidth = screen.width() / 2;
  const int32_t frameHeight = screen.height() / 8;
  SdlDisplayDevice device(windows, false);
  ASSERT_EQ(device.takeFullScreen(window), kOk);
  ASSERT_EQ(device.setMode(DisplayMode{screen.width(), screen.height(), 16}), kOk);
  auto frame = software::SoftwareSurface::Create(frameWidth, frameHeight, 32);
  ASSERT_TRUE(frame);
  frame->fill(0x00FF8000);  // orange
  ASSERT_EQ(windows.presentFrame(window, frame->sdlSurface()), kOk);

  SDL_Surface* shown = SDL_GetWindowSurface(windows.sdlWindowOf(window));
  ASSERT_NE(shown, nullptr);
  auto readPixel = [&](int x, int y) {
    uint32_t pixel = 0;
    SDL_Surface* one = SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_RGB888);
    SDL_Rect at{x, y, 1, 1};
    EXPECT_EQ(SDL_BlitSurface(shown, &at, one, nullptr), 0);
    pixel = *static_cast<uint32_t*>(one->pixels);
    SDL_FreeSurface(one);
    return pixel & 0x00FFFFFFu;
  };
  const int barHeight = (screen.height() - frameHeight * 2) / 2;
  EXPECT_EQ(readPixel(5, 5), 0u);
  EXPECT_EQ(readPixel(5, barHeight + 2), 0x00FF8000u);
  EXPECT_EQ(readPixel(screen.width() - 3, screen.height() / 2), 0x00FF8000u);
  EXPECT_EQ(readPixel(5, screen.height() - 3), 0u);
}

// The herd is seeded from the clock of the day: held (GRAZEFALL_SEED), it
// reads that second; otherwise the time.
TEST_F(SdlWindows, AHeldClockOfTheDayReadsTheSameSecondInEveryRun) {
  SdlPlatformOptions held;
  held.heldTime = 5;
  EXPECT_EQ(SdlPlatform(windows, held).clock().timeSeconds(), 5);
  EXPECT_NEAR(static_cast<double>(SdlPlatform(windows, {}).clock().timeSeconds()),
              static_cast<double>(std::time(nullptr)), 2.0);
}

TEST_F(SdlWindows, DisplayListsItsResolutionsAndTakesAnyModeItCanScale) {
  SdlDisplayDevice device(windows, false);
  std::vector<DisplayMode> modes;
  ASSERT_TRUE(device.listModes(&modes));
  ASSERT_FALSE(modes.empty());
  DisplayMode current;
  ASSERT_TRUE(device.currentMode(&current));
  for (int32_t depth : {8, 16, 24, 32}) {
    EXPECT_EQ(device.setMode(DisplayMode{modes[0].width, modes[0].height, depth}), kOk);
  }
  EXPECT_NE(device.setMode(DisplayMode{modes[0].width, modes[0].height, 15}), kOk);
  // Modes the display never listed are drawn in memory and scaled all the
  // same, up to the largest side a mode may have.
  for (const DisplayMode& unlisted :
       {DisplayMode{modes[0].width + 1, modes[0].height, 16}, DisplayMode{640, 480, 8},
        DisplayMode{1280, 1024, 32}, DisplayMode{kMaxModeSide, kMaxModeSide, 24}}) {
    EXPECT_EQ(device.setMode(unlisted), kOk) << unlisted.width << "x" << unlisted.height;
    DisplayMode set;
    ASSERT_TRUE(device.currentMode(&set));
    EXPECT_EQ(set, unlisted);
  }
  EXPECT_NE(device.setMode(DisplayMode{kMaxModeSide + 1, 600, 16}), kOk);
  EXPECT_NE(device.setMode(DisplayMode{800, 0, 16}), kOk);
  EXPECT_NE(device.setMode(DisplayMode{800, 600, 0}), kOk);
}

TEST(ModesAtEveryDepth, EachResolutionOnceAtEachDepthInOrder) {
  const auto modes = ModesAtEveryDepth(
      {DisplayMode{800, 600, 0}, DisplayMode{640, 480, 0}, DisplayMode{800, 600, 0}});
  ASSERT_EQ(modes.size(), 8u);
  EXPECT_EQ(modes[0], (DisplayMode{800, 600, 8}));
  EXPECT_EQ(modes[3], (DisplayMode{800, 600, 32}));
  EXPECT_EQ(modes[4], (DisplayMode{640, 480, 8}));
}

TEST(ScanCodeOf, KeysTheStartWatchesHaveTheirPcCodes) {
  EXPECT_EQ(ScanCodeOf(SDL_SCANCODE_ESCAPE), 0x01);
  EXPECT_EQ(ScanCodeOf(SDL_SCANCODE_1), 0x02);
  EXPECT_EQ(ScanCodeOf(SDL_SCANCODE_0), 0x0B);
  EXPECT_EQ(ScanCodeOf(SDL_SCANCODE_F13), 0);
}

}  // namespace
}  // namespace grazefall::platform::sdl
