// Frames as one looping animated GIF file (giflib). Each frame keeps only
// what changed since the frame before: the smallest rectangle around the
// changes, with the unchanged pixels in it left transparent. Each frame has
// its own colour table: exactly its colours when they are at most 255 (the
// art uses few), else giflib's quantisation of them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/picture.h"

namespace grazefall {

class GifWriter {
 public:
  // Nullptr with the reason in *problem when the file cannot be made.
  static std::unique_ptr<GifWriter> Create(const std::string& path, int32_t width, int32_t height,
                                           std::string* problem);
  // Closes the file if finish() was not called (a broken run's file).
  ~GifWriter();
  GifWriter(const GifWriter&) = delete;
  GifWriter& operator=(const GifWriter&) = delete;

  // Appends a frame of the writer's size, shown for `centiseconds`.
  bool add(const platform::Picture& frame, int32_t centiseconds);
  // Writes the end of the file and closes it; false when anything failed.
  bool finish();

 private:
  struct File;
  GifWriter(std::unique_ptr<File> file, int32_t width, int32_t height);

  std::unique_ptr<File> file_;
  int32_t width_;
  int32_t height_;
  bool failed_ = false;
  // What a viewer shows after the frames so far.
  std::vector<platform::ColorRef> shown_;
  bool first_ = true;
};

}  // namespace grazefall
