// The settings sheet driven as a person drives it (see sheet_hands.h), one
// run per call; each returns 0 when everything it checked held, and says on
// stderr what did not.
#pragma once

#include <string>

namespace wine_test {

// Chooses each scenario in turn and, after each choice, checks that every
// slider's thumb stands where its value and range put it. Ends on the Herd
// page with Classic chosen and the sheet open, for a screenshot.
int SheetThumbs();

// Makes the edits of sheet_edits.h, then presses OK ("ok"), Cancel
// ("cancel"), or OK while the store's key refuses writes ("fail": the
// message must show, the sheet stay open on its page and the store keep
// every byte; then the key is made writable again and OK pressed again).
// Prints the resolution it picked ("mode <text>") and the answer the cow
// gave ("answer <text>", line breaks as \n).
int SheetEdits(const std::string& ending);

// Presses a button of the open sheet: "ok" or "cancel"; waits for it to close.
int SheetPress(const std::string& button);

}  // namespace wine_test
