#include "platform/sdl/wayland_shm_buffers.h"

#include <SDL.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>

namespace grazefall::platform::sdl {
namespace {

const wl_buffer_listener kReleaseListener{
    [](void* data, wl_buffer*) { static_cast<bool*>(data)[0] = false; }};

}  // namespace

ShmBuffers::ShmBuffers(wl_shm* shm, size_t count) : shm_(shm), count_(std::min(count, kMost)) {}

ShmBuffers::~ShmBuffers() {
  clear();
}

void ShmBuffers::clear() {
  for (Slot& slot : slots_) {
    if (slot.surface != nullptr) SDL_FreeSurface(slot.surface);
    // A buffer the compositor still holds may be destroyed: it keeps its own
    // mapping of the memory for as long as it needs.
    if (slot.buffer != nullptr) wl_buffer_destroy(slot.buffer);
    slot = Slot{};
  }
  if (memory_ != nullptr) munmap(memory_, bytes_);
  memory_ = nullptr;
  bytes_ = 0;
  width_ = 0;
  height_ = 0;
}

bool ShmBuffers::fit(int32_t width, int32_t height) {
  if (width == width_ && height == height_ && memory_ != nullptr) return true;
  clear();
  if (shm_ == nullptr || width <= 0 || height <= 0 || width > 16384 || height > 16384) {
    return false;
  }
  const int32_t stride = width * 4;
  const size_t each = static_cast<size_t>(stride) * height;
  const size_t bytes = each * count_;
  const int fd = memfd_create("grazefall-frames", MFD_CLOEXEC);
  if (fd < 0) return false;
  if (ftruncate(fd, static_cast<off_t>(bytes)) != 0) {
    close(fd);
    return false;
  }
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (memory == MAP_FAILED) {
    close(fd);
    return false;
  }
  wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, static_cast<int32_t>(bytes));
  close(fd);
  memory_ = memory;
  bytes_ = bytes;
  if (pool == nullptr) {
    clear();
    return false;
  }
  for (size_t i = 0; i < count_; ++i) {
    Slot& slot = slots_[i];
    slot.buffer = wl_shm_pool_create_buffer(pool, static_cast<int32_t>(each * i), width, height,
                                            stride, WL_SHM_FORMAT_XRGB8888);
    slot.surface =
        SDL_CreateRGBSurfaceWithFormatFrom(static_cast<uint8_t*>(memory) + each * i, width, height,
                                           32, stride, SDL_PIXELFORMAT_RGB888);
    if (slot.buffer == nullptr || slot.surface == nullptr) {
      wl_shm_pool_destroy(pool);
      clear();
      return false;
    }
    wl_buffer_add_listener(slot.buffer, &kReleaseListener, &slot.held);
  }
  // The buffers keep the pool's memory; the pool itself is not needed again.
  wl_shm_pool_destroy(pool);
  width_ = width;
  height_ = height;
  return true;
}

int32_t ShmBuffers::released() const {
  for (size_t i = 0; i < count_; ++i) {
    if (slots_[i].buffer != nullptr && !slots_[i].held) return static_cast<int32_t>(i);
  }
  return -1;
}

}  // namespace grazefall::platform::sdl
