// The scene of a running animation: every picture, sprite and list the herd
// build makes, the wind's gust, the intro's and the messages' progress, and
// the behaviours that move and draw them once per frame.
#pragma once

#include <cstdint>
#include <memory>

#include "options/options.h"
#include "platform/platform.h"
#include "runtime/display.h"
#include "runtime/random.h"
#include "sprites/sprite.h"
#include "sprites/sprite_list.h"
#include "sprites/sprite_sheet.h"
#include "sprites/text_font.h"

namespace grazefall {

// Bitmap resources the scene draws from.
constexpr int32_t kTinyCowBitmap = 114;
constexpr int32_t kMediumCowBitmap = 123;
constexpr int32_t kLargeCowBitmap = 118;
constexpr int32_t kBeamBitmap = 120;
constexpr int32_t kAlienBitmap = 115;
constexpr int32_t kGhostCowBitmap = 124;
constexpr int32_t kExplosionBitmap = 170;
constexpr int32_t kBigTearBitmap = 175;
constexpr int32_t kSmallTearBitmap = 176;
constexpr int32_t kUfoBitmap = 121;
constexpr int32_t kInvasionBackgroundBitmap = 163;

// White, for every text the saver writes on screen.
constexpr platform::ColorRef textColor = platform::Rgb(255, 255, 255);

struct Scene {
  // The nine shared pictures, in the order they are loaded.
  std::unique_ptr<SpriteSheet> tinyCowSheet;
  std::unique_ptr<SpriteSheet> mediumCowSheet;
  std::unique_ptr<SpriteSheet> largeCowSheet;
  std::unique_ptr<SpriteSheet> beamPicture;
  std::unique_ptr<SpriteSheet> alienPicture;
  std::unique_ptr<SpriteSheet> ghostCowPicture;
  std::unique_ptr<SpriteSheet> explosionSheet;
  std::unique_ptr<SpriteSheet> bigTearSheet;
  std::unique_ptr<SpriteSheet> smallTearSheet;

  std::unique_ptr<SpriteSheet> background;
  std::unique_ptr<Sprite> ufo;
  std::unique_ptr<SpriteList> herd;
  std::unique_ptr<SpriteList> explosions;
  std::unique_ptr<SpriteList> tears;
  std::unique_ptr<TextFont> messageFont;
};

// Destroys what the scene holds: the font, the three lists, the saucer, the
// background, then the nine pictures newest first, so that no sprite outlives
// the sheet it draws from.
void ReleaseScene(Scene& scene);

// Loads the nine shared pictures, in the order the herd build loads them.
void LoadScenePictures(const Display& display, Scene& scene);

// One gust of wind: blows `direction` while active, for framesLeft + 1 frames.
constexpr int32_t kNoGustDirection = -9999;
struct Gust {
  int32_t active = 0;
  int32_t framesLeft = 0;
  int32_t direction = kNoGustDirection;
};

// How far the intro has come, as the frame step sees it.
enum class IntroPhase : int32_t {
  HoldsTheScreen = 0,  // the saucer shows alone; the herd waits
  HerdRunsToo = 1,     // the saucer leaves while the herd runs
  Over = 2,            // the intro is done; only the herd runs
};

// What the saucer is doing. Only the first three are told apart: any other
// value flies away.
enum class IntroStage : int32_t {
  FlyIn = 1,
  LowerBeam = 2,
  Speak = 3,
  FlyAway = 4,
};

// The saucer intro's progress.
struct IntroState {
  IntroStage introStage = IntroStage::FlyIn;
  int32_t introTicks = 0;
  int32_t beamHeight = 0;
  int32_t savedX = 0;
  int32_t savedY = 0;
};

// The message on screen, if messageFramesLeft is not 0.
struct MessageState {
  int32_t messageFramesLeft = 0;
  int32_t messageIndex = 0;
  int32_t messageX = 0;
  int32_t messageY = 0;
};

// What every scene behaviour works with, borrowed for the length of a call.
struct SceneContext {
  // The fonts of the messages come from here.
  platform::Platform& platform;
  const ScenarioOptions& options;
  Display& display;
  RandomGenerator& random;
  Scene& scene;
};

// The stored options, bounded to their fields' ranges (what the settings pages
// can write), so that a damaged record cannot overflow the scene's arithmetic.
int32_t EffectiveHerdSize(const ScenarioOptions& options);
int32_t EffectiveWindPower(const ScenarioOptions& options);
// The fall speed added to a cow's step (only positive values add).
int32_t EffectiveFallSpeedBoost(const ScenarioOptions& options);

// The cow sheet for size code s: 1 tiny, 2 medium, anything else large.
SpriteSheet* CowSheetForSize(const Scene& scene, int32_t size);
// A cow's size: its own random size for cowSize 4 ("random"), else cowSize.
int32_t ChooseCowSize(SceneContext& context);
// The x a new cow starts at: wider spreads with wind so that sideways gusts
// blow cows in from beyond the edges.
int32_t SpawnCowX(SceneContext& context);

// Builds the whole scene; the input devices are polled so that a user can cut
// a long build short. False when the user did.
bool BuildHerd(SceneContext& context, InputDevices& input);

void UpdateHerd(SceneContext& context, Gust& gust, SpriteList* herd);
void UpdateExplosions(SceneContext& context, SpriteList* explosions);
void UpdateTears(SceneContext& context, SpriteList* tears);

// Draws the chosen background picture, if any, onto the back buffer:
// stretched over the whole screen for backgroundMode 2, else centred.
void DrawBackground(SceneContext& context);

// One intro frame; returns the phase the intro is in after it.
IntroPhase PlayIntroStep(SceneContext& context, IntroState& intro);

void UpdateConspiracyMessages(SceneContext& context, MessageState& messages);
// Draws message table entry `index` (-2 and -1 are full-screen flashes).
void DrawConspiracyMessage(SceneContext& context, int32_t index, int32_t x, int32_t y);

}  // namespace grazefall
