#include "host/linux/render/gif_recorder.h"

#include <utility>

#include "saver/saver_proc.h"

namespace grazefall {

GifRecorder::GifRecorder(std::unique_ptr<GifWriter> writer, int64_t everyNth, int64_t firstStep)
    : writer_(std::move(writer)), everyNth_(everyNth), firstStep_(firstStep) {}

bool GifRecorder::wants(int64_t step) const {
  return step >= firstStep_ && (step - firstStep_) % everyNth_ == 0;
}

bool GifRecorder::record(int64_t step, const platform::Picture* frame, uint32_t pauseMs) {
  if (step < firstStep_) return ok_;
  if (wants(step) && frame != nullptr) {
    if (pending_) ok_ = flush() && ok_;
    pending_ = *frame;
  }
  pendingMs_ += static_cast<int64_t>(kFrameTimerPeriodMs) + static_cast<int64_t>(pauseMs);
  return ok_;
}

bool GifRecorder::flush() {
  const int64_t endMs = pendingStartMs_ + pendingMs_;
  const int64_t centiseconds = endMs / 10 - pendingStartMs_ / 10;
  const bool written = writer_->add(*pending_, static_cast<int32_t>(centiseconds));
  pending_.reset();
  pendingStartMs_ = endMs;
  pendingMs_ = 0;
  return written;
}

bool GifRecorder::finish() {
  if (pending_) ok_ = flush() && ok_;
  return writer_->finish() && ok_;
}

}  // namespace grazefall
