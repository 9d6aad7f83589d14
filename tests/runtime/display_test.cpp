#include "runtime/display.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "platform/headless/headless_platform.h"

namespace grazefall {
namespace {

using platform::DisplayMode;
using platform::kOk;
using platform::Rect;

class DisplayOnHeadless : public ::testing::Test {
 protected:
  bool open(int32_t width, int32_t height, int32_t bitDepth) {
    display.width = width;
    display.height = height;
    display.bitDepth = bitDepth;
    return OpenDisplay(display, headless, 1);
  }

  platform::HeadlessPlatform headless;
  Display display;
};

TEST_F(DisplayOnHeadless, OpensInTheAskedModeWithClearedClippedBuffers) {
  ASSERT_TRUE(open(800, 600, 32));
  ASSERT_NE(display.directDraw, nullptr);
  ASSERT_NE(display.primary, nullptr);
  ASSERT_NE(display.backBuffer, nullptr);
  EXPECT_EQ(display.backBuffer->width(), 800);
  EXPECT_EQ(display.backBuffer->height(), 600);
  EXPECT_EQ(display.backBuffer->bitDepth(), 32);
  EXPECT_EQ(display.backBuffer->getPixel(799, 599), platform::Rgb(0, 0, 0));
  EXPECT_EQ(display.primary->getPixel(0, 0), platform::Rgb(0, 0, 0));

  // A picture drawn half off the left edge lands only on the visible part.
  auto picture = display.directDraw->createOffscreen(10, 4);
  ASSERT_NE(picture, nullptr);
  picture->fill(0x00FFFFFFu);
  EXPECT_EQ(display.backBuffer->blit(Rect{-5, 0, 5, 4}, *picture, Rect{0, 0, 10, 4}, false), kOk);
  EXPECT_EQ(display.backBuffer->getPixel(0, 0), platform::Rgb(255, 255, 255));
  EXPECT_EQ(display.backBuffer->getPixel(4, 3), platform::Rgb(255, 255, 255));
  EXPECT_EQ(display.backBuffer->getPixel(5, 0), platform::Rgb(0, 0, 0));

  ReleaseDisplaySurfaces(display);
  EXPECT_EQ(display.backBuffer, nullptr);
  EXPECT_EQ(display.primary, nullptr);
  EXPECT_NE(display.directDraw, nullptr);
}

TEST_F(DisplayOnHeadless, FailsWithoutFallbackForAModeTheDisplayRefuses) {
  headless.setOfferedModes({DisplayMode{800, 600, 16}});
  EXPECT_FALSE(open(800, 600, 24));
  EXPECT_NE(display.directDraw, nullptr);  // what was made before the failure stays
  EXPECT_EQ(display.primary, nullptr);
  EXPECT_EQ(display.backBuffer, nullptr);
  // The next attempt starts again from the beginning.
  EXPECT_TRUE(open(800, 600, 16));
  EXPECT_NE(display.backBuffer, nullptr);
}

TEST_F(DisplayOnHeadless, FailsWhenNoDriverObjectCanBeMade) {
  headless.failDisplayCreations(1);
  EXPECT_FALSE(open(800, 600, 16));
  EXPECT_EQ(display.directDraw, nullptr);
  EXPECT_TRUE(open(800, 600, 16));
}

TEST_F(DisplayOnHeadless, ClipListNeedsADriverObject) {
  auto surface = headless.createDisplayDevice()->createOffscreen(8, 8);
  ASSERT_NE(surface, nullptr);
  const std::array<Rect, 1> all{Rect{0, 0, 8, 8}};
  Display empty;
  EXPECT_FALSE(AttachClipList(empty, *surface, all));
  ASSERT_TRUE(open(800, 600, 16));
  EXPECT_TRUE(AttachClipList(display, *surface, all));
}

// The display's own driver object, except that it refuses the first
// `refusals` flips, and counts every flip asked of it.
class RefusingFlips : public platform::DisplayDevice {
 public:
  RefusingFlips(std::unique_ptr<platform::DisplayDevice> inner, int32_t refusals)
      : inner_(std::move(inner)), refusals_(refusals) {}

  int32_t flipsAsked = 0;

