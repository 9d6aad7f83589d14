#include "saver/preview.h"

namespace grazefall {

int32_t DrawPreview(SaverLifecycle& saver) {
  if (saver.previewBitmapPending) {
    // One attempt only: a missing resource leaves the window its black.
    saver.previewBitmap = saver.platform->loadResourcePicture(kPreviewBitmapId);
    saver.previewBitmapPending = false;
  }
  if (!saver.previewBitmap.has_value()) return 0;
  saver.windows->paintPicture(saver.saverWindow, *saver.previewBitmap, 0, 0);
  return 0;
}

}  // namespace grazefall
