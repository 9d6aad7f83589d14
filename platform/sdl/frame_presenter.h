// Puts frames into one window's surface: each frame is converted from its own
// pixel format into the window's, scaled nearest-neighbour to fit the window
// with its aspect kept (black bars), and sent to the X server. A frame may
// come with the rectangles where it differs from the frame shown before it;
// then only those are converted, scaled and sent, which leaves the window
// exactly as showing the whole frame would. Anything that may have changed
// the window behind our back (a new size, an expose, another drawing) makes
// the next frame go whole.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/sdl/pixel_lookup.h"
#include "platform/types.h"

struct SDL_Surface;
struct SDL_Window;

namespace grazefall::platform::sdl {

// Where a `frameWidth` x `frameHeight` frame lands in a `windowWidth` x
// `windowHeight` window: as large as fits with the aspect kept, centred.
Rect LetterboxOf(int32_t frameWidth, int32_t frameHeight, int32_t windowWidth,
                 int32_t windowHeight);

class FramePresenter {
 public:
  FramePresenter() = default;
  ~FramePresenter();
  FramePresenter(const FramePresenter&) = delete;
  FramePresenter& operator=(const FramePresenter&) = delete;

  // Shows `frame` in `window`; `changes` (in frame coordinates, cut to the
  // frame, not overlapping) when only they differ from the frame shown last,
  // nullopt for the whole frame. kOk once shown.
  int32_t present(SDL_Window* window, SDL_Surface* frame,
                  const std::optional<std::vector<Rect>>& changes);
  // The window's contents may no longer be the last frame shown.
  void invalidate() { windowCurrent_ = false; }

 private:
  // A scaled frame converted to the window's format, kept from frame to
  // frame.
  SDL_Surface* staging_ = nullptr;
  SDL_Surface* lastWindowSurface_ = nullptr;
  int32_t lastWindowWidth_ = 0;
  int32_t lastWindowHeight_ = 0;
  uint32_t lastFrameFormat_ = 0;
  bool windowCurrent_ = false;
  Rect viewport_{};
  // For each column and row of the viewport, the frame column or row shown.
  std::vector<int32_t> sourceColumn_;
  std::vector<int32_t> sourceRow_;
  std::vector<Rect> sent_;
  // Frames of 8 and 16 bits a pixel are converted by table, straight from
  // the frame, without going through the kept copy.
  PixelLookup lookup_;
};

}  // namespace grazefall::platform::sdl
