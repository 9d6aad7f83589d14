// The settings pages' dialog templates as a resource script, written from the
// same page layouts the dialog logic and the Qt front end use.
#pragma once

#include <string>

#include "sheet/page_template.h"

namespace grazefall {

// One CONTROL statement: text, id, class, style, x, y, width, height.
std::string ControlLine(const ControlTemplate& control);
// The seven pages, each a DIALOGEX block, with the headers the script needs.
std::string DialogScript();

}  // namespace grazefall
