#include "saver/preview.h"

namespace grazefall {

void DrawPreview(SaverLifecycle& saver) {
  if (saver.previewBitmapPending) {
    // One attempt only: a missing resource leaves the window its black.
    saver.previewBitmap = saver.platform->loadResourcePicture(kPreviewBitmapId);
    saver.previewBitmapPending = false;
  }
  if (!saver.previewBitmap.has_value()) return;
  saver.windows->paintPicture(saver.saverWindow, *saver.previewBitmap, 0, 0);
}

}  // namespace grazefall
