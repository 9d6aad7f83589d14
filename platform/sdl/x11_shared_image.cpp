#include "platform/sdl/x11_shared_image.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrender.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/sdl/clip_bands.h"
#include "platform/sdl/viewport_map.h"

namespace grazefall::platform::sdl {
namespace {

// Set while a segment is attached, or the server's side of doubling is
// made: a refusal comes as an error event, which must not end the program.
bool requestRefused = false;
int NoteRefusal(Display*, XErrorEvent*) {
  requestRefused = true;
  return 0;
}

// Runs `requests` and waits for the server's answer to them; false when it
// refused any of them.
template <typename Requests>
bool AllTaken(Display* display, Requests requests) {
  XSync(display, False);
  requestRefused = false;
  XErrorHandler previous = XSetErrorHandler(NoteRefusal);
  requests();
  XSync(display, False);
  XSetErrorHandler(previous);
  return !requestRefused;
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
  // The clip list last set on `gc`; empty while it has none.
  std::vector<XRectangle> clip;
  // The visual and root window of the window the image was made for.
  Visual* visual = nullptr;
  Window root = 0;

  // For doubling, asked for once: the image's pixels kept on the server,
  // as a picture the server samples at half scale, and the picture of the
  // window last doubled on, with the clip list it was given.
  bool renderAsked = false;
  Pixmap pixmap = 0;
  Picture source = 0;
  XRenderPictFormat* format = nullptr;
  Window pictured = 0;
  Picture target = 0;
  std::vector<XRectangle> doubledClip;

  // Makes the server's side of doubling the first time it is asked for;
  // whether there is one.
  bool readyToDouble() {
    if (renderAsked) return source != 0;
    renderAsked = true;
    int event = 0;
    int error = 0;
    if (!XRenderQueryExtension(display, &event, &error)) return false;
    format = XRenderFindVisualFormat(display, visual);
    if (format == nullptr) return false;
    // Each pixel of the window samples the pixmap at half its place,
    // nearest neighbour: window column x shows column x / 2, exactly (a half
    // is exact in the server's fixed point, and no sample falls near an edge
    // between two pixels).
    XTransform half = {
        {{XDoubleToFixed(0.5), 0, 0}, {0, XDoubleToFixed(0.5), 0}, {0, 0, XDoubleToFixed(1)}}};
    const bool made = AllTaken(display, [&] {
      pixmap = XCreatePixmap(display, root, static_cast<unsigned>(image->width),
                             static_cast<unsigned>(image->height), 24);
      source = XRenderCreatePicture(display, pixmap, format, 0, nullptr);
      XRenderSetPictureTransform(display, source, &half);
      XRenderSetPictureFilter(display, source, FilterNearest, nullptr, 0);
    });
    if (!made) {
      if (source != 0) XRenderFreePicture(display, source);
      if (pixmap != 0) XFreePixmap(display, pixmap);
      source = 0;
      pixmap = 0;
    }
    return source != 0;
  }

  void forgetTarget() {
    // A window's pictures go with it: this one may be gone already.
    if (target != 0) AllTaken(display, [&] { XRenderFreePicture(display, target); });
    target = 0;
    pictured = 0;
  }

  ~Parts() {
    forgetTarget();
    if (source != 0) XRenderFreePicture(display, source);
    if (pixmap != 0) XFreePixmap(display, pixmap);
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
  parts->visual = attributes.visual;
  parts->root = attributes.root;
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
  bool asked = false;
  const bool taken =
      AllTaken(parts->display, [&] { asked = XShmAttach(parts->display, &parts->segment) != 0; });
  // The segment goes away once both sides have let go of it.
  shmctl(parts->segment.shmid, IPC_RMID, nullptr);
  if (!asked || !taken) return nullptr;
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

bool X11SharedImage::clipTo(const std::vector<Rect>& rects, bool whole, int64_t farthest,
                            Rect* box) const {
  Parts& parts = *parts_;
  const int width = parts.image->width;
  const int height = parts.image->height;
  *box = Rect{0, 0, width, height};
  parts.clip.clear();
  if (whole) {
    XSetClipMask(parts.display, parts.gc, None);
    return true;
  }
  std::vector<Rect> inside;
  inside.reserve(rects.size());
  for (const Rect& r : rects) {
    inside.push_back(Rect{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width),
                          std::min(r.bottom, height)});
  }
  *box = Rect{INT_MAX, INT_MAX, 0, 0};
  for (const Rect& r : InBands(std::move(inside))) {
    box->left = std::min(box->left, r.left);
    box->top = std::min(box->top, r.top);
    box->right = std::max(box->right, r.right);
    box->bottom = std::max(box->bottom, r.bottom);
    parts.clip.push_back(XRectangle{static_cast<short>(r.left), static_cast<short>(r.top),
                                    static_cast<unsigned short>(r.width()),
                                    static_cast<unsigned short>(r.height())});
  }
  if (parts.clip.empty()) return false;
  // The pixels outside the rectangles hold what the window already shows,
  // so a list too long for one request may give way to the bounding box.
  if (parts.clip.size() <= parts.maxClipRects && farthest <= SHRT_MAX) {
    XSetClipRectangles(parts.display, parts.gc, 0, 0, parts.clip.data(),
                       static_cast<int>(parts.clip.size()), YXBanded);
  } else {
    parts.clip.clear();
    XSetClipMask(parts.display, parts.gc, None);
  }
  return true;
}

bool X11SharedImage::putOn(SDL_Window* window, const std::vector<Rect>& rects, bool whole) const {
  Parts& parts = *parts_;
  Display* display = nullptr;
  Window xWindow = 0;
  if (!X11Of(window, &display, &xWindow) || display != parts.display) return false;
  Rect box;
  if (!clipTo(rects, whole, std::max(parts.image->width, parts.image->height), &box)) return true;
  XShmPutImage(parts.display, xWindow, parts.gc, parts.image, box.left, box.top, box.left, box.top,
               static_cast<unsigned>(box.width()), static_cast<unsigned>(box.height()), False);
  // The next frame writes these pixels: the server must have read them.
  XSync(parts.display, False);
  return true;
}

bool X11SharedImage::doublesOn(SDL_Window* window) const {
  Display* display = nullptr;
  Window xWindow = 0;
  return X11Of(window, &display, &xWindow) && display == parts_->display && parts_->readyToDouble();
}

bool X11SharedImage::putDoubledOn(SDL_Window* window, const Rect& viewport,
                                  const std::vector<Rect>& rects, bool whole) const {
  Parts& parts = *parts_;
  Display* display = nullptr;
  Window xWindow = 0;
  if (!X11Of(window, &display, &xWindow) || display != parts.display || !parts.readyToDouble() ||
      viewport.width() != parts.image->width * 2 || viewport.height() != parts.image->height * 2) {
    return false;
  }
  if (xWindow != parts.pictured) {
    parts.forgetTarget();
    if (!AllTaken(display, [&] {
          parts.target = XRenderCreatePicture(display, xWindow, parts.format, 0, nullptr);
        })) {
      parts.target = 0;
      return false;
    }
    parts.pictured = xWindow;
  }
  Rect box;
  const int32_t left = viewport.left;
  const int32_t top = viewport.top;
  if (!clipTo(rects, whole, std::max(viewport.right, viewport.bottom), &box)) return true;
  // The changed pixels to the server's copy of the image, then from there,
  // doubled, to the same rectangles of the viewport twice as large.
  XShmPutImage(display, parts.pixmap, parts.gc, parts.image, box.left, box.top, box.left, box.top,
               static_cast<unsigned>(box.width()), static_cast<unsigned>(box.height()), False);
  if (whole) {
    // The window around the viewport; the graphics context has no clip.
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    std::vector<XRectangle> bars;
    for (const Rect& bar : BarsAround(viewport, windowWidth, windowHeight)) {
      if (bar.width() <= 0 || bar.height() <= 0) continue;
      bars.push_back(XRectangle{static_cast<short>(bar.left), static_cast<short>(bar.top),
                                static_cast<unsigned short>(bar.width()),
                                static_cast<unsigned short>(bar.height())});
    }
    XSetForeground(display, parts.gc, 0);
    if (!bars.empty()) {
      XFillRectangles(display, xWindow, parts.gc, bars.data(), static_cast<int>(bars.size()));
    }
  }
  if (parts.clip.empty()) {
    XRenderPictureAttributes noClip{};
    noClip.clip_mask = None;
    XRenderChangePicture(display, parts.target, CPClipMask, &noClip);
  } else {
    parts.doubledClip.clear();
    for (const XRectangle& r : parts.clip) {
      parts.doubledClip.push_back(XRectangle{
          static_cast<short>(left + r.x * 2), static_cast<short>(top + r.y * 2),
          static_cast<unsigned short>(r.width * 2), static_cast<unsigned short>(r.height * 2)});
    }
    XRenderSetPictureClipRectangles(display, parts.target, 0, 0, parts.doubledClip.data(),
                                    static_cast<int>(parts.doubledClip.size()));
  }
  XRenderComposite(display, PictOpSrc, parts.source, None, parts.target, box.left * 2, box.top * 2,
                   0, 0, left + box.left * 2, top + box.top * 2,
                   static_cast<unsigned>(box.width() * 2), static_cast<unsigned>(box.height() * 2));
  // The next frame writes these pixels: the server must have read them.
  XSync(display, False);
  return true;
}

}  // namespace grazefall::platform::sdl
