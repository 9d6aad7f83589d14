#include "sheet/liff_page.h"

#include <array>

#include "sheet/page_ids.h"

namespace grazefall {
namespace {

using namespace liff_ids;

struct HiddenCow {
  int32_t hotSpot;
  int32_t portrait;
};
constexpr std::array<HiddenCow, 6> kHiddenCows{{
    {kHiddenCow1, kPortrait1},
    {kHiddenCow2, kPortrait2},
    {kHiddenCow3, kPortrait3},
    {kHiddenCow4, kPortrait4},
    {kHiddenCow5, kPortrait5},
    {kHiddenCow6, kPortrait6},
}};

void Swap(ControlModel& controls, int32_t show, int32_t hide) {
  controls.setShown(show, true);
  controls.setShown(hide, false);
}

}  // namespace

void LiffPage::command(int32_t id, int32_t /*notifyCode*/, ControlModel& controls,
                       SheetServices& /*services*/) {
  // The question mark turns into the clue upside down, then upright, then back.
  if (id == kQuestionMark) {
    Swap(controls, kClueUpsideDown, kQuestionMark);
  } else if (id == kClueUpsideDown) {
    Swap(controls, kClueUpright, kClueUpsideDown);
  } else if (id == kClueUpright) {
    Swap(controls, kQuestionMark, kClueUpright);
  }

  bool allFound = true;
  for (const HiddenCow& cow : kHiddenCows) {
    if (id == cow.hotSpot) controls.setShown(cow.portrait, true);
    allFound = allFound && controls.isShown(cow.portrait);
  }
  if (allFound) controls.setShown(kPinkCow, true);

  if (id == kPinkCow) {
    controls.setShown(kAnswerPicture, true);
    controls.setShown(kQuestionMark, false);
    controls.setShown(kClueUpsideDown, false);
    controls.setShown(kClueUpright, false);
  }
}

}  // namespace grazefall
