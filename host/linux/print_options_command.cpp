// grazefall --print-options [VALUE]: one stored options record, field by
// field, as OptionsListing writes it. The format is read by people and by
// tests, so it stays as it is.
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "host/linux/commands.h"
#include "options/options.h"
#include "options/options_listing.h"
#include "platform/linux/directory_settings_store.h"
#include "platform/types.h"

namespace grazefall::app {

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
                   EscapedText(valueName).c_str(), store.directory().c_str());
      return 1;
    case Result::kTooLong:
      // The store refuses it as the saver would: no record is that long.
      std::fprintf(stderr,
                   "grazefall: \"%s\" in %s is too long for an options record (more than %zu "
                   "bytes)\n",
                   EscapedText(valueName).c_str(), store.directory().c_str(), sizeof record);
      return 1;
    case Result::kUnreadable:
      std::fprintf(stderr, "grazefall: \"%s\" in %s cannot be read as a record\n",
                   EscapedText(valueName).c_str(), store.directory().c_str());
      return 1;
  }
  if (length < sizeof record) {
    std::fprintf(stderr, "grazefall: \"%s\" holds only %zu of %zu bytes; the rest shows as 0\n",
                 EscapedText(valueName).c_str(), length, sizeof record);
  }
  const std::string listing = OptionsListing(record);
  std::fwrite(listing.data(), 1, listing.size(), stdout);
  return 0;
}

}  // namespace grazefall::app
