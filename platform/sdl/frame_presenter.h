// Puts frames into one window's surface: each frame is converted from its own
// pixel format into the window's, scaled nearest-neighbour to fit the window
// with its aspect kept (black bars), and sent to the X server. A frame may
// come with the rectangles where it differs from the frame shown before it;
// then only those are converted, scaled and sent, which leaves the window
// exactly as showing the whole frame would. Anything that may have changed
// the window behind our back (a new size, an expose, another drawing) makes
// the next frame go whole. On X11 the window's pixels are our own, shared
// with the server, and the changes go in one request (x11_shm_window.h);
// elsewhere they are SDL's window surface. A frame drawn in memory shared
// with the server goes from there: to a window of its size as it is, and to
// one twice its size for the server to double.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/sdl/pixel_lookup.h"
#include "platform/sdl/viewport_map.h"
#include "platform/types.h"

struct SDL_Surface;
struct SDL_Window;

namespace grazefall::platform::sdl {

class X11SharedImage;
class X11ShmWindow;

class FramePresenter {
 public:
  // `sharedX11Pixels` false keeps to SDL's window surface on X11 too.
  explicit FramePresenter(bool sharedX11Pixels = true);
  ~FramePresenter();
  FramePresenter(const FramePresenter&) = delete;
  FramePresenter& operator=(const FramePresenter&) = delete;

  // Shows `frame` in `window`; `changes` (in frame coordinates, cut to the
  // frame, not overlapping) when only they differ from the frame shown last,
  // nullopt for the whole frame. `shared`, when given, holds the frame's
  // pixels shared with the X server: a frame as large as an X window that
  // suits it is put from there, with no copy of ours. kOk once shown.
  int32_t present(SDL_Window* window, SDL_Surface* frame,
                  const std::optional<std::vector<Rect>>& changes,
                  const X11SharedImage* shared = nullptr);
  // The window's contents may no longer be the last frame shown.
  void invalidate() {
    windowCurrent_ = false;
    sharedCurrent_ = false;
  }

 private:
  // Where the window's pixels are written: our shared pixels on X11 (made
  // anew when the window's size changes), else SDL's window surface.
  SDL_Surface* windowPixels(SDL_Window* window);
  // Sends `rects` (window coordinates), or the whole window when `whole`.
  bool send(SDL_Window* window, const std::vector<Rect>& rects, bool whole);
  // Puts the frame from `shared`, when `window` is as large as the frame, or
  // twice as wide and high and the server doubles it, and suits its pixels;
  // nullopt when it cannot be, else kOk or kEFail.
  std::optional<int32_t> putShared(SDL_Window* window, SDL_Surface* frame,
                                   const std::optional<std::vector<Rect>>& changes,
                                   const X11SharedImage& shared);

  bool sharedX11Pixels_ = true;
  std::unique_ptr<X11ShmWindow> shared_;
  SDL_Window* sharedWindow_ = nullptr;
  bool sharedTried_ = false;
  // A scaled frame converted to the window's format, kept from frame to
  // frame; only while frames are scaled and no table converts them.
  SDL_Surface* staging_ = nullptr;
  SDL_Surface* lastWindowSurface_ = nullptr;
  int32_t lastWindowWidth_ = 0;
  int32_t lastWindowHeight_ = 0;
  int32_t lastFrameWidth_ = 0;
  int32_t lastFrameHeight_ = 0;
  uint32_t lastFrameFormat_ = 0;
  uint32_t lastTargetFormat_ = 0;
  bool windowCurrent_ = false;
  // Whether the window shows the last frame put from shared pixels, and
  // which window was last found to suit them.
  bool sharedCurrent_ = false;
  SDL_Window* suitedWindow_ = nullptr;
  bool suitedDoubled_ = false;
  ViewportMap map_;
  std::vector<Rect> sent_;
  // Frames of 8 and 16 bits a pixel are converted by table, straight from
  // the frame, without going through the kept copy.
  PixelLookup lookup_;
};

}  // namespace grazefall::platform::sdl
