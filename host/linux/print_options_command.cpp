// grazefall --print-options [VALUE]: one stored options record, field by
// field, as "name: value" lines. The format is read by people and by tests,
// so it stays as it is: integers in decimal, texts with anything that is not
// printable ASCII escaped as \xNN (and a backslash as \\), the version as the
// shortest decimal that reads back to the same double.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "host/linux/commands.h"
#include "options/options.h"
#include "platform/linux/directory_settings_store.h"
#include "platform/types.h"

namespace grazefall::app {
namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (byte >= 0x20 && byte < 0x7F) {
      out += c;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
  }
  return out;
}

std::string VersionText(double version) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, version);
  return result.ec == std::errc() ? std::string(text, result.ptr) : std::string("?");
}

void PrintField(const char* name, long long value) {
  std::printf("%s: %lld\n", name, value);
}
void PrintField(const char* name, const std::string& value) {
  std::printf("%s: %s\n", name, value.c_str());
}

void PrintRecord(const ScenarioOptions& o) {
  PrintField("herdSize", o.herdSize);
  PrintField("cowSize", o.cowSize);
  PrintField("introPhase", o.introPhase);
  PrintField("conspiracyMessages", o.conspiracyMessages);
  PrintField("invertedPyramid", o.invertedPyramid);
  PrintField("wrapCows", o.wrapCows);
  PrintField("backgroundPath", Escaped(BackgroundPathOf(o)));
  PrintField("backgroundMode", o.backgroundMode);
  PrintField("fallSpeed", o.fallSpeed);
  PrintField("heading", o.heading);
  PrintField("windPower", o.windPower);
  PrintField("windDirection", o.windDirection);
  PrintField("constantWind", o.constantWind);
  PrintField("explodeCows", o.explodeCows);
  PrintField("tearsOfBlood", o.tearsOfBlood);
  PrintField("screenWidth", o.screenWidth);
  PrintField("screenHeight", o.screenHeight);
  PrintField("screenBitDepth", o.screenBitDepth);
  PrintField("scenarioName", Escaped(ScenarioNameOf(o)));
  PrintField("formatVersion", VersionText(o.formatVersion));
}

}  // namespace

int RunPrintOptionsCommand(int argc, char** argv) {
  if (argc > 3) {
    std::fputs("usage: grazefall --print-options [VALUE]\n", stderr);
    return 2;
  }
  const std::string valueName = argc == 3 ? argv[2] : "Options";
  platform::DirectorySettingsStore store(platform::DirectorySettingsStore::DefaultDirectory());
  if (store.directory().empty()) {
    std::fputs("grazefall: no settings directory: neither XDG_CONFIG_HOME nor a home is set\n",
               stderr);
    return 1;
  }

  // A short value fills only its own length; the rest shows as zero.
  ScenarioOptions record{};
  size_t length = 0;
  using Result = platform::DirectorySettingsStore::ReadResult;
  switch (store.readValue(valueName, std::as_writable_bytes(std::span(&record, 1)), &length)) {
    case Result::kRead:
      break;
    case Result::kMissing:
      std::fprintf(stderr, "grazefall: there is no stored record \"%s\" in %s\n",
                   Escaped(valueName).c_str(), store.directory().c_str());
      return 1;
    case Result::kTooLong:
      // The store refuses it as the saver would: no record is that long.
      std::fprintf(stderr,
                   "grazefall: \"%s\" in %s is too long for an options record (more than %zu "
                   "bytes)\n",
                   Escaped(valueName).c_str(), store.directory().c_str(), sizeof record);
      return 1;
    case Result::kUnreadable:
      std::fprintf(stderr, "grazefall: \"%s\" in %s cannot be read as a record\n",
                   Escaped(valueName).c_str(), store.directory().c_str());
      return 1;
  }
  if (length < sizeof record) {
    std::fprintf(stderr, "grazefall: \"%s\" holds only %zu of %zu bytes; the rest shows as 0\n",
                 Escaped(valueName).c_str(), length, sizeof record);
  }
  PrintRecord(record);
  return 0;
}

}  // namespace grazefall::app
