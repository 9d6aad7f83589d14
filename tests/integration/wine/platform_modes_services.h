// Sheet services whose display modes are those of a platform's display; the
// desktop side (folders, pictures, help, messages) is left to the tool.
#pragma once

#include <memory>

#include "platform/platform.h"
#include "sheet/sheet_services.h"

namespace wine_test {

class PlatformModesServices : public grazefall::SheetServices {
 public:
  explicit PlatformModesServices(grazefall::platform::Platform& system) : system_(system) {}
  grazefall::platform::DisplayModes* displayModes() override {
    display_ = system_.createDisplayDevice();
    return display_.get();
  }

 private:
  grazefall::platform::Platform& system_;
  std::unique_ptr<grazefall::platform::DisplayDevice> display_;
};

}  // namespace wine_test
