// The layout of the settings pages: every control with its id, kind, text,
// picture and place in dialog units. The page logic builds its control model
// from it and the toolkit front end lays its widgets out from it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace grazefall {

enum class ControlKind {
  kPicture,    // a bitmap resource, at the picture's own size
  kRectangle,  // a filled rectangle (black or white)
  kFrame,      // an outlined rectangle
  kGroupBox,
  kStatic,  // a text label
  kPushButton,
  kRadioButton,
  kCheckBox,
  kSlider,
  kListBox,
  kComboBox,  // a drop-down list
  kEdit,
};

// Style bits of a control.
enum ControlStyle : uint32_t {
  kStyleNone = 0,
  kStyleNotify = 1u << 0,      // a picture that reports clicks
  kStyleHidden = 1u << 1,      // starts invisible
  kStyleGroupStart = 1u << 2,  // starts a new radio group
  kStyleCentered = 1u << 3,    // centred text
  kStyleSunken = 1u << 4,      // sunken edge
  kStyleSorted = 1u << 5,      // a list that sorts its entries
  kStyleWhite = 1u << 6,       // rectangle or frame in white (else black)
};

// A control nobody addresses has id 0.
constexpr int32_t kNoControlId = 0;

struct ControlTemplate {
  int32_t id = kNoControlId;
  ControlKind kind = ControlKind::kStatic;
  std::string_view text;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pictureId = 0;
  uint32_t style = kStyleNone;
};

struct PageTemplate {
  int32_t templateId = 0;
  std::string_view title;
  // In template order; later controls are drawn over earlier ones.
  std::vector<ControlTemplate> controls;
};

// Every page is this size in dialog units.
constexpr int32_t kPageWidthDlu = 282;
constexpr int32_t kPageHeightDlu = 153;

const PageTemplate& ScenariosTemplate();
const PageTemplate& HerdTemplate();
const PageTemplate& WindTemplate();
const PageTemplate& EffectsTemplate();
const PageTemplate& BackgroundTemplate();
const PageTemplate& XanaduTemplate();
const PageTemplate& LiffTemplate();

}  // namespace grazefall
