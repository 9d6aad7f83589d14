#include "sprites/sprite_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/display.h"
#include "sprites/sprite.h"
#include "sprites/sprite_sheet.h"

namespace grazefall {
namespace {

// A surface that only counts its own destruction, so a test can see which
// sheets a list's sprites took down with them.
class CountingSurface : public platform::Surface {
 public:
  explicit CountingSurface(int* destroyed) : destroyed_(destroyed) {}
  ~CountingSurface() override { ++*destroyed_; }
  int32_t width() const override { return 3; }
  int32_t height() const override { return 3; }
  int32_t bitDepth() const override { return 32; }
  int32_t fill(uint32_t) override { return 0; }
  int32_t blit(const platform::Rect&, Surface&, const platform::Rect&, bool) override { return 0; }
  int32_t setClipList(std::span<const platform::Rect>) override { return 0; }
  void setColorKey(uint32_t) override {}
  bool hasColorKey() const override { return false; }
  uint32_t colorKey() const override { return 0; }
  platform::ColorRef getPixel(int32_t x, int32_t y) const override {
    return (x >= 0 && y >= 0 && x < 3 && y < 3) ? 0 : platform::kClrInvalid;
  }
  platform::ColorRef setPixel(int32_t, int32_t, platform::ColorRef) override { return 0; }
  uint32_t pixelValueOf(platform::ColorRef) override { return 0; }
  int32_t drawPicture(const platform::Picture&, const platform::Rect&) override { return 0; }
  int32_t drawText(int32_t, int32_t, std::string_view, const platform::Font*, platform::ColorRef,
                   bool) override {
    return 0;
  }

 private:
  int* destroyed_;
};

class SpriteListTest : public ::testing::Test {
 protected:
  // A sprite without a picture; the list takes ownership.
  Sprite* bareSprite() { return new Sprite(display, nullptr, AnimationMode::Sequential, 1); }
  // A sprite that owns a sheet whose destruction is counted.
  Sprite* owningSprite() {
    auto* sheet = new SpriteSheet(std::make_unique<CountingSurface>(&destroyedSheets));
    return new Sprite(display, sheet, AnimationMode::Sequential, 0);
  }
  // The sprites from head to tail, and from tail back to head.
  std::vector<Sprite*> forward(SpriteList& list) {
    std::vector<Sprite*> out;
    for (SpriteList::Node* n = list.rewind(); n != nullptr; n = list.next()) {
      out.push_back(n->sprite);
    }
    return out;
  }
  std::vector<Sprite*> backward(SpriteList& list) {
    std::vector<Sprite*> out;
    SpriteList::Node* n = list.rewind();
    while (n != nullptr && n->next != nullptr) n = list.next();
    for (; n != nullptr; n = list.prev()) out.insert(out.begin(), n->sprite);
    return out;
  }

