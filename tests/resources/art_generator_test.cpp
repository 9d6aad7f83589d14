// The committed pictures are exactly what the drawing code makes: running the
// generator again writes the same bytes, so nobody edits a .bmp by hand and
// every change to the art shows up in the drawing code's diff.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/resources/resource_files.h"

namespace grazefall {
namespace {

namespace fs = std::filesystem;

bool HavePython() {
  return std::system("python3 -c 'pass' > /dev/null 2>&1") == 0;
}

std::vector<std::string> FileNames(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Compares two .png files by header and decompressed pixel data, so another
// build of zlib that packs the same pixels differently does not count.
bool SamePngPixels(const fs::path& a, const fs::path& b) {
  const std::string script =
      "import sys, zlib\n"
      "def pixels(path):\n"
      "    data = open(path, 'rb').read()[8:]\n"
      "    header, idat = b'', b''\n"
      "    while data:\n"
      "        size = int.from_bytes(data[:4], 'big')\n"
      "        kind, body = data[4:8], data[8:8 + size]\n"
      "        header += body if kind == b'IHDR' else b''\n"
      "        idat += body if kind == b'IDAT' else b''\n"
      "        data = data[12 + size:]\n"
      "    return header, zlib.decompress(idat)\n"
      "sys.exit(0 if pixels(sys.argv[1]) == pixels(sys.argv[2]) else 1)\n";
  const std::string command =
      "python3 -c \"" + script + "\" '" + a.string() + "' '" + b.string() + "'";
  return std::system(command.c_str()) == 0;
}

class ArtGenerator : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HavePython()) GTEST_SKIP() << "python3 is not installed";
    out = fs::temp_directory_path() /
          ("grazefall-art-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    fs::remove_all(out);
    fs::create_directories(out);
  }
  void TearDown() override {
    if (!out.empty()) fs::remove_all(out);
  }

  int runGenerator() {
    const fs::path script = testing::SourceDir() / "tools" / "art" / "generate.py";
    const std::string command = "python3 '" + script.string() + "' --out '" + out.string() +
                                "' --sheet '" + (out / "art.png").string() + "'";
    return std::system(command.c_str());
  }

  void expectSameFiles(const fs::path& committed, const fs::path& fresh) {
    ASSERT_TRUE(fs::is_directory(committed)) << committed;
    EXPECT_EQ(FileNames(committed), FileNames(fresh));
    for (const std::string& name : FileNames(committed)) {
      SCOPED_TRACE(name);
      EXPECT_TRUE(testing::ReadFileBytes(committed / name) == testing::ReadFileBytes(fresh / name))
          << "differs from what tools/art/generate.py draws";
    }
  }

  fs::path out;
};

TEST_F(ArtGenerator, CommittedPicturesAreExactlyWhatTheDrawingCodeMakes) {
  ASSERT_EQ(runGenerator(), 0);
  const fs::path resources = testing::SourceDir() / "resources";
  expectSameFiles(resources / "bitmaps", out / "bitmaps");
  expectSameFiles(resources / "icon", out / "icon");
  // The theme's icons are .png files: compared by their pixels.
  const fs::path theme = resources / "icon" / "theme";
  ASSERT_TRUE(fs::is_directory(theme));
  EXPECT_EQ(FileNames(theme), FileNames(out / "icon" / "theme"));
  for (const std::string& name : FileNames(theme)) {
    EXPECT_TRUE(SamePngPixels(theme / name, out / "icon" / "theme" / name))
        << "resources/icon/theme/" << name << " is stale";
  }
  const fs::path sheet = testing::SourceDir() / "docs" / "art.png";
  ASSERT_FALSE(testing::ReadFileBytes(sheet).empty());
  EXPECT_TRUE(SamePngPixels(sheet, out / "art.png")) << "docs/art.png is stale";
}

}  // namespace
}  // namespace grazefall
