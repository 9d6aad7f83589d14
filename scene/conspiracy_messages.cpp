// Now and then a paranoid sentence or a full-screen flash, held 100 frames.
#include <array>
#include <string_view>

#include "scene/drawing.h"
#include "scene/scene.h"

namespace grazefall {

namespace {

constexpr int32_t kMessageFrames = 100;
constexpr int32_t kGhostCowFlash = -2;
constexpr int32_t kAlienFlash = -1;

// Entry 22 is blank: it shows nothing.
constexpr std::array<std::string_view, 24> kMessages = {
    "Cows Walk Among Us",
    "Eat The PopCorn",
    "Look Into My Eyes",
    "MIWB - Men In White And Black - They Come When You Don't Eat Your Grass",
    "Eat PopCorn",
    "I want to believe",
    "Trust no Cow",
    "The C Files",
    "The Cows are out There",
    "Don't Cut your Grass",
    "We need your Grass",
    "UFO's in the sky and Cows on the ground",
    "The Date has been Set December 31 9999 23:57:44",
    "Is that a Cow behind you?",
    "Cows Play pinball too",
    "they think we don't know",
    "don't step on the grass",
    "we mean you no harm",
    "turn off your computer and go to sleep",
    "We're out there",
    "They're everywhere",
    "Tavik Drummel, Eraserhead, Lost Highway... Poetry.",
    "",
    "The Thing is in you...",
};

}  // namespace

void UpdateConspiracyMessages(SceneContext& context, MessageState& messages) {
  RandomGenerator& random = context.random;
  if (messages.messageFramesLeft == 0 && RandomSpan(random, 5001, 0) < 10) {
    messages.messageIndex = RandomSpan(random, 27, -3);
    messages.messageFramesLeft = kMessageFrames;
    messages.messageX = RandomSpan(random, context.display.width - 49, 0);
    messages.messageY = RandomSpan(random, context.display.height - 49, 0);
  }
  if (messages.messageFramesLeft != 0) {
    DrawConspiracyMessage(context, messages.messageIndex, messages.messageX, messages.messageY);
    --messages.messageFramesLeft;
  }
}

void DrawConspiracyMessage(SceneContext& context, int32_t index, int32_t x, int32_t y) {
  Display& display = context.display;
  platform::Surface* target = display.backBuffer.get();
  if (index == kGhostCowFlash || index == kAlienFlash) {
    const SpriteSheet* flash = index == kGhostCowFlash ? context.scene.ghostCowPicture.get()
                                                       : context.scene.alienPicture.get();
    StretchPicture(flash, target, 0, 0, display.width, display.height, 1);
    return;
  }
  if (index < 0 || index >= static_cast<int32_t>(kMessages.size())) return;
  const std::string_view text = kMessages[static_cast<size_t>(index)];
  if (text.empty()) return;
  const platform::Font* font =
      context.scene.messageFont ? context.scene.messageFont->handle() : nullptr;
  DrawTextOnSurface(target, text, x, y, font, textColor, 0);
}

}  // namespace grazefall
