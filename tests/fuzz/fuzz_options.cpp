// Any bytes stored as the "Options" value: the saver's load reads them as the
// store does (a short value fills only its length, a longer one is refused),
// the --print-options listing shows them, and the animation starts and runs a
// few frames with the record. To keep one input fast the frames are small
// (the record's own size up to 80x60, else 64x48, at the record's depth) and
// the herd at most 64 cows: values the saver accepts as they are.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "options/options.h"
#include "options/options_listing.h"
#include "options/options_store.h"
#include "platform/headless/headless_platform.h"
#include "platform/platform.h"
#include "saver/animation.h"
#include "saver/animation_state.h"

namespace {

using namespace grazefall;

constexpr int32_t kLargestHerd = 64;
constexpr int32_t kWidestFrame = 80;
constexpr int32_t kTallestFrame = 60;
constexpr int kFrames = 6;

// The program's own pictures are the same for every input: each is decoded
// once, which keeps an input's time for the record's effects.
class CachedPicturesPlatform : public platform::HeadlessPlatform {
 public:
  std::optional<platform::Picture> loadResourcePicture(int32_t resourceId) override {
    static std::map<int32_t, std::optional<platform::Picture>> decoded;
    auto found = decoded.find(resourceId);
    if (found == decoded.end())
      found = decoded.emplace(resourceId, HeadlessPlatform::loadResourcePicture(resourceId)).first;
    return found->second;
  }
};

// The listing has one line per field, each "name: value".
void CheckListing(const ScenarioOptions& record) {
  const std::string listing = OptionsListing(record);
  if (std::count(listing.begin(), listing.end(), '\n') != 20) std::abort();
  for (const char c : listing) {
    const auto byte = static_cast<unsigned char>(c);
    if (c != '\n' && (byte < 0x20 || byte >= 0x7F)) std::abort();
  }
}

int32_t SmallSide(int32_t side, int32_t largest, int32_t otherwise) {
  return side >= 1 && side <= largest ? side : otherwise;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CachedPicturesPlatform headless;
  headless.setTimeSeconds(1);
  const auto* bytes = reinterpret_cast<const std::byte*>(data);
  headless.memoryStore().plant("Options", std::vector<std::byte>(bytes, bytes + size));

  // What --print-options shows: the stored bytes over a zeroed record.
  ScenarioOptions stored{};
  if (size <= sizeof stored) std::memcpy(&stored, data, size);
  CheckListing(stored);

  activeOptions = classicPreset;
  LoadSaverOptions(headless);
  CheckListing(activeOptions);

  activeOptions.herdSize = std::min(activeOptions.herdSize, kLargestHerd);
  activeOptions.screenWidth = SmallSide(activeOptions.screenWidth, kWidestFrame, 64);
  activeOptions.screenHeight = SmallSide(activeOptions.screenHeight, kTallestFrame, 48);
  headless.setCurrentMode({activeOptions.screenWidth, activeOptions.screenHeight, 16});

  std::unique_ptr<Animation> animation = NewAnimation(headless, activeOptions);
  if (StartAnimation(*animation, 1)) {
    for (int frame = 0; frame < kFrames; ++frame) {
      RunFrame(*animation);
      headless.advanceTicks(40);
    }
    EndAnimation(*animation);
  }
  animation.reset();
  return 0;
}
