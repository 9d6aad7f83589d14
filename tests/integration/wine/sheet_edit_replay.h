// The Linux side of the driven sheet test: the edits of sheet_edits.h made
// on the page logic, over whatever settings store the process's platform
// has, then OK.
#pragma once

#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"

namespace wine_test {

// `modeText` is the resolution the Windows side picked; `pictureFolder` and
// `pictures` are the folder the stored background path names and the files
// in it. Prints the cow's answer as the driver does ("answer <text>").
// Returns 0 when OK saved.
int ReplaySheetEdits(grazefall::platform::HeadlessPlatform& platform, const std::string& modeText,
                     const std::string& pictureFolder, const std::vector<std::string>& pictures);

}  // namespace wine_test
