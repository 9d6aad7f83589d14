#include "host/linux/render/gif_writer.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <unordered_map>

namespace grazefall {
namespace {

// A colour table holds 256 entries; one is kept for "unchanged, leave it as
// it was" when a frame has such pixels.
constexpr size_t kTableSize = 256;
constexpr int kMostColours = 255;
// The application block that makes viewers play the frames forever.
constexpr char kLoopApplication[] = "NETSCAPE2.0";
constexpr std::array<GifByteType, 3> kLoopForever = {1, 0, 0};

struct Rectangle {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// The colour table, the indices and what the viewer then shows, for the
// pixels of one frame's rectangle.
struct IndexedRectangle {
  std::vector<GifColorType> colours;
  std::vector<GifPixelType> indices;
  int transparent = NO_TRANSPARENT_COLOR;
};

GifColorType GifColourOf(platform::ColorRef colour) {
  return GifColorType{platform::RedOf(colour), platform::GreenOf(colour), platform::BlueOf(colour)};
}

platform::ColorRef ColourRefOf(const GifColorType& colour) {
  return platform::Rgb(colour.Red, colour.Green, colour.Blue);
}

// Exactly the changed pixels' colours; nothing when there are too many.
bool IndexExactly(const std::vector<platform::ColorRef>& pixels, const std::vector<bool>& changed,
                  IndexedRectangle* out) {
  std::unordered_map<platform::ColorRef, GifPixelType> index;
  out->indices.resize(pixels.size());
  bool anyUnchanged = false;
  for (size_t i = 0; i < pixels.size(); ++i) {
    if (!changed[i]) {
      anyUnchanged = true;
      continue;
    }
    auto [at, added] = index.try_emplace(pixels[i], static_cast<GifPixelType>(index.size()));
    if (added) {
      if (index.size() > kTableSize) return false;
      out->colours.push_back(GifColourOf(pixels[i]));
    }
    out->indices[i] = at->second;
  }
  if (anyUnchanged) {
    if (out->colours.size() >= kTableSize) return false;
    out->transparent = static_cast<int>(out->colours.size());
    out->colours.push_back(GifColorType{0, 0, 0});
    for (size_t i = 0; i < pixels.size(); ++i) {
      if (!changed[i]) out->indices[i] = static_cast<GifPixelType>(out->transparent);
    }
  }
  return true;
}

// giflib's quantisation of all the rectangle's pixels, the unchanged ones
// then made transparent.
bool IndexQuantised(int32_t width, int32_t height, const std::vector<platform::ColorRef>& pixels,
                    const std::vector<bool>& changed, IndexedRectangle* out) {
  std::vector<GifByteType> red(pixels.size());
  std::vector<GifByteType> green(pixels.size());
  std::vector<GifByteType> blue(pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i) {
    red[i] = platform::RedOf(pixels[i]);
    green[i] = platform::GreenOf(pixels[i]);
    blue[i] = platform::BlueOf(pixels[i]);
  }
  int size = kMostColours;
  out->colours.assign(kMostColours + 1, GifColorType{0, 0, 0});
  out->indices.resize(pixels.size());
  if (GifQuantizeBuffer(static_cast<unsigned>(width), static_cast<unsigned>(height), &size,
                        red.data(), green.data(), blue.data(), out->indices.data(),
                        out->colours.data()) != GIF_OK) {
    return false;
  }
  out->colours.resize(static_cast<size_t>(size));
  out->transparent = size;
  out->colours.push_back(GifColorType{0, 0, 0});
  for (size_t i = 0; i < pixels.size(); ++i) {
    if (!changed[i]) out->indices[i] = static_cast<GifPixelType>(out->transparent);
  }
  return true;
}

}  // namespace

struct GifWriter::File {
  GifFileType* gif = nullptr;
};

GifWriter::GifWriter(std::unique_ptr<File> file, int32_t width, int32_t height)
    : file_(std::move(file)),
      width_(width),
      height_(height),
      shown_(static_cast<size_t>(width) * static_cast<size_t>(height)) {}

GifWriter::~GifWriter() {
  if (file_ && file_->gif != nullptr) {
    int error = 0;
    EGifCloseFile(file_->gif, &error);
  }
}

std::unique_ptr<GifWriter> GifWriter::Create(const std::string& path, int32_t width, int32_t height,
                                             std::string* problem) {
  // GIF sizes are 16-bit.
  if (width < 1 || height < 1 || width > 65535 || height > 65535) {
    *problem = "a GIF is 1 to 65535 pixels wide and high";
    return nullptr;
  }
  // Made as other files are, as the umask allows (giflib's own opening
  // makes files only their owner can read).
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    *problem = std::strerror(errno);
    return nullptr;
  }
  int error = 0;
  auto file = std::make_unique<File>();
  file->gif = EGifOpenFileHandle(descriptor, &error);
  if (file->gif == nullptr) {
    ::close(descriptor);
    *problem = GifErrorString(error);
    return nullptr;
  }
  std::unique_ptr<GifWriter> writer(new GifWriter(std::move(file), width, height));
  GifFileType* gif = writer->file_->gif;
  EGifSetGifVersion(gif, true);
  if (EGifPutScreenDesc(gif, width, height, 8, 0, nullptr) != GIF_OK ||
      EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
      EGifPutExtensionBlock(gif, sizeof kLoopApplication - 1, kLoopApplication) != GIF_OK ||
      EGifPutExtensionBlock(gif, kLoopForever.size(), kLoopForever.data()) != GIF_OK ||
      EGifPutExtensionTrailer(gif) != GIF_OK) {
    *problem = GifErrorString(gif->Error);
    return nullptr;
  }
  return writer;
}

bool GifWriter::add(const platform::Picture& frame, int32_t centiseconds) {
  if (failed_ || !file_ || file_->gif == nullptr) return false;
  if (frame.width != width_ || frame.height != height_ || frame.pixels.size() != shown_.size()) {
    failed_ = true;
    return false;
  }
  // The rectangle around the changes; the whole picture the first time.
  Rectangle box{0, 0, width_, height_};
  if (!first_) {
    int32_t left = width_, top = height_, right = -1, bottom = -1;
    for (int32_t y = 0; y < height_; ++y) {
      for (int32_t x = 0; x < width_; ++x) {
        const size_t at =
            static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
        if (frame.pixels[at] == shown_[at]) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    // Nothing changed: one transparent pixel carries the frame's time.
    box = right < 0 ? Rectangle{0, 0, 1, 1}
                    : Rectangle{left, top, right - left + 1, bottom - top + 1};
  }
  std::vector<platform::ColorRef> pixels;
  std::vector<bool> changed;
  pixels.reserve(static_cast<size_t>(box.width) * static_cast<size_t>(box.height));
  for (int32_t y = box.top; y < box.top + box.height; ++y) {
    for (int32_t x = box.left; x < box.left + box.width; ++x) {
      const size_t at =
          static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
      pixels.push_back(frame.pixels[at]);
      changed.push_back(first_ || frame.pixels[at] != shown_[at]);
    }
  }
  IndexedRectangle indexed;
  if (!IndexExactly(pixels, changed, &indexed)) {
    indexed = IndexedRectangle{};
    if (!IndexQuantised(box.width, box.height, pixels, changed, &indexed)) {
      failed_ = true;
      return false;
    }
  }
  // Colour tables hold a power of two entries, at least two.
  const int tableSize = 1 << GifBitSize(std::max<int>(2, static_cast<int>(indexed.colours.size())));
  indexed.colours.resize(static_cast<size_t>(tableSize), GifColorType{0, 0, 0});
  ColorMapObject* table = GifMakeMapObject(tableSize, indexed.colours.data());

  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.UserInputFlag = false;
  control.DelayTime = std::clamp(centiseconds, 0, 65535);
  control.TransparentColor = indexed.transparent;
  GifByteType extension[4];
  const size_t extensionSize = EGifGCBToExtension(&control, extension);

  GifFileType* gif = file_->gif;
  bool ok = table != nullptr &&
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extensionSize),
                             extension) == GIF_OK &&
            EGifPutImageDesc(gif, box.left, box.top, box.width, box.height, false, table) == GIF_OK;
  for (int32_t row = 0; ok && row < box.height; ++row) {
    ok =
        EGifPutLine(
            gif, indexed.indices.data() + static_cast<size_t>(row) * static_cast<size_t>(box.width),
            box.width) == GIF_OK;
  }
  if (table != nullptr) GifFreeMapObject(table);
  if (!ok) {
    failed_ = true;
    return false;
  }
  // What the viewer shows now: the changed pixels in the table's colours.
  size_t i = 0;
  for (int32_t y = box.top; y < box.top + box.height; ++y) {
    for (int32_t x = box.left; x < box.left + box.width; ++x, ++i) {
      if (!changed[i]) continue;
      shown_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] =
          ColourRefOf(indexed.colours[indexed.indices[i]]);
    }
  }
  first_ = false;
  return true;
}

bool GifWriter::finish() {
  if (!file_ || file_->gif == nullptr) return false;
  int error = 0;
  const bool closed = EGifCloseFile(file_->gif, &error) == GIF_OK;
  file_->gif = nullptr;
  return closed && !failed_;
}

}  // namespace grazefall
