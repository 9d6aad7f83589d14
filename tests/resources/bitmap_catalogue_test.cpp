// Every picture the program asks for is compiled in under its id, at its
// size, and reads back through the program's own loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/software/bmp_decoder.h"
#include "resources/bitmap_resources.h"
#include "tests/resources/resource_files.h"

namespace grazefall {
namespace {

struct Size {
  int32_t width;
  int32_t height;
};

// The pictures the saver, the preview and the dialog pages load, with the
// size each must have.
const std::map<int32_t, Size> kExpected = {
    // The saver's scene.
    {114, {18, 13}},
    {123, {29, 21}},
    {118, {53, 38}},
    {121, {134, 43}},
    {120, {135, 263}},
    {115, {21, 24}},
    {124, {143, 117}},
    {170, {913, 512}},
    {175, {18, 26}},
    {176, {11, 17}},
    {163, {238, 184}},
    {134, {155, 117}},
    // Scenarios page.
    {179, {425, 249}},
    {135, {333, 75}},
    {181, {36, 36}},
    {146, {29, 21}},
    {125, {281, 33}},
    {126, {281, 33}},
    {178, {281, 33}},
    {128, {281, 33}},
    {130, {26, 28}},
    {131, {26, 28}},
    // Background page.
    {158, {176, 167}},
    // The Meaning of Liff page.
    {137, {398, 236}},
    {139, {32, 31}},
    {140, {29, 28}},
    {141, {26, 28}},
    {142, {32, 33}},
    {143, {32, 23}},
    {144, {41, 39}},
    {145, {48, 34}},
    {149, {29, 21}},
    {148, {107, 140}},
    {156, {107, 140}},
    {157, {107, 140}},
    {147, {107, 140}},
    // Xanadu page.
    {162, {243, 237}},
    {166, {89, 39}},
};

uint32_t ReadLe32(std::span<const uint8_t> bytes, size_t at) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

uint16_t ReadLe16(std::span<const uint8_t> bytes, size_t at) {
  uint16_t value = 0;
  std::memcpy(&value, bytes.data() + at, 2);
  return value;
}

TEST(BitmapCatalogue, EveryPictureIsCompiledInAndLoadsAtItsSize) {
  platform::HeadlessPlatform headless;
  for (const auto& [id, size] : kExpected) {
    SCOPED_TRACE(id);
    const std::span<const uint8_t> bytes = resources::FindBitmap(id);
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(ReadLe32(bytes, 2), bytes.size()) << "file size field";
    const auto picture = headless.loadResourcePicture(id);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, size.width);
    EXPECT_EQ(picture->height, size.height);
  }
}

TEST(BitmapCatalogue, ListsExactlyThePicturesItHasInAscendingOrder) {
  std::vector<int32_t> expected;
  for (const auto& [id, size] : kExpected) expected.push_back(id);
  EXPECT_EQ(resources::BitmapIds(), expected);
  // Ids the program never asks for have nothing, and the icon group is not a
  // bitmap.
  for (int32_t id : {0, -1, 100, 104, 116, 182, 100000}) {
    EXPECT_TRUE(resources::FindBitmap(id).empty()) << id;
  }
}

TEST(BitmapCatalogue, PreviewPictureIsEightBitWithAFullColourTable) {
  const std::span<const uint8_t> bytes = resources::FindBitmap(134);
  ASSERT_GE(bytes.size(), 54u + 1024u);
  EXPECT_EQ(ReadLe32(bytes, 14), 40u) << "BITMAPINFOHEADER";
  EXPECT_EQ(ReadLe16(bytes, 28), 8u) << "bits per pixel";
  EXPECT_EQ(ReadLe32(bytes, 30), 0u) << "uncompressed";
  const uint32_t used = ReadLe32(bytes, 46);
  EXPECT_TRUE(used == 0 || used == 256) << used;
  EXPECT_EQ(ReadLe32(bytes, 10), 14u + 40u + 256u * 4u) << "pixels follow 256 entries";
  EXPECT_GT(static_cast<int32_t>(ReadLe32(bytes, 22)), 0) << "bottom-up rows";
}

TEST(BitmapCatalogue, EmbeddedBytesAreTheCommittedFilesOfTheManifest) {
  const auto manifest = testing::ReadManifest();
  ASSERT_EQ(manifest.size(), kExpected.size());
  for (const auto& entry : manifest) {
    SCOPED_TRACE(entry.file);
    const auto file =
        testing::ReadFileBytes(testing::SourceDir() / "resources" / "bitmaps" / entry.file);
    const std::span<const uint8_t> embedded = resources::FindBitmap(entry.id);
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(std::equal(file.begin(), file.end(), embedded.begin(), embedded.end()));
    const auto expected = kExpected.find(entry.id);
    ASSERT_NE(expected, kExpected.end());
    EXPECT_EQ(entry.width, expected->second.width);
    EXPECT_EQ(entry.height, expected->second.height);
    EXPECT_TRUE(entry.bits == 8 || entry.bits == 24) << entry.bits;
  }
}

TEST(BitmapCatalogue, IconComesInThreeSizesWithATransparentCorner) {
  platform::HeadlessPlatform headless;
  EXPECT_EQ(resources::IconSizes(), (std::vector<int32_t>{16, 32, 48}));
  EXPECT_TRUE(resources::FindIconBitmap(24).empty());
  for (int32_t size : {16, 32, 48}) {
    SCOPED_TRACE(size);
    const std::span<const uint8_t> bytes = resources::FindIconBitmap(size);
    const auto picture = platform::software::DecodeBmp(bytes);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, size);
    EXPECT_EQ(picture->height, size);
    // The corner is the transparent colour and the head covers the middle.
    const platform::ColorRef key = picture->at(0, 0);
    EXPECT_NE(picture->at(size / 2, size / 2), key);
    const auto opaque = std::count_if(picture->pixels.begin(), picture->pixels.end(),
                                      [key](platform::ColorRef c) { return c != key; });
    EXPECT_GT(opaque, size * size / 3);
  }
  const auto ico =
      testing::ReadFileBytes(testing::SourceDir() / "resources" / "icon" / "grazefall.ico");
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(ico[2], 1) << "icon type";
  EXPECT_EQ(ico[4], 3) << "three images";
}

}  // namespace
}  // namespace grazefall
