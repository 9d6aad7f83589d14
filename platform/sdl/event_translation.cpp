#include "platform/sdl/event_translation.h"

#include <SDL.h>

#include "platform/messages.h"

namespace grazefall::platform::sdl {
namespace {

intptr_t PackPosition(int32_t x, int32_t y) {
  return static_cast<intptr_t>((static_cast<uint32_t>(x) & 0xFFFFu) |
                               ((static_cast<uint32_t>(y) & 0xFFFFu) << 16));
}

uint32_t ButtonMessage(uint8_t button) {
  if (button == SDL_BUTTON_RIGHT) return kWmRButtonDown;
  if (button == SDL_BUTTON_MIDDLE) return kWmMButtonDown;
  return kWmLButtonDown;
}

void TranslateWindowEvent(const SDL_WindowEvent& event, const EventContext& context,
                          EventOutcome* outcome) {
  const WindowHandle handle = context.target->handle;
  switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
      outcome->posts.push_back(Message{handle, kWmClose, 0, 0});
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      outcome->targetFocused = true;
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // Only a focus the window really had can be lost to another
      // application; on another output's window it is still ours.
      if (context.targetFocused && context.target->input == InputPolicy::Closing &&
          !context.focusStaysOurs) {
        outcome->posts.push_back(Message{handle, kWmActivateApp, 0, 0});
      }
      outcome->targetFocused = false;
      break;
    case SDL_WINDOWEVENT_ENTER:
    case SDL_WINDOWEVENT_LEAVE:
      outcome->pointerCrossed = true;
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      outcome->invalidateTarget = true;
      outcome->posts.push_back(Message{handle, kWmPaint, 0, 0});
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      outcome->invalidateTarget = true;
      outcome->posts.push_back(Message{handle, kWmSize, 0, PackPosition(event.data1, event.data2)});
      break;
    default:
      break;
  }
}

}  // namespace

uint32_t EventWindowId(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      return event.window.windowID;
    case SDL_KEYDOWN:
      return event.key.windowID;
    case SDL_MOUSEBUTTONDOWN:
      return event.button.windowID;
    case SDL_MOUSEMOTION:
      return event.motion.windowID;
    default:
      return 0;
  }
}

bool IsPointerMotion(const SDL_Event& event) {
  return event.type == SDL_MOUSEMOTION;
}

std::vector<Message> SuspendMessages(const std::vector<EventWindow>& windows) {
  std::vector<Message> messages;
  for (const EventWindow& window : windows) {
    if (window.input == InputPolicy::Closing) {
      messages.push_back(Message{window.handle, kWmPowerBroadcast, kPbtApmSuspend, 0});
    }
  }
  return messages;
}

EventOutcome TranslateEvent(const SDL_Event& event, const EventContext& context) {
  EventOutcome outcome;
  const bool closing = context.target && context.target->input == InputPolicy::Closing;
  switch (event.type) {
    case SDL_QUIT:
      for (const EventWindow& window : context.windows) {
        outcome.posts.push_back(Message{window.handle, kWmClose, 0, 0});
      }
      break;
    case SDL_APP_WILLENTERBACKGROUND:
    case SDL_APP_TERMINATING:
      outcome.posts = SuspendMessages(context.windows);
      break;
    case SDL_WINDOWEVENT:
      if (context.target) TranslateWindowEvent(event.window, context, &outcome);
      break;
    case SDL_KEYDOWN:
      if (closing) {
        const bool alt = (event.key.keysym.mod & KMOD_ALT) != 0;
        outcome.posts.push_back(Message{context.target->handle, alt ? kWmSysKeyDown : kWmKeyDown,
                                        static_cast<uintptr_t>(event.key.keysym.sym), 0});
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (closing) {
        outcome.posts.push_back(Message{context.target->handle, ButtonMessage(event.button.button),
                                        0, PackPosition(event.button.x, event.button.y)});
      }
      break;
    case SDL_MOUSEMOTION:
      if (closing && context.pointerMoved) {
        outcome.posts.push_back(Message{context.target->handle, kWmMouseMove, 0,
                                        PackPosition(event.motion.x, event.motion.y)});
      }
      break;
    default:
      break;
  }
  return outcome;
}

}  // namespace grazefall::platform::sdl
