#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "scene/scene.h"
#include "tests/support/scene_rig.h"

namespace grazefall {
namespace {

using testing::SceneRig;

class Messages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig.opened);
    rig.loadScene();
    rig.backBuffer->forget();
  }
  void draw(int32_t index, int32_t x, int32_t y) {
    SceneContext context = rig.context();
    DrawConspiracyMessage(context, index, x, y);
  }
  SceneRig rig;
  MessageState messages;
};

TEST_F(Messages, EachMessageHoldsOnePlaceFor100Frames) {
  int32_t started = 0;
  int32_t shownFrames = 0;
  for (int frame = 0; frame < 8000; ++frame) {
    const MessageState before = messages;
    rig.backBuffer->forget();
    SceneContext context = rig.context();
    UpdateConspiracyMessages(context, messages);
    if (before.messageFramesLeft == 0 && messages.messageFramesLeft != 0) {
      ++started;
      EXPECT_EQ(messages.messageFramesLeft, 99);
      EXPECT_GE(messages.messageIndex, -3);
      EXPECT_LE(messages.messageIndex, 23);
      EXPECT_GE(messages.messageX, 0);
      EXPECT_LE(messages.messageX, 800 - 50);
      EXPECT_GE(messages.messageY, 0);
      EXPECT_LE(messages.messageY, 600 - 50);
    } else if (before.messageFramesLeft != 0) {
      EXPECT_EQ(messages.messageFramesLeft, before.messageFramesLeft - 1);
      EXPECT_EQ(messages.messageIndex, before.messageIndex);
      EXPECT_EQ(messages.messageX, before.messageX);
      EXPECT_EQ(messages.messageY, before.messageY);
    }
    const bool showing = before.messageFramesLeft != 0 || messages.messageFramesLeft != 0;
    const int32_t index = messages.messageIndex;
    if (showing) ++shownFrames;
    if (showing && index >= 0 && index != 22) {
      ASSERT_EQ(rig.backBuffer->texts.size(), 1u);
      EXPECT_EQ(rig.backBuffer->texts[0].x, messages.messageX);
      EXPECT_EQ(rig.backBuffer->texts[0].y, messages.messageY);
    } else {
      EXPECT_TRUE(rig.backBuffer->texts.empty());
    }
  }
  EXPECT_GT(started, 5);
  // Every message is drawn on 100 frames, but the last may still be running.
  EXPECT_EQ(shownFrames, 100 * started - messages.messageFramesLeft);
}

TEST_F(Messages, TextsAreWrittenWhiteOnBlackExactlyAsTheTableHasThem) {
  draw(3, 10, 20);
  draw(0, 0, 0);
  draw(23, 5, 6);
  draw(12, 7, 8);
  ASSERT_EQ(rig.backBuffer->texts.size(), 4u);
  const auto& first = rig.backBuffer->texts[0];
  EXPECT_EQ(first.text, "MIWB - Men In White And Black - They Come When You Don't Eat Your Grass");
  EXPECT_EQ(first.x, 10);
  EXPECT_EQ(first.y, 20);
  EXPECT_EQ(first.color, platform::Rgb(255, 255, 255));
  EXPECT_FALSE(first.transparent);
  EXPECT_EQ(rig.backBuffer->texts[1].text, "Cows Walk Among Us");
  EXPECT_EQ(rig.backBuffer->texts[2].text, "The Thing is in you...");
  EXPECT_EQ(rig.backBuffer->texts[3].text, "The Date has been Set December 31 9999 23:57:44");
}

TEST_F(Messages, BlankAndUnknownEntriesDrawNothing) {
  for (int32_t index : {22, -3, -4, 24, INT32_MIN, INT32_MAX}) draw(index, 10, 10);
  EXPECT_TRUE(rig.backBuffer->texts.empty());
  EXPECT_TRUE(rig.backBuffer->blits.empty());
}

TEST_F(Messages, FlashesStretchTheirPictureOverTheWholeScreen) {
  draw(-2, 123, 456);
  draw(-1, 123, 456);
  ASSERT_EQ(rig.backBuffer->blits.size(), 2u);
  const auto& ghost = rig.backBuffer->blits[0];
  EXPECT_EQ(ghost.from, rig.scene.ghostCowPicture->surface());
  EXPECT_EQ(ghost.destination, (platform::Rect{0, 0, 800, 600}));
  EXPECT_TRUE(ghost.keyed);
  EXPECT_EQ(rig.backBuffer->blits[1].from, rig.scene.alienPicture->surface());
  EXPECT_EQ(rig.display.backBuffer->getPixel(799, 599), testing::kAlienColor);
  EXPECT_TRUE(rig.backBuffer->texts.empty());
}

}  // namespace
}  // namespace grazefall
