// The state of a settings page's controls, addressed by the numeric ids of the
// page's template, with the operations the page procedures perform on them.
// The toolkit front end mirrors this state onto real widgets and feeds the
// user's edits back into it; the page logic never sees a widget.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/page_template.h"

namespace grazefall {

struct ControlState {
  ControlKind kind = ControlKind::kStatic;
  std::string text;
  bool checked = false;
  bool enabled = true;
  bool shown = true;
  // Slider range and position.
  int32_t rangeMin = 0;
  int32_t rangeMax = 100;
  int32_t position = 0;
  // List and combo entries and the selected index (-1: none).
  std::vector<std::string> entries;
  int32_t selection = -1;
  bool sorted = false;
  // Picture: a bitmap resource id, or a file shown in its place when set.
  int32_t pictureId = 0;
  std::string pictureFile;
};

class ControlModel {
 public:
  // One state per addressable control of the template, in its start state.
  explicit ControlModel(const PageTemplate& page);

  bool has(int32_t id) const { return controls_.count(id) != 0; }
  // The control's state; an id the page does not have yields a scratch state,
  // so an operation on a missing control does nothing lasting.
  ControlState& at(int32_t id);
  const ControlState& at(int32_t id) const;
  const std::map<int32_t, ControlState>& controls() const { return controls_; }

  // Text and numbers as dialog items hold them.
  void setText(int32_t id, std::string_view text);
  const std::string& text(int32_t id) const;
  // Decimal text of `value`, read as signed or as unsigned 32 bits.
  void setInt(int32_t id, int32_t value, bool isSigned);
  // The text as a number; 0 for text that is not a decimal number in range.
  int32_t readInt(int32_t id, bool isSigned) const;

  void setChecked(int32_t id, bool checked);
  bool isChecked(int32_t id) const;
  void setEnabled(int32_t id, bool enabled);
  bool isEnabled(int32_t id) const;
  void setShown(int32_t id, bool shown);
  bool isShown(int32_t id) const;

  // Sliders keep their position inside the range, as a trackbar does.
  void setRange(int32_t id, int32_t minimum, int32_t maximum);
  void setPosition(int32_t id, int32_t position);
  int32_t position(int32_t id) const;

  // Lists and drop-down lists.
  void resetContent(int32_t id);
  // Appends, or inserts in order (without case) for a sorted list; returns
  // the index of the new entry.
  int32_t addString(int32_t id, std::string_view entry);
  // The first entry equal to `entry` without regard to case; -1 if none.
  int32_t findStringExact(int32_t id, std::string_view entry) const;
  // Selects the first entry that begins with `prefix` without regard to case
  // and returns its index; returns -1 and keeps the selection when none does.
  int32_t selectString(int32_t id, std::string_view prefix);
  void setSelection(int32_t id, int32_t index);
  int32_t selection(int32_t id) const;
  // The selected entry's text; empty when nothing is selected.
  std::string selectedText(int32_t id) const;

  void setPicture(int32_t id, int32_t resourceId);
  void setPictureFile(int32_t id, std::string_view path);

 private:
  std::map<int32_t, ControlState> controls_;
  ControlState scratch_;
};

// The decimal reading a dialog item applies to its text: leading and trailing
// blanks skipped, an optional minus sign when signed, at least one digit and
// nothing else; anything else, or a value outside 32 bits, reads as 0.
int32_t ParseDialogInt(std::string_view text, bool isSigned);
// Lower-cases ASCII letters only.
std::string LowerAscii(std::string_view text);

}  // namespace grazefall
