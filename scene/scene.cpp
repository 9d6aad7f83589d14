#include "scene/scene.h"

#include <algorithm>

namespace grazefall {

void ReleaseScene(Scene& scene) {
  scene.messageFont.reset();
  scene.herd.reset();
  scene.explosions.reset();
  scene.tears.reset();
  scene.ufo.reset();
  scene.background.reset();
  scene.smallTearSheet.reset();
  scene.bigTearSheet.reset();
  scene.explosionSheet.reset();
  scene.ghostCowPicture.reset();
  scene.alienPicture.reset();
  scene.beamPicture.reset();
  scene.largeCowSheet.reset();
  scene.mediumCowSheet.reset();
  scene.tinyCowSheet.reset();
}

int32_t EffectiveHerdSize(const ScenarioOptions& options) {
  return std::clamp(options.herdSize, kHerdSizeRange.lowest, kHerdSizeRange.highest);
}

int32_t EffectiveWindPower(const ScenarioOptions& options) {
  // Below 0 acts exactly as 0 (no gust, narrow spreads), so the lower bound
  // changes nothing but keeps power * 10 from overflowing.
  return std::clamp(options.windPower, kWindPowerRange.lowest, kWindPowerRange.highest);
}

int32_t EffectiveFallSpeedBoost(const ScenarioOptions& options) {
  return std::clamp(options.fallSpeed, 0, kFallSpeedRange.highest);
}

SpriteSheet* CowSheetForSize(const Scene& scene, int32_t size) {
  if (size == kCowTiny) return scene.tinyCowSheet.get();
  if (size == kCowMedium) return scene.mediumCowSheet.get();
  return scene.largeCowSheet.get();
}

int32_t ChooseCowSize(SceneContext& context) {
  if (context.options.cowSize == kCowRandom) return RandomSpan(context.random, 3, 1);
  return context.options.cowSize;
}

int32_t SpawnCowX(SceneContext& context) {
  const int32_t width = context.display.width;
  const int32_t power = EffectiveWindPower(context.options);
  if (power < 2) return RandomSpan(context.random, width + 1, 0);
  if (EffectiveHerdSize(context.options) < 100)
    return RandomSpan(context.random, width + 1001, -500);
  return RandomSpan(context.random, width + 2001, -1000);
}

}  // namespace grazefall
