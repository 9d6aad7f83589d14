#include "runtime/random.h"

#include <gtest/gtest.h>

#include <map>

namespace grazefall {
namespace {

TEST(RandomGenerator, StartsAtOneAndFollowsTheLinearCongruentialSequence) {
  RandomGenerator generator;
  // state 1 -> 1*214013+2531011 = 2745024; >>16 = 41.
  EXPECT_EQ(generator.next(), 41);
  EXPECT_EQ(generator.next(), 18467);
  EXPECT_EQ(generator.next(), 6334);
}

TEST(RandomGenerator, SeedingReplaysTheSameSequence) {
  RandomGenerator a;
  RandomGenerator b;
  a.seed(1765200000u);
  b.seed(1765200000u);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(a.next(), b.next());
}

TEST(RandomGenerator, ValuesStayWithinFifteenBits) {
  RandomGenerator generator;
  generator.seed(0xDEADBEEFu);
  for (int i = 0; i < 100000; ++i) {
    const int32_t r = generator.next();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 32767);
  }
}

TEST(RandomSpan, TruncatesTowardZeroAtBothEndsOfTheRange) {
  // Walk the generator until it yields each extreme, then check the span.
  RandomGenerator generator;
  int32_t lowest = 1 << 30;
  int32_t highest = -(1 << 30);
  for (int i = 0; i < 200000; ++i) {
    const int32_t v = RandomSpan(generator, 1351, -1500);
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  EXPECT_EQ(lowest, -1500);
  // (32767 / 32768) * 1351 - 1500 = -149.04, truncated toward zero.
  EXPECT_EQ(highest, -149);
}

TEST(RandomSpan, ThreeValuesForSpanThreeBaseOne) {
  RandomGenerator generator;
  std::map<int32_t, int> seen;
  for (int i = 0; i < 30000; ++i) ++seen[RandomSpan(generator, 3, 1)];
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_GT(seen[1], 9000);
  EXPECT_GT(seen[2], 9000);
  EXPECT_GT(seen[3], 9000);
}

TEST(RandomSpan, ZeroGetsDoubleWeightWhenTheSpanStraddlesIt) {
  RandomGenerator generator;
  std::map<int32_t, int> seen;
  for (int i = 0; i < 270000; ++i) ++seen[RandomSpan(generator, 27, -3)];
  // -3..23: index 0 collects draws from both sides of zero.
  // -3 needs r == 0 exactly, one value in 32768.
  EXPECT_LT(seen[-3] * 100, seen[-2]);
  EXPECT_NEAR(static_cast<double>(seen[0]) / seen[5], 2.0, 0.15);
}

}  // namespace
}  // namespace grazefall
