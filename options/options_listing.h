// An options record as text for people and tools: one "name: value" line per
// field, in stored order. Integers are decimal; texts have anything that is
// not printable ASCII escaped as \xNN (and a backslash as \\); the version is
// the shortest decimal that reads back to the same double.
#pragma once

#include <string>
#include <string_view>

#include "options/options.h"

namespace grazefall {

// `text` with every byte outside printable ASCII written as \xNN and every
// backslash doubled, so the result is one printable line.
std::string EscapedText(std::string_view text);

// Every field of `record` as "name: value\n" lines.
std::string OptionsListing(const ScenarioOptions& record);

}  // namespace grazefall
