// Reading the committed picture files and their manifest, for the resource
// tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace grazefall::testing {

inline std::filesystem::path SourceDir() {
  const char* dir = std::getenv("GRAZEFALL_SOURCE_DIR");
  if (dir != nullptr && *dir != '\0') return dir;
#ifdef GF_SOURCE_DIR
  return GF_SOURCE_DIR;
#else
  return std::filesystem::current_path();
#endif
}

inline std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ManifestEntry {
  int32_t id = 0;
  std::string file;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bits = 0;
};

// resources/bitmaps/manifest.txt: one "id file width height bits" per line.
inline std::vector<ManifestEntry> ReadManifest() {
  std::ifstream in(SourceDir() / "resources" / "bitmaps" / "manifest.txt");
  std::vector<ManifestEntry> entries;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    ManifestEntry entry;
    fields >> entry.id >> entry.file >> entry.width >> entry.height >> entry.bits;
    entries.push_back(entry);
  }
  return entries;
}

}  // namespace grazefall::testing
