// The herd build: loads the scene's pictures, makes the herd, the pyramid and
// the blood drops, and keeps a loading cow walking while a big herd is made.
#include <memory>
#include <string>

#include "runtime/display.h"
#include "scene/drawing.h"
#include "scene/scene.h"

namespace grazefall {

namespace {

constexpr int32_t kLoadingCowThreshold = 50;
constexpr int32_t kTearCount = 2000;
constexpr int32_t kMaxExitSteps = 5000;

void ShowLoadingCow(Display& display, Sprite& cow) {
  if (!display.backBuffer) return;
  FillSurface(display.backBuffer.get(), display.fillColor);
  cow.draw(*display.backBuffer);
  PresentFrame(display);
}

// Every tenth cow or drop of a big herd, the loading cow takes a step right,
// coming back at the left edge once it has walked past the right one.
void AdvanceLoadingCow(Display& display, Sprite& cow) {
  if (cow.x() > display.width) cow.setPosition(-cow.frameWidth(), cow.y());
  cow.move();
  ShowLoadingCow(display, cow);
}

bool OnScreen(const Display& display, const Sprite& cow) {
  return cow.y() < display.height && cow.y() + cow.frameHeight() > 0 && cow.x() < display.width &&
         cow.x() + cow.frameWidth() > 0;
}

void LoadBackground(const Display& display, const ScenarioOptions& options, Scene& scene) {
  if (ScenarioNameOf(options) == "Invasion" && options.backgroundMode == 0) {
    scene.background = std::make_unique<SpriteSheet>(display, kInvasionBackgroundBitmap);
  } else if (options.backgroundMode != 0) {
    scene.background =
        std::make_unique<SpriteSheet>(display, std::string(BackgroundPathOf(options)));
  }
}

void PlaceNewCow(SceneContext& context, Sprite& cow, bool firstCow) {
  const int32_t width = context.display.width;
  if (firstCow) {
    // The first cow falls in alone from just above the middle third.
    const int32_t y = RandomSpan(context.random, 11, -60);
    const int32_t x = RandomSpan(context.random, (2 * width) / 3 - width / 3 + 1, width / 3);
    cow.setPosition(x, y);
    return;
  }
  const int32_t y = RandomSpan(context.random, 1351, -1500);
  const int32_t x = SpawnCowX(context);
  cow.setPosition(x, y);
}

// Where place j of pyramid row k waits, so the apex enters the screen first.
void PyramidPlace(const Display& display, int32_t heading, int32_t k, int32_t j, int32_t dx,
                  int32_t dy, int32_t* x, int32_t* y) {
  const int32_t w = display.width;
  const int32_t h = display.height;
  switch (heading) {
    case kHeadingUp:
      *x = w / 2 - (k / 2) * dx + (j - 1) * dx;
      *y = h + k * dy + 50;
      break;
    case kHeadingLeft:
      *x = w + k * dx + 50;
      *y = h / 2 - (k / 2) * dy + (j - 1) * dy;
      break;
    case kHeadingRight:
      *x = -(k * dx + 50);
      *y = h / 2 - (k / 2) * dy + (j - 1) * dy;
      break;
    default:
      *x = w / 2 - (k / 2) * dx + (j - 1) * dx;
      *y = -k * dy;
      break;
  }
}

// Re-places the herd in list order as rows of 1, 2, 3 ... cows. False when
// the user interrupts between rows.
bool ArrangePyramid(SceneContext& context, InputDevices& input) {
  SpriteList& herd = *context.scene.herd;
  const SpriteList::Node* first = herd.head();
  if (first == nullptr || first->sprite == nullptr) return true;
  const int32_t dx = 2 * first->sprite->frameWidth();
  const int32_t dy = 2 * first->sprite->frameHeight();
  herd.rewind();
  for (int32_t k = 1; k < herd.size(); ++k) {
    // Once the cursor has left the list the rest of the rows stay empty; the
    // rows are still counted so the user is polled after each of them.
    for (int32_t j = 1; j <= k && herd.cursor() != nullptr; ++j) {
      if (Sprite* cow = herd.cursorSprite()) {
        int32_t x = 0;
        int32_t y = 0;
        PyramidPlace(context.display, context.options.heading, k, j, dx, dy, &x, &y);
        cow->setPosition(x, y);
      }
      herd.next();
    }
    if (UserInterrupted(input)) return false;
  }
  return true;
}

// The loading cow blows up where it stands; runs until its one pass through
// the explosion strip is done, bounded by the strip's own length so that a
// strip that failed to load cannot keep the build waiting.
void ExplodeLoadingCow(Display& display, Scene& scene, Sprite& cow) {
  cow.attachSheet(scene.explosionSheet.get(), 1);
  cow.setPosition(cow.x() - 38, cow.y() - 18);
  const int64_t frames = static_cast<int64_t>(cow.columns()) * cow.rows();
  const int64_t limit = (frames > 0 ? frames : 1) * (static_cast<int64_t>(cow.delay()) + 1) + 1;
  for (int64_t shown = 0; cow.loopCount() != 1 && shown < limit; ++shown) {
    if (display.backBuffer) {
      FillSurface(display.backBuffer.get(), display.fillColor);
      cow.drawAnimated(*display.backBuffer);
    }
    PresentFrame(display);
  }
}

// The loading cow walks off the screen; false when the user interrupts.
bool WalkLoadingCowAway(Display& display, InputDevices& input, Sprite& cow) {
  for (int32_t step = 1; step <= kMaxExitSteps && OnScreen(display, cow); ++step) {
    cow.move();
    ShowLoadingCow(display, cow);
    if (step % 10 == 0 && UserInterrupted(input)) return false;
  }
  return true;
}

}  // namespace

void LoadScenePictures(const Display& display, Scene& scene) {
  scene.tinyCowSheet = std::make_unique<SpriteSheet>(display, kTinyCowBitmap);
  scene.mediumCowSheet = std::make_unique<SpriteSheet>(display, kMediumCowBitmap);
  scene.largeCowSheet = std::make_unique<SpriteSheet>(display, kLargeCowBitmap);
  scene.beamPicture = std::make_unique<SpriteSheet>(display, kBeamBitmap);
  scene.alienPicture = std::make_unique<SpriteSheet>(display, kAlienBitmap);
  scene.ghostCowPicture = std::make_unique<SpriteSheet>(display, kGhostCowBitmap);
  scene.explosionSheet = std::make_unique<SpriteSheet>(display, kExplosionBitmap);
  scene.bigTearSheet = std::make_unique<SpriteSheet>(display, kBigTearBitmap);
  scene.smallTearSheet = std::make_unique<SpriteSheet>(display, kSmallTearBitmap);
}

bool BuildHerd(SceneContext& context, InputDevices& input) {
  Display& display = context.display;
  Scene& scene = context.scene;
  const ScenarioOptions& options = context.options;
  RandomGenerator& random = context.random;

  LoadScenePictures(display, scene);
  LoadBackground(display, options, scene);
  scene.ufo = std::make_unique<Sprite>(display, kUfoBitmap, AnimationMode::Sequential);
  scene.herd = std::make_unique<SpriteList>();
  scene.explosions = std::make_unique<SpriteList>();
  scene.tears = std::make_unique<SpriteList>();
  scene.messageFont = std::make_unique<TextFont>(context.platform, "Lucida Console", 10, 100);

  auto loadingCow = std::make_unique<Sprite>(display, kLargeCowBitmap, AnimationMode::Sequential);
  loadingCow->setPosition(-loadingCow->frameWidth(),
                          display.height / 2 - loadingCow->frameHeight() / 2);
  loadingCow->setSpeed(3);
  loadingCow->setDirection(Direction::Right);

  const int32_t herdSize = EffectiveHerdSize(options);
  const bool showLoading = herdSize > kLoadingCowThreshold;
  for (int32_t i = 0; i < herdSize; ++i) {
    if (showLoading && i % 10 == 0) AdvanceLoadingCow(display, *loadingCow);
    const int32_t size = ChooseCowSize(context);
    scene.herd->append(
        new Sprite(display, CowSheetForSize(scene, size), AnimationMode::Sequential, 1));
    Sprite& cow = *scene.herd->lastSprite();
    PlaceNewCow(context, cow, i == 0);
    cow.setDirection(Direction::Down);
    cow.setWrap(options.wrapCows);
    if (i % 10 == 0 && UserInterrupted(input)) return false;
  }

  if (options.invertedPyramid == 1 && !ArrangePyramid(context, input)) return false;

  if (options.tearsOfBlood != 0) {
    for (int32_t i = 0; i < kTearCount; ++i) {
      if (showLoading && i % 10 == 0) AdvanceLoadingCow(display, *loadingCow);
      SpriteSheet* sheet =
          RandomSpan(random, 4, 0) != 0 ? scene.bigTearSheet.get() : scene.smallTearSheet.get();
      scene.tears->append(new Sprite(display, sheet, AnimationMode::Sequential, 1));
      Sprite& drop = *scene.tears->lastSprite();
      const int32_t y = RandomSpan(random, 1351, -1500);
      const int32_t x = RandomSpan(random, display.width + 21, -10);
      drop.setPosition(x, y);
      drop.setDirection(Direction::Down);
      drop.setSpeed(RandomSpan(random, 3, 1));
      drop.setWrap(1);
      if (i % 10 == 0 && UserInterrupted(input)) return false;
    }
  }

  loadingCow->setDirection(RandomSpan(random, 8, 1));
  if (ScenarioNameOf(options) == "Halloween") {
    ExplodeLoadingCow(display, scene, *loadingCow);
  } else if (!WalkLoadingCowAway(display, input, *loadingCow)) {
    return false;
  }
  return true;
}

}  // namespace grazefall
