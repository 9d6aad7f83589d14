// The numeric ids of the settings pages' templates and controls.
#pragma once

#include <cstdint>

namespace grazefall {

constexpr int32_t kScenariosTemplateId = 116;
constexpr int32_t kHerdTemplateId = 117;
constexpr int32_t kWindTemplateId = 152;
constexpr int32_t kEffectsTemplateId = 173;
constexpr int32_t kBackgroundTemplateId = 153;
constexpr int32_t kXanaduTemplateId = 138;
constexpr int32_t kLiffTemplateId = 136;

// The sheet's window icon.
constexpr int32_t kSheetIconId = 104;

namespace scenarios_ids {
constexpr int32_t kClassicBanner = 125;
constexpr int32_t kInvasionBanner = 126;
constexpr int32_t kHalloweenBanner = 128;
constexpr int32_t kCustomBanner = 178;
constexpr int32_t kClassicUnselected = 1030;
constexpr int32_t kClassicSelected = 1027;
constexpr int32_t kInvasionUnselected = 1031;
constexpr int32_t kInvasionSelected = 1028;
constexpr int32_t kHalloweenUnselected = 1032;
constexpr int32_t kHalloweenSelected = 1029;
constexpr int32_t kCustomUnselected = 1033;
constexpr int32_t kCustomSelected = 1034;
}  // namespace scenarios_ids

namespace herd_ids {
constexpr int32_t kHerdSlider = 1026;
constexpr int32_t kHerdLabel = 1043;
constexpr int32_t kTiny = 1036;
constexpr int32_t kMedium = 1012;
constexpr int32_t kLarge = 1013;
constexpr int32_t kRandomSize = 1037;
constexpr int32_t kSpeedSlider = 1027;
constexpr int32_t kSpeedLabel = 1044;
constexpr int32_t kHeadingUpButton = 1114;
constexpr int32_t kHeadingDownButton = 1115;
constexpr int32_t kHeadingLeftButton = 1015;
constexpr int32_t kHeadingRightButton = 1116;
}  // namespace herd_ids

namespace wind_ids {
constexpr int32_t kPowerSlider = 1070;
constexpr int32_t kPowerLabel = 1071;
constexpr int32_t kLeft = 1012;
constexpr int32_t kRight = 1069;
constexpr int32_t kUp = 1072;
constexpr int32_t kDown = 1073;
constexpr int32_t kRandomLeft = 1111;
constexpr int32_t kRandomRight = 1112;
constexpr int32_t kRandomUp = 1081;
constexpr int32_t kRandomDown = 1082;
constexpr int32_t kRandom = 1013;
constexpr int32_t kWrapCows = 1035;
constexpr int32_t kConstantWind = 1080;
}  // namespace wind_ids

namespace effects_ids {
constexpr int32_t kModeList = 1002;
constexpr int32_t kUseActiveResolution = 1044;
constexpr int32_t kExplodeCows = 1034;
constexpr int32_t kTearsOfBlood = 1113;
constexpr int32_t kConspiracyMessages = 1035;
constexpr int32_t kInvertedPyramid = 1079;
constexpr int32_t kPlayIntro = 1025;
}  // namespace effects_ids

namespace background_ids {
constexpr int32_t kPreview = 1091;
constexpr int32_t kDirectoryLabel = 1095;
constexpr int32_t kFileList = 1088;
constexpr int32_t kChangeDirectory = 1094;
constexpr int32_t kFileNameLabel = 1090;
constexpr int32_t kNoBackground = 1099;
constexpr int32_t kCenter = 1098;
constexpr int32_t kStretch = 1012;
// The preview's default picture, and the size every preview is scaled to.
constexpr int32_t kDefaultPreviewPicture = 158;
constexpr int32_t kPreviewWidth = 176;
constexpr int32_t kPreviewHeight = 167;
}  // namespace background_ids

namespace xanadu_ids {
constexpr int32_t kBackdrop = 1104;
constexpr int32_t kCowPicture = 1105;
constexpr int32_t kEyeLineTop = 1106;
constexpr int32_t kEyeLineBottom = 1107;
constexpr int32_t kQuestion = 1108;
constexpr int32_t kAnswer = 1109;
constexpr int32_t kAsk = 1110;
// The question box holds at most this many characters.
constexpr int32_t kQuestionLimit = 199;
}  // namespace xanadu_ids

namespace liff_ids {
constexpr int32_t kHiddenCow1 = 1050;
constexpr int32_t kHiddenCow2 = 1051;
constexpr int32_t kHiddenCow3 = 1052;
constexpr int32_t kHiddenCow4 = 1056;
constexpr int32_t kHiddenCow5 = 1057;
constexpr int32_t kHiddenCow6 = 1058;
constexpr int32_t kPortrait1 = 1046;
constexpr int32_t kPortrait2 = 1047;
constexpr int32_t kPortrait3 = 1048;
constexpr int32_t kPortrait4 = 1049;
constexpr int32_t kPortrait5 = 1053;
constexpr int32_t kPortrait6 = 1054;
constexpr int32_t kWhiteCow = 1055;
constexpr int32_t kPinkCow = 1059;
constexpr int32_t kQuestionMark = 1060;
constexpr int32_t kClueUpsideDown = 1100;
constexpr int32_t kClueUpright = 1101;
constexpr int32_t kAnswerPicture = 1061;
}  // namespace liff_ids

}  // namespace grazefall
