// A scene on the headless platform for tests: every picture the scene loads,
// drawn at its real size and frame grid, an open display and input devices,
// and a back buffer that records the text and picture blits made onto it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "options/options.h"
#include "platform/headless/headless_platform.h"
#include "runtime/display.h"
#include "runtime/random.h"
#include "scene/scene.h"
#include "sprites/sprite.h"
#include "sprites/sprite_list.h"
#include "sprites/sprite_sheet.h"
#include "sprites/text_font.h"
#include "tests/support/test_sheets.h"

namespace grazefall::testing {

// Frame layouts of the scene's sheets (pictures 1 pixel larger per frame and
// edge, as the compiled-in art is).
inline SheetLayout Layout(int32_t columns, int32_t rows, int32_t frameWidth, int32_t frameHeight) {
  SheetLayout layout;
  layout.columns = columns;
  layout.rows = rows;
  layout.frameWidth = frameWidth;
  layout.frameHeight = frameHeight;
  return layout;
}

// A plain picture: `color` everywhere but its transparent top-left pixel.
inline platform::Picture PlainPicture(int32_t width, int32_t height, platform::ColorRef color) {
  platform::Picture picture = SolidPicture(width, height, color);
  PutPixel(picture, 0, 0, kSheetTransparent);
  return picture;
}

constexpr platform::ColorRef kBeamColor = platform::Rgb(0, 200, 0);
constexpr platform::ColorRef kGhostColor = platform::Rgb(200, 200, 200);
constexpr platform::ColorRef kAlienColor = platform::Rgb(0, 160, 0);
constexpr platform::ColorRef kBackgroundColor = platform::Rgb(0, 255, 0);  // exact in every depth

inline void RegisterScenePictures(platform::HeadlessPlatform& headless) {
  headless.addResourcePicture(kTinyCowBitmap, DrawSheet(Layout(1, 1, 16, 11)));
  headless.addResourcePicture(kMediumCowBitmap, DrawSheet(Layout(1, 1, 27, 19)));
  headless.addResourcePicture(kLargeCowBitmap, DrawSheet(Layout(1, 1, 51, 36)));
  headless.addResourcePicture(kUfoBitmap, DrawSheet(Layout(1, 1, 132, 41)));
  headless.addResourcePicture(kExplosionBitmap, DrawSheet(Layout(4, 7, 227, 72)));
  headless.addResourcePicture(kBigTearBitmap, DrawSheet(Layout(1, 1, 16, 24)));
  headless.addResourcePicture(kSmallTearBitmap, DrawSheet(Layout(1, 1, 9, 15)));
  headless.addResourcePicture(kBeamBitmap, PlainPicture(135, 263, kBeamColor));
  headless.addResourcePicture(kAlienBitmap, PlainPicture(21, 24, kAlienColor));
  headless.addResourcePicture(kGhostCowBitmap, PlainPicture(143, 117, kGhostColor));
  headless.addResourcePicture(kInvasionBackgroundBitmap, SolidPicture(238, 184, kBackgroundColor));
}

// A back buffer that passes everything to the real one and remembers the
// texts and picture blits it was asked for.
class RecordingSurface : public platform::Surface {
 public:
  struct Text {
    int32_t x;
    int32_t y;
    std::string text;
    platform::ColorRef color;
    bool transparent;
  };
  struct Blit {
    platform::Rect destination;
    platform::Rect source;
    const platform::Surface* from;
    bool keyed;
  };

  explicit RecordingSurface(std::unique_ptr<platform::Surface> inner) : inner_(std::move(inner)) {}

  std::vector<Text> texts;
  std::vector<Blit> blits;
  void forget() {
    texts.clear();
    blits.clear();
  }

