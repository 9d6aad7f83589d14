// main() of every unit-test program: sets the environment the tests expect
// (no real video device, the source tree's location) unless the caller set it.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("GRAZEFALL_SOURCE_DIR", GRAZEFALL_TEST_SOURCE_DIR, 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
