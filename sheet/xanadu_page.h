// The Xanadu page: a cow that answers the question typed into its box.
#pragma once

#include <string>
#include <string_view>

#include "sheet/page_procedure.h"

namespace grazefall {

class XanaduPage : public PageProcedure {
 public:
  // "Ask": the answer replaces the last one, or the help opens.
  void command(int32_t id, int32_t notifyCode, ControlModel& controls,
               SheetServices& services) override;
};

// The question as the box hands it over: at most `limit` bytes, never
// ending inside a UTF-8 character.
std::string CutQuestion(std::string_view question, size_t limit);

}  // namespace grazefall
