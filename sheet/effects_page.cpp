#include "sheet/effects_page.h"

#include <array>
#include <limits>
#include <vector>

#include "options/options.h"
#include "options/options_store.h"
#include "sheet/page_ids.h"

namespace grazefall {
namespace {

using namespace effects_ids;

// Modes below 8 bits per pixel are never offered.
constexpr int32_t kMinimumBitDepth = 8;

// A leading decimal number: blanks skipped, an optional sign, digits up to
// the first other character; saturates instead of overflowing.
int32_t LeadingNumber(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
    negative = text[at] == '-';
    ++at;
  }
  int64_t value = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    value = value * 10 + (text[at] - '0');
    if (value > std::numeric_limits<int32_t>::max()) {
      value = std::numeric_limits<int32_t>::max();
    }
    ++at;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

void SelectMode(ControlModel& controls, int32_t width, int32_t height, int32_t bitDepth) {
  controls.selectString(kModeList, FormatModeText(width, height, bitDepth));
}

}  // namespace

std::string FormatModeText(int32_t width, int32_t height, int32_t bitDepth) {
  return std::to_string(width) + " x " + std::to_string(height) + " x " + std::to_string(bitDepth);
}

platform::DisplayMode ParseModeText(std::string_view text) {
  std::array<std::string_view, 3> parts{};
  size_t part = 0;
  size_t start = 0;
  for (size_t i = 0; i <= text.size() && part < parts.size(); ++i) {
    if (i == text.size() || text[i] == 'x') {
      parts[part++] = text.substr(start, i - start);
      start = i + 1;
    }
  }
  return {LeadingNumber(parts[0]), LeadingNumber(parts[1]), LeadingNumber(parts[2])};
}

void EffectsPage::initialize(ControlModel& controls, SheetServices& services) {
  platform::DisplayModes* display = services.displayModes();
  if (display == nullptr) {
    services.showMessage(kNoDisplayObjectMessage, kErrorCaption);
    return;
  }
  controls.resetContent(kModeList);
  std::vector<platform::DisplayMode> modes;
  const bool listed = display->listModes(&modes);
  // Whatever was listed before a failure stays in the list.
  for (const platform::DisplayMode& mode : modes) {
    if (mode.bitDepth < kMinimumBitDepth) continue;
    controls.addString(kModeList, FormatModeText(mode.width, mode.height, mode.bitDepth));
  }
  if (!listed) services.showMessage(kModeListFailedMessage, kErrorCaption);
}

void EffectsPage::command(int32_t id, int32_t /*notifyCode*/, ControlModel& controls,
                          SheetServices& services) {
  if (id != kUseActiveResolution) return;
  QueryCurrentDisplayMode(services.displayModes());
  SelectMode(controls, activeOptions.screenWidth, activeOptions.screenHeight,
             activeOptions.screenBitDepth);
}

void EffectsPage::fill(ControlModel& controls, SheetServices& /*services*/) {
  SelectMode(controls, activeOptions.screenWidth, activeOptions.screenHeight,
             activeOptions.screenBitDepth);
  const bool editable = CustomScenarioActive();
  controls.setChecked(kPlayIntro, activeOptions.introPhase == 0);
  controls.setChecked(kInvertedPyramid, activeOptions.invertedPyramid != 0);
  controls.setChecked(kConspiracyMessages, activeOptions.conspiracyMessages != 0);
  controls.setChecked(kExplodeCows, activeOptions.explodeCows != 0);
  controls.setChecked(kTearsOfBlood, activeOptions.tearsOfBlood != 0);
  for (int32_t box :
       {kPlayIntro, kInvertedPyramid, kConspiracyMessages, kExplodeCows, kTearsOfBlood}) {
    controls.setEnabled(box, editable);
  }
}

void EffectsPage::read(ControlModel& controls) {
  // With nothing selected the resolution stays as it was; an empty selection
  // would otherwise read as 0 x 0 x 0, a mode no display can run.
  if (controls.selection(kModeList) >= 0) {
    const platform::DisplayMode mode = ParseModeText(controls.selectedText(kModeList));
    activeOptions.screenWidth = mode.width;
    activeOptions.screenHeight = mode.height;
    activeOptions.screenBitDepth = mode.bitDepth;
  }
  activeOptions.introPhase = controls.isChecked(kPlayIntro) ? 0 : 2;
  activeOptions.invertedPyramid = controls.isChecked(kInvertedPyramid) ? 1 : 0;
  activeOptions.conspiracyMessages = controls.isChecked(kConspiracyMessages) ? 1 : 0;
  activeOptions.explodeCows = controls.isChecked(kExplodeCows) ? 1 : 0;
  activeOptions.tearsOfBlood = controls.isChecked(kTearsOfBlood) ? 1 : 0;
}

}  // namespace grazefall
