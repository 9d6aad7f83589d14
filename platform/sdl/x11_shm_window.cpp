#include "platform/sdl/x11_shm_window.h"

namespace grazefall::platform::sdl {

std::unique_ptr<X11ShmWindow> X11ShmWindow::Open(SDL_Window* window) {
  if (window == nullptr) return nullptr;
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window, &width, &height);
  std::unique_ptr<X11ShmWindow> made(new X11ShmWindow());
  made->image_ = X11SharedImage::Create(window, width, height);
  if (!made->image_) return nullptr;
  made->window_ = window;
  made->surface_ = SDL_CreateRGBSurfaceWithFormatFrom(
      made->image_->pixels(), width, height, 32, made->image_->pitch(), SDL_PIXELFORMAT_RGB888);
  if (made->surface_ == nullptr) return nullptr;
  return made;
}

X11ShmWindow::~X11ShmWindow() {
  if (surface_ != nullptr) SDL_FreeSurface(surface_);
}

bool X11ShmWindow::fits(SDL_Window* window) const {
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window, &width, &height);
  return width == image_->width() && height == image_->height();
}

bool X11ShmWindow::send(const std::vector<Rect>& rects, bool whole) {
  return image_->putOn(window_, rects, whole);
}

}  // namespace grazefall::platform::sdl
