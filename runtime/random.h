// The animation's only source of randomness: a 15-bit linear congruential
// generator and RandomSpan, which scales one draw into a span. A given seed
// replays a whole animation.
#pragma once

#include <cstdint>

namespace grazefall {

struct RandomGenerator {
  uint32_t state = 1;

  void seed(uint32_t seedValue) { state = seedValue; }
  // The next value, 0..32767.
  int32_t next() {
    state = state * 214013u + 2531011u;
    return static_cast<int32_t>((state >> 16) & 0x7FFFu);
  }
};

// trunc(r / 32768.0 * span + base) for a fresh r, truncated toward zero: a
// span that straddles 0 gives the value 0 twice the weight of its neighbours.
int32_t RandomSpan(RandomGenerator& generator, int32_t span, int32_t base);

}  // namespace grazefall
