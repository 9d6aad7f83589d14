// The traces of each scenario, rendered again, against the recorded ones in
// golden/ (see golden/README.md): a random draw added, dropped or moved shows
// as the first frame and field that differ (or, for a long loading line kept
// only as a checksum, the first line). The recordings are tied to the
// generator's rule by working out the first cows of one build by hand.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "tests/host/linux/render/render_in_process.h"

namespace grazefall {
namespace {

struct GoldenCase {
  const char* scenario;
  const char* seed;
  const char* mode;
  const char* frames;
};

// Kept in step with the commands in golden/README.md.
constexpr GoldenCase kCases[] = {
    {"Classic", "11", "320x240x16", "1500"},
    {"Invasion", "22", "320x240x16", "120"},
    {"Halloween", "33", "320x240x16", "40"},
    {"Custom", "44", "320x240x16", "60"},
};

std::string GoldenPath(const std::string& scenario) {
  return std::string(GRAZEFALL_TEST_SOURCE_DIR) + "/tests/host/linux/render/golden/" + scenario +
         ".jsonl.gz";
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> ReadGzipLines(const std::string& path) {
  gzFile file = gzopen(path.c_str(), "rb");
  if (file == nullptr) return {};
  std::string text;
  char buffer[1 << 16];
  for (int n; (n = gzread(file, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  gzclose(file);
  return SplitLines(text);
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return SplitLines(std::string(std::istreambuf_iterator<char>(in), {}));
}

// Renders a case in this process; the trace's lines.
std::vector<std::string> Render(const GoldenCase& c) {
  const std::string directory = ::testing::TempDir() + "/golden-" + c.scenario;
  const std::string trace = directory + "/trace.jsonl";
  std::filesystem::remove_all(directory);
  platform::HeadlessPlatform headless;
  EXPECT_EQ(testing::RenderInProcess(
                headless, {"--render", directory, "--frames", c.frames, "--seed", c.seed,
                           "--scenario", c.scenario, "--mode", c.mode, "--trace", trace}),
            0)
      << c.scenario;
  std::vector<std::string> lines = ReadLines(trace);
  std::filesystem::remove_all(directory);
  return lines;
}

// The frame number and the innermost field of the first difference.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  std::string frame = "?";
  if (const size_t f = expected.find("\"frame\":"); f != std::string::npos)
    frame = expected.substr(f + 8, expected.find(',', f) - f - 8);
  std::string field = "?";
  if (const size_t key = expected.rfind("\":", at); key != std::string::npos) {
    const size_t open = expected.rfind('"', key - 1);
    field = expected.substr(open + 1, key - open - 1);
  }
  const size_t from = at > 40 ? at - 40 : 0;
  return "frame " + frame + ", field \"" + field + "\" at character " + std::to_string(at) +
         "\n  recorded: ..." + expected.substr(from, 100) + "\n  rendered: ..." +
         actual.substr(from, 100);
}

TEST(GoldenTrace, EachScenarioRendersItsRecordedTraceAgain) {
  for (const GoldenCase& c : kCases) {
    const std::vector<std::string> recorded = ReadGzipLines(GoldenPath(c.scenario));
    ASSERT_FALSE(recorded.empty()) << "no recording for " << c.scenario;
    const std::vector<std::string> rendered = Render(c);
    for (size_t n = 0; n < recorded.size() && n < rendered.size(); ++n) {
      const std::string& line = rendered[n];
      if (recorded[n].rfind("crc32 ", 0) == 0) {
        // A long loading line is recorded as its CRC-32 and length.
        char digest[32];
        std::snprintf(
            digest, sizeof digest, "crc32 %08lx %zu",
            crc32(0L, reinterpret_cast<const Bytef*>(line.data()), static_cast<uInt>(line.size())),
            line.size());
        if (recorded[n] != digest) {
          ADD_FAILURE() << c.scenario << ", line " << n + 1 << " (" << line.substr(0, 40)
                        << "...): recorded as " << recorded[n] << ", rendered as " << digest;
          break;
        }
      } else if (recorded[n] != line) {
        ADD_FAILURE() << c.scenario << ", line " << n + 1 << ": "
                      << FirstDifference(recorded[n], line);
        break;
      }
    }
    EXPECT_EQ(rendered.size(), recorded.size()) << c.scenario;
  }
}

// The generator's rule, written out here: state := state * 214013 + 2531011
// (mod 2^32), r := bits 16..30 of the state, a span value is
// trunc(r / 32768 * span + base).
struct ModelGenerator {
  uint32_t state;
  int32_t span(int32_t span, int32_t base) {
    state = state * 214013u + 2531011u;
    const int64_t r = (state >> 16) & 0x7FFFu;
    return static_cast<int32_t>((r * span + int64_t{base} * 32768) / 32768);
  }
};

// The cows of the first loading line that has any, as [x, y, width].
std::vector<std::vector<int64_t>> FirstCows(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const size_t herd = line.find("\"herd\":[");
    if (herd == std::string::npos || line.compare(herd + 8, 1, "]") == 0) continue;
    std::vector<std::vector<int64_t>> cows;
    size_t at = herd + 8;
    while (line[at] == '[') {
      const size_t close = line.find(']', at);
      std::vector<int64_t> fields;
      size_t p = at + 1;
      while (p < close) {
        size_t used = 0;
        fields.push_back(std::stoll(line.substr(p, close - p), &used));
        p += used + 1;
      }
      cows.push_back(fields);
      at = close + 1;
      if (line[at] == ',') ++at;
    }
    return cows;
  }
  return {};
}

TEST(GoldenTrace, InvasionsFirstCowsAreTheGeneratorsFirstDrawsWorkedOutByHand) {
  // Invasion, seed 22, 320 x 240: a herd of 500, so the loading cow shows at
  // cows 0, 10, 20 ...; the line of its second showing holds cows 0..9 where
  // the build put them. Per cow: a size in 1..3 (span 3, base 1), then for
  // the first cow y in -60..-50 (span 11) and x in the middle third
  // 106..213 (span 108, base 106); for the others y in -1500..-150 (span
  // 1351, base -1500) and, the wind being 5 and the herd 100 or more, x
  // in -1000..1320 (span 320 + 2001, base -1000).
  const std::vector<std::string> recorded = ReadGzipLines(GoldenPath("Invasion"));
  const std::vector<std::vector<int64_t>> cows = FirstCows(recorded);
  ASSERT_EQ(cows.size(), 10u);
  ModelGenerator model{22};
  const int64_t widthOfSize[4] = {0, 16, 27, 51};
  for (size_t i = 0; i < cows.size(); ++i) {
    const int32_t size = model.span(3, 1);
    const int32_t y = i == 0 ? model.span(11, -60) : model.span(1351, -1500);
    const int32_t x = i == 0 ? model.span(108, 106) : model.span(320 + 2001, -1000);
    ASSERT_GE(cows[i].size(), 3u);
    EXPECT_EQ(cows[i][0], x) << "cow " << i;
    EXPECT_EQ(cows[i][1], y) << "cow " << i;
    EXPECT_EQ(cows[i][2], widthOfSize[size]) << "cow " << i;
  }
  // Seed 22's first draws, by hand: state 22 * 214013 + 2531011 = 7239297,
  // r = 7239297 >> 16 = 110, size = trunc(110 * 3 / 32768 + 1) = 1; next
  // state 7239297 * 214013 + 2531011 mod 2^32 = 3117973312, r = 47576 & 32767
  // = 14808, y = trunc(14808 * 11 / 32768 - 60) = trunc(-55.03) = -55.
  EXPECT_EQ(cows[0][2], 16);
  EXPECT_EQ(cows[0][1], -55);
}

}  // namespace
}  // namespace grazefall
