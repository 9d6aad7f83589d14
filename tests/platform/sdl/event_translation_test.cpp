// SDL's events against what the window system knows: which messages each one
// posts, to which windows, and what the system must note (focus, whole
// frames, the pointer crossing into a window).
#include "platform/sdl/event_translation.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/messages.h"

namespace grazefall::platform::sdl {
namespace {

constexpr WindowHandle kSaver = 0x10;
constexpr WindowHandle kXScreenSaverWindow = 0x20;
constexpr EventWindow kClosing{kSaver, InputPolicy::Closing};
constexpr EventWindow kIgnoring{kXScreenSaverWindow, InputPolicy::Ignored};

SDL_Event Typed(uint32_t type) {
  SDL_Event event{};
  event.type = type;
  return event;
}

SDL_Event WindowEvent(uint8_t what, int32_t data1 = 0, int32_t data2 = 0) {
  SDL_Event event = Typed(SDL_WINDOWEVENT);
  event.window.windowID = 3;
  event.window.event = what;
  event.window.data1 = data1;
  event.window.data2 = data2;
  return event;
}

SDL_Event Key(SDL_Keycode sym, uint16_t mod = KMOD_NONE) {
  SDL_Event event = Typed(SDL_KEYDOWN);
  event.key.windowID = 4;
  event.key.keysym.sym = sym;
  event.key.keysym.mod = mod;
  return event;
}

SDL_Event Button(uint8_t button, int32_t x, int32_t y) {
  SDL_Event event = Typed(SDL_MOUSEBUTTONDOWN);
  event.button.windowID = 5;
  event.button.button = button;
  event.button.x = x;
  event.button.y = y;
  return event;
}

SDL_Event Motion(int32_t x, int32_t y) {
  SDL_Event event = Typed(SDL_MOUSEMOTION);
  event.motion.windowID = 6;
  event.motion.x = x;
  event.motion.y = y;
  return event;
}

// Both windows live; the event is for `target`.
EventContext For(EventWindow target) {
  EventContext context;
  context.windows = {kClosing, kIgnoring};
  context.target = target;
  return context;
}

EventContext Focused(EventWindow target, bool staysOurs = false) {
  EventContext context = For(target);
  context.targetFocused = true;
  context.focusStaysOurs = staysOurs;
  return context;
}

EventContext Moved(EventWindow target, bool moved) {
  EventContext context = For(target);
  context.pointerMoved = moved;
  return context;
}

// No target: the event names no window of ours.
EventContext Live(std::vector<EventWindow> windows) {
  EventContext context;
  context.windows = std::move(windows);
  return context;
}

EventOutcome Outcome(std::vector<Message> posts, bool invalidate = false,
                     std::optional<bool> focused = std::nullopt, bool crossed = false) {
  EventOutcome outcome;
  outcome.posts = std::move(posts);
  outcome.invalidateTarget = invalidate;
  outcome.targetFocused = focused;
  outcome.pointerCrossed = crossed;
  return outcome;
}

struct Case {
  std::string name;
  SDL_Event event;
  EventContext context;
  EventOutcome expected;
};

// Failures name the case, not its bytes.
void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

constexpr intptr_t Packed(int32_t x, int32_t y) {
  return static_cast<intptr_t>(static_cast<uint32_t>(x) | (static_cast<uint32_t>(y) << 16));
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      Case{"quit closes every window", Typed(SDL_QUIT), For(kClosing),
           Outcome({{kSaver, kWmClose, 0, 0}, {kXScreenSaverWindow, kWmClose, 0, 0}})},
      Case{"background suspends the windows input closes", Typed(SDL_APP_WILLENTERBACKGROUND),
           Live({kClosing, kIgnoring}), Outcome({{kSaver, kWmPowerBroadcast, kPbtApmSuspend, 0}})},
      Case{"terminating suspends too", Typed(SDL_APP_TERMINATING), For(kIgnoring),
           Outcome({{kSaver, kWmPowerBroadcast, kPbtApmSuspend, 0}})},
      Case{"close request", WindowEvent(SDL_WINDOWEVENT_CLOSE), For(kIgnoring),
           Outcome({{kXScreenSaverWindow, kWmClose, 0, 0}})},
      Case{"window event of no window of ours", WindowEvent(SDL_WINDOWEVENT_CLOSE),
           Live({kClosing}), Outcome({})},
      Case{"focus gained is noted", WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), For(kClosing),
           Outcome({}, false, true)},
      Case{"focus lost after it was had", WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST),
           Focused(kClosing), Outcome({{kSaver, kWmActivateApp, 0, 0}}, false, false)},
      Case{"focus lost never had", WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST), For(kClosing),
           Outcome({}, false, false)},
      Case{"focus lost to another output's window", WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST),
           Focused(kClosing, true), Outcome({}, false, false)},
      Case{"focus lost where input is ignored", WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST),
           Focused(kIgnoring), Outcome({}, false, false)},
      Case{"exposed", WindowEvent(SDL_WINDOWEVENT_EXPOSED), For(kIgnoring),
           Outcome({{kXScreenSaverWindow, kWmPaint, 0, 0}}, true)},
      Case{"resized", WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 1280, 720), For(kClosing),
           Outcome({{kSaver, kWmSize, 0, Packed(1280, 720)}}, true)},
      Case{"pointer enters or leaves", WindowEvent(SDL_WINDOWEVENT_LEAVE), For(kClosing),
           Outcome({}, false, std::nullopt, true)},
      Case{"key", Key(SDLK_LSHIFT), For(kClosing), Outcome({{kSaver, kWmKeyDown, SDLK_LSHIFT, 0}})},
      Case{"key with alt", Key(SDLK_F4, KMOD_RALT), For(kClosing),
           Outcome({{kSaver, kWmSysKeyDown, static_cast<uintptr_t>(SDLK_F4), 0}})},
      Case{"key where input is ignored", Key(SDLK_a), For(kIgnoring), Outcome({})},
      Case{"key with no window of ours", Key(SDLK_a), Live({}), Outcome({})},
      Case{"left button", Button(SDL_BUTTON_LEFT, 3, 4), For(kClosing),
           Outcome({{kSaver, kWmLButtonDown, 0, Packed(3, 4)}})},
      Case{"right button", Button(SDL_BUTTON_RIGHT, 1279, 719), For(kClosing),
           Outcome({{kSaver, kWmRButtonDown, 0, Packed(1279, 719)}})},
      Case{"middle button", Button(SDL_BUTTON_MIDDLE, 0, 0), For(kClosing),
           Outcome({{kSaver, kWmMButtonDown, 0, 0}})},
      Case{"extra button counts as the left", Button(SDL_BUTTON_X1, 0, 0), For(kClosing),
           Outcome({{kSaver, kWmLButtonDown, 0, 0}})},
      Case{"button where input is ignored", Button(SDL_BUTTON_LEFT, 0, 0), For(kIgnoring),
           Outcome({})},
      Case{"pointer moved", Motion(10, 20), Moved(kClosing, true),
           Outcome({{kSaver, kWmMouseMove, 0, Packed(10, 20)}})},
      Case{"pointer only entered", Motion(10, 20), Moved(kClosing, false), Outcome({})},
      Case{"pointer moved where input is ignored", Motion(10, 20), Moved(kIgnoring, true),
           Outcome({})},
      Case{"negative window position keeps 16 bits", Motion(-1, 2), Moved(kClosing, true),
           Outcome({{kSaver, kWmMouseMove, 0, Packed(0xFFFF, 2)}})},
      Case{"events without a meaning here", Typed(SDL_KEYUP), For(kClosing), Outcome({})},
  };
  return cases;
}