  int32_t width() const override { return inner_->width(); }
  int32_t height() const override { return inner_->height(); }
  int32_t bitDepth() const override { return inner_->bitDepth(); }
  int32_t fill(uint32_t pixelValue) override { return inner_->fill(pixelValue); }
  int32_t blit(const platform::Rect& destination, platform::Surface& from,
               const platform::Rect& source, bool keyed) override {
    blits.push_back({destination, source, &from, keyed});
    return inner_->blit(destination, from, source, keyed);
  }
  int32_t setClipList(std::span<const platform::Rect> rectangles) override {
    return inner_->setClipList(rectangles);
  }
  void setColorKey(uint32_t pixelValue) override { inner_->setColorKey(pixelValue); }
  bool hasColorKey() const override { return inner_->hasColorKey(); }
  uint32_t colorKey() const override { return inner_->colorKey(); }
  platform::ColorRef getPixel(int32_t x, int32_t y) const override {
    return inner_->getPixel(x, y);
  }
  platform::ColorRef setPixel(int32_t x, int32_t y, platform::ColorRef color) override {
    return inner_->setPixel(x, y, color);
  }
  uint32_t pixelValueOf(platform::ColorRef color) override { return inner_->pixelValueOf(color); }
  int32_t drawPicture(const platform::Picture& picture, const platform::Rect& source) override {
    return inner_->drawPicture(picture, source);
  }
  int32_t drawText(int32_t x, int32_t y, std::string_view text, const platform::Font* font,
                   platform::ColorRef color, bool transparent) override {
    texts.push_back({x, y, std::string(text), color, transparent});
    return inner_->drawText(x, y, text, font, color, transparent);
  }

 private:
  std::unique_ptr<platform::Surface> inner_;
};

// An open 800 x 600 x 32 display (or the mode asked) with the scene's
// pictures, saucer, empty lists and font, ready for the frame behaviours.
struct SceneRig {
  explicit SceneRig(platform::DisplayMode mode = {800, 600, 32}) {
    platform.setCurrentMode(mode);
    RegisterScenePictures(platform);
    display.width = mode.width;
    display.height = mode.height;
    display.bitDepth = mode.bitDepth;
    opened = OpenDisplay(display, platform, 1) && OpenInputDevices(input, platform, 1);
    if (opened) {
      auto recorder = std::make_unique<RecordingSurface>(std::move(display.backBuffer));
      backBuffer = recorder.get();
      display.backBuffer = std::move(recorder);
    }
    options = classicPreset;
    random.seed(12345);
  }
  ~SceneRig() { ReleaseScene(scene); }

  // The pictures, saucer, lists and font, as the herd build makes them.
  void loadScene() {
    LoadScenePictures(display, scene);
    scene.ufo = std::make_unique<Sprite>(display, kUfoBitmap, AnimationMode::Sequential);
    scene.herd = std::make_unique<SpriteList>();
    scene.explosions = std::make_unique<SpriteList>();
    scene.tears = std::make_unique<SpriteList>();
    scene.messageFont = std::make_unique<TextFont>(platform, "Lucida Console", 10, 100);
  }

  // A cow on `sheet` (large by default) at (x, y), appended to the herd.
  Sprite& addCow(int32_t x, int32_t y, SpriteSheet* sheet = nullptr) {
    scene.herd->append(new Sprite(display, sheet ? sheet : scene.largeCowSheet.get(),
                                  AnimationMode::Sequential, 1));
    Sprite& cow = *scene.herd->lastSprite();
    cow.setPosition(x, y);
    cow.setDirection(Direction::Down);
    return cow;
  }

  SceneContext context() { return SceneContext{platform, options, display, random, scene}; }

  platform::HeadlessPlatform platform;
  ScenarioOptions options{};
  Display display;
  InputDevices input;
  RandomGenerator random;
  Scene scene;
  RecordingSurface* backBuffer = nullptr;
  bool opened = false;
};

// Every sprite of a list, in list order.
inline std::vector<Sprite*> SpritesOf(const SpriteList& list) {
  std::vector<Sprite*> sprites;
  for (const SpriteList::Node* node = list.head(); node != nullptr; node = node->next)
    sprites.push_back(node->sprite);
  return sprites;
}

}  // namespace grazefall::testing
