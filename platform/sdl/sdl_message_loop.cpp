// The loop of the one GUI thread: SIGTERM's close, SDL's events translated
// (event_translation.h) and posted, other programs' windows looked at, the
// posted messages and timer ticks handed out, and the sleep between them.
#include <SDL.h>

#include <poll.h>

#include <algorithm>
#include <csignal>

#include "platform/messages.h"
#include "platform/sdl/sdl_window_system.h"

namespace grazefall::platform::sdl {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

// Other windows' liveness and the sleep announcement are looked at this
// often at least, whatever the timer.
constexpr uint32_t kLongestWaitMs = 10;
// The longest sleep while no window of ours is shown; SIGTERM ends it early.
constexpr int kHiddenWaitMs = 1000;
// How often, at most, other programs' windows are asked whether they exist.
constexpr uint32_t kForeignCheckMs = 20;

}  // namespace

void SdlWindowSystem::RequestStop() {
  stopRequested = 1;
}

bool SdlWindowSystem::StopRequested() {
  return stopRequested != 0;
}

std::vector<EventWindow> SdlWindowSystem::liveWindows() {
  std::vector<EventWindow> live;
  for (const auto& [handle, window] : windows_.all()) {
    if (window.alive) live.push_back(EventWindow{handle, window.extra.input});
  }
  return live;
}

EventContext SdlWindowSystem::contextOf(const SDL_Event& event) {
  EventContext context;
  context.windows = liveWindows();
  const WindowHandle handle = findBySdlId(EventWindowId(event));
  Window* window = find(handle);
  if (window == nullptr) return context;
  context.target = EventWindow{handle, window->input};
  context.targetFocused = window->focused;
  context.focusStaysOurs = hasKeyboardFocus(*window);
  if (IsPointerMotion(event) && window->input == InputPolicy::Closing) {
    if (onWayland()) {
      context.pointerMoved =
          relativePointer_.moveTo(event.motion.windowID, event.motion.x, event.motion.y);
    } else {
      const Point now = pointerPosition();
      context.pointerMoved = now != window->lastPointer;
      window->lastPointer = now;
    }
  }
  return context;
}

void SdlWindowSystem::postAll(const std::vector<Message>& messages) {
  for (const Message& m : messages) postMessage(m.window, m.message, m.wParam, m.lParam);
}

void SdlWindowSystem::translateEvents() {
  if (sleepWatch_.sleepAnnounced()) postAll(SuspendMessages(liveWindows()));
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    const EventContext context = contextOf(event);
    const EventOutcome outcome = TranslateEvent(event, context);
    if (context.target) {
      Window* window = find(context.target->handle);
      if (outcome.invalidateTarget) window->outputs.invalidate();
      if (outcome.targetFocused) window->focused = *outcome.targetFocused;
    }
    if (outcome.pointerCrossed) relativePointer_.enter();
    postAll(outcome.posts);
  }
}

void SdlWindowSystem::checkForeignWindows() {
  if (!x_.isOpen()) return;
  const uint32_t now = SDL_GetTicks();
  if (now - lastForeignCheck_ < kForeignCheckMs) return;
  lastForeignCheck_ = now;
  std::vector<WindowHandle> gone;
  for (const auto& [handle, window] : windows_.all()) {
    if (window.alive && window.extra.foreign != 0 && !x_.windowAlive(window.extra.foreign)) {
      gone.push_back(handle);
    }
  }
  for (WindowHandle handle : gone) destroy(handle);
}

bool SdlWindowSystem::getMessage(Message* message) {
  MessageQueue& queue = windows_.queue();
  for (;;) {
    if (stopRequested != 0 && !stopHandled_) {
      stopHandled_ = true;
      for (const EventWindow& window : liveWindows()) {
        queue.postFirst(Message{window.handle, kWmClose, 0, 0});
      }
    }
    translateEvents();
    checkForeignWindows();
    if (queue.takePosted(message)) return true;
    if (queue.quitPending() || liveWindows().empty()) {
      *message = queue.takeQuit();
      return false;
    }
    // No tick while the compositor shows none of our windows: asleep until
    // it asks for a picture again or input comes.
    if (waylandPresentation_ && waylandPresentation_->hidden(SDL_GetTicks())) {
      waylandPresentation_->wait(kHiddenWaitMs);
      continue;
    }
    // Ticks only when no other message waits.
    queue.tickDueTimers(SDL_GetTicks());
    if (queue.takeTimer(message)) return true;
    waitForEvents(queue.msUntilNextTick(SDL_GetTicks()));
  }
}

void SdlWindowSystem::waitForEvents(std::optional<uint32_t> msUntilTick) {
  const uint32_t waitMs = std::min(msUntilTick.value_or(kLongestWaitMs), kLongestWaitMs);
  if (waitMs == 0) return;
  // SDL's X connection is the one to watch: the first of our windows that
  // has one shows it.
  int socket = -1;
  for (const auto& [handle, window] : windows_.all()) {
    if (window.alive && socket < 0) socket = XSocketOf(window.extra.outputs.first());
  }
  if (socket >= 0) {
    // Asleep until the X server has something for SDL or the tick is due;
    // SDL's own waiting never wakes for a window it did not create. A
    // signal (SIGTERM) ends the wait early.
    pollfd watched{socket, POLLIN, 0};
    poll(&watched, 1, static_cast<int>(waitMs));
  } else if (onWayland()) {
    // No X connection to watch: SDL waits for its compositor's events.
    SDL_WaitEventTimeout(nullptr, static_cast<int>(waitMs));
  } else {
    // SDL's stub drivers take short naps.
    SDL_Delay(1);
  }
}

}  // namespace grazefall::platform::sdl
