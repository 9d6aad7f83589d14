// The .bmp reader: the public conformance suite against its reference
// renderings, every variant written here, and broken input of every kind.
#include "platform/software/bmp_decoder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace grazefall::platform::software {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// The conformance pictures: where GRAZEFALL_BMPSUITE_DIR points, else a copy
// under tests/data in the source tree, else the shared folder that sits beside
// the checkout, else the shared copy on this machine.
fs::path SuiteDir() {
  if (const char* dir = std::getenv("GRAZEFALL_BMPSUITE_DIR")) return dir;
  if (const char* source = std::getenv("GRAZEFALL_SOURCE_DIR")) {
    for (const fs::path& candidate : {fs::path(source) / "tests" / "data" / "bmpsuite",
                                      fs::path(source) / ".." / "shared" / "bmpsuite"}) {
      if (fs::exists(candidate)) return candidate;
    }
  }
  return "/work/shared/bmpsuite";
}

std::optional<Picture> ReadPng(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return std::nullopt;
  Picture p;
  p.width = static_cast<int32_t>(image.width);
  p.height = static_cast<int32_t>(image.height);
  for (size_t i = 0; i + 2 < rgb.size(); i += 3)
    p.pixels.push_back(Rgb(rgb[i], rgb[i + 1], rgb[i + 2]));
  return p;
}

// Pixels that differ from the reference by more than one step in a channel
// (the references round some colour table entries differently).
int CountDifferences(const Picture& a, const Picture& b) {
  int differences = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    for (int shift : {0, 8, 16}) {
      const int x = static_cast<int>((a.pixels[i] >> shift) & 0xFF);
      const int y = static_cast<int>((b.pixels[i] >> shift) & 0xFF);
      if (std::abs(x - y) > 1) {
        ++differences;
        break;
      }
    }
  }
  return differences;
}

TEST(BmpSuite, GoodPicturesMatchTheReferenceRenderings) {
  // Each good picture, and the reference that shows what it must look like.
  const std::map<std::string, std::string> references = {
      {"pal1", "pal1"},
      {"pal1wb", "pal1"},
      {"pal1bg", "pal1bg"},
      {"pal4", "pal4"},
      {"pal4rle", "pal4"},
      {"pal8", "pal8"},
      {"pal8-0", "pal8"},
      {"pal8os2", "pal8"},
      {"pal8rle", "pal8"},
      {"pal8topdown", "pal8"},
      {"pal8v4", "pal8"},
      {"pal8v5", "pal8"},
      {"pal8w124", "pal8w124"},
      {"pal8w125", "pal8w125"},
      {"pal8w126", "pal8w126"},
      {"pal8nonsquare", "pal8nonsquare-e"},
      {"rgb16", "rgb16"},
      {"rgb16-565", "rgb16-565"},
      {"rgb16-565pal", "rgb16-565"},
      {"rgb24", "rgb24"},
      {"rgb24pal", "rgb24"},
      {"rgb32", "rgb24"},
      {"rgb32bf", "rgb24"},
  };
  int checked = 0;
  for (const auto& entry : fs::directory_iterator(SuiteDir() / "g")) {
    const std::string name = entry.path().stem().string();
    const auto reference = references.find(name);
    ASSERT_NE(reference, references.end()) << "no reference named for " << name;
    const auto png = ReadPng(SuiteDir() / "html" / (reference->second + ".png"));
    ASSERT_TRUE(png) << reference->second;
    const auto picture = LoadBmpFile(entry.path().string());
    ASSERT_TRUE(picture) << name;
    ASSERT_EQ(picture->width, png->width) << name;
    ASSERT_EQ(picture->height, png->height) << name;
    EXPECT_EQ(CountDifferences(*picture, *png), 0) << name;
    ++checked;
  }
  EXPECT_EQ(checked, static_cast<int>(references.size()));
}

