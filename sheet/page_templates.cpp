// The seven pages' layouts. Positions are x, y, width, height in dialog units.
#include "sheet/page_template.h"

#include "conversation/cow_conversation.h"
#include "sheet/page_ids.h"

namespace grazefall {
namespace {

using K = ControlKind;

ControlTemplate Picture(int32_t id, int32_t picture, int32_t x, int32_t y, int32_t w, int32_t h,
                        uint32_t style = kStyleNone) {
  return {id, K::kPicture, {}, x, y, w, h, picture, style};
}
ControlTemplate Control(int32_t id, K kind, std::string_view text, int32_t x, int32_t y, int32_t w,
                        int32_t h, uint32_t style = kStyleNone) {
  return {id, kind, text, x, y, w, h, 0, style};
}

}  // namespace

const PageTemplate& ScenariosTemplate() {
  using namespace scenarios_ids;
  static const PageTemplate page{
      kScenariosTemplateId,
      "Scenarios",
      {
          Picture(kNoControlId, 179, 0, 0, 283, 153),
          Picture(kNoControlId, 135, 28, 4, 222, 46),
          Picture(kNoControlId, 181, 251, 4, 24, 22),
          Picture(kNoControlId, 146, 11, 8, 19, 13),
          Picture(kClassicBanner, 125, 34, 53, 187, 20, kStyleNotify),
          Picture(kInvasionBanner, 126, 34, 77, 187, 20, kStyleNotify),
          Picture(kHalloweenBanner, 178, 34, 101, 187, 20, kStyleNotify),
          Picture(kCustomBanner, 128, 34, 125, 187, 20, kStyleNotify),
          Picture(kClassicUnselected, 131, 229, 55, 17, 17, kStyleNotify | kStyleHidden),
          Picture(kClassicSelected, 130, 229, 55, 17, 17),
          Picture(kInvasionUnselected, 131, 229, 78, 17, 17, kStyleNotify),
          Picture(kInvasionSelected, 130, 229, 78, 17, 17, kStyleHidden),
          Picture(kHalloweenUnselected, 131, 230, 103, 17, 17, kStyleNotify),
          Picture(kHalloweenSelected, 130, 230, 103, 17, 17, kStyleHidden),
          Picture(kCustomUnselected, 131, 230, 126, 17, 17, kStyleNotify),
          Picture(kCustomSelected, 130, 230, 126, 17, 17, kStyleHidden),
      }};
  return page;
}

const PageTemplate& HerdTemplate() {
  using namespace herd_ids;
  static const PageTemplate page{
      kHerdTemplateId,
      "Herd",
      {
          Control(kNoControlId, K::kGroupBox, "Size of Herd (number of cows)", 5, 6, 272, 28),
          Control(kHerdSlider, K::kSlider, {}, 11, 17, 227, 11),
          Control(kHerdLabel, K::kStatic, {}, 239, 19, 29, 8, kStyleCentered),
          Control(kNoControlId, K::kGroupBox, "Size of Cows!", 5, 38, 272, 32),
          Control(kTiny, K::kRadioButton, "Tiny", 15, 52, 31, 10, kStyleGroupStart),
          Control(kMedium, K::kRadioButton, "Medium", 59, 52, 41, 10),
          Control(kLarge, K::kRadioButton, "Large", 113, 52, 34, 10),
          Control(kRandomSize, K::kRadioButton, "Random", 160, 52, 43, 10),
          Control(kNoControlId, K::kGroupBox, "Cow Falling Speed (average speed of cows)", 5, 76,
                  272, 32),
          Control(kSpeedSlider, K::kSlider, {}, 12, 89, 223, 15),
          Control(kSpeedLabel, K::kStatic, {}, 239, 91, 29, 8, kStyleCentered),
          Control(kNoControlId, K::kGroupBox, "Cow Heading (which direction does the cows move in)",
                  5, 113, 272, 33),
          Control(kHeadingUpButton, K::kRadioButton, "Up", 15, 129, 25, 10, kStyleGroupStart),
          Control(kHeadingDownButton, K::kRadioButton, "Down", 59, 129, 35, 10),
          Control(kHeadingLeftButton, K::kRadioButton, "Left", 113, 129, 28, 10),
          Control(kHeadingRightButton, K::kRadioButton, "Right", 161, 129, 33, 10),
      }};
  return page;
}

const PageTemplate& WindTemplate() {
  using namespace wind_ids;
  static const PageTemplate page{
      kWindTemplateId,
      "Wind",
      {
          Control(kNoControlId, K::kGroupBox, "Wind Power", 5, 7, 272, 33),
          Control(kPowerSlider, K::kSlider, {}, 13, 19, 223, 17),
          Control(kPowerLabel, K::kStatic, {}, 239, 22, 29, 8, kStyleCentered),
          Control(kNoControlId, K::kGroupBox, "Wind Direction", 5, 51, 272, 40),
          Control(kLeft, K::kRadioButton, "Left", 16, 63, 28, 10),
          Control(kRight, K::kRadioButton, "Right", 55, 63, 33, 10),
          Control(kUp, K::kRadioButton, "Up", 103, 63, 25, 10),
          Control(kDown, K::kRadioButton, "Down", 144, 63, 35, 10),
          Control(kRandomLeft, K::kRadioButton, "R-Left", 16, 75, 40, 10),
          Control(kRandomRight, K::kRadioButton, "R-Right", 55, 75, 40, 10),
          Control(kRandomUp, K::kRadioButton, "R-Up", 103, 75, 32, 10),
          Control(kRandomDown, K::kRadioButton, "R-Down", 144, 75, 40, 10),
          Control(kRandom, K::kRadioButton, "Random", 197, 68, 43, 10),
          Control(kNoControlId, K::kGroupBox, "Addition Wind Settings", 5, 103, 272, 40),
          Control(kWrapCows, K::kCheckBox, "Wrap cows as they're blown off the edge of the world.",
                  14, 116, 185, 10),
          Control(kConstantWind, K::kCheckBox, "Make wind constant in the selected direction.", 14,
                  128, 159, 10),
      }};
  return page;
}

const PageTemplate& EffectsTemplate() {
  using namespace effects_ids;
  static const PageTemplate page{
      kEffectsTemplateId,
      "Effects",
      {
          Control(kNoControlId, K::kGroupBox, "Screen Resolution", 5, 3, 272, 34),
          Control(kModeList, K::kComboBox, {}, 16, 16, 127, 105),
          Control(kUseActiveResolution, K::kPushButton, "Use active resolution", 164, 16, 89, 12),
          Control(kNoControlId, K::kGroupBox, "Gore F/X", 5, 41, 272, 44),
          Control(kExplodeCows, K::kCheckBox,
                  "Explode the cows randomly. This an effect, no cows are actually harmed.", 14, 56,
                  245, 10),
          Control(kTearsOfBlood, K::kCheckBox,
                  "Drip, drip, drop. Is that blood in the sky I see? It might be, Tears of Blood!",
                  14, 69, 245, 10),
          Control(kNoControlId, K::kGroupBox, "Cool (but not especially gory) F/X", 5, 90, 272, 56),
          Control(kConspiracyMessages, K::kCheckBox,
                  "Display conspiricy messages and sublime brainwave images randomly.", 14, 103,
                  235, 10),
          Control(kInvertedPyramid, K::kCheckBox,
                  "Arrange the cows in an inverted pyramid as they fall in the first time.", 14,
                  116, 226, 10),
          Control(kPlayIntro, K::kCheckBox,
                  "Play the intro, a ufo with cows in it will fly in as the screensaver starts.",
                  14, 129, 233, 10),
      }};
  return page;
}

const PageTemplate& BackgroundTemplate() {
  using namespace background_ids;
  static const PageTemplate page{
      kBackgroundTemplateId,
      "Background",
      {
          Picture(kPreview, 0, 10, 11, 16, 14, kStyleSunken),
          Control(kNoControlId, K::kStatic, "Listing bitmaps in directory:", 145, 13, 85, 8),
          Control(kDirectoryLabel, K::kStatic, {}, 148, 24, 116, 8),
          Control(kFileList, K::kListBox, {}, 144, 36, 122, 75, kStyleSorted),
          Control(kChangeDirectory, K::kPushButton, "Change Directory", 204, 115, 62, 14),
          Control(kNoControlId, K::kStatic, "Image:", 9, 119, 24, 10),
          Control(kFileNameLabel, K::kStatic, {}, 34, 119, 107, 10),
          Control(kNoBackground, K::kRadioButton, "No Background", 10, 139, 66, 10,
                  kStyleGroupStart),
          Control(kCenter, K::kRadioButton, "Center Image on Screen", 78, 139, 93, 10),
          Control(kStretch, K::kRadioButton, "Stretch Image to fit Screen", 173, 139, 100, 10),
      }};
  return page;
}

const PageTemplate& XanaduTemplate() {
  using namespace xanadu_ids;
  static const PageTemplate page{
      kXanaduTemplateId,
      "Xanadu",
      {
          Control(kBackdrop, K::kRectangle, {}, 0, 0, 281, 153),
          Picture(kNoControlId, 115, 8, 8, 14, 15),
          Picture(kNoControlId, 146, 61, 79, 19, 13),
          Picture(kCowPicture, 120, 23, 0, 90, 162),
          Picture(kNoControlId, 146, 39, 8, 19, 13),
          Control(kEyeLineTop, K::kFrame, {}, 28, 13, 7, 1, kStyleWhite),
          Control(kEyeLineBottom, K::kFrame, {}, 28, 16, 7, 1, kStyleWhite),
          Control(kQuestion, K::kEdit, {}, 131, 24, 96, 14),
          Control(kAnswer, K::kStatic, kCowIntroduction, 215, 49, 54, 94),
          Picture(kNoControlId, 162, 117, 7, 162, 146),
          Control(kAsk, K::kPushButton, "Ask", 239, 24, 18, 11),
          Control(kNoControlId, K::kRectangle, {}, 115, 0, 1, 153, kStyleWhite),
          Picture(kNoControlId, 166, 149, 3, 59, 24),
      }};
  return page;
}

const PageTemplate& LiffTemplate() {
  using namespace liff_ids;
  static const PageTemplate page{
      kLiffTemplateId,
      "The Meaning of Liff",
      {
          Control(kNoControlId, K::kRectangle, {}, 0, 0, 282, 153),
          Picture(kNoControlId, 137, 10, 4, 265, 145),
          Picture(kHiddenCow1, 146, 202, 41, 19, 13, kStyleNotify),
          Picture(kHiddenCow2, 146, 235, 36, 19, 13, kStyleNotify),
          Picture(kHiddenCow3, 146, 212, 26, 19, 13, kStyleNotify),
          Picture(kHiddenCow4, 146, 245, 17, 19, 13, kStyleNotify),
          Picture(kHiddenCow5, 146, 216, 56, 19, 13, kStyleNotify),
          Picture(kHiddenCow6, 146, 243, 80, 19, 13, kStyleNotify),
          Picture(kPortrait1, 139, 9, 126, 21, 19, kStyleNotify | kStyleHidden),
          Picture(kPortrait2, 140, 35, 128, 19, 17, kStyleNotify | kStyleHidden),
          Picture(kPortrait3, 141, 57, 127, 17, 17, kStyleNotify | kStyleHidden),
          Picture(kPortrait4, 142, 80, 126, 21, 20, kStyleNotify | kStyleHidden),
          Picture(kPortrait5, 143, 103, 128, 21, 14, kStyleNotify | kStyleHidden),
          Picture(kPortrait6, 144, 128, 124, 27, 24, kStyleNotify | kStyleHidden),
          Picture(kWhiteCow, 145, 159, 125, 32, 21, kStyleNotify),
          Picture(kPinkCow, 149, 194, 84, 19, 13, kStyleNotify | kStyleHidden),
          Picture(kQuestionMark, 148, 11, 20, 71, 86, kStyleNotify),
          Picture(kClueUpsideDown, 156, 11, 20, 20, 20, kStyleNotify | kStyleHidden),
          Picture(kClueUpright, 157, 11, 20, 71, 86, kStyleNotify | kStyleHidden),
          Picture(kAnswerPicture, 147, 11, 20, 71, 86, kStyleNotify | kStyleHidden),
      }};
  return page;
}

}  // namespace grazefall
