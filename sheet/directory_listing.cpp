#include <filesystem>
#include <system_error>

#include "sheet/sheet_services.h"

namespace grazefall {

std::vector<std::string> ListRegularFiles(std::string_view directory) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator entries(fs::path(std::string(directory)), error);
  if (error) return names;
  for (fs::directory_iterator end; entries != end; entries.increment(error)) {
    if (error) break;
    std::error_code typeError;
    if (entries->is_regular_file(typeError)) {
      names.push_back(entries->path().filename().string());
    }
  }
  return names;
}

}  // namespace grazefall
