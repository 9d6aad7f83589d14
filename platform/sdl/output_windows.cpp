#include "platform/sdl/output_windows.h"

#include <SDL.h>

#include <algorithm>

#include "platform/sdl/x11_connection.h"

namespace grazefall::platform::sdl {

Rect UnionOfOutputs() {
  Rect screen{};
  const int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
    const Rect r{bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
    if (screen.width() <= 0 || screen.height() <= 0) {
      screen = r;
    } else {
      screen = Rect{std::min(screen.left, r.left), std::min(screen.top, r.top),
                    std::max(screen.right, r.right), std::max(screen.bottom, r.bottom)};
    }
  }
  return screen;
}

void OutputWindows::WindowDeleter::operator()(SDL_Window* window) const {
  SDL_DestroyWindow(window);
}

OutputWindows::OutputWindows(SDL_Window* window) {
  if (window != nullptr) add(window);
}

void OutputWindows::add(SDL_Window* window) {
  Output output;
  output.window.reset(window);
  output.sdlId = SDL_GetWindowID(window);
  outputs_.push_back(std::move(output));
}

bool OutputWindows::openOnEveryOutput(const std::string& title, Cover cover) {
  const int outputs = std::max(1, SDL_GetNumVideoDisplays());
  for (int i = 0; i < outputs; ++i) {
    SDL_Rect bounds{0, 0, 640, 480};
    SDL_GetDisplayBounds(i, &bounds);
    const int width = std::max(1, bounds.w);
    const int height = std::max(1, bounds.h);
    SDL_Window* made = cover == Cover::Placed
                           ? SDL_CreateWindow(title.c_str(), bounds.x, bounds.y, width, height,
                                              SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP)
                           : SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED_DISPLAY(i),
                                              SDL_WINDOWPOS_UNDEFINED_DISPLAY(i), width, height,
                                              SDL_WINDOW_FULLSCREEN_DESKTOP |
                                                  SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI);
    if (made != nullptr) add(made);
  }
  return !outputs_.empty();
}

SDL_Window* OutputWindows::first() const {
  return outputs_.empty() ? nullptr : outputs_.front().window.get();
}

uint32_t OutputWindows::firstId() const {
  return outputs_.empty() ? 0 : outputs_.front().sdlId;
}

bool OutputWindows::has(uint32_t sdlId) const {
  return std::any_of(outputs_.begin(), outputs_.end(),
                     [sdlId](const Output& output) { return output.sdlId == sdlId; });
}

bool OutputWindows::holds(const SDL_Window* window) const {
  return window != nullptr &&
         std::any_of(outputs_.begin(), outputs_.end(),
                     [window](const Output& output) { return output.window.get() == window; });
}

bool OutputWindows::holdsXWindow(uint64_t xWindow) const {
  return xWindow != 0 && std::any_of(outputs_.begin(), outputs_.end(), [xWindow](const Output& o) {
           const auto x = XWindowOf(o.window.get());
           return x && x->window == xWindow;
         });
}

int32_t OutputWindows::present(SDL_Surface* frame, const std::optional<std::vector<Rect>>& changes,
                               const X11SharedImage* shared, ShmBuffers* lent) {
  int32_t shown = kEFail;
  for (size_t i = 0; i < outputs_.size(); ++i) {
    SDL_Window* window = outputs_[i].window.get();
    WaylandSurfacePresenter* own = presentation_ ? presentation_->presenterOf(window) : nullptr;
    const int32_t result = own != nullptr
                               ? own->present(frame, changes, i == 0 ? lent : nullptr)
                               : outputs_[i].presenter->present(window, frame, changes, shared);
    if (i == 0) shown = result;
  }
  return shown;
}

std::unique_ptr<ShmBuffers> OutputWindows::lend(int32_t width, int32_t height) {
  WaylandSurfacePresenter* own = presentation_ ? presentation_->presenterOf(first()) : nullptr;
  return own != nullptr ? own->lend(width, height) : nullptr;
}

void OutputWindows::close() {
  if (presentation_ != nullptr) {
    for (const Output& output : outputs_) presentation_->release(output.window.get());
  }
  presentation_ = nullptr;
  outputs_.clear();
}

void OutputWindows::invalidate() {
  for (Output& output : outputs_) output.presenter->invalidate();
}

bool OutputWindows::paint(const Picture& picture, int32_t x, int32_t y) {
  if (outputs_.empty() || picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() < static_cast<size_t>(picture.width) * picture.height) {
    return false;
  }
  SDL_Window* shown = first();
  SDL_Surface* target = SDL_GetWindowSurface(shown);
  if (target == nullptr) return false;
  // ColorRef is 0x00BBGGRR: red in the low byte.
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<ColorRef*>(picture.pixels.data()), picture.width, picture.height, 32,
      picture.width * 4, SDL_PIXELFORMAT_BGR888);
  if (source == nullptr) return false;
  outputs_.front().presenter->invalidate();
  SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
  SDL_Rect at{x, y, picture.width, picture.height};
  SDL_BlitSurface(source, nullptr, target, &at);
  SDL_FreeSurface(source);
  return SDL_UpdateWindowSurface(shown) == 0;
}

}  // namespace grazefall::platform::sdl
