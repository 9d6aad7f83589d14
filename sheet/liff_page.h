// The Meaning of Liff page: the credits with a hidden-cow game. Six found
// cows bring out a pink one, whose click shows the answer; the question mark
// cycles through a clue. Nothing here is an option or is stored.
#pragma once

#include "sheet/page_procedure.h"

namespace grazefall {

class LiffPage : public PageProcedure {
 public:
  void command(int32_t id, int32_t notifyCode, ControlModel& controls,
               SheetServices& services) override;
};

}  // namespace grazefall
