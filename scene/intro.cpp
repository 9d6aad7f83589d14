// The saucer intro: it glides in, lowers its beam, speaks three blocks of text
// and flies off while the herd begins to fall.
#include <array>
#include <string_view>

#include "scene/drawing.h"
#include "scene/scene.h"

namespace grazefall {

namespace {

constexpr int32_t kBeamFrames = 320;
constexpr int32_t kSpeechFrames = 163;
constexpr int32_t kFarewellFrames = 60;
constexpr int32_t kBeamBelowSaucer = 33;

using TextBlock = std::array<std::string_view, 3>;
constexpr TextBlock kArrivalBlock = {"they are here,", "they are hostile,", "they roam"};
constexpr TextBlock kDemandBlock = {"they need our green grass,", "they'll stop at nothing", ""};
constexpr TextBlock kWarningBlock = {"Cows Walk Among Us,", "Be Afraid", ""};

// Lines sit left of and below the saucer at (x, y), 11 pixels apart.
void DrawTextBlock(SceneContext& context, const TextBlock& block, int32_t x, int32_t y) {
  const platform::Font* font =
      context.scene.messageFont ? context.scene.messageFont->handle() : nullptr;
  for (size_t line = 0; line < block.size(); ++line) {
    if (block[line].empty()) continue;
    DrawTextOnSurface(context.display.backBuffer.get(), block[line], x - 150,
                      y + 50 + 11 * static_cast<int32_t>(line), font, textColor, 0);
  }
}

const TextBlock& SpeechFor(int32_t ticks) {
  if (ticks < 80) return kArrivalBlock;
  if (ticks < 160) return kDemandBlock;
  return kWarningBlock;
}

void DrawUfo(SceneContext& context, Sprite& ufo) {
  if (context.display.backBuffer) ufo.draw(*context.display.backBuffer);
}

// Pixels per frame the saucer slides right: 3 on any real screen. A display
// under 5 pixels wide would divide by zero; it gets the usual 3.
int32_t FlyInStep(int32_t width) {
  const int32_t target = (2 * width) / 3;
  const int32_t divisor = target / 3;
  return divisor > 0 ? target / divisor : 3;
}

IntroPhase FlyIn(SceneContext& context, IntroState& intro, Sprite& ufo) {
  const int32_t targetX = (2 * context.display.width) / 3;
  const int32_t targetY = context.display.height / 4;
  if (intro.introTicks == 0) ufo.setPosition(-ufo.frameWidth() - 10, -ufo.frameHeight() - 10);
  if (ufo.x() >= targetX && ufo.y() >= targetY) {
    DrawUfo(context, ufo);
    intro.introStage = IntroStage::LowerBeam;
    intro.introTicks = 0;
    return IntroPhase::HoldsTheScreen;
  }
  int32_t x = ufo.x();
  int32_t y = ufo.y();
  if (x < targetX) x += FlyInStep(context.display.width);
  if (y < targetY) y += 1;
  ufo.setPosition(x, y);
  DrawUfo(context, ufo);
  intro.introTicks = 1;
  return IntroPhase::HoldsTheScreen;
}

IntroPhase LowerBeam(SceneContext& context, IntroState& intro, Sprite& ufo) {
  const SpriteSheet* beam = context.scene.beamPicture.get();
  const int32_t beamHeight = beam ? beam->height() : 0;
  if (intro.beamHeight < beamHeight) ++intro.beamHeight;
  BlitPictureRect(beam, context.display.backBuffer.get(), 0, 0, beam ? beam->width() : 0,
                  intro.beamHeight, ufo.x(), ufo.y() + kBeamBelowSaucer, 1);
  DrawUfo(context, ufo);
  if (++intro.introTicks >= kBeamFrames) {
    intro.introStage = IntroStage::Speak;
    intro.introTicks = 0;
  }
  return IntroPhase::HoldsTheScreen;
}

IntroPhase Speak(SceneContext& context, IntroState& intro, Sprite& ufo) {
  ++intro.introTicks;
  BlitPicture(context.scene.beamPicture.get(), context.display.backBuffer.get(), ufo.x(),
              ufo.y() + kBeamBelowSaucer, 1);
  DrawUfo(context, ufo);
  DrawTextBlock(context, SpeechFor(intro.introTicks), ufo.x(), ufo.y());
  if (intro.introTicks >= kSpeechFrames) {
    intro.introStage = IntroStage::FlyAway;
    intro.introTicks = 0;
  }
  return IntroPhase::HoldsTheScreen;
}

// The warning stays where the saucer was while the saucer flies off.
IntroPhase FlyAway(SceneContext& context, IntroState& intro, Sprite& ufo) {
  if (intro.introTicks == 0) {
    intro.savedX = ufo.x();
    intro.savedY = ufo.y();
  }
  if (++intro.introTicks < kFarewellFrames)
    DrawTextBlock(context, kWarningBlock, intro.savedX, intro.savedY);
  ufo.setPosition(ufo.x() + 5, ufo.y() - 4);
  DrawUfo(context, ufo);
  return ufo.x() < context.display.width ? IntroPhase::HerdRunsToo : IntroPhase::Over;
}

}  // namespace

IntroPhase PlayIntroStep(SceneContext& context, IntroState& intro) {
  Sprite* ufo = context.scene.ufo.get();
  if (ufo == nullptr) return IntroPhase::Over;  // nothing to show: the herd may run
  switch (intro.introStage) {
    case IntroStage::FlyIn:
      return FlyIn(context, intro, *ufo);
    case IntroStage::LowerBeam:
      return LowerBeam(context, intro, *ufo);
    case IntroStage::Speak:
      return Speak(context, intro, *ufo);
    case IntroStage::FlyAway:
    default:
      return FlyAway(context, intro, *ufo);
  }
}

}  // namespace grazefall