TEST(BmpSuite, QuestionableAndBadFilesAreSurvived) {
  // Whatever the verdict, a picture that comes back is whole.
  std::map<std::string, bool> decoded;
  for (const char* folder : {"q", "b"}) {
    for (const auto& entry : fs::directory_iterator(SuiteDir() / folder)) {
      const auto picture = LoadBmpFile(entry.path().string());
      decoded[std::string(folder) + "/" + entry.path().stem().string()] = picture.has_value();
      if (picture) {
        ASSERT_EQ(picture->pixels.size(),
                  static_cast<size_t>(picture->width) * static_cast<size_t>(picture->height));
      }
    }
  }
  EXPECT_GT(decoded.size(), 30u);
  for (const char* refused : {"b/badbitcount", "b/badplanes", "b/badwidth", "b/reallybig",
                              "b/shortfile", "b/rletopdown", "q/rgb24jpeg", "q/rgb24png"}) {
    ASSERT_TRUE(decoded.contains(refused)) << refused;
    EXPECT_FALSE(decoded[refused]) << refused;
  }
  // Unusual but valid: shown.
  for (const char* shown : {"q/pal8offs", "q/pal8oversizepal", "q/rgb32-111110", "q/rgb16-231",
                            "q/rgba32", "q/pal8os2sp"}) {
    EXPECT_TRUE(decoded[shown]) << shown;
  }
}

// --- Files written here ---

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void Poke32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

enum class HeaderKind { Core, Info, V4, V5 };

struct BmpSpec {
  HeaderKind header = HeaderKind::Info;
  int32_t width = 5;
  int32_t height = 3;
  bool topDown = false;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  std::vector<ColorRef> table;
  std::vector<uint32_t> masks;  // BITFIELDS
  Bytes pixels;                 // exactly as stored, rows padded by the caller
};

