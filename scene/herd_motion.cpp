// The herd's frame: gusts of wind, random explosions, cows sent back in once
// they have drifted beyond an edge, the zig-zag step and the draw.
#include "scene/scene.h"

namespace grazefall {

namespace {

enum class EdgeSide { Top, Bottom, Left, Right };

// The edge a cow is expected to leave by: the gust's while one blows, else
// the herd's heading.
EdgeSide SideOf(const Gust& gust, int32_t heading) {
  if (gust.active == 1) {
    switch (static_cast<Direction>(gust.direction)) {
      case Direction::Up:
      case Direction::UpLeft:
      case Direction::UpRight:
        return EdgeSide::Top;
      case Direction::Left:
        return EdgeSide::Left;
      case Direction::Right:
        return EdgeSide::Right;
      default:
        return EdgeSide::Bottom;
    }
  }
  switch (heading) {
    case kHeadingUp:
      return EdgeSide::Top;
    case kHeadingLeft:
      return EdgeSide::Left;
    case kHeadingRight:
      return EdgeSide::Right;
    default:
      return EdgeSide::Bottom;
  }
}

Direction PickOfThree(RandomGenerator& random, Direction first, Direction second, Direction third) {
  const int32_t k = RandomSpan(random, 3, 1);
  if (k == 1) return first;
  if (k == 2) return second;
  return third;
}

void StartGust(SceneContext& context, Gust& gust, int32_t power) {
  RandomGenerator& random = context.random;
  gust.active = 1;
  gust.framesLeft = power * 10;
  switch (context.options.windDirection) {
    case 0:
      gust.direction = RandomSpan(random, 8, 1);
      break;
    case 1:
    case 2:
    case 3:
    case 4:
      gust.direction = context.options.windDirection;
      break;
    case -1:
      gust.direction = static_cast<int32_t>(
          PickOfThree(random, Direction::Up, Direction::UpLeft, Direction::UpRight));
      break;
    case -2:
      gust.direction = static_cast<int32_t>(
          PickOfThree(random, Direction::Down, Direction::DownLeft, Direction::DownRight));
      break;
    case -3:
      gust.direction = static_cast<int32_t>(
          PickOfThree(random, Direction::Left, Direction::DownLeft, Direction::UpLeft));
      break;
    case -4:
      gust.direction = static_cast<int32_t>(
          PickOfThree(random, Direction::Right, Direction::DownRight, Direction::UpRight));
      break;
    default:
      // A direction code the Wind page cannot store: the gust keeps blowing
      // the way the last one did.
      break;
  }
}

struct RespawnRule {
  int32_t margin;
  int32_t depthSpan;
  int32_t wideExtra;  // the wide spread reaches this far beyond each end
};

RespawnRule RespawnRuleFor(int32_t herdSize) {
  if (herdSize < 100) return {300, 281, 500};
  return {700, 731, 1000};
}

int32_t Spread(RandomGenerator& random, int32_t length, bool wide, const RespawnRule& rule) {
  if (wide) return RandomSpan(random, length + 2 * rule.wideExtra + 1, -rule.wideExtra);
  return RandomSpan(random, length + 41, -20);
}

// Sends a cow that has drifted a margin beyond its edge back in from beyond
// the opposite edge, at a random depth and place.
void Respawn(SceneContext& context, EdgeSide side, int32_t power, Sprite& cow) {
  RandomGenerator& random = context.random;
  const int32_t w = context.display.width;
  const int32_t h = context.display.height;
  const RespawnRule rule = RespawnRuleFor(EffectiveHerdSize(context.options));
  const int32_t windDirection = context.options.windDirection;
  const bool acrossVertical = power >= 2 && (windDirection == 1 || windDirection == 3);
  const bool acrossHorizontal = power >= 2 && (windDirection == 2 || windDirection == 4);
  switch (side) {
    case EdgeSide::Top:
      if (cow.y() < -rule.margin) {
        const int32_t y = h + RandomSpan(random, rule.depthSpan, 20);
        const int32_t x = Spread(random, w, acrossVertical, rule);
        cow.setPosition(x, y);
      }
      break;
    case EdgeSide::Bottom:
      if (cow.y() > h + rule.margin) {
        const int32_t y = -RandomSpan(random, rule.depthSpan, 20);
        const int32_t x = Spread(random, w, acrossVertical, rule);
        cow.setPosition(x, y);
      }
      break;
    case EdgeSide::Left:
      if (cow.x() < -rule.margin) {
        const int32_t y = Spread(random, h, acrossHorizontal, rule);
        const int32_t x = w + RandomSpan(random, rule.depthSpan, 20);
        cow.setPosition(x, y);
      }
      break;
    case EdgeSide::Right:
      if (cow.x() > w + rule.margin) {
        const int32_t y = Spread(random, h, acrossHorizontal, rule);
        const int32_t x = -RandomSpan(random, rule.depthSpan, 20);
        cow.setPosition(x, y);
      }
      break;
  }
}

// One of the two diagonals around the heading, with equal chance.
Direction JitterDirection(RandomGenerator& random, int32_t heading) {
  const bool first = RandomSpan(random, 2, 0) > 0;
  switch (heading) {
    case kHeadingLeft:
      return first ? Direction::UpLeft : Direction::DownLeft;
    case kHeadingRight:
      return first ? Direction::UpRight : Direction::DownRight;
    case kHeadingUp:
      return first ? Direction::UpRight : Direction::UpLeft;
    default:
      return first ? Direction::DownLeft : Direction::DownRight;
  }
}

// Turns the cow under the cursor into an explosion; the cursor moves on to
// the cow that followed it.
void ExplodeCowAtCursor(SceneContext& context, SpriteList& herd, const Sprite& cow) {
  SpriteList& explosions = *context.scene.explosions;
  explosions.append(new Sprite(context.display, context.scene.explosionSheet.get(),
                               AnimationMode::Sequential, 1));
  Sprite& blast = *explosions.lastSprite();
  blast.setDelay(0);
  blast.setPosition(cow.x() - 38, cow.y() - 18);
  herd.removeAtCursor();
}

}  // namespace

void UpdateHerd(SceneContext& context, Gust& gust, SpriteList* herd) {
  const ScenarioOptions& options = context.options;
  RandomGenerator& random = context.random;
  const int32_t power = EffectiveWindPower(options);
  const int32_t height = context.display.height;

  if (gust.active == 0 && power > 0 &&
      (options.constantWind != 0 || RandomSpan(random, 5001, 0) < power * 10 + 25)) {
    StartGust(context, gust, power);
  }
  if (herd == nullptr) return;

  const int32_t boost = EffectiveFallSpeedBoost(options);
  platform::Surface* target = context.display.backBuffer.get();
  herd->rewind();
  while (herd->cursor() != nullptr) {
    Sprite* cow = herd->cursorSprite();
    if (cow == nullptr) {
      herd->next();
      continue;
    }
    if (options.explodeCows != 0 && RandomSpan(random, 5001, 0) < 10 && context.scene.explosions) {
      ExplodeCowAtCursor(context, *herd, *cow);
      continue;
    }
    Respawn(context, SideOf(gust, options.heading), power, *cow);
    if (gust.active == 1) {
      cow->setDirection(gust.direction);
      cow->setSpeed(power);
      cow->move();
    }
    cow->setDirection(JitterDirection(random, options.heading));
    int32_t speed = 2;
    if (gust.active == 0 && cow->y() >= (height / 5) * 2) speed = 3;
    cow->setSpeed(speed + boost);
    cow->move();
    if (target != nullptr) cow->drawAnimated(*target);
    herd->next();
  }

  if (gust.active == 1 && gust.framesLeft > 0) {
    --gust.framesLeft;
  } else {
    gust.active = 0;
  }
}

}  // namespace grazefall
