// What the saver needs of a Wayland compositor before SDL's driver may start.
#include "platform/sdl/wayland_globals.h"

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
  const char* saved = std::getenv("WAYLAND_DISPLAY");
  const std::string previous = saved != nullptr ? saved : "";
  setenv("WAYLAND_DISPLAY", "/nonexistent/grazefall-wayland", 1);
  EXPECT_EQ(ListWaylandGlobals(), std::nullopt);
  if (saved != nullptr) {
    setenv("WAYLAND_DISPLAY", previous.c_str(), 1);
  } else {
    unsetenv("WAYLAND_DISPLAY");
  }
}

}  // namespace
}  // namespace grazefall::platform::sdl