Bytes WriteBmp(const BmpSpec& s) {
  Bytes b = {'B', 'M'};
  Put32(b, 0);  // file size, set below
  Put32(b, 0);
  Put32(b, 0);  // pixel offset, set below
  const uint32_t headerSize = s.header == HeaderKind::Core   ? 12
                              : s.header == HeaderKind::Info ? 40
                              : s.header == HeaderKind::V4   ? 108
                                                             : 124;
  const size_t headerStart = b.size();
  Put32(b, headerSize);
  if (s.header == HeaderKind::Core) {
    Put16(b, static_cast<uint32_t>(s.width));
    Put16(b, static_cast<uint32_t>(s.height));
    Put16(b, 1);
    Put16(b, s.bitCount);
  } else {
    Put32(b, static_cast<uint32_t>(s.width));
    Put32(b, static_cast<uint32_t>(s.topDown ? -s.height : s.height));
    Put16(b, 1);
    Put16(b, s.bitCount);
    Put32(b, s.compression);
    Put32(b, static_cast<uint32_t>(s.pixels.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, static_cast<uint32_t>(s.table.size()));
    Put32(b, 0);
    if (s.header != HeaderKind::Info) {
      for (size_t i = 0; i < 4; ++i) Put32(b, i < s.masks.size() ? s.masks[i] : 0);
    }
    b.resize(headerStart + headerSize, 0);
    if (s.header == HeaderKind::Info && !s.masks.empty()) {
      for (size_t i = 0; i < 3; ++i) Put32(b, s.masks[i]);
    }
  }
  for (const ColorRef c : s.table) {
    b.push_back(BlueOf(c));
    b.push_back(GreenOf(c));
    b.push_back(RedOf(c));
    if (s.header != HeaderKind::Core) b.push_back(0);
  }
  Poke32(b, 10, static_cast<uint32_t>(b.size()));
  b.insert(b.end(), s.pixels.begin(), s.pixels.end());
  Poke32(b, 2, static_cast<uint32_t>(b.size()));
  return b;
}

constexpr ColorRef kRed = Rgb(255, 0, 0);
constexpr ColorRef kGreen = Rgb(0, 255, 0);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kBlack = Rgb(0, 0, 0);

// The picture every variant below stores: 5 x 3, top row first.
const std::vector<ColorRef> kExpected = {
    kRed,   kGreen, kBlue,  kWhite, kBlack,  //
    kBlack, kRed,   kRed,   kGreen, kBlue,   //
    kWhite, kWhite, kBlack, kBlack, kRed,
};
const std::vector<ColorRef> kTable = {kBlack, kRed, kGreen, kBlue, kWhite};

int IndexOf(ColorRef c) {
  for (size_t i = 0; i < kTable.size(); ++i)
    if (kTable[i] == c) return static_cast<int>(i);
  return 0;
}

// Rows in file order (bottom-up unless topDown), each padded to 4 bytes.
Bytes PackRows(bool topDown, int bits, const std::function<uint32_t(ColorRef)>& value) {
  Bytes out;
  for (int r = 0; r < 3; ++r) {
    const int y = topDown ? r : 2 - r;
    Bytes row;
    uint32_t acc = 0;
    int used = 0;
    for (int x = 0; x < 5; ++x) {
      const uint32_t v = value(kExpected[static_cast<size_t>(y * 5 + x)]);
      if (bits < 8) {
        acc = (acc << bits) | v;
        used += bits;
        if (used == 8) row.push_back(static_cast<uint8_t>(acc)), acc = 0, used = 0;
      } else {
        for (int i = 0; i < bits / 8; ++i) row.push_back(static_cast<uint8_t>(v >> (8 * i)));
      }
    }
    if (used > 0) row.push_back(static_cast<uint8_t>(acc << (8 - used)));
    while (row.size() % 4) row.push_back(0);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

uint32_t As24(ColorRef c) {
  return (RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c);
}
uint32_t As555(ColorRef c) {
  return ((RedOf(c) >> 3) << 10) | ((GreenOf(c) >> 3) << 5) | (BlueOf(c) >> 3);
}
uint32_t As565(ColorRef c) {
  return ((RedOf(c) >> 3) << 11) | ((GreenOf(c) >> 2) << 5) | (BlueOf(c) >> 3);
}

std::map<std::string, BmpSpec> Variants() {
  std::map<std::string, BmpSpec> v;
  const auto indexed = [](int bits, HeaderKind header, bool topDown) {
    BmpSpec s;
    s.header = header;
    s.bitCount = static_cast<uint16_t>(bits);
    s.topDown = topDown;
    s.table = kTable;
    if (bits == 1) s.table = {kBlack, kWhite};
    s.pixels = PackRows(topDown, bits, [bits](ColorRef c) -> uint32_t {
      return bits == 1 ? (c == kWhite ? 1 : 0) : static_cast<uint32_t>(IndexOf(c));
    });
    return s;
  };
  v["4 bits"] = indexed(4, HeaderKind::Info, false);
  v["8 bits"] = indexed(8, HeaderKind::Info, false);
  v["8 bits top-down"] = indexed(8, HeaderKind::Info, true);
  v["8 bits OS/2"] = indexed(8, HeaderKind::Core, false);
  v["8 bits V4"] = indexed(8, HeaderKind::V4, false);
  v["8 bits V5"] = indexed(8, HeaderKind::V5, true);
  v["4 bits OS/2"] = indexed(4, HeaderKind::Core, false);
  BmpSpec rgb;
  rgb.bitCount = 24;
  rgb.pixels = PackRows(false, 24, As24);
  v["24 bits"] = rgb;
  rgb.header = HeaderKind::Core;
  v["24 bits OS/2"] = rgb;
  BmpSpec x32;
  x32.bitCount = 32;
  x32.pixels = PackRows(false, 32, [](ColorRef c) { return As24(c) | 0xAB000000u; });
  v["32 bits"] = x32;
  BmpSpec bf32 = x32;
  bf32.compression = 3;
  bf32.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // red in the low byte
  bf32.pixels = PackRows(false, 32, [](ColorRef c) { return c; });
  v["32 bits BITFIELDS"] = bf32;
  bf32.header = HeaderKind::V5;
  v["32 bits BITFIELDS V5"] = bf32;
  BmpSpec w16;
  w16.bitCount = 16;
  w16.pixels = PackRows(false, 16, As555);
  v["16 bits"] = w16;
  w16.compression = 3;
  w16.masks = {0xF800, 0x07E0, 0x001F};
  w16.pixels = PackRows(false, 16, As565);
  v["16 bits BITFIELDS"] = w16;
  w16.header = HeaderKind::V4;
  w16.topDown = true;
  w16.pixels = PackRows(true, 16, As565);
  v["16 bits BITFIELDS V4 top-down"] = w16;

  // Run-length encoded: rows bottom-up, with an encoded run, a literal run
  // and the end marks.
  BmpSpec rle8;
  rle8.bitCount = 8;
  rle8.compression = 1;
  rle8.table = kTable;
  rle8.pixels = {
      2, 4, 0, 3, 0, 0, 1, 0, 0, 0,  // bottom row: white white, literal black black red, padded
      0, 5, 0, 1, 1, 2, 3, 0, 0, 0,  // middle row: literal of five, padded
      0, 5, 1, 2, 3, 4, 0, 0, 0, 1,  // top row, padded, then end of picture
  };
  v["RLE8"] = rle8;
  BmpSpec rle4;
  rle4.bitCount = 4;
  rle4.compression = 2;
  rle4.table = kTable;
  rle4.pixels = {
      2, 0x44, 0,    3,    0x00, 0x10, 0, 0,  // white white, literal 0 0 1
      0, 5,    0x01, 0x12, 0x30, 0,    0, 0,  // literal 0 1 1 2 3, padded to a word
      0, 5,    0x12, 0x34, 0x00, 0,    0, 1,  // literal 1 2 3 4 0, end of picture
  };
  v["RLE4"] = rle4;
  return v;
}

TEST(GeneratedBitmaps, EveryVariantDecodesToTheSamePicture) {
  for (const auto& [name, spec] : Variants()) {
    const auto picture = DecodeBmp(WriteBmp(spec));
    ASSERT_TRUE(picture) << name;
    EXPECT_EQ(picture->width, 5) << name;
    EXPECT_EQ(picture->height, 3) << name;
    EXPECT_EQ(picture->pixels, kExpected) << name;
  }
}

TEST(GeneratedBitmaps, OneBitPicturesUseTheirTwoColours) {
  BmpSpec s;
  s.bitCount = 1;
  s.width = 10;
  s.height = 1;
  s.table = {kBlue, kRed};
  s.pixels = {0b10110000, 0b01000000, 0, 0};
  const auto picture = DecodeBmp(WriteBmp(s));
  ASSERT_TRUE(picture);
  const std::vector<ColorRef> want = {kRed,  kBlue, kRed,  kRed,  kBlue,
                                      kBlue, kBlue, kBlue, kBlue, kRed};
  EXPECT_EQ(picture->pixels, want);
}

TEST(GeneratedBitmaps, OddBitfieldMasksScaleToFullRange) {
  // 10-bit and 1-bit channels: full and empty must stay white and black.
  BmpSpec s;
  s.bitCount = 32;
  s.compression = 3;
  s.width = 2;
  s.height = 1;
  s.masks = {0x3FF00000, 0x000FFC00, 0x00000001};
  s.pixels = {0xFF, 0xFF, 0xFF, 0x3F, 0, 0, 0, 0};
  const auto picture = DecodeBmp(WriteBmp(s));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels, (std::vector<ColorRef>{kWhite, kBlack}));
}

TEST(BrokenBitmaps, EveryTruncationIsRefusedOrWholeNeverReadPastTheEnd) {
  // Cut each variant at every length. Uncompressed pictures cut anywhere
  // before their last pixel are refused; RLE pictures may keep what was
  // drawn. Run under the sanitizers this also proves no read goes past the
  // end of the bytes.
  for (const auto& [name, spec] : Variants()) {
    const Bytes full = WriteBmp(spec);
    const bool rle = spec.compression == 1 || spec.compression == 2;
    const size_t stride = spec.pixels.size() / 3;
    const size_t lastPixelEnd =
        full.size() - stride + (5 * static_cast<size_t>(spec.bitCount) + 7) / 8;
    for (size_t length = 0; length < full.size(); ++length) {
      // A copy of exactly `length` bytes, so any overread is out of bounds.
      const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
      const auto picture = DecodeBmp(cut);
      if (!rle && length < lastPixelEnd) {
        EXPECT_FALSE(picture) << name << " cut at " << length;
      } else if (!rle) {
        ASSERT_TRUE(picture) << name << " cut at " << length << " (only padding missing)";
        EXPECT_EQ(picture->pixels, kExpected) << name;
      }
      if (picture) {
        ASSERT_EQ(picture->pixels.size(), 15u) << name;
      }
    }
  }
}

TEST(BrokenBitmaps, CorruptHeadersAreRefused) {
  const Bytes good = WriteBmp(Variants()["8 bits"]);
  ASSERT_TRUE(DecodeBmp(good));
  const auto with = [&](size_t at, uint32_t value, int bytes = 4) {
    Bytes b = good;
    for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<uint8_t>(value >> (8 * i));
    return DecodeBmp(b);
  };
  EXPECT_FALSE(with(0, 'G' | ('I' << 8), 2)) << "not a bitmap";
  EXPECT_FALSE(with(14, 200)) << "header size beyond any known header";
  EXPECT_FALSE(with(14, 30)) << "header size between the known ones";
  EXPECT_FALSE(with(18, 0)) << "width 0";
  EXPECT_FALSE(with(18, static_cast<uint32_t>(-5))) << "negative width";
  EXPECT_FALSE(with(18, kMaxBitmapSide + 1)) << "too wide";
  EXPECT_FALSE(with(22, 0)) << "height 0";
  EXPECT_FALSE(with(22, 0x80000000u)) << "height that cannot be negated";
  EXPECT_FALSE(with(26, 2, 2)) << "two planes";
  EXPECT_FALSE(with(28, 7, 2)) << "7 bits per pixel";
  EXPECT_FALSE(with(28, 0, 2)) << "0 bits per pixel";
  EXPECT_FALSE(with(30, 4)) << "JPEG inside";
  EXPECT_FALSE(with(30, 1234)) << "unknown compression";
  EXPECT_FALSE(with(30, 2)) << "RLE4 on an 8-bit picture";
  EXPECT_FALSE(with(30, 3)) << "BITFIELDS on an 8-bit picture";
  EXPECT_FALSE(with(10, static_cast<uint32_t>(good.size()))) << "pixels beyond the end";
  EXPECT_FALSE(with(10, 0xFFFFFFF0u)) << "pixel offset far beyond the end";
  EXPECT_FALSE(DecodeBmp(Bytes{}));
  EXPECT_FALSE(DecodeBmp(Bytes{'B', 'M'}));
}

TEST(BrokenBitmaps, HugeDimensionsAreRefusedBeforeAnyAllocation) {
  BmpSpec s = Variants()["24 bits"];
  // Within the side limit but over the byte limit: 16384 x 16384 x 4 bytes.
  s.width = kMaxBitmapSide;
  s.height = kMaxBitmapSide;
  EXPECT_FALSE(DecodeBmp(WriteBmp(s)));
  s.width = 1;
  s.height = kMaxBitmapSide + 1;
  EXPECT_FALSE(DecodeBmp(WriteBmp(s)));
  // The same claim in an RLE picture, whose data could be tiny.
  BmpSpec rle = Variants()["RLE8"];
  rle.width = kMaxBitmapSide;
  rle.height = kMaxBitmapSide;
  EXPECT_FALSE(DecodeBmp(WriteBmp(rle)));
}

TEST(BrokenBitmaps, RunsPastThePictureAndBadIndexesStayInside) {
  BmpSpec s = Variants()["RLE8"];
  // A literal run cut off by the end of the data.
  s.pixels = {255, 1, 0, 0, 0, 9, 1};
  EXPECT_FALSE(DecodeBmp(WriteBmp(s)));
  // A run far longer than the row, then a move far beyond the picture.
  s.pixels = {255, 1, 0, 2, 200, 200, 3, 4, 0, 1};
  const auto moved = DecodeBmp(WriteBmp(s));
  ASSERT_TRUE(moved);
  // The first row of the file is the bottom row; the run fills it and stops.
  EXPECT_EQ(moved->at(0, 2), kRed);
  EXPECT_EQ(moved->at(4, 2), kRed);
  EXPECT_EQ(moved->at(4, 1), kBlack);  // never set: colour 0 of the table
  EXPECT_EQ(moved->at(0, 0), kBlack);

  // Indexes beyond a two-entry colour table read as black.
  BmpSpec few = Variants()["8 bits"];
  few.table = {kRed, kGreen};
  const auto clamped = DecodeBmp(WriteBmp(few));
  ASSERT_TRUE(clamped);
  EXPECT_EQ(clamped->at(0, 1), kRed);    // index 0
  EXPECT_EQ(clamped->at(0, 0), kGreen);  // index 1
  EXPECT_EQ(clamped->at(1, 0), kBlack);  // index 2
  EXPECT_EQ(clamped->at(3, 0), kBlack);  // index 4
}

TEST(BmpFiles, LoadsFromDiskAndRefusesMissingOrNonBitmapFiles) {
  const fs::path dir = fs::temp_directory_path() / ("gf-bmp-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const Bytes good = WriteBmp(Variants()["24 bits"]);
  std::ofstream(dir / "good.bmp", std::ios::binary)
      .write(reinterpret_cast<const char*>(good.data()), static_cast<std::streamsize>(good.size()));
  std::ofstream(dir / "text.bmp") << "just some text, not a picture\n";
  const auto picture = LoadBmpFile((dir / "good.bmp").string());
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels, kExpected);
  EXPECT_FALSE(LoadBmpFile((dir / "text.bmp").string()));
  EXPECT_FALSE(LoadBmpFile((dir / "missing.bmp").string()));
  EXPECT_FALSE(LoadBmpFile(dir.string()));  // a directory
  // A pipe nobody writes to must not block the loader.
  ASSERT_EQ(::mkfifo((dir / "pipe.bmp").c_str(), 0600), 0);
  EXPECT_FALSE(LoadBmpFile((dir / "pipe.bmp").string()));
  fs::remove_all(dir);
}

// Picture files: every refusal names its reason, reading stops at the header
// when the header and the file's size disagree, and no side may exceed what a
// display can show.
class PictureFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "grazefall-bmp-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path Write(const std::string& name, const Bytes& bytes) {
    const fs::path path = root_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  // `bytes` at the start of a file `size` bytes long, the rest a hole.
  fs::path WriteSparse(const std::string& name, const Bytes& bytes, uint64_t size) {
    const fs::path path = Write(name, bytes);
    fs::resize_file(path, size);
    return path;
  }

  fs::path root_;
};

// Bytes this process has read from files so far; nullopt without /proc.
std::optional<uint64_t> BytesRead() {
  std::ifstream io("/proc/self/io");
  std::string key;
  uint64_t value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return std::nullopt;
}

TEST_F(PictureFiles, EachRefusalSaysWhy) {
  const Bytes good = WriteBmp(Variants()["24 bits"]);
  ASSERT_TRUE(ReadBmpFile(Write("good.bmp", good).string()).picture);
  ASSERT_EQ(::mkfifo((root_ / "fifo.bmp").c_str(), 0600), 0);
  fs::create_directory(root_ / "folder.bmp");
  const std::map<std::string, std::string> refusals = {
      {(root_ / "missing.bmp").string(), "no such file"},
      {(root_ / "folder.bmp").string(), "a directory"},
      {(root_ / "fifo.bmp").string(), "a FIFO"},  // must not wait for a writer
      {"/dev/zero", "a device"},                  // must not read forever
      {Write("cut.bmp", Bytes(good.begin(), good.end() - 8)).string(), "truncated"},
      {Write("text.bmp", {'h', 'e', 'l', 'l', 'o'}).string(), "not a BMP file"},
      {Write("header.bmp", Bytes(good.begin(), good.begin() + 20)).string(), "truncated"},
  };
  for (const auto& [path, reason] : refusals) {
    const BmpFile file = ReadBmpFile(path);
    EXPECT_FALSE(file.picture) << path;
    EXPECT_NE(file.problem.find(reason), std::string::npos) << path << ": " << file.problem;
    EXPECT_FALSE(LoadBmpFile(path)) << path;
  }
}

TEST_F(PictureFiles, SizesAreWeighedBeforeThePixelsAreRead) {
  const std::optional<uint64_t> before = BytesRead();
  if (!before) GTEST_SKIP() << "no /proc/self/io to count the bytes read";
  // A 2 GiB file, mostly a hole, behind a header for a small picture.
  BmpSpec small = Variants()["24 bits"];
  const BmpFile huge = ReadBmpFile(WriteSparse("huge.bmp", WriteBmp(small), 2ull << 30).string());
  EXPECT_FALSE(huge.picture);
  EXPECT_NE(huge.problem.find("larger than any picture"), std::string::npos) << huge.problem;
  // A header for 4096 x 4096 x 32 bits (64 MiB of pixels) in a 32 MiB file.
  BmpSpec big = Variants()["32 bits"];
  big.width = 4096;
  big.height = 4096;
  big.pixels.clear();
  const BmpFile cut = ReadBmpFile(WriteSparse("cut.bmp", WriteBmp(big), 32ull << 20).string());
  EXPECT_FALSE(cut.picture);
  EXPECT_NE(cut.problem.find("truncated"), std::string::npos) << cut.problem;
  EXPECT_LT(*BytesRead() - *before, uint64_t{1} << 20);
}

TEST_F(PictureFiles, NoSideBeyondTheLargestDisplay) {
  // A run-length picture can claim any size in a few bytes.
  BmpSpec rle = Variants()["RLE8"];
  rle.pixels = {0, 1};  // at once the end of the picture
  for (const auto& [width, height] :
       {std::pair{16384, 4096}, {kMaxPictureFileSide + 1, 1}, {1, kMaxPictureFileSide + 1}}) {
    rle.width = width;
    rle.height = height;
    const Bytes bytes = WriteBmp(rle);
    const BmpFile file = ReadBmpFile(Write("claim.bmp", bytes).string());
    EXPECT_FALSE(file.picture) << width << "x" << height;
    EXPECT_NE(file.problem.find("larger than the 8192x8192"), std::string::npos) << file.problem;
  }
  rle.width = kMaxPictureFileSide;
  rle.height = 2;
  const BmpFile widest = ReadBmpFile(Write("widest.bmp", WriteBmp(rle)).string());
  ASSERT_TRUE(widest.picture) << widest.problem;
  EXPECT_EQ(widest.picture->width, kMaxPictureFileSide);
}

}  // namespace
}  // namespace grazefall::platform::software
