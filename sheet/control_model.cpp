#include "sheet/control_model.h"

#include <algorithm>
#include <limits>

namespace grazefall {

ControlModel::ControlModel(const PageTemplate& page) {
  for (const ControlTemplate& control : page.controls) {
    if (control.id == kNoControlId) continue;
    ControlState state;
    state.kind = control.kind;
    state.text = std::string(control.text);
    state.shown = (control.style & kStyleHidden) == 0;
    state.sorted = (control.style & kStyleSorted) != 0;
    state.pictureId = control.pictureId;
    controls_.emplace(control.id, std::move(state));
  }
}

ControlState& ControlModel::at(int32_t id) {
  auto found = controls_.find(id);
  if (found != controls_.end()) return found->second;
  scratch_ = ControlState{};
  return scratch_;
}

const ControlState& ControlModel::at(int32_t id) const {
  auto found = controls_.find(id);
  if (found != controls_.end()) return found->second;
  static const ControlState kMissing{};
  return kMissing;
}

void ControlModel::setText(int32_t id, std::string_view text) {
  at(id).text = std::string(text);
}

const std::string& ControlModel::text(int32_t id) const {
  return at(id).text;
}

void ControlModel::setInt(int32_t id, int32_t value, bool isSigned) {
  if (isSigned) {
    setText(id, std::to_string(value));
  } else {
    setText(id, std::to_string(static_cast<uint32_t>(value)));
  }
}

int32_t ControlModel::readInt(int32_t id, bool isSigned) const {
  return ParseDialogInt(text(id), isSigned);
}

void ControlModel::setChecked(int32_t id, bool checked) {
  at(id).checked = checked;
}
bool ControlModel::isChecked(int32_t id) const {
  return at(id).checked;
}
void ControlModel::setEnabled(int32_t id, bool enabled) {
  at(id).enabled = enabled;
}
bool ControlModel::isEnabled(int32_t id) const {
  return at(id).enabled;
}
void ControlModel::setShown(int32_t id, bool shown) {
  at(id).shown = shown;
}
bool ControlModel::isShown(int32_t id) const {
  return at(id).shown;
}

void ControlModel::setRange(int32_t id, int32_t minimum, int32_t maximum) {
  ControlState& slider = at(id);
  slider.rangeMin = minimum;
  slider.rangeMax = std::max(minimum, maximum);
  slider.position = std::clamp(slider.position, slider.rangeMin, slider.rangeMax);
}

void ControlModel::setPosition(int32_t id, int32_t position) {
  ControlState& slider = at(id);
  slider.position = std::clamp(position, slider.rangeMin, slider.rangeMax);
}

int32_t ControlModel::position(int32_t id) const {
  return at(id).position;
}

void ControlModel::resetContent(int32_t id) {
  ControlState& list = at(id);
  list.entries.clear();
  list.selection = -1;
}

int32_t ControlModel::addString(int32_t id, std::string_view entry) {
  ControlState& list = at(id);
  auto place = list.entries.end();
  if (list.sorted) {
    const std::string key = LowerAscii(entry);
    place = std::find_if(list.entries.begin(), list.entries.end(),
                         [&](const std::string& other) { return LowerAscii(other) > key; });
  }
  const auto index = static_cast<int32_t>(place - list.entries.begin());
  list.entries.insert(place, std::string(entry));
  if (list.selection >= index) ++list.selection;
  return index;
}

int32_t ControlModel::findStringExact(int32_t id, std::string_view entry) const {
  const ControlState& list = at(id);
  const std::string key = LowerAscii(entry);
  for (size_t i = 0; i < list.entries.size(); ++i) {
    if (LowerAscii(list.entries[i]) == key) return static_cast<int32_t>(i);
  }
  return -1;
}

int32_t ControlModel::selectString(int32_t id, std::string_view prefix) {
  ControlState& list = at(id);
  const std::string key = LowerAscii(prefix);
  for (size_t i = 0; i < list.entries.size(); ++i) {
    if (LowerAscii(list.entries[i]).starts_with(key)) {
      list.selection = static_cast<int32_t>(i);
      return list.selection;
    }
  }
  return -1;
}

void ControlModel::setSelection(int32_t id, int32_t index) {
  ControlState& list = at(id);
  const bool inside = index >= 0 && static_cast<size_t>(index) < list.entries.size();
  list.selection = inside ? index : -1;
}

int32_t ControlModel::selection(int32_t id) const {
  return at(id).selection;
}

std::string ControlModel::selectedText(int32_t id) const {
  const ControlState& list = at(id);
  if (list.selection < 0 || static_cast<size_t>(list.selection) >= list.entries.size()) return {};
  return list.entries[static_cast<size_t>(list.selection)];
}

void ControlModel::setPicture(int32_t id, int32_t resourceId) {
  ControlState& picture = at(id);
  picture.pictureId = resourceId;
  picture.pictureFile.clear();
}

void ControlModel::setPictureFile(int32_t id, std::string_view path) {
  at(id).pictureFile = std::string(path);
}

int32_t ParseDialogInt(std::string_view text, bool isSigned) {
  size_t at = 0;
  while (at < text.size() && text[at] == ' ') ++at;
  bool negative = false;
  if (isSigned && at < text.size() && text[at] == '-') {
    negative = true;
    ++at;
  }
  const size_t digitsStart = at;
  uint64_t value = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    value = value * 10 + static_cast<uint64_t>(text[at] - '0');
    if (value > std::numeric_limits<uint32_t>::max()) return 0;
    ++at;
  }
  if (at == digitsStart) return 0;
  while (at < text.size() && text[at] == ' ') ++at;
  if (at != text.size()) return 0;
  if (!isSigned) return static_cast<int32_t>(static_cast<uint32_t>(value));
  const uint64_t limit = negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
  if (value > limit) return 0;
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(value))
                  : static_cast<int32_t>(value);
}

std::string LowerAscii(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}

}  // namespace grazefall