  Display display;
  int destroyedSheets = 0;
};

TEST_F(SpriteListTest, CountersTrackHeldAddedAndPeak) {
  SpriteList list;
  EXPECT_EQ(list.size(), 0);
  EXPECT_EQ(list.lastSprite(), nullptr);
  EXPECT_EQ(list.rewind(), nullptr);
  for (int i = 0; i < 3; ++i) list.append(bareSprite());
  EXPECT_EQ(list.size(), 3);
  EXPECT_EQ(list.added(), 3);
  EXPECT_EQ(list.peak(), 3);

  list.rewind();
  list.next();
  list.removeAtCursor();
  EXPECT_EQ(list.size(), 2);
  EXPECT_EQ(list.added(), 3);
  EXPECT_EQ(list.peak(), 3);

  list.append(bareSprite());
  EXPECT_EQ(list.size(), 3);
  EXPECT_EQ(list.added(), 4);
  EXPECT_EQ(list.peak(), 3);
}

TEST_F(SpriteListTest, AppendLinksAfterTheLastNodeWithoutMovingTheCursor) {
  SpriteList list;
  Sprite* a = bareSprite();
  Sprite* b = bareSprite();
  Sprite* c = bareSprite();
  list.append(a);
  EXPECT_EQ(list.cursor(), nullptr);
  list.rewind();
  list.append(b);
  EXPECT_EQ(list.cursorSprite(), a);
  list.append(c);
  EXPECT_EQ(list.lastSprite(), c);
  EXPECT_EQ(forward(list), (std::vector<Sprite*>{a, b, c}));
  EXPECT_EQ(backward(list), (std::vector<Sprite*>{a, b, c}));
  list.append(nullptr);  // a node may hold no sprite
  EXPECT_EQ(list.size(), 4);
  EXPECT_EQ(list.lastSprite(), nullptr);
}

TEST_F(SpriteListTest, RemovingTheHeadLeavesTheCursorOnTheNewHead) {
  SpriteList list;
  Sprite* a = bareSprite();
  Sprite* b = bareSprite();
  Sprite* c = bareSprite();
  list.append(a);
  list.append(b);
  list.append(c);
  list.rewind();
  SpriteList::Node* result = list.removeAtCursor();
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result, list.head());
  EXPECT_EQ(list.cursorSprite(), b);
  EXPECT_EQ(list.prev(), nullptr);  // the new head has no predecessor
  EXPECT_EQ(forward(list), (std::vector<Sprite*>{b, c}));
  EXPECT_EQ(backward(list), (std::vector<Sprite*>{b, c}));
}

TEST_F(SpriteListTest, RemovingAMiddleNodeJoinsItsNeighbours) {
  SpriteList list;
  Sprite* a = bareSprite();
  Sprite* b = bareSprite();
  Sprite* c = bareSprite();
  list.append(a);
  list.append(b);
  list.append(c);
  list.rewind();
  list.next();
  EXPECT_EQ(list.removeAtCursor()->sprite, c);
  EXPECT_EQ(list.cursorSprite(), c);
  EXPECT_EQ(list.prev()->sprite, a);
  EXPECT_EQ(forward(list), (std::vector<Sprite*>{a, c}));
  EXPECT_EQ(backward(list), (std::vector<Sprite*>{a, c}));
}

TEST_F(SpriteListTest, RemovingTheLastNodeEndsTheWalkAndAppendStillLinksAtTheEnd) {
  SpriteList list;
  Sprite* a = bareSprite();
  Sprite* b = bareSprite();
  list.append(a);
  list.append(b);
  list.rewind();
  list.next();
  EXPECT_EQ(list.removeAtCursor(), nullptr);
  EXPECT_EQ(list.cursor(), nullptr);
  EXPECT_EQ(list.lastSprite(), a);
  Sprite* c = bareSprite();
  list.append(c);
  EXPECT_EQ(forward(list), (std::vector<Sprite*>{a, c}));
  EXPECT_EQ(backward(list), (std::vector<Sprite*>{a, c}));
}

TEST_F(SpriteListTest, RemovingTheOnlyNodeEmptiesTheList) {
  SpriteList list;
  list.append(bareSprite());
  list.rewind();
  EXPECT_EQ(list.removeAtCursor(), nullptr);
  EXPECT_EQ(list.head(), nullptr);
  EXPECT_EQ(list.cursor(), nullptr);
  EXPECT_EQ(list.size(), 0);
  EXPECT_EQ(list.lastSprite(), nullptr);
  Sprite* again = bareSprite();
  list.append(again);
  EXPECT_EQ(list.rewind()->sprite, again);
  EXPECT_EQ(list.lastSprite(), again);
}

TEST_F(SpriteListTest, CursorAtTheEndStaysThereAndRemovesNothing) {
  SpriteList list;
  list.append(bareSprite());
  list.append(bareSprite());
  list.rewind();
  list.next();
  EXPECT_EQ(list.next(), nullptr);
  EXPECT_EQ(list.next(), nullptr);
  EXPECT_EQ(list.prev(), nullptr);
  EXPECT_EQ(list.cursorSprite(), nullptr);
  EXPECT_EQ(list.removeAtCursor(), nullptr);
  EXPECT_EQ(list.size(), 2);
  list.rewind();
  EXPECT_EQ(list.prev(), nullptr);  // before the head
}

TEST_F(SpriteListTest, RemovalAndDestructionTakeOwnedSheetsAlong) {
  int sharedDestroyed = 0;
  SpriteSheet shared(std::make_unique<CountingSurface>(&sharedDestroyed));
  {
    SpriteList list;
    list.append(owningSprite());
    list.append(new Sprite(display, &shared, AnimationMode::Sequential, 1));
    list.append(owningSprite());
    list.append(owningSprite());
    list.rewind();
    list.removeAtCursor();
    EXPECT_EQ(destroyedSheets, 1);
    list.removeAtCursor();  // the sprite on the shared sheet
    EXPECT_EQ(destroyedSheets, 1);
    EXPECT_EQ(sharedDestroyed, 0);
  }
  EXPECT_EQ(destroyedSheets, 3);
  EXPECT_EQ(sharedDestroyed, 0);
}

TEST_F(SpriteListTest, LongChurnKeepsOrderLinksAndOwnershipAcrossManyNodes) {
  // More sprites than one allocation of nodes holds, with removals spread
  // through the list and appends that reuse the freed nodes, as a herd whose
  // cows explode and are replaced does. A model vector tracks the order.
  std::vector<Sprite*> model;
  {
    SpriteList list;
    for (int i = 0; i < 700; ++i) {
      model.push_back(owningSprite());
      list.append(model.back());
    }
    for (int round = 0; round < 3; ++round) {
      // Remove every third sprite in one walk.
      size_t index = 0;
      std::vector<Sprite*> kept;
      for (SpriteList::Node* n = list.rewind(); n != nullptr; ++index) {
        if (index % 3 == static_cast<size_t>(round)) {
          n = list.removeAtCursor();
        } else {
          kept.push_back(n->sprite);
          n = list.next();
        }
      }
      model = kept;
      for (int i = 0; i < 150; ++i) {
        model.push_back(owningSprite());
        list.append(model.back());
      }
      ASSERT_EQ(forward(list), model) << "round " << round;
      ASSERT_EQ(backward(list), model) << "round " << round;
      EXPECT_EQ(list.size(), static_cast<int32_t>(model.size()));
      EXPECT_EQ(list.lastSprite(), model.back());
    }
    EXPECT_EQ(list.peak(), 700);
    EXPECT_EQ(list.added(), 700 + 3 * 150);
    EXPECT_EQ(destroyedSheets, 700 + 3 * 150 - static_cast<int>(model.size()));
  }
  EXPECT_EQ(destroyedSheets, 700 + 3 * 150);
}

}  // namespace
}  // namespace grazefall
