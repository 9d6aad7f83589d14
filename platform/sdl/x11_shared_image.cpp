#include "platform/sdl/x11_shared_image.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/sdl/clip_bands.h"

namespace grazefall::platform::sdl {
namespace {

// Set while a segment is attached: the server's refusal comes as an error
// event, which must not end the program.
bool attachFailed = false;
int NoteAttachFailure(Display*, XErrorEvent*) {
  attachFailed = true;
  return 0;
}

// The X display and window behind `window`, when it is on X11.
bool X11Of(SDL_Window* window, Display** display, Window* xWindow) {
  if (window == nullptr) return false;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  *display = info.info.x11.display;
  *xWindow = info.info.x11.window;
  return *display != nullptr;
}

// Whether `window` shows 0x00RRGGBB words as they are.
bool TakesOurWords(Display* display, Window window) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return false;
  const Visual* visual = attributes.visual;
  return visual != nullptr && attributes.depth == 24 && visual->red_mask == 0xFF0000 &&
         visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF;
}

}  // namespace

struct X11SharedImage::Parts {
  Display* display = nullptr;
  GC gc = nullptr;
  XImage* image = nullptr;
  XShmSegmentInfo segment{};
  bool attached = false;
  // The most rectangles one clip-list request may carry.
  size_t maxClipRects = 0;
  std::vector<XRectangle> clip;

  ~Parts() {
    if (attached) {
      XShmDetach(display, &segment);
      XSync(display, False);
    }
    if (image != nullptr) {
      image->data = nullptr;  // the segment's, not Xlib's to free
      XDestroyImage(image);
    }
    if (segment.shmaddr != nullptr && segment.shmaddr != reinterpret_cast<char*>(-1)) {
      shmdt(segment.shmaddr);
    }
    if (gc != nullptr) XFreeGC(display, gc);
  }
};

std::unique_ptr<X11SharedImage> X11SharedImage::Create(SDL_Window* window, int width, int height) {
  auto parts = std::make_unique<Parts>();
  Window xWindow = 0;
  if (width <= 0 || height <= 0 || !X11Of(window, &parts->display, &xWindow)) return nullptr;
  if (!XShmQueryExtension(parts->display) || !TakesOurWords(parts->display, xWindow)) {
    return nullptr;
  }
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(parts->display, xWindow, &attributes)) return nullptr;
  parts->image = XShmCreateImage(parts->display, attributes.visual, 24, ZPixmap, nullptr,
                                 &parts->segment, width, height);
  if (parts->image == nullptr) return nullptr;
  const bool littleEndian = SDL_BYTEORDER == SDL_LIL_ENDIAN;
  if (parts->image->bits_per_pixel != 32 ||
      (parts->image->byte_order == LSBFirst) != littleEndian) {
    return nullptr;
  }
  const size_t bytes = static_cast<size_t>(parts->image->bytes_per_line) * height;
  parts->segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (parts->segment.shmid < 0) return nullptr;
  parts->segment.shmaddr = static_cast<char*>(shmat(parts->segment.shmid, nullptr, 0));
  if (parts->segment.shmaddr == reinterpret_cast<char*>(-1)) {
    shmctl(parts->segment.shmid, IPC_RMID, nullptr);
    return nullptr;
  }
  parts->image->data = parts->segment.shmaddr;
  parts->segment.readOnly = False;
  XSync(parts->display, False);
  attachFailed = false;
  XErrorHandler previous = XSetErrorHandler(NoteAttachFailure);
  const bool asked = XShmAttach(parts->display, &parts->segment) != 0;
  XSync(parts->display, False);
  XSetErrorHandler(previous);
  // The segment goes away once both sides have let go of it.
  shmctl(parts->segment.shmid, IPC_RMID, nullptr);
  if (!asked || attachFailed) return nullptr;
  parts->attached = true;
  // A graphics context serves every drawable of its screen and depth: every
  // window that suits these pixels.
  parts->gc = XCreateGC(parts->display, xWindow, 0, nullptr);
  if (parts->gc == nullptr) return nullptr;
  // A request's length is counted in 4-byte words; SetClipRectangles takes
  // 3 of them and 2 per rectangle.
  long maxWords = XExtendedMaxRequestSize(parts->display);
  if (maxWords == 0) maxWords = XMaxRequestSize(parts->display);
  parts->maxClipRects = maxWords > 4 ? static_cast<size_t>(maxWords - 4) / 2 : 0;
  std::unique_ptr<X11SharedImage> made(new X11SharedImage());
  made->parts_ = std::move(parts);
  return made;
}

X11SharedImage::~X11SharedImage() = default;

void* X11SharedImage::pixels() const {
  return parts_->image->data;
}

int X11SharedImage::pitch() const {
  return parts_->image->bytes_per_line;
}

int X11SharedImage::width() const {
  return parts_->image->width;
}

int X11SharedImage::height() const {
  return parts_->image->height;
}

bool X11SharedImage::suits(SDL_Window* window) const {
  Display* display = nullptr;
  Window xWindow = 0;
  return X11Of(window, &display, &xWindow) && display == parts_->display &&
         TakesOurWords(display, xWindow);
}

bool X11SharedImage::putOn(SDL_Window* window, const std::vector<Rect>& rects, bool whole) const {
  Parts& parts = *parts_;
  Display* display = nullptr;
  Window xWindow = 0;
  if (!X11Of(window, &display, &xWindow) || display != parts.display) return false;
  const int width = parts.image->width;
  const int height = parts.image->height;
  int left = 0;
  int top = 0;
  int right = width;
  int bottom = height;
  if (whole) {
    XSetClipMask(parts.display, parts.gc, None);
  } else {
    if (rects.empty()) return true;
    left = INT_MAX;
    top = INT_MAX;
    right = 0;
    bottom = 0;
    std::vector<Rect> inside;
    inside.reserve(rects.size());
    for (const Rect& r : rects) {
      inside.push_back(Rect{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width),
                            std::min(r.bottom, height)});
    }
    parts.clip.clear();
    for (const Rect& r : InBands(std::move(inside))) {
      left = std::min(left, r.left);
      top = std::min(top, r.top);
      right = std::max(right, r.right);
      bottom = std::max(bottom, r.bottom);
      parts.clip.push_back(XRectangle{static_cast<short>(r.left), static_cast<short>(r.top),
                                      static_cast<unsigned short>(r.width()),
                                      static_cast<unsigned short>(r.height())});
    }
    if (parts.clip.empty()) return true;
    // The pixels outside the rectangles hold what the window already shows,
    // so a list too long for one request may give way to the bounding box.
    if (parts.clip.size() <= parts.maxClipRects && std::max(width, height) <= SHRT_MAX) {
      XSetClipRectangles(parts.display, parts.gc, 0, 0, parts.clip.data(),
                         static_cast<int>(parts.clip.size()), YXBanded);
    } else {
      XSetClipMask(parts.display, parts.gc, None);
    }
  }
  XShmPutImage(parts.display, xWindow, parts.gc, parts.image, left, top, left, top,
               static_cast<unsigned>(right - left), static_cast<unsigned>(bottom - top), False);
  // The next frame writes these pixels: the server must have read them.
  XSync(parts.display, False);
  return true;
}

}  // namespace grazefall::platform::sdl
