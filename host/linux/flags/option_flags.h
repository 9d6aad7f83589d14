// Run-time option flags: one run's changes to the stored options record,
// given on the command line as XScreenSaver passes them (`-herd-size 40`) or
// as a person types them (`--herd-size 40`, `--herd-size=40`, `--no-explode`).
// They change activeOptions after the stored record is read and are never
// written back to the store.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "options/options.h"
#include "platform/settings_store.h"

namespace grazefall::flags {

// A whole number written in decimal and nothing else; nothing for an empty
// text, trailing characters or a value out of the type's range.
template <typename Number>
std::optional<Number> ParseWholeNumber(std::string_view text) {
  Number value{};
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
    return std::nullopt;
  return value;
}

// Each field holds a value in the record's own coding; unset fields keep
// what the stored record says.
struct OptionFlags {
  // The scenario's canonical name: "Classic", "Invasion", "Halloween", "Custom".
  std::optional<std::string> scenario;
  std::optional<int32_t> herdSize;
  std::optional<int32_t> cowSize;
  std::optional<int32_t> fallSpeed;
  std::optional<int32_t> heading;
  std::optional<int32_t> windPower;
  std::optional<int32_t> windDirection;
  std::optional<bool> constantWind;
  std::optional<bool> explodeCows;
  std::optional<bool> tearsOfBlood;
  std::optional<bool> conspiracyMessages;
  std::optional<bool> playIntro;
  std::optional<bool> invertedPyramid;
  std::optional<bool> wrapCows;
  std::optional<std::string> backgroundPath;
  std::optional<int32_t> backgroundMode;

  bool any() const;
};

enum class FlagMatch {
  // args[index] is not an option flag; nothing was taken.
  NotAFlag,
  // The flag (and its value) went into the flags; index is past it.
  Taken,
  // An option flag with a bad or missing value; the error says which.
  Bad,
};

// Looks at args[*index]; when it names an option flag (one dash or two), takes
// it and its value (the next argument, or the text after '=') into *flags and
// moves *index to the argument after them. On Bad, *error is one line naming
// the flag, the value and what is allowed.
FlagMatch TakeOptionFlag(std::span<const std::string_view> args, size_t* index, OptionFlags* flags,
                         std::string* error);

// Puts the flags into `options`: first the scenario (the store's record of
// that name, else its preset, keeping the display mode and the background of
// `options`), then every field given. Reads the store, never writes it.
void ApplyOptionFlags(const OptionFlags& flags, platform::SettingsStore& store,
                      ScenarioOptions& options);

// The flags' lines for a --help text.
std::string OptionFlagsHelp();

}  // namespace grazefall::flags
