// What the saver needs of a Wayland compositor before SDL's driver may start.
#include "platform/sdl/wayland_globals.h"
#include "tests/support/scoped_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace grazefall::platform::sdl {
namespace {

const std::vector<std::string> kDesktop{"wl_compositor", "wl_shm", "wl_output", "xdg_wm_base",
                                        "wl_seat"};

std::vector<std::string> Without(const std::string& name) {
  std::vector<std::string> globals;
  for (const std::string& global : kDesktop) {
    if (global != name) globals.push_back(global);
  }
  return globals;
}

TEST(WaylandShortcoming, EachMissingGlobalHasItsReason) {
  EXPECT_EQ(WaylandShortcoming(kDesktop), "");
  EXPECT_NE(WaylandShortcoming(Without("wl_seat")).find("no input seat"), std::string::npos);
  EXPECT_NE(WaylandShortcoming(Without("xdg_wm_base")).find("xdg-shell"), std::string::npos);
  EXPECT_NE(WaylandShortcoming(Without("wl_compositor")).find("no surfaces"), std::string::npos);
  EXPECT_NE(WaylandShortcoming(Without("wl_shm")).find("no surfaces"), std::string::npos);
  EXPECT_NE(WaylandShortcoming({}), "");
}

TEST(ListWaylandGlobals, NothingWhereNoCompositorAnswers) {
  const grazefall::testing::ScopedEnv nowhere("WAYLAND_DISPLAY", "/nonexistent/grazefall-wayland");
  EXPECT_EQ(ListWaylandGlobals(), std::nullopt);
}

}  // namespace
}  // namespace grazefall::platform::sdl
