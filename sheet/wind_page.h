// The Wind page: wind power, its direction, wrapping and constant wind.
#pragma once

#include "sheet/page_procedure.h"

namespace grazefall {

class WindPage : public PageProcedure {
 public:
  // The power slider moved: its label follows.
  void sliderMoved(ControlModel& controls) override;

 protected:
  void fill(ControlModel& controls, SheetServices& services) override;
  void read(ControlModel& controls) override;
};

}  // namespace grazefall
