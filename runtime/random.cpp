#include "runtime/random.h"

namespace grazefall {

int32_t RandomSpan(RandomGenerator& generator, int32_t span, int32_t base) {
  const double r = generator.next();
  // The product and sum stay within a few times the span, far inside int32 for
  // every span the scene asks for; the cast truncates toward zero.
  return static_cast<int32_t>(r / 32768.0 * span + base);
}

}  // namespace grazefall
