// Which frame steps of a render go into its GIF, and for how long each is
// shown: a step lasts the saver's timer tick plus the pause it asks for, and
// a GIF frame lasts the steps from its own up to the next one kept.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "host/linux/render/gif_writer.h"
#include "platform/picture.h"

namespace grazefall {

// Browsers show GIF frames shorter than 2/100 s more slowly; every second
// 10 ms step keeps the saver's pace.
constexpr int64_t kDefaultGifStep = 2;

class GifRecorder {
 public:
  // Keeps the steps from `firstStep` on, every `everyNth` of them.
  GifRecorder(std::unique_ptr<GifWriter> writer, int64_t everyNth, int64_t firstStep);

  // Whether the frame of this step goes into the GIF.
  bool wants(int64_t step) const;
  // After each step (numbered from 1): its frame when wanted, and the pause
  // it asked for. False once the file cannot be written.
  bool record(int64_t step, const platform::Picture* frame, uint32_t pauseMs);
  // Writes the last frame and closes the file; false when anything failed.
  bool finish();

 private:
  bool flush();

  std::unique_ptr<GifWriter> writer_;
  int64_t everyNth_;
  int64_t firstStep_;
  std::optional<platform::Picture> pending_;
  // Milliseconds from the first kept step to the pending frame, and the
  // pending frame's own length so far; delays are rounded on the running
  // total, so they never drift.
  int64_t pendingStartMs_ = 0;
  int64_t pendingMs_ = 0;
  bool ok_ = true;
};

}  // namespace grazefall
