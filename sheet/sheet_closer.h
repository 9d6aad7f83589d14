// What OK and Cancel do to an open settings sheet, for a front end whose
// sheet window closes when its OK handler allows it. OK closes the sheet only
// when every value was stored: a failed save has told the user where and why,
// and the sheet stays open with the user's choices for another OK (after the
// store is put right) or Cancel. Cancel always closes. Once the sheet is
// closed, a late OK (each page of a property sheet hears it) or the window
// going away changes nothing.
#pragma once

#include "sheet/property_sheet.h"

namespace grazefall {

class SheetCloser {
 public:
  explicit SheetCloser(PropertySheet& sheet) : sheet_(sheet) {}

  // OK: saves the settings; true when the sheet may close.
  bool confirm();
  // Cancel, or the sheet's window closed some other way: nothing is saved.
  void dismiss();
  bool closed() const { return closed_; }

 private:
  PropertySheet& sheet_;
  bool closed_ = false;
};

}  // namespace grazefall
