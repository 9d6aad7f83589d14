// Where the program's help page is: beside the program, in the install's
// share folder, in the source tree named by GRAZEFALL_SOURCE_DIR, or in the
// source tree the program was built from.
#pragma once

#include <QString>

namespace grazefall::qtui {

// The help page's absolute path; empty when none of the places has it.
QString FindHelpFile();

}  // namespace grazefall::qtui
