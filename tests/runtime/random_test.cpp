#include "runtime/random.h"

#include <gtest/gtest.h>

namespace grazefall {
namespace {

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

}  // namespace
}  // namespace grazefall
