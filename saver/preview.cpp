#include "saver/preview.h"

#include "platform/platform.h"
#include "platform/windowing.h"
#include "saver/saver_proc.h"

namespace grazefall {

int32_t DrawPreview() {
  SaverLifecycle& state = saverLifecycle;
  if (state.previewBitmapPending) {
    // One attempt only: a missing resource leaves the window its black.
    state.previewBitmap = platform::CurrentPlatform().loadResourcePicture(kPreviewBitmapId);
    state.previewBitmapPending = false;
  }
  if (!state.previewBitmap.has_value()) return 0;
  platform::CurrentWindowSystem().paintPicture(state.saverWindow, *state.previewBitmap, 0, 0);
  return 0;
}

}  // namespace grazefall