  int32_t takeFullScreen(platform::WindowHandle window) override {
    return inner_->takeFullScreen(window);
  }
  int32_t setMode(const DisplayMode& mode) override { return inner_->setMode(mode); }
  std::unique_ptr<platform::Surface> createPrimary() override { return inner_->createPrimary(); }
  std::unique_ptr<platform::Surface> backBufferOf(platform::Surface& primary) override {
    return inner_->backBufferOf(primary);
  }
  int32_t flip(platform::Surface& primary) override {
    ++flipsAsked;
    if (refusals_ > 0) {
      --refusals_;
      return platform::kEFail;
    }
    return inner_->flip(primary);
  }
  std::unique_ptr<platform::Surface> createOffscreen(int32_t width, int32_t height) override {
    return inner_->createOffscreen(width, height);
  }
  bool currentMode(DisplayMode* mode) override { return inner_->currentMode(mode); }
  bool listModes(std::vector<DisplayMode>* modes) override { return inner_->listModes(modes); }

 private:
  std::unique_ptr<platform::DisplayDevice> inner_;
  int32_t refusals_;
};

TEST_F(DisplayOnHeadless, PresentAsksTheFlipAgainAtMostFourTimes) {
  struct Case {
    int32_t refusals;
    int32_t flipsAsked;
    int64_t shown;
  };
  for (const Case& c : {Case{0, 1, 1}, Case{3, 4, 1}, Case{4, 4, 0}, Case{100, 4, 0}}) {
    ASSERT_TRUE(open(800, 600, 16));
    auto refusing = std::make_unique<RefusingFlips>(std::move(display.directDraw), c.refusals);
    RefusingFlips& device = *refusing;
    display.directDraw = std::move(refusing);
    const int64_t before = headless.presentedFrames();
    PresentFrame(display);
    EXPECT_EQ(device.flipsAsked, c.flipsAsked) << "refusals " << c.refusals;
    EXPECT_EQ(headless.presentedFrames() - before, c.shown) << "refusals " << c.refusals;
    ReleaseDisplaySurfaces(display);
    display.directDraw.reset();
  }
}

TEST_F(DisplayOnHeadless, PresentWithoutAPrimaryAsksNoFlip) {
  ASSERT_TRUE(open(800, 600, 16));
  auto refusing = std::make_unique<RefusingFlips>(std::move(display.directDraw), 0);
  RefusingFlips& device = *refusing;
  display.directDraw = std::move(refusing);
  display.primary.reset();
  PresentFrame(display);
  EXPECT_EQ(device.flipsAsked, 0);
  EXPECT_EQ(headless.presentedFrames(), 0);
}

// --- Input devices ---

class InputOnHeadless : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(OpenInputDevices(input, headless, 1)); }
  void TearDown() override { ReleaseInputDevices(input); }

  platform::MouseState moved(int32_t x, int32_t y) {
    platform::MouseState state;
    state.lX = x;
    state.lY = y;
    return state;
  }
  platform::MouseState pressed(int button) {
    platform::MouseState state;
    state.buttons[static_cast<size_t>(button)] = 0x80;
    return state;
  }

  platform::HeadlessPlatform headless;
  InputDevices input;
};

TEST_F(InputOnHeadless, EscapeIsTheOnlyKeyThatInterrupts) {
  EXPECT_FALSE(UserInterrupted(input));
  headless.setKeyDown(0x1C, true);  // Enter
  headless.setKeyDown(0x39, true);  // Space
  EXPECT_FALSE(UserInterrupted(input));
  headless.setKeyDown(platform::kScanEscape, true);
  EXPECT_TRUE(UserInterrupted(input));
  headless.setKeyDown(platform::kScanEscape, false);
  EXPECT_FALSE(UserInterrupted(input));
}

TEST_F(InputOnHeadless, FirstThreeMouseButtonsInterruptTheFourthDoesNot) {
  for (int button = 0; button < 3; ++button) {
    headless.queueMouseState(pressed(button));
    EXPECT_TRUE(UserInterrupted(input)) << "button " << button;
  }
  headless.queueMouseState(pressed(3));
  EXPECT_FALSE(UserInterrupted(input));
}