class Translation : public ::testing::TestWithParam<Case> {};

TEST_P(Translation, PostsAndNotes) {
  const Case& c = GetParam();
  const EventOutcome outcome = TranslateEvent(c.event, c.context);
  ASSERT_EQ(outcome.posts.size(), c.expected.posts.size());
  for (size_t i = 0; i < c.expected.posts.size(); ++i) {
    EXPECT_EQ(outcome.posts[i].window, c.expected.posts[i].window) << i;
    EXPECT_EQ(outcome.posts[i].message, c.expected.posts[i].message) << i;
    EXPECT_EQ(outcome.posts[i].wParam, c.expected.posts[i].wParam) << i;
    EXPECT_EQ(outcome.posts[i].lParam, c.expected.posts[i].lParam) << i;
  }
  EXPECT_EQ(outcome.invalidateTarget, c.expected.invalidateTarget);
  EXPECT_EQ(outcome.targetFocused, c.expected.targetFocused);
  EXPECT_EQ(outcome.pointerCrossed, c.expected.pointerCrossed);
}

INSTANTIATE_TEST_SUITE_P(Events, Translation, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name;
                           for (char ch : info.param.name) name += std::isalnum(ch) ? ch : '_';
                           return name;
                         });

TEST(EventWindowId, NamesTheWindowOfWindowKeyButtonAndMotionEventsOnly) {
  EXPECT_EQ(EventWindowId(WindowEvent(SDL_WINDOWEVENT_CLOSE)), 3u);
  EXPECT_EQ(EventWindowId(Key(SDLK_a)), 4u);
  EXPECT_EQ(EventWindowId(Button(SDL_BUTTON_LEFT, 0, 0)), 5u);
  EXPECT_EQ(EventWindowId(Motion(0, 0)), 6u);
  SDL_Event keyUp = Key(SDLK_a);
  keyUp.type = SDL_KEYUP;
  EXPECT_EQ(EventWindowId(keyUp), 0u);
  EXPECT_EQ(EventWindowId(Typed(SDL_QUIT)), 0u);
  EXPECT_TRUE(IsPointerMotion(Motion(0, 0)));
  EXPECT_FALSE(IsPointerMotion(Button(SDL_BUTTON_LEFT, 0, 0)));
}

}  // namespace
}  // namespace grazefall::platform::sdl
