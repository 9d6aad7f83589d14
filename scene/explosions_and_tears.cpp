// Explosions play their strip once and give the herd a fresh cow; blood drops
// rain down in speed bands and start again above the screen.
#include "scene/scene.h"

namespace grazefall {

namespace {

// A new cow far above the screen, standing in for one that exploded.
void AppendReplacementCow(SceneContext& context) {
  Scene& scene = context.scene;
  if (!scene.herd) return;
  const int32_t size = ChooseCowSize(context);
  scene.herd->append(
      new Sprite(context.display, CowSheetForSize(scene, size), AnimationMode::Sequential, 1));
  Sprite& cow = *scene.herd->lastSprite();
  const int32_t y = RandomSpan(context.random, 1351, -1500);
  const int32_t x = SpawnCowX(context);
  cow.setPosition(x, y);
  cow.setDirection(Direction::Down);
  cow.setWrap(context.options.wrapCows);
}

// Drops that start slow fall at 2 (1 just below the screen); fast ones fall
// at 3 and speed up to 4 between a third and a half of the height.
int32_t BandSpeed(int32_t y, int32_t speed, int32_t height) {
  const int32_t upperBand = (height / 6) * 2;
  const int32_t middleBand = (height / 6) * 3;
  if (y < upperBand) return speed == 1 ? 2 : speed;
  if (upperBand < y && y < middleBand) return speed == 3 ? 4 : speed;
  if (y > height) return speed == 4 || speed == 2 ? speed - 1 : speed;
  return speed;
}

}  // namespace

void UpdateExplosions(SceneContext& context, SpriteList* explosions) {
  if (explosions == nullptr) return;
  platform::Surface* target = context.display.backBuffer.get();
  explosions->rewind();
  while (explosions->cursor() != nullptr) {
    Sprite* blast = explosions->cursorSprite();
    if (blast == nullptr) {
      explosions->next();
      continue;
    }
    if (blast->loopCount() == 0) {
      if (target != nullptr) {
        blast->drawAnimated(*target);
      } else {
        blast->advanceFrame();
      }
      explosions->next();
      continue;
    }
    explosions->removeAtCursor();
    AppendReplacementCow(context);
  }
}

void UpdateTears(SceneContext& context, SpriteList* tears) {
  if (tears == nullptr) return;
  const int32_t width = context.display.width;
  const int32_t height = context.display.height;
  platform::Surface* target = context.display.backBuffer.get();
  tears->rewind();
  while (tears->cursor() != nullptr) {
    if (Sprite* drop = tears->cursorSprite()) {
      if (drop->y() > height + 10) {
        const int32_t y = RandomSpan(context.random, 101, -150);
        const int32_t x = RandomSpan(context.random, width + 21, -10);
        drop->setPosition(x, y);
      }
      drop->setSpeed(BandSpeed(drop->y(), drop->speed(), height));
      drop->move();
      if (target != nullptr) drop->drawAnimated(*target);
    }
    tears->next();
  }
}

}  // namespace grazefall