TEST_F(InputOnHeadless, OnlyMovementOfMoreThanFiveRightOrDownInterrupts) {
  struct Case {
    int32_t x, y, expected;
  };
  const Case cases[] = {{6, 0, 1},   {0, 6, 1},   {5, 0, 0},        {0, 5, 0},
                        {5, 5, 0},   {-6, 0, 0},  {0, -6, 0},       {-1000, -1000, 0},
                        {-50, 6, 1}, {6, -50, 1}, {INT32_MIN, 0, 0}};
  for (const Case& c : cases) {
    headless.queueMouseState(moved(c.x, c.y));
    EXPECT_EQ(UserInterrupted(input), c.expected != 0) << c.x << ", " << c.y;
  }
}

TEST(InputDevicesOpen, FailsWhenNoInputObjectCanBeMade) {
  platform::HeadlessPlatform headless;
  headless.failInputCreations(1);
  InputDevices input;
  EXPECT_FALSE(OpenInputDevices(input, headless, 1));
  EXPECT_EQ(input.keyboard, nullptr);
  EXPECT_TRUE(OpenInputDevices(input, headless, 1));
  EXPECT_NE(input.keyboard, nullptr);
  EXPECT_NE(input.mouse, nullptr);
}

// A device whose reads and acquisition a test scripts.
class ScriptedDevice : public platform::InputDevice {
 public:
  int32_t setCooperativeLevel(platform::WindowHandle) override { return kOk; }
  int32_t setStandardFormat() override { return kOk; }
  int32_t acquire() override { return kOk; }
  int32_t unacquire() override {
    ++*unacquires;
    return kOk;
  }
  int32_t readKeyboard(platform::KeyboardState* state) override {
    state->fill(0x80);  // every key down, even when the read then fails
    return readResult;
  }
  int32_t readMouse(platform::MouseState* state) override {
    *state = mouse;
    return readResult;
  }

  int32_t readResult = kOk;
  platform::MouseState mouse;
  int* unacquires = nullptr;
};

class ScriptedInput : public platform::InputSystem {
 public:
  std::unique_ptr<platform::InputDevice> createDevice(platform::InputKind) override {
    auto device = std::make_unique<ScriptedDevice>();
    device->unacquires = &unacquires;
    return device;
  }
  int unacquires = 0;
};

TEST(UserInterrupted, AFailedKeyboardReadStillReadsTheMouse) {
  ScriptedInput system;
  InputDevices input;
  input.keyboard = system.createDevice(platform::InputKind::Keyboard);
  input.mouse = system.createDevice(platform::InputKind::Mouse);
  auto& keyboard = static_cast<ScriptedDevice&>(*input.keyboard);
  auto& mouse = static_cast<ScriptedDevice&>(*input.mouse);

  keyboard.readResult = platform::kEFail;  // its bytes say Escape, but the read failed
  EXPECT_FALSE(UserInterrupted(input));
  mouse.mouse.buttons[1] = 0x80;
  EXPECT_TRUE(UserInterrupted(input));
  // A failed mouse read counts as untouched, whatever its state holds.
  mouse.readResult = platform::kEFail;
  EXPECT_FALSE(UserInterrupted(input));
  // Missing devices are untouched too.
  EXPECT_FALSE(UserInterrupted(*std::make_unique<InputDevices>()));
}

TEST(ReleaseInputDevices, UnacquiresBothDevicesAndKeepsTheInputObject) {
  InputDevices input;
  auto system = std::make_unique<ScriptedInput>();
  ScriptedInput* raw = system.get();
  input.directInput = std::move(system);
  input.keyboard = raw->createDevice(platform::InputKind::Keyboard);
  input.mouse = raw->createDevice(platform::InputKind::Mouse);
  ReleaseInputDevices(input);
  EXPECT_EQ(raw->unacquires, 2);
  EXPECT_EQ(input.keyboard, nullptr);
  EXPECT_EQ(input.mouse, nullptr);
  EXPECT_NE(input.directInput, nullptr);
  ReleaseInputDevices(input);  // nothing left to release
  EXPECT_EQ(raw->unacquires, 2);
}

}  // namespace
}  // namespace grazefall
