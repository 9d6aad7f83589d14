#include "sheet/sheet_closer.h"

namespace grazefall {

bool SheetCloser::confirm() {
  if (closed_) return true;
  closed_ = sheet_.ok();
  return closed_;
}

void SheetCloser::dismiss() {
  if (closed_) return;
  closed_ = true;
  sheet_.cancel();
}

}  // namespace grazefall
