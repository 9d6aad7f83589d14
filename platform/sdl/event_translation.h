// SDL's events turned into the host's messages, as a function of the event
// and of what the window system knows about its windows at that moment: no
// SDL call, no state of its own. What the window system must note besides
// posting (a window's focus, its frames to go whole, the pointer crossing
// into a window) comes back with the messages.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/windowing.h"

union SDL_Event;

namespace grazefall::platform::sdl {

// How a window of ours treats input.
enum class InputPolicy {
  // Keys, buttons, motion and focus become the host's closing messages.
  Closing,
  // Input is left alone (XScreenSaver owns it, or an ordinary window); only
  // a close request from the window manager or SIGTERM ends the saver.
  Ignored,
};

// A live window of ours, as the translation needs it.
struct EventWindow {
  WindowHandle handle = 0;
  InputPolicy input = InputPolicy::Closing;
};

// What the window system knows when an event comes.
struct EventContext {
  // Every live window of ours.
  std::vector<EventWindow> windows;
  // The window the event is for (the one whose SDL window it names, else
  // the first one: keyboard events without a focus window go to the saver).
  std::optional<EventWindow> target;
  // The target had the keyboard focus.
  bool targetFocused = false;
  // The keyboard focus is now in another of the target's windows (another
  // output's): the target's focus went to ourselves, not to another program.
  bool focusStaysOurs = false;
  // For a pointer motion: the pointer really moved (SDL reports the pointer
  // entering a window as motion too).
  bool pointerMoved = false;
};

struct EventOutcome {
  // Messages to post, in order.
  std::vector<Message> posts;
  // The target's contents are no longer the last frame shown.
  bool invalidateTarget = false;
  // The target's keyboard focus from now on, when the event changes it.
  std::optional<bool> targetFocused;
  // The pointer came into a window or left one.
  bool pointerCrossed = false;
};

// The SDL window id that an event names; 0 for none (quit, the application
// going to the background, events this translation ignores).
uint32_t EventWindowId(const SDL_Event& event);
// Whether the event is a pointer motion, whose move the caller measures
// (EventContext::pointerMoved).
bool IsPointerMotion(const SDL_Event& event);

EventOutcome TranslateEvent(const SDL_Event& event, const EventContext& context);

// The system, or the application, going to sleep: a suspend broadcast to
// each window that input closes.
std::vector<Message> SuspendMessages(const std::vector<EventWindow>& windows);

}  // namespace grazefall::platform::sdl
