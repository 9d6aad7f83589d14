// A few XRGB8888 pixel buffers in one piece of shared memory, handed to a
// Wayland compositor (wl_shm): each is free to draw into until attached and
// committed, then the compositor's until it releases it. Their pixels are
// also SDL surfaces, to be drawn into with SDL.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

struct SDL_Surface;
struct wl_buffer;
struct wl_shm;
struct wl_shm_pool;

namespace grazefall::platform::sdl {

class ShmBuffers {
 public:
  static constexpr size_t kMost = 3;

  // `count` buffers (at most kMost) made from `shm`.
  ShmBuffers(wl_shm* shm, size_t count);
  ~ShmBuffers();
  ShmBuffers(const ShmBuffers&) = delete;
  ShmBuffers& operator=(const ShmBuffers&) = delete;

  // Buffers of `width` x `height` pixels, made anew when their size differs
  // (their pixels are then undefined). False when they cannot be made.
  bool fit(int32_t width, int32_t height);
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  size_t count() const { return count_; }

  // A buffer the compositor does not hold, or -1.
  int32_t released() const;
  SDL_Surface* pixels(size_t index) const { return slots_[index].surface; }
  wl_buffer* buffer(size_t index) const { return slots_[index].buffer; }
  // The buffer has been attached and committed: the compositor holds it.
  void attached(size_t index) { slots_[index].held = true; }

 private:
  struct Slot {
    wl_buffer* buffer = nullptr;
    SDL_Surface* surface = nullptr;
    bool held = false;
  };
  void clear();

  wl_shm* shm_;
  size_t count_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  void* memory_ = nullptr;
  size_t bytes_ = 0;
  std::array<Slot, kMost> slots_{};
};

}  // namespace grazefall::platform::sdl
