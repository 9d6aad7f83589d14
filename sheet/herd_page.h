// The Herd page: herd size, cow size, falling speed and heading. The value
// labels beside the sliders are what the page reads back, not the sliders.
#pragma once

#include "sheet/page_procedure.h"

namespace grazefall {

class HerdPage : public PageProcedure {
 public:
  // Either slider moved: both labels are rewritten from their sliders.
  void sliderMoved(ControlModel& controls) override;

 protected:
  void fill(ControlModel& controls, SheetServices& services) override;
  void read(ControlModel& controls) override;
};

}  // namespace grazefall
