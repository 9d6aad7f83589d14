// The Effects page: the full-screen display mode, chosen from the modes the
// display offers, and the scenario's effect switches.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"
#include "sheet/page_procedure.h"

namespace grazefall {

class EffectsPage : public PageProcedure {
 public:
  // Fills the mode list once, from the display's modes.
  void initialize(ControlModel& controls, SheetServices& services) override;
  // "Use active resolution".
  void command(int32_t id, int32_t notifyCode, ControlModel& controls,
               SheetServices& services) override;

 protected:
  void fill(ControlModel& controls, SheetServices& services) override;
  void read(ControlModel& controls) override;
};

constexpr std::string_view kNoDisplayObjectMessage = "Error: Couldn't create DirectDraw object.";
constexpr std::string_view kModeListFailedMessage = "Error: Failed enumerating display modes.";
constexpr std::string_view kErrorCaption = "Error";

// "800 x 600 x 16".
std::string FormatModeText(int32_t width, int32_t height, int32_t bitDepth);
// Splits a mode text at its first two 'x' characters and reads each part as
// a leading decimal number (0 when there is none).
platform::DisplayMode ParseModeText(std::string_view text);

}  // namespace grazefall
