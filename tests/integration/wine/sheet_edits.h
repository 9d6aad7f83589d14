// The edits the Windows sheet test makes, as data shared by the two sides:
// the Wine driver performs them with clicks and key presses on the real
// sheet, and the options tool performs the same edits on the page logic with
// the Linux store, so the two stored records can be compared byte for byte.
// Both start from Classic; the first edit chooses Custom, so every control
// is enabled.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "sheet/page_ids.h"

namespace wine_test {

constexpr int kScenariosPage = 0;
constexpr int kHerdPage = 1;
constexpr int kWindPage = 2;
constexpr int kEffectsPage = 3;
constexpr int kBackgroundPage = 4;
constexpr int kXanaduPage = 5;
constexpr int kPageCount = 7;

// Each slider is pressed to its right end (End), its left end (Home), then
// `stepsBack` times one step right; it ends at minimum + stepsBack.
struct SliderEdit {
  int page;
  int32_t slider;
  int32_t label;
  int32_t minimum;
  int32_t maximum;
  int32_t stepsBack;
};
constexpr std::array<SliderEdit, 3> kSliderEdits{{
    {kHerdPage, grazefall::herd_ids::kHerdSlider, grazefall::herd_ids::kHerdLabel, 1, 10000, 4},
    {kHerdPage, grazefall::herd_ids::kSpeedSlider, grazefall::herd_ids::kSpeedLabel, -5, 5, 7},
    {kWindPage, grazefall::wind_ids::kPowerSlider, grazefall::wind_ids::kPowerLabel, 0, 10, 3},
}};

// Every radio group gets two clicks, the first button then the second; the
// group lists all its buttons, so a side that checks by hand can clear the
// others as an automatic radio button does.
struct RadioEdit {
  int page;
  std::array<int32_t, 2> clicks;
  std::array<int32_t, 9> group;  // 0 ends a shorter group
};
constexpr std::array<RadioEdit, 4> kRadioEdits{{
    {kHerdPage,
     {grazefall::herd_ids::kMedium, grazefall::herd_ids::kTiny},
     {grazefall::herd_ids::kTiny, grazefall::herd_ids::kMedium, grazefall::herd_ids::kLarge,
      grazefall::herd_ids::kRandomSize}},
    {kHerdPage,
     {grazefall::herd_ids::kHeadingUpButton, grazefall::herd_ids::kHeadingLeftButton},
     {grazefall::herd_ids::kHeadingUpButton, grazefall::herd_ids::kHeadingDownButton,
      grazefall::herd_ids::kHeadingLeftButton, grazefall::herd_ids::kHeadingRightButton}},
    {kWindPage,
     {grazefall::wind_ids::kRandomUp, grazefall::wind_ids::kDown},
     {grazefall::wind_ids::kLeft, grazefall::wind_ids::kRight, grazefall::wind_ids::kUp,
      grazefall::wind_ids::kDown, grazefall::wind_ids::kRandomLeft,
      grazefall::wind_ids::kRandomRight, grazefall::wind_ids::kRandomUp,
      grazefall::wind_ids::kRandomDown, grazefall::wind_ids::kRandom}},
    {kBackgroundPage,
     {grazefall::background_ids::kNoBackground, grazefall::background_ids::kStretch},
     {grazefall::background_ids::kNoBackground, grazefall::background_ids::kCenter,
      grazefall::background_ids::kStretch}},
}};

// Every check box is ticked, unticked and clicked once more: it ends the
// other way round from how the page showed it.
struct BoxEdit {
  int page;
  int32_t box;
};
constexpr std::array<BoxEdit, 7> kBoxEdits{{
    {kWindPage, grazefall::wind_ids::kWrapCows},
    {kWindPage, grazefall::wind_ids::kConstantWind},
    {kEffectsPage, grazefall::effects_ids::kExplodeCows},
    {kEffectsPage, grazefall::effects_ids::kTearsOfBlood},
    {kEffectsPage, grazefall::effects_ids::kConspiracyMessages},
    {kEffectsPage, grazefall::effects_ids::kInvertedPyramid},
    {kEffectsPage, grazefall::effects_ids::kPlayIntro},
}};
constexpr int kBoxClicks = 3;

// The background folder the store names holds these two pictures; the
// stored path names the first, and the user picks the second from the list.
constexpr std::string_view kStoredPicture = "a.bmp";
constexpr std::string_view kPickedPicture = "b.bmp";

// Typed into the Xanadu page's question box. One line: the box is one line
// tall and does not scroll, so it refuses a line break.
constexpr std::string_view kQuestion = "Will the herd fall today?";

}  // namespace wine_test
